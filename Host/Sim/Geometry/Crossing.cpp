#include "Sim/Geometry/Crossing.hpp"

#include <algorithm>
#include <cmath>

namespace Geometry {

namespace {

constexpr double Pi = 3.14159265358979323846;
// Chords per half turn: close enough to an arc that only a real crossing is found.
constexpr double ChordsPerHalfTurn = 64.0;

struct Segment {
	Coord a;
	Coord b;
	std::size_t ring;
	std::size_t index; // along the ring
	std::size_t ringSize;

	double MinX() const { return std::min(a.x, b.x); }
	double MaxX() const { return std::max(a.x, b.x); }
};

double Turn(const Coord& a, const Coord& b, const Coord& c)
{
	return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Each side's ends lie strictly on either side of the other.
bool CrossProperly(const Segment& s, const Segment& t)
{
	return Turn(s.a, s.b, t.a) * Turn(s.a, s.b, t.b) < 0.0 && Turn(t.a, t.b, s.a) * Turn(t.a, t.b, s.b) < 0.0;
}

bool AreNeighbours(const Segment& s, const Segment& t)
{
	if (s.ring != t.ring)
		return false;
	std::size_t gap = s.index > t.index ? s.index - t.index : t.index - s.index;
	return gap == 1 || gap + 1 == s.ringSize;
}

std::vector<Coord> RingOf(const ShapeContour& contour)
{
	std::vector<Coord> ring;
	for (std::size_t i = 0; i < contour.size(); ++i) {
		const ShapeEdge& edge = contour[i];
		if (edge.arcAngle == 0.0) {
			ring.push_back(edge.begin);
			continue;
		}
		int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(edge.arcAngle) / Pi * ChordsPerHalfTurn)));
		std::vector<Coord> points =
		    ArcChordPoints(edge.begin, contour[(i + 1) % contour.size()].begin, edge.arcAngle, steps);
		ring.insert(ring.end(), points.begin(), points.end() - 1);
	}
	return ring;
}

std::vector<Segment> SegmentsOf(const PolyShape& shape)
{
	std::vector<Segment> segments;
	for (std::size_t j = 0; j < shape.contours.size(); ++j) {
		std::vector<Coord> ring = RingOf(shape.contours[j]);
		for (std::size_t i = 0; i < ring.size(); ++i)
			segments.push_back({ring[i], ring[(i + 1) % ring.size()], j, i, ring.size()});
	}
	return segments;
}

} // namespace

bool EdgesCross(const PolyShape& shape)
{
	std::vector<Segment> segments = SegmentsOf(shape);
	std::sort(segments.begin(), segments.end(), [](const Segment& s, const Segment& t) { return s.MinX() < t.MinX(); });
	for (std::size_t i = 0; i < segments.size(); ++i) {
		const Segment& s = segments[i];
		for (std::size_t k = i + 1; k < segments.size() && segments[k].MinX() <= s.MaxX(); ++k) {
			if (!AreNeighbours(s, segments[k]) && CrossProperly(s, segments[k]))
				return true;
		}
	}
	return false;
}

} // namespace Geometry
