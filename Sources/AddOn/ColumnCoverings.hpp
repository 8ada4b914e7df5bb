// Coverings on the faces of rectangular columns that stand on a zone's
// boundary: one covering wall on every zone edge that runs along a column face.
#pragma once

#include "API/ElementFunctions.hpp"
#include "CovResult.hpp"
#include "WallCoveringGeometry.hpp"

// Gives every column of the zone's room relation one covering per face that
// runs along a free edge of the table, spanning that whole edge; the edge is
// taken out of the table, and so are all curved edges. Slanted, multi-segment,
// round and profile columns get a line in the report window instead. Each
// covering records its face; each column that received one gets the zone's
// column link. The new coverings in creation order.
CovResult<GS::Array<API_Guid>> CreateColumnCoverings(ZoneEdgeMap& edges, const API_Element& zone,
                                                     const API_ElementMemo& zoneMemo,
                                                     const API_Element& coveringTemplate);

// Moves each covering of the column onto the edge of the table that now runs
// along its face, taking that edge out of the table; it never makes a
// covering. Coverings that no longer fit (all of them when the column left the
// zone or can no longer be covered) are appended to toDelete. The moved
// coverings in face order.
CovResult<GS::Array<API_Guid>> UpdateColumnCoverings(const API_Guid& column, const API_Element& zone,
                                                     const GS::Array<API_Guid>& zoneLinks,
                                                     const GS::Array<API_Guid>& roomColumns, ZoneEdgeMap& edges,
                                                     GS::Array<API_Guid>& toDelete);
