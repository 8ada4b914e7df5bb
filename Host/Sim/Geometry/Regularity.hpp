// Whether a polygon is regular as it stands, so that regularising it has nothing to do
// but orient its contours, and the tests of how its edges lie by one another that tells.
#pragma once

#include <functional>
#include <vector>

#include "Sim/Geometry/ClippingChords.hpp"
#include "Sim/Geometry/Crossing.hpp"
#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

// The sharpest corner taken as open, in radians; sharper ones come close to folding back.
constexpr double MinCornerAngle = 0.01;

// Every contour has three edges or more; edges keep clear of all but their neighbours,
// which meet at an open corner; every hole lies inside the outer contour and outside the
// other holes; and clipping would keep every vertex. False wherever that is not clear.
bool IsRegular(const PolyShape& shape);

std::size_t PreviousOf(const ShapeContour& contour, std::size_t i);

// The chords clipping follows the edge by at most: within a sagitta of a grid unit or two.
ClippingChords FineChordsOf(const ShapeContour& contour, std::size_t i);

// Whether clipping keeps vertex i, the edges before and after it followed by those chords:
// it turns off the line through the points clipping has on either side of it.
bool KeepsVertex(const ShapeContour& contour, std::size_t i, ClippingChords before, ClippingChords after);

// The angle between the two edges at vertex i, 0 where they overlap or cross next to it;
// arcs are taken as anywhere between their tangent and their first piece there, each of the
// crossing check's pieces standing for that many of its chords.
double CornerAngle(const ShapeContour& contour, std::size_t i, int chordsPerPiece = 1);

// Whether two pieces come nearer than a clearance beyond their sagittas. Pieces of
// neighbouring edges where they meet may come as near as their corner makes them, as long as
// their far ends keep clear of one another.
bool TooClose(const EdgePiece& s, const EdgePiece& t);

// Whether found(s, t) answers true for some two pieces too close; the pieces are sorted.
bool AnyTooClose(std::vector<EdgePiece>* pieces, const std::function<bool(const EdgePiece&, const EdgePiece&)>& found);

} // namespace Geometry
