// Holes of wall coverings: a door or window element placed in a covering wall
// for each opening of the wall behind it, sized like that opening and linked
// to it and to the covering.
#pragma once

#include "API/Relations.hpp"
#include "CovResult.hpp"
#include "CoveringSettings.hpp"
#include "GS/Array.hpp"

// The holes of one covering and one opening kind after an update, each list
// in the order in which their openings were visited.
struct HoleUpdate {
	GS::Array<API_Guid> keptHoles; // existing holes re-fitted to their openings
	GS::Array<API_Guid> newHoles;  // holes made for openings that had none
};

// Makes the hole of the opening in the covering (which must exist and carry
// its placement) and links it: opening -> hole, hole -> opening, covering ->
// hole. A null GUID means no hole: a niche window that opens from another zone.
CovResult<API_Guid> AddCoveringHole(const API_Element& wall, const API_Element& covering, const API_Element& opening,
                                    const ElementCovSettings& settings, const API_Guid& zone);

// Makes the holes of the wall part's openings of one kind (door or window) in
// the part's new covering and appends them to holes, in the host's order of
// the openings; the first error stops.
ErrCode AddCoveringHoles(const API_Element& wall, const API_WallPart& part, const API_Element& covering,
                         API_ElemTypeID type, const ElementCovSettings& settings, const API_Guid& zone,
                         GS::Array<API_Guid>& holes);

// Whether the opening's location along its wall lies in the wall part, both
// ends included: only such openings get holes in the part's covering.
bool OpeningInWallPart(const API_Element& opening, const API_WallPart& part);

// Where an opening at the location along the wall sits along the covering.
// Shows "Not collinear!" when a straight covering does not run along its wall.
double ComputeCoveringHoleLocation(const API_Element& wall, const API_Element& covering, double location);

// The opening's width; on a curved wall, its width on the zone's side.
CovResult<double> ComputeCoveringHoleWidth(const API_Element& wall, const API_Element& opening, const API_Guid& zone);

// Whether the opening is made from one of the niche library parts; the host's
// error when its library part cannot be read.
CovResult<bool> IsNiche(const API_Element& opening);

// Gives the new holes of one kind (door or window) the kind's properties,
// classifications and categories. An empty list asks the host nothing.
ErrCode SetPCCForNewOpenings(API_ElemTypeID type, const ElementCovSettings& settings, const GS::Array<API_Guid>& holes);

// Re-fits the hole to its opening: location, lower edge height, sill depth,
// width and height; nothing else of the hole changes.
ErrCode UpdateCoveringHole(API_Guid hole, const API_Element& wall, const API_Element& covering,
                           const API_Element& opening, API_Guid zone);

// Brings the covering's holes of one kind in line with the openings of that
// kind in the wall part: deletes the holes of openings that left the part,
// re-fits the others and makes holes for openings that have none. holes are
// the covering's holes (its flag-5 link targets).
CovResult<HoleUpdate> UpdateCoveringHoles(const API_Element& wall, const API_WallPart& part,
                                          const API_Element& covering, const GS::Array<API_Guid>& holes,
                                          API_ElemType kind, const ElementCovSettings& settings, API_Guid zone);
