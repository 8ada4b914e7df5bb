#include <algorithm>
#include <cmath>

#include "Geometry/Sector.hpp"

namespace Geometry {

namespace {

double Distance(const Point2d& a, const Point2d& b)
{
	return (b - a).GetLength();
}

// The point, or the end of a or b it lies within the distance tolerance of.
Point2d SnapToEnd(const Point2d& point, const Sector& a, const Sector& b, double distanceTolerance)
{
	for (const Point2d& end : {a.BegPoint(), a.EndPoint(), b.BegPoint(), b.EndPoint()}) {
		if (Distance(point, end) <= distanceTolerance)
			return end;
	}
	return point;
}

double DistanceToSector(const Point2d& point, const Sector& sector)
{
	Vector2d direction = sector.EndPoint() - sector.BegPoint();
	double lengthSquared = Dot(direction, direction);
	double along = lengthSquared > 0.0 ? Dot(point - sector.BegPoint(), direction) / lengthSquared : 0.0;
	return Distance(point, sector.BegPoint() + direction * std::clamp(along, 0.0, 1.0));
}

// Distance from the line through a sector longer than the tolerance.
double DistanceToLine(const Point2d& point, const Sector& sector)
{
	Vector2d direction = sector.EndPoint() - sector.BegPoint();
	return std::fabs(Cross(direction, point - sector.BegPoint())) / direction.GetLength();
}

// A sector no longer than the tolerance meets the other one where it lies on it.
SectorIntersection IntersectPoint(const Point2d& point, const Sector& other, double distanceTolerance)
{
	if (DistanceToSector(point, other) > distanceTolerance)
		return std::monostate();
	return point;
}

SectorIntersection IntersectCollinear(const Sector& a, const Sector& b, double distanceTolerance)
{
	Vector2d direction = a.EndPoint() - a.BegPoint();
	double length = direction.GetLength();
	Vector2d unit = direction * (1.0 / length);
	double bBeg = Dot(b.BegPoint() - a.BegPoint(), unit);
	double bEnd = Dot(b.EndPoint() - a.BegPoint(), unit);
	double low = std::max(0.0, std::min(bBeg, bEnd));
	double high = std::min(length, std::max(bBeg, bEnd));
	if (high - low > distanceTolerance)
		return Sector(a.BegPoint() + unit * low, a.BegPoint() + unit * high);
	if (high - low < -distanceTolerance)
		return std::monostate();
	// Sectors that only touch do so at an end of a (b is longer than the tolerance).
	return (low + high) / 2.0 < length / 2.0 ? a.BegPoint() : a.EndPoint();
}

SectorIntersection IntersectCrossing(const Sector& a, const Sector& b, double distanceTolerance)
{
	Vector2d aDirection = a.EndPoint() - a.BegPoint();
	Vector2d bDirection = b.EndPoint() - b.BegPoint();
	Vector2d offset = b.BegPoint() - a.BegPoint();
	double denominator = Cross(aDirection, bDirection);
	Point2d crossing = a.BegPoint() + aDirection * (Cross(offset, bDirection) / denominator);
	if (DistanceToSector(crossing, a) > distanceTolerance || DistanceToSector(crossing, b) > distanceTolerance)
		return std::monostate();
	return SnapToEnd(crossing, a, b, distanceTolerance);
}

} // namespace

SectorIntersection Intersect(const Sector& a, const Sector& b, const Tolerance& tolerance)
{
	double distanceTolerance = tolerance.GetDistance().GetLength();
	double aLength = Distance(a.BegPoint(), a.EndPoint());
	double bLength = Distance(b.BegPoint(), b.EndPoint());
	if (aLength <= distanceTolerance)
		return IntersectPoint(a.BegPoint(), b, distanceTolerance);
	if (bLength <= distanceTolerance)
		return IntersectPoint(b.BegPoint(), a, distanceTolerance);

	double sine = Cross(a.EndPoint() - a.BegPoint(), b.EndPoint() - b.BegPoint()) / (aLength * bLength);
	if (std::fabs(sine) > std::sin(tolerance.GetAngle().GetRadians()))
		return IntersectCrossing(a, b, distanceTolerance);
	bool onOneLine =
	    DistanceToLine(b.BegPoint(), a) <= distanceTolerance && DistanceToLine(b.EndPoint(), a) <= distanceTolerance;
	return onOneLine ? IntersectCollinear(a, b, distanceTolerance) : SectorIntersection(std::monostate());
}

} // namespace Geometry
