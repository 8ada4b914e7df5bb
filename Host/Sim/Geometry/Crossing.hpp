// The stand-in's check that a polygon's contours do not cross one another or
// themselves, as a host checks the outline of a slab it is given.
#pragma once

#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

// Whether two edges of the shape cross, arcs followed by chords close to them.
// Edges that meet at a vertex, or run along one another, do not cross.
bool EdgesCross(const PolyShape& shape);

} // namespace Geometry
