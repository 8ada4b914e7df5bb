// Straight segments ("sectors") of the host's geometry module and their intersection.
#pragma once

#include <variant>

#include "Geometry/Tolerance.hpp"
#include "Geometry/Vector2.hpp"

namespace Geometry {

// A straight segment from its begin point to its end point.
class Sector {
public:
	Sector(const Point2d& begPoint, const Point2d& endPoint) : begPoint(begPoint), endPoint(endPoint) {}

	const Point2d& BegPoint() const { return begPoint; }
	const Point2d& EndPoint() const { return endPoint; }

private:
	Point2d begPoint;
	Point2d endPoint;
};

// What two sectors share; index() 0: nothing, 1: one point, 2: a stretch longer than
// the distance tolerance.
using SectorIntersection = std::variant<std::monostate, Point2d, Sector>;

// Sectors within the angle tolerance of parallel and within the distance tolerance of
// one line are collinear; their shared stretch runs in a's direction. A common point
// within the distance tolerance of a sector end is that end exactly. A sector shorter
// than the distance tolerance counts as a point.
SectorIntersection Intersect(const Sector& a, const Sector& b, const Tolerance& tolerance);

} // namespace Geometry

using Geometry::Sector;
