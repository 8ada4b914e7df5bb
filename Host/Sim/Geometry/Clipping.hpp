// Polygon union and regularisation on integer coordinates, keeping the edges the
// operation leaves untouched exactly as they were, arcs included.
#pragma once

#include <vector>

#include "GS/Types.hpp"
#include "Sim/Geometry/ClippingChords.hpp"
#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

// Clipping runs on a grid of this many points per metre.
constexpr double ClippingUnitsPerMetre = 1e6;

// The coordinate's nearest grid line, in grid units.
double ToClippingGrid(double metres);

// The chords clipping follows an arc of that radius and angle by.
int ClippingChordCount(double radius, double angle);

// The union of the shapes' areas (each its outer contour, resolved by non-zero
// winding, less its holes), split into separate shapes with the outer contour
// counter-clockwise and the holes clockwise. Each contour starts at its least vertex by
// x then y, holes and shapes follow in the order of their first vertices.
// ErrInvalidPolygon when clipping fails. A lone shape that is already regular is
// only oriented.
GSErrCode UniteShapes(const std::vector<const PolyShape*>& shapes, std::vector<PolyShape>* results);

// The same, always clipped, following arcs in that detail.
GSErrCode UniteByClipping(const std::vector<const PolyShape*>& shapes, ArcChordDetail detail,
                          std::vector<PolyShape>* results);

// Whether a contour of a shape whose edges do not cross lies inside the shape's outer
// contour, meeting it at points or along edges at the most.
bool LiesInsideOuterContour(const PolyShape& shape, std::size_t contour);

} // namespace Geometry
