#include "Sim/API/ElementStore.hpp"

#include <utility>

namespace Sim {

namespace {

// New elements come last in creation order, where the hint makes adding them cost
// nothing to find; an undone deletion puts one back in its place at the usual cost.
template <typename Ordered> void AddInOrder(Ordered& ordered, UInt64 created, const API_Guid& guid)
{
	ordered.emplace_hint(ordered.end(), created, guid);
}

// Drops an entry from the list under the key, and the list once it is empty.
template <typename Lists, typename Key> void EraseFrom(Lists& lists, const Key& key, UInt64 created)
{
	auto list = lists.find(key);
	list->second.erase(created);
	if (list->second.empty())
		lists.erase(list);
}

} // namespace

bool IsOpening(API_ElemTypeID type)
{
	return type == API_DoorID || type == API_WindowID;
}

StoredElement* ElementStore::Find(const API_Guid& guid)
{
	Entry* entry = entries.Change(guid);
	if (entry == nullptr)
		return nullptr;
	std::shared_ptr<StoredElement>& element = entry->element;
	if (element.use_count() > 1)
		element = std::make_shared<StoredElement>(*element);
	return element.get();
}

const StoredElement* ElementStore::Get(const API_Guid& guid) const
{
	const Entry* entry = entries.Get(guid);
	return entry == nullptr ? nullptr : entry->element.get();
}

void ElementStore::Insert(StoredElement element)
{
	const API_Guid guid = element.record.header.guid;
	Erase(guid);
	UInt64 created = ++createdCount;
	AddInOrder(all, created, guid);
	AddToLists(element.record, created);
	entries.insert_or_assign(guid, Entry{std::make_shared<StoredElement>(std::move(element)), created});
}

void ElementStore::Erase(const API_Guid& guid)
{
	const Entry* entry = entries.Get(guid);
	if (entry == nullptr)
		return;
	all.erase(entry->created);
	DropFromLists(entry->element->record, entry->created);
	entries.erase(guid);
}

void ElementStore::Replace(StoredElement element)
{
	Entry& entry = *entries.Change(element.record.header.guid);
	DropFromLists(entry.element->record, entry.created);
	entry.element = std::make_shared<StoredElement>(std::move(element));
	AddToLists(entry.element->record, entry.created);
}

std::vector<API_Guid> ElementStore::InCreationOrder(API_ElemTypeID type) const
{
	if (type == API_ZombieElemID)
		return GuidsOf(all);
	auto found = byType.find(type);
	return found == byType.end() ? std::vector<API_Guid>() : GuidsOf(found->second);
}

std::vector<API_Guid> ElementStore::OpeningsOf(const API_Guid& wall) const
{
	auto found = openingsByWall.find(wall);
	return found == openingsByWall.end() ? std::vector<API_Guid>() : GuidsOf(found->second);
}

void ElementStore::Restore(Journal&& before)
{
	// Latest first, so that a key noted twice ends as its earliest note says.
	for (auto note = before.rbegin(); note != before.rend(); ++note) {
		auto& [guid, entry] = *note;
		Erase(guid);
		if (!entry)
			continue;
		AddInOrder(all, entry->created, guid);
		AddToLists(entry->element->record, entry->created);
		entries.insert_or_assign(guid, std::move(*entry));
	}
}

std::vector<API_Guid> ElementStore::GuidsOf(const Ordered& ordered)
{
	std::vector<API_Guid> guids;
	guids.reserve(ordered.size());
	for (const auto& [created, guid] : ordered)
		guids.push_back(guid);
	return guids;
}

void ElementStore::AddToLists(const API_Element& record, UInt64 created)
{
	AddInOrder(byType[record.header.type.typeID], created, record.header.guid);
	if (IsOpening(record.header.type.typeID))
		AddInOrder(openingsByWall[record.door.owner], created, record.header.guid);
}

void ElementStore::DropFromLists(const API_Element& record, UInt64 created)
{
	EraseFrom(byType, record.header.type.typeID, created);
	if (IsOpening(record.header.type.typeID))
		EraseFrom(openingsByWall, record.door.owner, created);
}

} // namespace Sim
