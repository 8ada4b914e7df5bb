#include <cmath>

#include "Geometry/GenArc.hpp"

namespace Geometry {

namespace {

// Below this an arc is taken for straight: its centre would lie beyond any model.
constexpr double MinArcAngle = 1e-12;
constexpr double Pi = 3.14159265358979323846;

// In (-pi, pi]: atan2 answers -pi for a negative zero or a rounding just below the axis.
double DirectionAngle(const Point2d& centre, const Point2d& point)
{
	double angle = std::atan2(point.y - centre.y, point.x - centre.x);
	return angle <= -Pi ? angle + 2.0 * Pi : angle;
}

} // namespace

GenArc::GenArc(const Point2d& origo, double radius, const Point2d& begPoint, const Point2d& endPoint)
    : Ellipse(origo, radius), begPoint(begPoint), endPoint(endPoint), begAng(DirectionAngle(origo, begPoint)),
      endAng(DirectionAngle(origo, endPoint))
{
}

GenArc GenArc::CreateCircleArc(const Point2d& begin, const Point2d& end, double angle)
{
	Vector2d chord = end - begin;
	double chordLength = chord.GetLength();
	Point2d midpoint = begin + chord * 0.5;
	if (chordLength == 0.0 || !(std::fabs(angle) >= MinArcAngle))
		return GenArc(midpoint, chordLength / 2.0, begin, end);

	// The centre lies off the chord midpoint along the left normal, at a signed
	// distance that changes side for arcs larger than a half circle.
	Vector2d leftNormal(-chord.y / chordLength, chord.x / chordLength);
	double centreOffset = chordLength / (2.0 * std::tan(angle / 2.0));
	double radius = std::fabs(chordLength / (2.0 * std::sin(angle / 2.0)));
	return GenArc(midpoint + leftNormal * centreOffset, radius, begin, end);
}

double CalcAngleRelToGenArcBeg(const GenArc& arc, double angle)
{
	double relative = std::remainder(angle - arc.GetBegAng(), 2.0 * Pi);
	return relative <= -Pi ? relative + 2.0 * Pi : relative;
}

} // namespace Geometry
