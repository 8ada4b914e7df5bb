// The wall coverings of one zone: a covering wall in front of every part of a
// boundary wall on a zone edge, with holes for the part's doors and windows,
// and on request column coverings on the edges that no wall covering took.
#pragma once

#include "API/Memo.hpp"
#include "CovResult.hpp"
#include "CoveringSettings.hpp"
#include "GS/Array.hpp"

// Makes the coverings and holes, gives the coverings and holes their
// properties, classifications and categories, groups the coverings, numbers
// each wall's coverings along the zone and links the zone to each covered wall.
// The value lists the wall coverings in creation order, then the column
// coverings, the door holes and the window holes. A failure leaves what was
// made before it.
CovResult<GS::Array<API_Guid>> CreateWallCoverings(const API_Element& zone, const API_ElementMemo& zoneMemo,
                                                   const WallCovSettings& settings);
