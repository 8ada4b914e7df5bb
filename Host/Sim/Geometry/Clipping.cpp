#include "Sim/Geometry/Clipping.hpp"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <unordered_map>
#include <utility>

#include <polyclipping/clipper.hpp>

#include "Sim/Geometry/Regularity.hpp"

namespace Geometry {

namespace {

using ClipperLib::cInt;
using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

// Largest gap between an arc and the chords standing in for it while clipping, in units.
constexpr double MaxSagittaUnits = 2.0;
constexpr double MaxArcSteps = 4096.0;
// Clipping rounds crossing points to whole units: points this close to a chord lie on it.
constexpr double OnChordUnits = 2.0;

IntPoint ToIntPoint(const Coord& coord)
{
	return IntPoint(static_cast<cInt>(ToClippingGrid(coord.x)), static_cast<cInt>(ToClippingGrid(coord.y)));
}

Coord ToCoord(const IntPoint& point)
{
	return {static_cast<double>(point.X) / ClippingUnitsPerMetre, static_cast<double>(point.Y) / ClippingUnitsPerMetre};
}

std::pair<cInt, cInt> KeyOf(const IntPoint& point)
{
	return {point.X, point.Y};
}

struct PointHash {
	std::size_t operator()(const std::pair<cInt, cInt>& key) const
	{
		return std::hash<cInt>()(key.first) * 0x9E3779B97F4A7C15ull ^ std::hash<cInt>()(key.second);
	}
};

// Distance from the chord a-b; *fraction tells where along it the nearest point is.
double DistanceToChord(const IntPoint& point, const IntPoint& a, const IntPoint& b, double* fraction)
{
	double dx = static_cast<double>(b.X - a.X);
	double dy = static_cast<double>(b.Y - a.Y);
	double px = static_cast<double>(point.X - a.X);
	double py = static_cast<double>(point.Y - a.Y);
	double lengthSquared = dx * dx + dy * dy;
	*fraction = lengthSquared > 0.0 ? std::clamp((px * dx + py * dy) / lengthSquared, 0.0, 1.0) : 0.0;
	return std::hypot(px - *fraction * dx, py - *fraction * dy);
}

// An arc edge as the chords it is clipped as.
struct ApproximatedArc {
	double angle;
	ClippingChords chords;
	std::vector<Coord> points; // the ends are the edge's own vertices
	std::vector<IntPoint> intPoints;
	IntPoint low;
	IntPoint high;

	int Steps() const { return chords.Count(); }
	// The angle turned from the begin up to a place given in chords followed, exact at the ends.
	double TurnedAt(double step) const
	{
		if (step == 0.0)
			return 0.0;
		if (step == Steps())
			return angle;
		int whole = static_cast<int>(step);
		int from = chords.StepOf(whole);
		return angle * (from + (step - whole) * (chords.StepOf(whole + 1) - from)) / chords.steps;
	}
	bool IsNear(const IntPoint& point) const
	{
		return point.X >= low.X - OnChordUnits && point.X <= high.X + OnChordUnits && point.Y >= low.Y - OnChordUnits &&
		       point.Y <= high.Y + OnChordUnits;
	}
};

struct ArcSpot {
	std::size_t arc;
	double step;
	double turned;
};

// What a point handed to clipping was: an original vertex and/or places on arcs.
struct PointOrigin {
	bool isVertex = false;
	Coord vertex{};
	std::vector<ArcSpot> spots;
};

struct ResolvedPoint {
	IntPoint at;
	Coord coord;
	const std::vector<ArcSpot>* spots; // the catalog's, or those found for a point clipping made
};

// An edge of a clipped contour that lies along an arc.
struct ArcSpan {
	std::size_t arc;
	double fromTurned;
	double toTurned;
};

bool Continues(const std::optional<ArcSpan>& previous, const std::optional<ArcSpan>& next)
{
	return previous.has_value() && next.has_value() && previous->arc == next->arc &&
	       previous->toTurned == next->fromTurned &&
	       (previous->toTurned > previous->fromTurned) == (next->toTurned > next->fromTurned);
}

// Turns contours into integer paths and clipped paths back into contours, recognising
// original vertices and runs along original arcs.
class PointCatalog {
public:
	// The chords of each edge to come, in the order the contours are added.
	explicit PointCatalog(std::vector<ClippingChords> edgeChords) : edgeChords(std::move(edgeChords)) {}

	Path AddContour(const ShapeContour& contour)
	{
		Path path;
		for (std::size_t i = 0; i < contour.size(); ++i) {
			const ShapeEdge& edge = contour[i];
			ClippingChords chords = edgeChords[nextEdge++];
			AddVertex(edge.begin, &path);
			if (edge.arcAngle != 0.0)
				AddArc(edge.begin, contour[(i + 1) % contour.size()].begin, edge.arcAngle, chords, &path);
		}
		return path;
	}

	ShapeContour RecoverContour(const Path& ring) const
	{
		std::size_t count = ring.size();
		if (count == 0)
			return {};
		// Reserved, so that the points may point at the spots found for new points.
		std::vector<std::vector<ArcSpot>> newPointSpots;
		newPointSpots.reserve(count);
		std::vector<ResolvedPoint> points;
		points.reserve(count);
		for (const IntPoint& at : ring)
			points.push_back(Resolve(at, &newPointSpots));
		std::vector<std::optional<ArcSpan>> spans;
		spans.reserve(count);
		for (std::size_t i = 0; i < count; ++i)
			spans.push_back(ArcSpanOf(points[i], points[(i + 1) % count]));

		// Start where a run along an arc begins, so that no run wraps around.
		std::size_t start = 0;
		while (start < count && Continues(spans[(start + count - 1) % count], spans[start]))
			++start;
		bool mayJoin = start < count;
		start %= count;

		ShapeContour contour;
		double runStart = 0.0;
		for (std::size_t k = 0; k < count; ++k) {
			std::size_t i = (start + k) % count;
			const std::optional<ArcSpan>& span = spans[i];
			if (mayJoin && k > 0 && Continues(spans[(i + count - 1) % count], span)) {
				contour.back().arcAngle = span->toTurned - runStart;
				continue;
			}
			runStart = span.has_value() ? span->fromTurned : 0.0;
			contour.push_back({points[i].coord, span.has_value() ? span->toTurned - span->fromTurned : 0.0});
		}
		return contour;
	}

private:
	void AddVertex(const Coord& vertex, Path* path)
	{
		IntPoint at = ToIntPoint(vertex);
		PointOrigin& origin = origins[KeyOf(at)];
		if (!origin.isVertex) {
			origin.isVertex = true;
			origin.vertex = vertex;
		}
		path->push_back(at);
	}

	// Appends the arc's inner points; its ends are the edge's vertices.
	void AddArc(const Coord& begin, const Coord& end, double angle, ClippingChords chords, Path* path)
	{
		if (ArcChords(begin, end, angle, chords.steps).Radius() == 0.0)
			return;
		ApproximatedArc arc{angle, chords, ClippingChordPoints(begin, end, angle, chords), {}, {}, {}};
		for (const Coord& point : arc.points)
			arc.intPoints.push_back(ToIntPoint(point));
		arc.low = arc.high = arc.intPoints.front();
		for (const IntPoint& point : arc.intPoints) {
			arc.low = IntPoint(std::min(arc.low.X, point.X), std::min(arc.low.Y, point.Y));
			arc.high = IntPoint(std::max(arc.high.X, point.X), std::max(arc.high.Y, point.Y));
		}
		for (int step = 0; step <= chords.Count(); ++step)
			origins[KeyOf(arc.intPoints[step])].spots.push_back({arcs.size(), double(step), arc.TurnedAt(step)});
		path->insert(path->end(), arc.intPoints.begin() + 1, arc.intPoints.end() - 1);
		arcs.push_back(std::move(arc));
	}

	ResolvedPoint Resolve(const IntPoint& at, std::vector<std::vector<ArcSpot>>* newPointSpots) const
	{
		auto found = origins.find(KeyOf(at));
		if (found == origins.end()) {
			newPointSpots->push_back(SpotsOnChords(at));
			return {at, ToCoord(at), &newPointSpots->back()};
		}
		const PointOrigin& origin = found->second;
		if (origin.isVertex)
			return {at, origin.vertex, &origin.spots};
		const ArcSpot& spot = origin.spots.front();
		return {at, arcs[spot.arc].points[static_cast<std::size_t>(spot.step)], &origin.spots};
	}

	// Places of a new point, made by clipping, on the arcs' chords.
	std::vector<ArcSpot> SpotsOnChords(const IntPoint& at) const
	{
		std::vector<ArcSpot> spots;
		for (std::size_t index = 0; index < arcs.size(); ++index) {
			const ApproximatedArc& arc = arcs[index];
			if (!arc.IsNear(at))
				continue;
			for (int step = 0; step < arc.Steps(); ++step) {
				double fraction = 0.0;
				if (DistanceToChord(at, arc.intPoints[step], arc.intPoints[step + 1], &fraction) <= OnChordUnits) {
					spots.push_back({index, step + fraction, arc.TurnedAt(step + fraction)});
					break;
				}
			}
		}
		return spots;
	}

	// The edge lies along an arc when both ends are on it and the arc's points between
	// them (dropped by clipping as collinear) lie on the edge.
	std::optional<ArcSpan> ArcSpanOf(const ResolvedPoint& from, const ResolvedPoint& to) const
	{
		for (const ArcSpot& fromSpot : *from.spots) {
			for (const ArcSpot& toSpot : *to.spots) {
				if (fromSpot.arc == toSpot.arc && fromSpot.step != toSpot.step &&
				    FollowsArc(arcs[fromSpot.arc], fromSpot.step, toSpot.step, from.at, to.at))
					return ArcSpan{fromSpot.arc, fromSpot.turned, toSpot.turned};
			}
		}
		return std::nullopt;
	}

	static bool FollowsArc(const ApproximatedArc& arc, double fromStep, double toStep, const IntPoint& from,
	                       const IntPoint& to)
	{
		double low = std::min(fromStep, toStep);
		double high = std::max(fromStep, toStep);
		for (int step = static_cast<int>(std::floor(low)) + 1; step < high; ++step) {
			double fraction = 0.0;
			if (DistanceToChord(arc.intPoints[step], from, to, &fraction) > OnChordUnits)
				return false;
		}
		return true;
	}

	std::vector<ClippingChords> edgeChords;
	std::size_t nextEdge = 0;
	std::unordered_map<std::pair<cInt, cInt>, PointOrigin, PointHash> origins;
	std::vector<ApproximatedArc> arcs;
};

// Appends the area of one shape: its outer contour by non-zero winding less its holes.
// Clipping refuses to run without an outer contour of some area, which adds nothing.
bool AddRegion(const PolyShape& shape, PointCatalog* catalog, Paths* regions)
{
	ClipperLib::Clipper clipper;
	bool hasArea = false;
	for (std::size_t j = 0; j < shape.contours.size(); ++j) {
		bool added = clipper.AddPath(catalog->AddContour(shape.contours[j]),
		                             j == 0 ? ClipperLib::ptSubject : ClipperLib::ptClip, true);
		hasArea = hasArea || (j == 0 && added);
	}
	Paths region;
	if (hasArea && !clipper.Execute(ClipperLib::ctDifference, region, ClipperLib::pftNonZero, ClipperLib::pftNonZero))
		return false;
	regions->insert(regions->end(), region.begin(), region.end());
	return true;
}

void CollectRings(const ClipperLib::PolyNode& node, std::vector<const Path*>* rings)
{
	if (!node.Contour.empty())
		rings->push_back(&node.Contour);
	for (const ClipperLib::PolyNode* child : node.Childs)
		CollectRings(*child, rings);
}

bool Precedes(const IntPoint& a, const IntPoint& b)
{
	return KeyOf(a) < KeyOf(b);
}

// Whether the point is on the segment, or as near it as the rounding to whole units
// leaves a point that the clipping found on it, without being one of its ends.
bool TouchesSegment(const IntPoint& point, const IntPoint& a, const IntPoint& b)
{
	double fraction = 0.0;
	return point != a && point != b && DistanceToChord(point, a, b, &fraction) <= OnChordUnits;
}

// Whether the rings touch themselves or one another: a point twice, or a point on
// or next to an edge that does not end at it. Points are looked up by x, so each edge costs the
// points beside it.
bool RingsTouch(const ClipperLib::PolyTree& tree)
{
	std::vector<const Path*> rings;
	CollectRings(tree, &rings);
	std::vector<IntPoint> points;
	for (const Path* ring : rings)
		points.insert(points.end(), ring->begin(), ring->end());
	std::sort(points.begin(), points.end(), Precedes);
	if (std::adjacent_find(points.begin(), points.end()) != points.end())
		return true;
	for (const Path* ring : rings) {
		for (std::size_t i = 0; i < ring->size(); ++i) {
			const IntPoint& a = (*ring)[i];
			const IntPoint& b = (*ring)[(i + 1) % ring->size()];
			const auto near = static_cast<cInt>(OnChordUnits);
			auto first = std::lower_bound(points.begin(), points.end(), IntPoint(std::min(a.X, b.X) - near, INT64_MIN),
			                              Precedes);
			for (auto point = first; point != points.end() && point->X <= std::max(a.X, b.X) + near; ++point) {
				if (TouchesSegment(*point, a, b))
					return true;
			}
		}
	}
	return false;
}

bool Unite(const Paths& regions, bool strictlySimple, ClipperLib::PolyTree* tree)
{
	ClipperLib::Clipper unite;
	unite.StrictlySimple(strictlySimple);
	unite.AddPaths(regions, ClipperLib::ptSubject, true);
	// Strictly simple output keeps the collinear points of the result, though not
	// those of the input; the plain union keeps the same for the same result.
	unite.PreserveCollinear(true);
	return unite.Execute(ClipperLib::ctUnion, *tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
}

// Strictly simple output splits polygons that touch at a point. Its pass walks every
// pair of points of a ring, which is most of the work on rings with arcs. For a lone
// shape it gives what the plain union gives unless that touches somewhere, so the
// plain union runs first; where the edges of two shapes overlap, the two differ
// beyond the touching points.
bool UniteRegions(const Paths& regions, bool lone, ClipperLib::PolyTree* tree)
{
	if (!lone)
		return Unite(regions, true, tree);
	if (!Unite(regions, false, tree))
		return false;
	if (!RingsTouch(*tree))
		return true;
	tree->Clear();
	return Unite(regions, true, tree);
}

// Each outer node of the tree with its holes is one shape; islands in holes are shapes too.
void CollectShapes(const ClipperLib::PolyNode& parent, const PointCatalog& catalog, std::vector<PolyShape>* shapes)
{
	for (const ClipperLib::PolyNode* outer : parent.Childs) {
		PolyShape shape;
		shape.contours.push_back(catalog.RecoverContour(outer->Contour));
		for (const ClipperLib::PolyNode* hole : outer->Childs)
			shape.contours.push_back(catalog.RecoverContour(hole->Contour));
		shapes->push_back(std::move(shape));
		for (const ClipperLib::PolyNode* hole : outer->Childs)
			CollectShapes(*hole, catalog, shapes);
	}
}

bool PrecedesCoord(const Coord& a, const Coord& b)
{
	return a.x < b.x || (a.x == b.x && a.y < b.y);
}

bool StartsBefore(const ShapeContour& a, const ShapeContour& b)
{
	return !b.empty() && (a.empty() || PrecedesCoord(a.front().begin, b.front().begin));
}

void StartAtLeastVertex(ShapeContour* contour)
{
	auto least = std::min_element(contour->begin(), contour->end(), [](const ShapeEdge& a, const ShapeEdge& b) {
		return PrecedesCoord(a.begin, b.begin);
	});
	std::rotate(contour->begin(), least, contour->end());
}

// Clipping starts its rings and lists them as its sweep meets them; the order is made
// independent of that, so that a shape comes out the same whichever way it was made.
void PutInCanonicalOrder(std::vector<PolyShape>* shapes)
{
	for (PolyShape& shape : *shapes) {
		for (ShapeContour& contour : shape.contours)
			StartAtLeastVertex(&contour);
		if (shape.contours.size() > 2)
			std::sort(shape.contours.begin() + 1, shape.contours.end(), StartsBefore);
	}
	std::sort(shapes->begin(), shapes->end(), [](const PolyShape& a, const PolyShape& b) {
		return StartsBefore(a.contours.front(), b.contours.front());
	});
}

GSErrCode Clip(const std::vector<const PolyShape*>& shapes, ArcChordDetail detail, std::vector<PolyShape>* united)
{
	PointCatalog catalog(ClippingChordsOf(shapes, detail));
	Paths regions;
	for (const PolyShape* shape : shapes) {
		if (!AddRegion(*shape, &catalog, &regions))
			return ErrInvalidPolygon;
	}
	ClipperLib::PolyTree tree;
	if (!regions.empty() && !UniteRegions(regions, shapes.size() == 1, &tree))
		return ErrInvalidPolygon;
	CollectShapes(tree, catalog, united);
	return NoError;
}

// Regular when regularisation has nothing to do but orient it.
bool OrientIfRegular(const std::vector<const PolyShape*>& shapes, std::vector<PolyShape>* united)
{
	if (shapes.size() != 1 || !IsRegular(*shapes.front()))
		return false;
	united->push_back(*shapes.front());
	OrientShape(&united->back());
	return true;
}

template <typename Unite> GSErrCode UniteInCanonicalOrder(const std::vector<const PolyShape*>& shapes,
                                                          std::vector<PolyShape>* results, Unite unite)
{
	try {
		std::vector<PolyShape> united;
		if (GSErrCode error = unite(shapes, &united); error != NoError)
			return error;
		PutInCanonicalOrder(&united);
		*results = std::move(united);
		return NoError;
	} catch (const std::bad_alloc&) {
		return ErrMemoryFull;
	} catch (const ClipperLib::clipperException&) {
		return ErrInvalidPolygon;
	}
}

} // namespace

double ToClippingGrid(double metres)
{
	return static_cast<double>(std::llround(metres * ClippingUnitsPerMetre));
}

// Enough chords to stay within the sagitta, a single one for an arc that bulges less than a unit.
int ClippingChordCount(double radius, double angle)
{
	double radiusUnits = radius * ClippingUnitsPerMetre;
	if (radiusUnits * (1.0 - std::cos(angle / 2.0)) < 1.0)
		return 1;
	double stepAngle = 2.0 * std::acos(1.0 - std::min(MaxSagittaUnits / radiusUnits, 1.0));
	return static_cast<int>(std::clamp(std::ceil(std::fabs(angle) / stepAngle), 2.0, MaxArcSteps));
}

GSErrCode UniteShapes(const std::vector<const PolyShape*>& shapes, std::vector<PolyShape>* results)
{
	return UniteInCanonicalOrder(
	    shapes, results, [](const std::vector<const PolyShape*>& given, std::vector<PolyShape>* united) {
		    return OrientIfRegular(given, united) ? NoError : Clip(given, ArcChordDetail::FewWhereClear, united);
	    });
}

GSErrCode UniteByClipping(const std::vector<const PolyShape*>& shapes, ArcChordDetail detail,
                          std::vector<PolyShape>* results)
{
	return UniteInCanonicalOrder(shapes, results,
	                             [detail](const std::vector<const PolyShape*>& given, std::vector<PolyShape>* united) {
		                             return Clip(given, detail, united);
	                             });
}

// Contours that do not cross are either nested or apart, so the union with the outer
// contour either leaves its area as it is or adds the whole of the other's.
bool LiesInsideOuterContour(const PolyShape& shape, std::size_t contour)
{
	PolyShape outer = {{shape.contours.front()}};
	PolyShape other = {{shape.contours.at(contour)}};
	std::vector<PolyShape> united;
	if (UniteShapes({&outer, &other}, &united) != NoError)
		return false;
	double unitedArea = 0.0;
	for (const PolyShape& part : united) {
		for (const ShapeContour& edges : part.contours)
			unitedArea += SignedArea(edges);
	}
	double added = unitedArea - std::fabs(SignedArea(outer.contours.front()));
	return added < std::fabs(SignedArea(other.contours.front())) / 2.0;
}

} // namespace Geometry
