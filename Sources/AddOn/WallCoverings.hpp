// The wall coverings of one zone: a covering wall in front of every part of a
// boundary wall on a zone edge, with holes for the part's doors and windows,
// and on request column coverings on the edges that no wall covering took;
// and their update after the model has changed.
#pragma once

#include "API/Memo.hpp"
#include "API/Relations.hpp"
#include "CovResult.hpp"
#include "CoveringSettings.hpp"
#include "GS/Array.hpp"
#include "GS/HashTable.hpp"

// Makes the coverings and holes, gives the coverings and holes their
// properties, classifications and categories, groups the coverings, numbers
// each wall's coverings along the zone and links the zone to each covered wall.
// The value lists the wall coverings in creation order, then the column
// coverings, the door holes and the window holes. A failure leaves what was
// made before it.
CovResult<GS::Array<API_Guid>> CreateWallCoverings(const API_Element& zone, const API_ElementMemo& zoneMemo,
                                                   const WallCovSettings& settings);

// Per wall of the zone's wall-part list: the positions of its records in that
// list, and their zone edge numbers, both in list order.
using WallPartIndices = GS::HashTable<API_Guid, GS::Array<unsigned int>>;
using WallPartEdges = GS::HashTable<API_Guid, GS::Array<int>>;

// The hole kinds that were switched on when the zone's coverings were made.
struct ZoneHoleKinds {
	bool doorHoles = true;
	bool windowHoles = true;
};

// Re-fits the wall's coverings of the zone to the wall's parts now: the
// covering with order number k moves onto the k-th part in zone edge order,
// takes the zone's current number into its Element ID and has its holes
// deleted, re-fitted or made (only holeKinds are re-fitted or made, from the
// hole settings of wallSettings, whose own switches are not read). Coverings numbered past the last
// part, and all coverings of a wall without parts (one that no longer bounds
// the zone; the caller unlinks it once they are deleted), are appended to
// toDelete; nothing is deleted but holes. The value lists, per part in edge
// order, the covering, its kept and new door holes, then its kept and new
// window holes. COVERR_UPDATE_INCONSISTENCY, before anything changed, when
// the wall's parts do not fit the zone polygon or the wall no longer bounds
// zones; COVERR_USERDATA for a covering whose order number is damaged or
// repeated.
CovResult<GS::Array<API_Guid>>
UpdateWallCoverings(const API_Guid& wall, const API_Element& zone, const API_ElementMemo& zoneMemo,
                    const GS::Array<API_Guid>& zoneLinks, const API_RoomRelation& wallRelation,
                    const WallPartIndices& wallPartIndices, const WallPartEdges& wallPartEdges,
                    const WallCovSettings& wallSettings, ZoneHoleKinds holeKinds, GS::Array<API_Guid>& toDelete);
