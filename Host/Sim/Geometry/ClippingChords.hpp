// The chords clipping follows the arcs of the shapes it unites by.
#pragma once

#include <vector>

#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

enum class ArcChordDetail {
	FewWhereClear, // an arc that no other edge comes near by as few as the crossing check's
	Fine,          // every arc within a sagitta of a grid unit or two
};

// The chords of each edge of the shapes, shape by shape, contour by contour and edge by edge;
// 1 for a straight edge. Few chords give clipping the same result as fine ones, as long as
// nothing else comes between them and the arc and clipping meets the arc's ends alike.
std::vector<int> ClippingChordCounts(const std::vector<const PolyShape*>& shapes, ArcChordDetail detail);

} // namespace Geometry
