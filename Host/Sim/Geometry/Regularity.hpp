// Whether a polygon is regular as it stands, so that regularising it has nothing to do
// but orient its contours.
#pragma once

#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

// Every contour has three edges or more; edges keep clear of all but their neighbours,
// which meet at an open corner; every hole lies inside the outer contour and outside the
// other holes; and clipping would keep every vertex. False wherever that is not clear.
bool IsRegular(const PolyShape& shape);

} // namespace Geometry
