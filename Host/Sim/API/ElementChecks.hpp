// What a host refuses to store: walls without length, thickness or height, slabs
// whose outline is no valid polygon or that have no thickness, and doors and
// windows without size or anchored outside their wall.
#pragma once

#include "Sim/API/ElementStore.hpp"

namespace Sim {

// A polygon as a host takes an outline it is given: APIERR_BADPOLY when the
// counts do not describe the memo or its contours are no closed polygon,
// APIERR_IRREGULARPOLY when two of its edges cross.
GSErrCode CheckOutline(const API_Polygon& poly, const StoredMemo& memo);

// The length of the wall's reference line, along the arc for a curved wall.
double WallLength(const API_WallType& wall);

GSErrCode CheckElement(const API_Element& element, const StoredMemo& memo, const ElementStore& elements);

} // namespace Sim
