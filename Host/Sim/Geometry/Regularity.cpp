#include "Sim/Geometry/Regularity.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "Geometry/GenArc.hpp"
#include "Sim/Geometry/Clipping.hpp"
#include "Sim/Geometry/Crossing.hpp"

namespace Geometry {

namespace {

constexpr double Pi = 3.14159265358979323846;
// How near edges that are not neighbours may come, in metres, beyond the sagittas of the
// pieces that stand for arcs.
constexpr double Clearance = 10e-6;
// How far, in grid units, a vertex must lie off the line through the grid points clipping
// has beside it, and each point between an arc's chords off the line through its neighbours
// before they are rounded, so that clipping finds none of them collinear and drops it.
constexpr double MinVertexTurnUnits = 1.0;
constexpr double MinChordBendUnits = 3.0;

struct Ring {
	std::vector<EdgePiece> pieces;
	Box2DData box;
};

bool Overlap(const Box2DData& a, const Box2DData& b)
{
	return a.xMin <= b.xMax && b.xMin <= a.xMax && a.yMin <= b.yMax && b.yMin <= a.yMax;
}

const Coord& EndOf(const ShapeContour& contour, std::size_t i)
{
	return contour[(i + 1) % contour.size()].begin;
}

double RadiusOf(const ShapeContour& contour, std::size_t i)
{
	const ShapeEdge& edge = contour[i];
	const Coord& end = EndOf(contour, i);
	return GenArc::CreateCircleArc({edge.begin.x, edge.begin.y}, {end.x, end.y}, edge.arcAngle).GetMainAxisLength();
}

Coord OnGrid(const Coord& coord)
{
	return {ToClippingGrid(coord.x), ToClippingGrid(coord.y)};
}

double DistanceFromLine(const Coord& point, const Coord& a, const Coord& b)
{
	double length = std::hypot(b.x - a.x, b.y - a.y);
	if (length == 0.0)
		return 0.0;
	return std::fabs((b.x - a.x) * (point.y - a.y) - (b.y - a.y) * (point.x - a.x)) / length;
}

// Each point between an arc's chords bends off the line through its neighbours.
bool KeepsChordPoints(const ShapeContour& contour, std::size_t i)
{
	int steps = FineChordsOf(contour, i).steps;
	if (steps < 2)
		return true;
	double bend = RadiusOf(contour, i) * ClippingUnitsPerMetre * (1.0 - std::cos(contour[i].arcAngle / steps));
	return bend >= MinChordBendUnits;
}

double DirectionOf(const Coord& from, const Coord& to)
{
	return std::atan2(to.y - from.y, to.x - from.x);
}

// The directions in which an edge leaves a vertex, seen from it: between its tangent there
// and the chord of its first piece, so that the edge near the vertex lies inside them.
struct Wedge {
	double middle;
	double halfWidth;
};

Wedge WedgeOf(double tangent, double chord)
{
	double width = std::remainder(chord - tangent, 2.0 * Pi);
	return {tangent + width / 2.0, std::fabs(width) / 2.0};
}

// The crossing check's pieces of an arc, each standing for that many of its chords.
ClippingChords PiecesOfArc(double arcAngle, int chordsPerPiece)
{
	int chords = ArcPieceCount(arcAngle);
	return {chords, RunCount(chords, chordsPerPiece)};
}

Wedge LeavingWedge(const Coord& vertex, const Coord& end, double arcAngle, int chordsPerPiece)
{
	ClippingChords pieces = PiecesOfArc(arcAngle, chordsPerPiece);
	Coord firstPiece = ArcChordPoint(vertex, end, arcAngle, pieces.StepOf(1), pieces.steps);
	return WedgeOf(DirectionOf(vertex, end) - arcAngle / 2.0, DirectionOf(vertex, firstPiece));
}

Wedge ArrivingWedge(const Coord& begin, const Coord& vertex, double arcAngle, int chordsPerPiece)
{
	ClippingChords pieces = PiecesOfArc(arcAngle, chordsPerPiece);
	Coord lastPiece = ArcChordPoint(begin, vertex, arcAngle, pieces.StepOf(pieces.Count() - 1), pieces.steps);
	return WedgeOf(DirectionOf(begin, vertex) + arcAngle / 2.0 + Pi, DirectionOf(vertex, lastPiece));
}

bool HasRegularVertices(const ShapeContour& contour)
{
	for (std::size_t i = 0; i < contour.size(); ++i) {
		if (CornerAngle(contour, i) < MinCornerAngle ||
		    !KeepsVertex(contour, i, FineChordsOf(contour, PreviousOf(contour, i)), FineChordsOf(contour, i)) ||
		    !KeepsChordPoints(contour, i))
			return false;
	}
	return true;
}

std::vector<Ring> RingsOf(const PolyShape& shape, const std::vector<EdgePiece>& pieces)
{
	std::vector<Ring> rings(shape.contours.size());
	for (const EdgePiece& piece : pieces)
		rings[piece.contour].pieces.push_back(piece);
	for (Ring& ring : rings) {
		const Coord& first = ring.pieces.front().a;
		ring.box = {first.x, first.y, first.x, first.y};
		for (const EdgePiece& piece : ring.pieces) {
			ring.box = {std::min(ring.box.xMin, piece.b.x), std::min(ring.box.yMin, piece.b.y),
			            std::max(ring.box.xMax, piece.b.x), std::max(ring.box.yMax, piece.b.y)};
		}
	}
	return rings;
}

// Whether the point lies inside the ring's pieces; it keeps clear of them, so of the edges too.
bool Encloses(const Ring& ring, const Coord& point)
{
	bool inside = false;
	for (const EdgePiece& piece : ring.pieces) {
		if ((piece.a.y > point.y) != (piece.b.y > point.y)) {
			double x = piece.a.x + (point.y - piece.a.y) * (piece.b.x - piece.a.x) / (piece.b.y - piece.a.y);
			inside = inside != (point.x < x);
		}
	}
	return inside;
}

// Contours keep clear of one another, so one point of a hole tells where all of it lies.
bool HolesNest(const PolyShape& shape, const std::vector<Ring>& rings)
{
	std::vector<std::size_t> holes(rings.size() - 1);
	std::iota(holes.begin(), holes.end(), 1);
	for (std::size_t hole : holes) {
		if (!Encloses(rings.front(), shape.contours[hole].front().begin))
			return false;
	}
	std::sort(holes.begin(), holes.end(),
	          [&](std::size_t a, std::size_t b) { return rings[a].box.xMin < rings[b].box.xMin; });
	for (std::size_t i = 0; i < holes.size(); ++i) {
		const Ring& ring = rings[holes[i]];
		for (std::size_t k = i + 1; k < holes.size() && rings[holes[k]].box.xMin <= ring.box.xMax; ++k) {
			const Ring& other = rings[holes[k]];
			if (Overlap(ring.box, other.box) && (Encloses(ring, shape.contours[holes[k]].front().begin) ||
			                                     Encloses(other, shape.contours[holes[i]].front().begin)))
				return false;
		}
	}
	return true;
}

} // namespace

std::size_t PreviousOf(const ShapeContour& contour, std::size_t i)
{
	return (i + contour.size() - 1) % contour.size();
}

ClippingChords FineChordsOf(const ShapeContour& contour, std::size_t i)
{
	if (contour[i].arcAngle == 0.0)
		return {1, 0};
	double radius = RadiusOf(contour, i);
	return {radius == 0.0 ? 1 : ClippingChordCount(radius, contour[i].arcAngle), 0};
}

bool KeepsVertex(const ShapeContour& contour, std::size_t i, ClippingChords before, ClippingChords after)
{
	std::size_t previous = PreviousOf(contour, i);
	Coord last = ArcChordPoint(contour[previous].begin, contour[i].begin, contour[previous].arcAngle,
	                           before.StepOf(before.Count() - 1), before.steps);
	Coord first = ArcChordPoint(contour[i].begin, EndOf(contour, i), contour[i].arcAngle, after.StepOf(1), after.steps);
	return DistanceFromLine(OnGrid(contour[i].begin), OnGrid(last), OnGrid(first)) >= MinVertexTurnUnits;
}

double CornerAngle(const ShapeContour& contour, std::size_t i, int chordsPerPiece)
{
	std::size_t previous = PreviousOf(contour, i);
	Wedge arriving =
	    ArrivingWedge(contour[previous].begin, contour[i].begin, contour[previous].arcAngle, chordsPerPiece);
	Wedge leaving = LeavingWedge(contour[i].begin, EndOf(contour, i), contour[i].arcAngle, chordsPerPiece);
	double apart = std::fabs(std::remainder(leaving.middle - arriving.middle, 2.0 * Pi));
	return std::max(0.0, apart - arriving.halfWidth - leaving.halfWidth);
}

// Pieces of neighbouring edges where they meet may come as near as their corner makes
// them; their far ends keep clear of one another. All others keep clear.
bool TooClose(const EdgePiece& s, const EdgePiece& t)
{
	double allowed = Clearance + s.sagitta + t.sagitta;
	bool sFirst = Follows(s, t);
	if (sFirst || Follows(t, s)) {
		const EdgePiece& arriving = sFirst ? s : t;
		const EdgePiece& leaving = sFirst ? t : s;
		return arriving.edge != leaving.edge &&
		       (DistanceToPiece(arriving.a, leaving) < allowed || DistanceToPiece(leaving.b, arriving) < allowed);
	}
	return PieceDistance(s, t) < allowed;
}

bool AnyTooClose(std::vector<EdgePiece>* pieces, const std::function<bool(const EdgePiece&, const EdgePiece&)>& found)
{
	return AnyPairWithin(pieces, Clearance + 2.0 * LargestSagitta(*pieces),
	                     [&](const EdgePiece& s, const EdgePiece& t) { return TooClose(s, t) && found(s, t); });
}

bool IsRegular(const PolyShape& shape)
{
	if (shape.contours.empty())
		return false;
	for (const ShapeContour& contour : shape.contours) {
		if (contour.size() < 3 || !HasRegularVertices(contour))
			return false;
	}
	std::vector<EdgePiece> pieces = PiecesOf(shape);
	return !AnyTooClose(&pieces, [](const EdgePiece&, const EdgePiece&) { return true; }) &&
	       HolesNest(shape, RingsOf(shape, pieces));
}

} // namespace Geometry
