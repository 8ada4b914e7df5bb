// What the host reports about the elements around each zone, with the reverse
// index from an element to the zones whose relation names it, so that deleting
// an element leaves no relation naming it.
#pragma once

#include <unordered_set>
#include <utility>
#include <vector>

#include "API/Relations.hpp"
#include "Sim/API/ElementStore.hpp"
#include "Sim/API/JournaledMap.hpp"

namespace Sim {

struct StoredNiche {
	Part coords;
	Part pends;
	Part parcs;
};

struct StoredRoomRelation {
	std::vector<API_WallPart> wallParts;
	std::vector<std::pair<API_ElemTypeID, std::vector<API_Guid>>> elementsByType;
	std::vector<StoredNiche> niches;
};

class RoomRelationStore {
	using Relations = JournaledMap<GuidTable<StoredRoomRelation>>;
	using Naming = JournaledMap<GuidTable<std::unordered_set<API_Guid>>>;

public:
	struct Journal {
		Relations::Journal byZone;
		Naming::Journal zonesNaming;
	};

	// The zone's relation; none set: null.
	const StoredRoomRelation* Find(const API_Guid& zone) const;
	void Set(const API_Guid& zone, StoredRoomRelation relation);
	// The zones whose relations name the element.
	std::vector<API_Guid> ZonesNaming(const API_Guid& element) const;
	// The zone's wall parts, for a change of their stretches: the walls they
	// name must stay. None set: null.
	std::vector<API_WallPart>* WallPartsToChange(const API_Guid& zone);
	// Drops the element's own relation, and the element from every relation that names it.
	void DropElement(const API_Guid& guid);

	// Notes the relations before their first change from now on.
	void OpenJournal();
	Journal CloseJournal();
	void Restore(Journal&& before);

private:
	static std::vector<API_Guid> NamedIn(const StoredRoomRelation& relation);
	void Unname(const API_Guid& zone, const StoredRoomRelation& relation);

	Relations byZone;
	Naming zonesNaming;
};

} // namespace Sim
