#include "Sim/API/RoomRelationStore.hpp"

#include <algorithm>

namespace Sim {

namespace {

void StripElement(StoredRoomRelation& relation, const API_Guid& guid)
{
	auto& parts = relation.wallParts;
	parts.erase(std::remove_if(parts.begin(), parts.end(), [&](const API_WallPart& part) { return part.guid == guid; }),
	            parts.end());
	auto& lists = relation.elementsByType;
	for (auto& [type, guids] : lists)
		guids.erase(std::remove(guids.begin(), guids.end(), guid), guids.end());
	// A host lists only the types it finds.
	lists.erase(std::remove_if(lists.begin(), lists.end(), [](const auto& list) { return list.second.empty(); }),
	            lists.end());
}

} // namespace

const StoredRoomRelation* RoomRelationStore::Find(const API_Guid& zone) const
{
	return byZone.Get(zone);
}

void RoomRelationStore::Set(const API_Guid& zone, StoredRoomRelation relation)
{
	if (const StoredRoomRelation* old = byZone.Get(zone))
		Unname(zone, *old);
	for (const API_Guid& named : NamedIn(relation))
		zonesNaming[named].insert(zone);
	byZone[zone] = std::move(relation);
}

std::vector<API_Guid> RoomRelationStore::ZonesNaming(const API_Guid& element) const
{
	const std::unordered_set<API_Guid>* naming = zonesNaming.Get(element);
	return naming == nullptr ? std::vector<API_Guid>() : std::vector<API_Guid>(naming->begin(), naming->end());
}

std::vector<API_WallPart>* RoomRelationStore::WallPartsToChange(const API_Guid& zone)
{
	StoredRoomRelation* relation = byZone.Change(zone);
	return relation == nullptr ? nullptr : &relation->wallParts;
}

void RoomRelationStore::DropElement(const API_Guid& guid)
{
	if (const StoredRoomRelation* own = byZone.Get(guid)) {
		Unname(guid, *own);
		byZone.erase(guid);
	}
	const std::unordered_set<API_Guid>* naming = zonesNaming.Get(guid);
	if (naming == nullptr)
		return;
	for (const API_Guid& zone : *naming)
		StripElement(*byZone.Change(zone), guid);
	zonesNaming.erase(guid);
}

std::vector<API_Guid> RoomRelationStore::NamedIn(const StoredRoomRelation& relation)
{
	std::vector<API_Guid> named;
	for (const API_WallPart& part : relation.wallParts)
		named.push_back(part.guid);
	for (const auto& [type, guids] : relation.elementsByType)
		named.insert(named.end(), guids.begin(), guids.end());
	return named;
}

void RoomRelationStore::Unname(const API_Guid& zone, const StoredRoomRelation& relation)
{
	for (const API_Guid& named : NamedIn(relation)) {
		std::unordered_set<API_Guid>* naming = zonesNaming.Change(named);
		if (naming == nullptr)
			continue;
		naming->erase(zone);
		if (naming->empty())
			zonesNaming.erase(named);
	}
}

void RoomRelationStore::OpenJournal()
{
	byZone.OpenJournal();
	zonesNaming.OpenJournal();
}

RoomRelationStore::Journal RoomRelationStore::CloseJournal()
{
	return {byZone.CloseJournal(), zonesNaming.CloseJournal()};
}

void RoomRelationStore::Restore(Journal&& before)
{
	byZone.Restore(std::move(before.byZone));
	zonesNaming.Restore(std::move(before.zonesNaming));
}

} // namespace Sim
