// Circles and circular arcs of the host's geometry module.
#pragma once

#include "Geometry/Vector2.hpp"

namespace Geometry {

// An ellipse; the stand-in only makes circles, whose main axis length is the radius.
class Ellipse {
public:
	Ellipse(const Point2d& origo, double mainAxisLength) : origo(origo), mainAxisLength(mainAxisLength) {}

	const Point2d& GetOrigo() const { return origo; }
	double GetMainAxisLength() const { return mainAxisLength; }

private:
	Point2d origo;
	double mainAxisLength;
};

// An elliptic arc, here always circular, running from its begin point to its end point.
class GenArc : public Ellipse {
public:
	// The arc from begin to end turning by the signed angle (radians, positive
	// counter-clockwise). An angle below 1e-12 rad, a non-finite angle or coinciding
	// ends give a degenerate arc: centre at the chord midpoint, radius half the chord.
	static GenArc CreateCircleArc(const Point2d& begin, const Point2d& end, double angle);

	// Directions of the begin and end points seen from the centre, in (-pi, pi].
	double GetBegAng() const { return begAng; }
	double GetEndAng() const { return endAng; }
	const Point2d& GetBegPoint() const { return begPoint; }
	const Point2d& GetEndPoint() const { return endPoint; }

private:
	GenArc(const Point2d& origo, double radius, const Point2d& begPoint, const Point2d& endPoint);

	Point2d begPoint;
	Point2d endPoint;
	double begAng;
	double endAng;
};

// The angle minus the arc's begin angle, normalised into (-pi, pi].
double CalcAngleRelToGenArcBeg(const GenArc& arc, double angle);

} // namespace Geometry
