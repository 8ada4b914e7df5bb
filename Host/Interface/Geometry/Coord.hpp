// Plain plan coordinates and arc records, shared by the host's geometry module
// and the element records of its add-on interface.
#pragma once

#include "GS/Types.hpp"

namespace Geometry {

struct Coord {
	double x;
	double y;
};

// One curved edge of a polygon: the edge from vertex begIndex to vertex endIndex
// is an arc of the signed angle arcAngle (radians, positive counter-clockwise).
struct PolyArcRec {
	Int32 begIndex;
	Int32 endIndex;
	double arcAngle;
};

static_assert(sizeof(Coord) == 16 && sizeof(PolyArcRec) == 16, "stored record sizes");

} // namespace Geometry
