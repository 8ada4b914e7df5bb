// Plan geometry of reference lines, straight or curved, as the host records
// them: a begin and an end point and a signed arc angle (0: straight,
// positive: counter-clockwise). Shared by the plan drawing and the checks of
// sample projects.
#pragma once

#include <vector>

#include "API/Elements.hpp"
#include "Geometry/Tolerance.hpp"

namespace Runner {

constexpr double Pi = 3.14159265358979323846;
// Lengths that differ by less are the same, as the host takes them.
inline const double LengthTolerance = Geometry::DistanceTolerance().GetLength();

struct PlanLine {
	API_Coord begin;
	API_Coord end;
	double arcAngle; // radians
};

// The circle of a curved line; arcAngle must not be 0.
struct ArcCircle {
	API_Coord centre;
	double radius;
	double beginAngle; // direction of the begin point seen from the centre
};
ArcCircle CircleOfArc(const PlanLine& line);

double LineLength(const PlanLine& line);

PlanLine ReferenceLine(const API_WallType& wall);

// Edge n of an outline in the host's memo layout (coordinates from entry 1, each
// contour closed by repeating its first point): from point n to point n + 1,
// curved when an arc begins at point n.
PlanLine OutlineEdge(const std::vector<API_Coord>& coords, const std::vector<API_PolyArc>& arcs, Int32 edge);

// Where a point stands to a line: its distance along the line from the begin
// point (along the arc for a curved line) and how far it lies to the line's
// left, looking from begin to end.
struct Station {
	double along;
	double left;
};
Station StationOf(const PlanLine& line, API_Coord point);
API_Coord PointAt(const PlanLine& line, Station station);

// A wall's body across its reference line, as distances to the line's left
// (looking from its begin to its end): a wall lies on the left of a reference
// line along its face, centred on one along its middle, and on the other side
// when flipped.
struct Band {
	double left;
	double right;
};
Band WallBand(const API_WallType& wall);

// How a wall part, the stretch of the wall's reference line from begin to end
// that bounds a zone edge, stands to the wall and the edge. It fits when it lies
// within the wall and within the stretch of it that the edge runs along, and
// the edge runs along one face of the wall at its ends and its middle.
enum class WallPartFit { Fits, BeforeWall, BeyondWall, OffFaces, BeyondEdge };
WallPartFit FitOfWallPart(const PlanLine& edge, const API_WallType& wall, double begin, double end);

double Distance(API_Coord a, API_Coord b);
double DegreesToRadians(double degrees);

} // namespace Runner
