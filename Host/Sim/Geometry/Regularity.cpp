#include "Sim/Geometry/Regularity.hpp"

#include <algorithm>
#include <cmath>

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
bool KeepsChordPoints(const ShapeContour& contour, std::size_t i, ClippingChords fine)
{
	int steps = fine.steps;
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

// The vertices on either side of vertex i seen from it, where both its edges are straight.
bool StraightNeighbours(const ShapeContour& contour, std::size_t i, Coord* back, Coord* ahead)
{
	std::size_t previous = PreviousOf(contour, i);
	if (contour[previous].arcAngle != 0.0 || contour[i].arcAngle != 0.0)
		return false;
	const Coord& vertex = contour[i].begin;
	const Coord& end = EndOf(contour, i);
	*back = {contour[previous].begin.x - vertex.x, contour[previous].begin.y - vertex.y};
	*ahead = {end.x - vertex.x, end.y - vertex.y};
	return true;
}

// Straight edges that meet at more than a right angle, or clearly more than the sharpest open
// corner apart, need no directions worked out.
bool IsClearlyOpen(const Coord& back, const Coord& ahead)
{
	double cross = back.x * ahead.y - back.y * ahead.x;
	double sine = 2.0 * MinCornerAngle;
	return back.x * ahead.x + back.y * ahead.y < 0.0 ||
	       cross * cross > sine * sine * (back.x * back.x + back.y * back.y) * (ahead.x * ahead.x + ahead.y * ahead.y);
}

// Rounding a point to the clipping grid moves it by at most this, in grid units.
constexpr double GridRounding = 0.7072;
// Neighbours at least this far apart, in grid units, hardly turn the line through them by rounding.
constexpr double LongSpanUnits = 1000.0;

// A vertex between straight edges so far off the line through its neighbours that rounding all
// three to the grid cannot bring it near: the line moves there by the rounding of its ends,
// weighted by where the vertex lies along it.
bool IsClearlyKept(const Coord& back, const Coord& ahead)
{
	double spanX = (ahead.x - back.x) * ClippingUnitsPerMetre;
	double spanY = (ahead.y - back.y) * ClippingUnitsPerMetre;
	double span = std::hypot(spanX, spanY);
	if (span < LongSpanUnits)
		return false;
	double backX = back.x * ClippingUnitsPerMetre;
	double backY = back.y * ClippingUnitsPerMetre;
	double along = -(backX * spanX + backY * spanY) / (span * span);
	double distance = std::fabs(backX * spanY - backY * spanX) / span;
	double lever = 1.0 + std::fabs(along) + std::fabs(1.0 - along);
	return distance >= 2.0 * (MinVertexTurnUnits + GridRounding * lever);
}

// The edges meet at an open corner, clipping keeps the vertex and the points between the
// chords it follows the edge leaving it by.
bool IsRegularVertex(const ShapeContour& contour, std::size_t i, ClippingChords before, ClippingChords after)
{
	Coord back{};
	Coord ahead{};
	bool straight = StraightNeighbours(contour, i, &back, &ahead);
	return ((straight && IsClearlyOpen(back, ahead)) || CornerAngle(contour, i) >= MinCornerAngle) &&
	       ((straight && IsClearlyKept(back, ahead)) || KeepsVertex(contour, i, before, after)) &&
	       KeepsChordPoints(contour, i, after);
}

bool HasRegularVertices(const ShapeContour& contour)
{
	ClippingChords before = FineChordsOf(contour, contour.size() - 1);
	for (std::size_t i = 0; i < contour.size(); ++i) {
		ClippingChords after = FineChordsOf(contour, i);
		if (!IsRegularVertex(contour, i, before, after))
			return false;
		before = after;
	}
	return true;
}

// Chords of an arc that do not meet keep at least a chord's length apart, or as far as the arc's
// ends where those come nearer, as long as it turns less than a full turn.
bool ClearOfItself(const ShapeContour& contour, std::size_t i)
{
	double angle = std::fabs(contour[i].arcAngle);
	int chords = ArcPieceCount(angle);
	if (chords < 3)
		return true;
	if (angle >= 2.0 * Pi)
		return false;
	const Coord& begin = contour[i].begin;
	const Coord& end = EndOf(contour, i);
	double ends = std::hypot(end.x - begin.x, end.y - begin.y);
	double radius = ends / (2.0 * std::sin(angle / 2.0));
	double step = angle / chords;
	double chordSagitta = radius * (1.0 - std::cos(step / 2.0));
	return std::min(2.0 * radius * std::sin(step / 2.0), ends) >= Clearance + 2.0 * chordSagitta + RoundingSlack;
}

// Chords lie within their runs' sagittas of the runs' own chords, and have smaller sagittas.
bool RunsMayComeTooNear(const EdgePiece& s, const EdgePiece& t)
{
	return (s.sagitta == 0.0 && t.sagitta == 0.0) ||
	       PieceDistance(s, t) < Clearance + 2.0 * (s.sagitta + t.sagitta) + RoundingSlack;
}

bool OtherChordTooClose(const EdgePiece& u, const EdgePiece& v)
{
	return u.piece != v.piece && TooClose(u, v);
}

// Whether two chords of one edge come too near; the runs in contour and edge order.
bool ArcTooCloseToItself(const PolyShape& shape, const std::vector<EdgePiece>& runs)
{
	for (std::size_t first = 0; first < runs.size(); first += runs[first].pieceCount) {
		const EdgePiece& run = runs[first];
		if (ClearOfItself(shape.contours[run.contour], run.edge))
			continue;
		std::size_t last = first + run.pieceCount;
		for (std::size_t i = first; i < last; ++i) {
			for (std::size_t k = i; k < last; ++k) {
				if (AnyChordPairOf(shape, runs[i], runs[k], RunsMayComeTooNear, OtherChordTooClose))
					return true;
			}
		}
	}
	return false;
}

// Whether a ray leftwards from the point crosses the piece, by one half-open rule for all pieces.
bool CrossedLeftOf(const Coord& point, const EdgePiece& piece)
{
	if ((piece.a.y > point.y) == (piece.b.y > point.y))
		return false;
	return piece.a.x + (point.y - piece.a.y) * (piece.b.x - piece.a.x) / (piece.b.y - piece.a.y) < point.x;
}

// The shape's edges by runs of chords, sorted by where they begin in x.
struct SortedRuns {
	const PolyShape& shape;
	const std::vector<EdgePiece>& runs;
	double largestSagitta;

	// Whether the point, clear of every chord, lies inside the contour's chords. A run's own chord
	// crosses the ray as often as its chords do, but where the point lies between them.
	bool Encloses(std::size_t contour, const Coord& point) const
	{
		bool inside = false;
		for (const EdgePiece& run : runs) {
			if (run.MinX() - largestSagitta > point.x)
				break;
			if (run.contour != contour)
				continue;
			if (run.sagitta == 0.0 || DistanceToPiece(point, run) > run.sagitta + RoundingSlack) {
				inside = inside != CrossedLeftOf(point, run);
				continue;
			}
			PieceChords chords = ChordsOf(shape, run);
			for (std::size_t i = 0; i < chords.count; ++i)
				inside = inside != CrossedLeftOf(point, chords.pieces[i]);
		}
		return inside;
	}
};

struct HoleBox {
	std::size_t contour;
	Box2DData box; // around its chords
};

std::vector<HoleBox> HoleBoxesOf(const PolyShape& shape, const std::vector<EdgePiece>& runs)
{
	std::vector<HoleBox> holes(shape.contours.size() - 1);
	for (std::size_t hole = 0; hole < holes.size(); ++hole) {
		const Coord& first = shape.contours[hole + 1].front().begin;
		holes[hole] = {hole + 1, {first.x, first.y, first.x, first.y}};
	}
	for (const EdgePiece& run : runs) {
		if (run.contour == 0)
			continue;
		Box2DData& box = holes[run.contour - 1].box;
		box = {std::min(box.xMin, run.MinX() - run.sagitta), std::min(box.yMin, run.MinY() - run.sagitta),
		       std::max(box.xMax, run.MaxX() + run.sagitta), std::max(box.yMax, run.MaxY() + run.sagitta)};
	}
	return holes;
}

// Contours keep clear of one another, so one point of a hole tells where all of it lies.
bool HolesNest(const SortedRuns& edges)
{
	const PolyShape& shape = edges.shape;
	if (shape.contours.size() == 1)
		return true;
	std::vector<HoleBox> holes = HoleBoxesOf(shape, edges.runs);
	auto pointOf = [&](const HoleBox& hole) { return shape.contours[hole.contour].front().begin; };
	for (const HoleBox& hole : holes) {
		if (!edges.Encloses(0, pointOf(hole)))
			return false;
	}
	std::sort(holes.begin(), holes.end(), [](const HoleBox& a, const HoleBox& b) { return a.box.xMin < b.box.xMin; });
	for (std::size_t i = 0; i < holes.size(); ++i) {
		for (std::size_t k = i + 1; k < holes.size() && holes[k].box.xMin <= holes[i].box.xMax; ++k) {
			if (Overlap(holes[i].box, holes[k].box) && (edges.Encloses(holes[i].contour, pointOf(holes[k])) ||
			                                            edges.Encloses(holes[k].contour, pointOf(holes[i]))))
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

// Arcs are swept by runs of chords and looked at chord by chord only where something comes near a run.
bool IsRegular(const PolyShape& shape)
{
	if (shape.contours.empty())
		return false;
	for (const ShapeContour& contour : shape.contours) {
		if (contour.size() < 3 || !HasRegularVertices(contour))
			return false;
	}
	std::vector<EdgePiece> runs = PiecesOf(shape, ChordsPerRun);
	if (ArcTooCloseToItself(shape, runs))
		return false;
	double largestSagitta = LargestSagitta(runs);
	return !AnyChordPairByRuns(
	           shape, &runs, Clearance + 4.0 * largestSagitta + RoundingSlack,
	           [](const EdgePiece& s, const EdgePiece& t) { return RunsMayComeTooNear(s, t); },
	           [](const EdgePiece& u, const EdgePiece& v) { return TooClose(u, v); }) &&
	       HolesNest({shape, runs, largestSagitta});
}

} // namespace Geometry
