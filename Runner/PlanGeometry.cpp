#include "PlanGeometry.hpp"

#include <algorithm>
#include <cmath>

namespace Runner {

namespace {

double Sign(double value)
{
	return value < 0.0 ? -1.0 : 1.0;
}

API_Coord UnitDirection(const PlanLine& line)
{
	double length = Distance(line.begin, line.end);
	if (length <= 0.0)
		return {1.0, 0.0};
	return {(line.end.x - line.begin.x) / length, (line.end.y - line.begin.y) / length};
}

// The angle from the arc's begin, in the arc's own turning sense, taken in
// the full turn centred on the arc's middle, so that points just before the
// begin come out slightly negative.
double TurnFromBegin(const PlanLine& line, const ArcCircle& circle, API_Coord point)
{
	double turn =
	    Sign(line.arcAngle) * (std::atan2(point.y - circle.centre.y, point.x - circle.centre.x) - circle.beginAngle);
	double lowest = std::fabs(line.arcAngle) / 2.0 - Pi;
	return lowest + std::fmod(std::fmod(turn - lowest, 2.0 * Pi) + 2.0 * Pi, 2.0 * Pi);
}

bool Near(double a, double b)
{
	return std::fabs(a - b) <= LengthTolerance;
}

bool OnOneFace(const Band& body, Station begin, Station middle, Station end)
{
	return (Near(begin.left, body.left) || Near(begin.left, body.right)) && Near(middle.left, begin.left) &&
	       Near(end.left, begin.left);
}

} // namespace

Band WallBand(const API_WallType& wall)
{
	double t = wall.thickness;
	Band band = wall.referenceLine == APIWallRefLine_Centre ? Band{t / 2.0, -t / 2.0} : Band{t, 0.0};
	return wall.flipped ? Band{-band.right, -band.left} : band;
}

double Distance(API_Coord a, API_Coord b)
{
	return std::hypot(b.x - a.x, b.y - a.y);
}

double DegreesToRadians(double degrees)
{
	return degrees * Pi / 180.0;
}

ArcCircle CircleOfArc(const PlanLine& line)
{
	double chord = Distance(line.begin, line.end);
	API_Coord middle = {(line.begin.x + line.end.x) / 2.0, (line.begin.y + line.end.y) / 2.0};
	API_Coord direction = UnitDirection(line);
	// The centre lies on the chord's left for a counter-clockwise arc below a half turn.
	double towardsCentre = chord / 2.0 / std::tan(line.arcAngle / 2.0);
	API_Coord centre = {middle.x - direction.y * towardsCentre, middle.y + direction.x * towardsCentre};
	double radius = chord / 2.0 / std::fabs(std::sin(line.arcAngle / 2.0));
	return {centre, radius, std::atan2(line.begin.y - centre.y, line.begin.x - centre.x)};
}

double LineLength(const PlanLine& line)
{
	if (line.arcAngle == 0.0)
		return Distance(line.begin, line.end);
	return CircleOfArc(line).radius * std::fabs(line.arcAngle);
}

PlanLine ReferenceLine(const API_WallType& wall)
{
	return {wall.begC, wall.endC, wall.angle};
}

PlanLine OutlineEdge(const std::vector<API_Coord>& coords, const std::vector<API_PolyArc>& arcs, Int32 edge)
{
	PlanLine line = {coords[static_cast<std::size_t>(edge)], coords[static_cast<std::size_t>(edge) + 1], 0.0};
	for (const API_PolyArc& arc : arcs) {
		if (arc.begIndex == edge)
			return {line.begin, line.end, arc.arcAngle};
	}
	return line;
}

Station StationOf(const PlanLine& line, API_Coord point)
{
	if (line.arcAngle == 0.0) {
		API_Coord u = UnitDirection(line);
		API_Coord d = {point.x - line.begin.x, point.y - line.begin.y};
		return {d.x * u.x + d.y * u.y, u.x * d.y - u.y * d.x};
	}
	ArcCircle circle = CircleOfArc(line);
	return {TurnFromBegin(line, circle, point) * circle.radius,
	        Sign(line.arcAngle) * (circle.radius - Distance(circle.centre, point))};
}

API_Coord PointAt(const PlanLine& line, Station station)
{
	if (line.arcAngle == 0.0) {
		API_Coord u = UnitDirection(line);
		return {line.begin.x + u.x * station.along - u.y * station.left,
		        line.begin.y + u.y * station.along + u.x * station.left};
	}
	ArcCircle circle = CircleOfArc(line);
	double angle = circle.beginAngle + Sign(line.arcAngle) * station.along / circle.radius;
	double radius = circle.radius - Sign(line.arcAngle) * station.left;
	return {circle.centre.x + radius * std::cos(angle), circle.centre.y + radius * std::sin(angle)};
}

WallPartFit FitOfWallPart(const PlanLine& edge, const API_WallType& wall, double begin, double end)
{
	PlanLine line = ReferenceLine(wall);
	if (begin < -LengthTolerance)
		return WallPartFit::BeforeWall;
	if (end > LineLength(line) + LengthTolerance)
		return WallPartFit::BeyondWall;
	Station from = StationOf(line, edge.begin);
	Station to = StationOf(line, edge.end);
	Station middle = StationOf(line, PointAt(edge, {LineLength(edge) / 2.0, 0.0}));
	if (!OnOneFace(WallBand(wall), from, middle, to))
		return WallPartFit::OffFaces;
	bool withinEdge = begin >= std::min(from.along, to.along) - LengthTolerance &&
	                  end <= std::max(from.along, to.along) + LengthTolerance;
	return withinEdge ? WallPartFit::Fits : WallPartFit::BeyondEdge;
}

} // namespace Runner
