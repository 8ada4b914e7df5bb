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
	auto found = byZone.find(zone);
	return found == byZone.end() ? nullptr : &found->second;
}

void RoomRelationStore::Set(const API_Guid& zone, StoredRoomRelation relation)
{
	auto old = byZone.find(zone);
	if (old != byZone.end())
		Unname(zone, old->second);
	for (const API_Guid& named : NamedIn(relation))
		zonesNaming[named].insert(zone);
	byZone[zone] = std::move(relation);
}

void RoomRelationStore::DropElement(const API_Guid& guid)
{
	auto own = byZone.find(guid);
	if (own != byZone.end()) {
		Unname(guid, own->second);
		byZone.erase(own);
	}
	auto naming = zonesNaming.find(guid);
	if (naming == zonesNaming.end())
		return;
	for (const API_Guid& zone : naming->second)
		StripElement(byZone.at(zone), guid);
	zonesNaming.erase(naming);
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
		auto naming = zonesNaming.find(named);
		if (naming == zonesNaming.end())
			continue;
		naming->second.erase(zone);
		if (naming->second.empty())
			zonesNaming.erase(naming);
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
