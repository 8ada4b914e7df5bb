// Polygon union and regularisation on integer coordinates, keeping the edges the
// operation leaves untouched exactly as they were, arcs included.
#pragma once

#include <vector>

#include "GS/Types.hpp"
#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

// The union of the shapes' areas (each its outer contour, resolved by non-zero
// winding, less its holes), split into separate shapes with the outer contour
// counter-clockwise and the holes clockwise. ErrInvalidPolygon when clipping fails.
GSErrCode UniteShapes(const std::vector<const PolyShape*>& shapes, std::vector<PolyShape>* results);

} // namespace Geometry
