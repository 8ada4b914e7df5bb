// The geometry module's working shapes for the tests of the stand-in's clipping and checks:
// made from outlines written as vertex lists, and compared edge by edge.
#pragma once

#include <cmath>
#include <vector>

#include "GeometryOutlines.hpp"
#include "Sim/Geometry/Shape.hpp"

namespace GeometryTest {

// The angle of an arc over a chord of that length bulging by the sagitta.
inline double ArcAngle(double chord, double sagitta)
{
	return 4.0 * std::atan(2.0 * sagitta / chord);
}

inline Geometry::PolyShape ShapeOf(const Outline& outline)
{
	Geometry::PolyShape shape;
	for (const Contour& contour : outline) {
		Geometry::ShapeContour edges;
		for (const Vertex& vertex : contour)
			edges.push_back({{vertex.x, vertex.y}, vertex.arc});
		shape.contours.push_back(edges);
	}
	return shape;
}

// Edge i of a is edge i + shift of b, exactly.
inline bool SameEdges(const Geometry::ShapeContour& a, const Geometry::ShapeContour& b, std::size_t shift)
{
	for (std::size_t i = 0; i < a.size(); ++i) {
		const Geometry::ShapeEdge& other = b[(i + shift) % b.size()];
		if (a[i].begin.x != other.begin.x || a[i].begin.y != other.begin.y || a[i].arcAngle != other.arcAngle)
			return false;
	}
	return true;
}

inline bool SameShapes(const std::vector<Geometry::PolyShape>& a, const std::vector<Geometry::PolyShape>& b)
{
	if (a.size() != b.size())
		return false;
	for (std::size_t s = 0; s < a.size(); ++s) {
		if (a[s].contours.size() != b[s].contours.size())
			return false;
		for (std::size_t j = 0; j < a[s].contours.size(); ++j) {
			if (a[s].contours[j].size() != b[s].contours[j].size() || !SameEdges(a[s].contours[j], b[s].contours[j], 0))
				return false;
		}
	}
	return true;
}

} // namespace GeometryTest
