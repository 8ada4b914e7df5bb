// Plan geometry of reference lines, straight or curved, as the host records
// them: a begin and an end point and a signed arc angle (0: straight,
// positive: counter-clockwise). Shared by the plan drawing and the checks of
// sample projects.
#pragma once

#include "API/Elements.hpp"

namespace Runner {

constexpr double Pi = 3.14159265358979323846;

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

double Distance(API_Coord a, API_Coord b);
double DegreesToRadians(double degrees);

} // namespace Runner
