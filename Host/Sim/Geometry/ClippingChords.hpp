// The chords clipping follows the arcs of the shapes it unites by.
#pragma once

#include <vector>

#include "Sim/Geometry/Crossing.hpp"
#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

// An edge followed by `steps` equal chords or, where runs is not 0, by one chord over each of
// that many runs of them, as the crossing check sweeps arcs.
struct ClippingChords {
	int steps;
	int runs;

	int Count() const { return runs > 0 ? runs : steps; }
	// The step at which the k-th of the chords followed begins.
	int StepOf(int k) const { return runs > 0 ? RunStart(steps, runs, k) : k; }
};

enum class ArcChordDetail {
	FewWhereClear, // an arc that no other edge comes near by a chord over each of the crossing check's runs
	Fine,          // every arc within a sagitta of a grid unit or two
};

// The chords of each edge of the shapes, shape by shape, contour by contour and edge by edge;
// one step for a straight edge. Few chords give clipping the same result as fine ones, as long
// as nothing else comes between them and the arc and clipping meets the arc's ends alike.
std::vector<ClippingChords> ClippingChordsOf(const std::vector<const PolyShape*>& shapes, ArcChordDetail detail);

// The points clipping follows the edge by, its begin and end included.
std::vector<Coord> ClippingChordPoints(const Coord& begin, const Coord& end, double angle, ClippingChords chords);

} // namespace Geometry
