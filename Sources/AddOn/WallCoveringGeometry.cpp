#include "WallCoveringGeometry.hpp"

#include <cmath>
#include <cstring>
#include <utility>

#include "Geometry/GenArc.hpp"

using Geometry::Point2d;
using Geometry::Vector2d;

namespace {

constexpr double zeroLength = 1e-12;
constexpr double zeroSquaredLength = 1e-24;
constexpr double directionTolerance = 1e-5;

bool IsDegenerate(Vector2d v)
{
	return std::fabs(v.x) <= zeroLength && std::fabs(v.y) <= zeroLength &&
	       std::fabs(v.x * v.x + v.y * v.y) <= zeroSquaredLength;
}

// Counter-clockwise turn by the angle.
Vector2d Rotate(Vector2d v, double angle)
{
	return {v.x * std::cos(angle) - v.y * std::sin(angle), v.y * std::cos(angle) + v.x * std::sin(angle)};
}

void Place(API_Element& covering, Point2d begin, Point2d end, double arcAngle)
{
	covering.wall.begC = ToCoord(begin);
	covering.wall.endC = ToCoord(end);
	covering.wall.angle = arcAngle;
}

// The covering follows the curved edge's circle over the angles of the part,
// turning counter-clockwise whichever way the wall turns. The part's distances
// run from the wall's begin point in the wall's own turning direction.
void PlaceOnCurvedEdge(API_Element& covering, double edgeArcAngle, Point2d edgeBegin, Point2d edgeEnd,
                       const API_Element& wall, const API_WallPart& part)
{
	Geometry::GenArc wallArc =
	    Geometry::GenArc::CreateCircleArc(ToPoint(wall.wall.begC), ToPoint(wall.wall.endC), wall.wall.angle);
	Geometry::GenArc edgeArc = Geometry::GenArc::CreateCircleArc(edgeBegin, edgeEnd, edgeArcAngle);
	Point2d origo = edgeArc.GetOrigo();
	Vector2d fromOrigo = edgeArc.GetBegPoint() - origo;
	double offset = Geometry::CalcAngleRelToGenArcBeg(edgeArc, wallArc.GetBegAng());
	double wallRadius = wallArc.GetMainAxisLength();
	double turn = TurnOf(wall.wall.angle);
	double beginAngle = offset + turn * part.tBeg / wallRadius;
	double endAngle = offset + turn * part.tEnd / wallRadius;
	if (turn < 0.0)
		std::swap(beginAngle, endAngle);
	Place(covering, origo + Rotate(fromOrigo, beginAngle), origo + Rotate(fromOrigo, endAngle), endAngle - beginAngle);
}

// The wall part projected onto the edge, running in the edge's direction.
void ProjectPartOntoEdge(API_Element& covering, Point2d edgeBegin, Point2d edgeEnd, Point2d wallBegin,
                         Vector2d wallDirection, Vector2d edgeDirection, const API_WallPart& part)
{
	if (SameDirection(wallDirection, edgeDirection)) {
		double s = Geometry::Dot(edgeBegin - wallBegin, wallDirection);
		Place(covering, edgeBegin + edgeDirection * (part.tBeg - s), edgeBegin + edgeDirection * (part.tEnd - s), 0.0);
	} else {
		double s = Geometry::Dot(edgeEnd - wallBegin, wallDirection);
		Place(covering, edgeEnd - edgeDirection * (part.tEnd - s), edgeEnd - edgeDirection * (part.tBeg - s), 0.0);
	}
}

// The edges from vertex 1 on that keep accepts, in ascending order; the step
// from a contour's last vertex to the next contour is never an edge.
template <typename Keep> ZoneEdgeMap CollectZoneEdges(const ZonePolygon& polygon, Keep keep)
{
	ZoneEdgeMap edges;
	for (Int32 i = 1; i < polygon.coordCount; ++i) {
		if (!polygon.IsContourEnd(i) && keep(i))
			edges.Add(i, Sector(ToPoint(polygon.coords[i]), ToPoint(polygon.coords[i + 1])));
	}
	return edges;
}

} // namespace

Point2d ToPoint(const API_Coord& coord)
{
	return {coord.x, coord.y};
}

API_Coord ToCoord(const Point2d& point)
{
	return {point.x, point.y};
}

bool CalcCoveringGeometry(API_Element& covering, double edgeArcAngle, Point2d edgeBegin, Point2d edgeEnd,
                          const API_Element& wall, const API_WallPart& part)
{
	covering.wall.flipped = edgeArcAngle < 0.0;
	if (edgeArcAngle != 0.0) {
		PlaceOnCurvedEdge(covering, edgeArcAngle, edgeBegin, edgeEnd, wall, part);
		return false;
	}
	if (wall.wall.angle != 0.0) {
		Place(covering, edgeBegin, edgeEnd, 0.0);
		return true;
	}
	Point2d wallBegin = ToPoint(wall.wall.begC);
	Vector2d w = ToPoint(wall.wall.endC) - wallBegin;
	Vector2d e = edgeEnd - edgeBegin;
	if (NotParallel(w, e)) {
		Place(covering, edgeBegin, edgeEnd, 0.0);
		return true;
	}
	ProjectPartOntoEdge(covering, edgeBegin, edgeEnd, wallBegin, UnitOrXAxis(w), UnitOrXAxis(e), part);
	return false;
}

double TurnOf(double arcAngle)
{
	return arcAngle < 0.0 ? -1.0 : 1.0;
}

double GetZoneEdgeAngle(const ZonePolygon& polygon, Int32 edge)
{
	const API_PolyArc* arc = polygon.FirstArcFrom(edge);
	return arc == nullptr ? 0.0 : arc->arcAngle;
}

Vector2d UnitOrXAxis(Vector2d v)
{
	double length = v.GetLength();
	return length <= zeroLength ? Vector2d(1.0, 0.0) : v * (1.0 / length);
}

bool NotParallel(Vector2d a, Vector2d b)
{
	if (IsDegenerate(a) || IsDegenerate(b))
		return false;
	return std::fabs(Geometry::Cross(UnitOrXAxis(a), UnitOrXAxis(b))) > directionTolerance;
}

bool SameDirection(Vector2d a, Vector2d b)
{
	return std::fabs(1.0 - Geometry::Dot(UnitOrXAxis(a), UnitOrXAxis(b))) <= directionTolerance;
}

ZoneEdgeMap MakeZoneEdgeMapForAdd(const ZonePolygon& polygon, bool innerContours)
{
	bool outerOnly = !innerContours && polygon.contourCount >= 1;
	Int32 outerEnd = outerOnly ? polygon.contourEnds[1] : 0;
	return CollectZoneEdges(polygon, [&](Int32 i) { return !outerOnly || i < outerEnd; });
}

ZoneEdgeMap MakeZoneEdgeMapForUpdate(const ZonePolygon& polygon)
{
	return CollectZoneEdges(polygon, [&](Int32 i) { return !polygon.IsArcStart(i); });
}

API_Element CoveringPlacementMask()
{
	API_Element mask;
	std::memset(&mask, 0, sizeof(mask));
	API_MASK_SET(mask, wall.begC);
	API_MASK_SET(mask, wall.endC);
	API_MASK_SET(mask, wall.angle);
	API_MASK_SET(mask, wall.flipped);
	return mask;
}
