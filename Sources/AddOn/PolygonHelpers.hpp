// The zone's outline as one regularised polygon record, widened by the zone's
// niches, and written back into a slab's memo with the slab data that a new
// polygon needs.
#pragma once

#include "API/Memo.hpp"
#include "ErrorCodes.hpp"
#include "Geometry/Polygon2DData.hpp"
#include "ScopeGuards.hpp"

namespace GuardRelease {

inline void FreePolygon(Geometry::Polygon2DData& polygon)
{
	Geometry::FreePolygon2DData(&polygon);
}

} // namespace GuardRelease

// Releases a polygon record's arrays when the scope ends; the record must be
// initialised (empty, or holding what the geometry module made).
using PolygonGuard = ReleaseGuard<Geometry::Polygon2DData, GuardRelease::FreePolygon>;

// The polygon of memo-layout handles (coordinates and contour ends 1-based with
// an entry 0, arcs 0-based; the counts come from the handle sizes) as exactly one
// regularised polygon with its bounding box and orientation set. polygon must be
// initialised; it is replaced on success and left as it was on failure.
// COVERR_POLY_REGULARIZATION when the regularisation fails (memory full
// included) or the handles hold no valid polygon or one that falls apart into
// several; COVERR_GENERAL when the bounding box or the orientation fails;
// APIERR_MEMFULL when the record cannot be made.
ErrCode ConvertPolyHandlesToPolygon2DData(API_Coord** coords, API_PolyArc** arcs, Int32** contourEnds,
                                          Geometry::Polygon2DData& polygon);

// Unites the outline with each niche that the host reports for the zone, in the
// host's order. A niche whose union with the outline fails (memory full
// included) or is not one polygon gives COVERR_GENERAL; the outline is then
// left as the niches before it made it.
ErrCode MakeInsets(API_Guid zone, Geometry::Polygon2DData& outline);

// Replaces the memo's coordinate, contour-end and arc handles by the polygon in
// memo layout (the arc handle is made even when empty). COVERR_GENERAL for an
// empty record or one whose counts exceed its arrays; APIERR_MEMFULL, with the
// parts made so far left in the memo for its release.
ErrCode ConvertPolygon2DDataToMemo(const Geometry::Polygon2DData& polygon, API_ElementMemo& memo);

// Derives from the memo's polygon handles the slab's polygon counts and the
// memo's edge trims (square sides), side materials (none overridden) and vertex
// IDs (1 .. n), replacing those parts. APIERR_BADPOLY when the memo holds no
// vertex or no contour; APIERR_MEMFULL.
ErrCode FillMissingSlabInfo(API_Element& slab, API_ElementMemo& memo);
