#include "Sim/Geometry/Crossing.hpp"

#include <cmath>

#include "Geometry/GenArc.hpp"

namespace Geometry {

namespace {

constexpr double Pi = 3.14159265358979323846;
// Chords per half turn: close enough to an arc that only a real crossing is found.
constexpr double ChordsPerHalfTurn = 64.0;

double Turn(const Coord& a, const Coord& b, const Coord& c)
{
	return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Each side's ends lie strictly on either side of the other.
bool CrossProperly(const EdgePiece& s, const EdgePiece& t)
{
	return Turn(s.a, s.b, t.a) * Turn(s.a, s.b, t.b) < 0.0 && Turn(t.a, t.b, s.a) * Turn(t.a, t.b, s.b) < 0.0;
}

void AppendEdgePieces(const ShapeContour& contour, std::size_t j, std::size_t i, std::vector<EdgePiece>* pieces)
{
	const ShapeEdge& edge = contour[i];
	const Coord& end = contour[(i + 1) % contour.size()].begin;
	if (edge.arcAngle == 0.0) {
		pieces->push_back({edge.begin, end, j, i, contour.size(), 0, 1, 0.0});
		return;
	}
	int steps = ArcPieceCount(edge.arcAngle);
	double radius =
	    GenArc::CreateCircleArc({edge.begin.x, edge.begin.y}, {end.x, end.y}, edge.arcAngle).GetMainAxisLength();
	double sagitta = radius * (1.0 - std::cos(std::fabs(edge.arcAngle) / (2.0 * steps)));
	std::vector<Coord> points = ArcChordPoints(edge.begin, end, edge.arcAngle, steps);
	for (std::size_t k = 0; k + 1 < points.size(); ++k)
		pieces->push_back({points[k], points[k + 1], j, i, contour.size(), k, points.size() - 1, sagitta});
}

} // namespace

int ArcPieceCount(double arcAngle)
{
	return std::max(1, static_cast<int>(std::ceil(std::fabs(arcAngle) / Pi * ChordsPerHalfTurn)));
}

std::vector<EdgePiece> PiecesOf(const PolyShape& shape)
{
	std::vector<EdgePiece> pieces;
	for (std::size_t j = 0; j < shape.contours.size(); ++j) {
		for (std::size_t i = 0; i < shape.contours[j].size(); ++i)
			AppendEdgePieces(shape.contours[j], j, i, &pieces);
	}
	return pieces;
}

double DistanceToPiece(const Coord& point, const EdgePiece& piece)
{
	double dx = piece.b.x - piece.a.x;
	double dy = piece.b.y - piece.a.y;
	double px = point.x - piece.a.x;
	double py = point.y - piece.a.y;
	double lengthSquared = dx * dx + dy * dy;
	double fraction = lengthSquared > 0.0 ? std::clamp((px * dx + py * dy) / lengthSquared, 0.0, 1.0) : 0.0;
	return std::hypot(px - fraction * dx, py - fraction * dy);
}

double PieceDistance(const EdgePiece& s, const EdgePiece& t)
{
	if (CrossProperly(s, t))
		return 0.0;
	return std::min(
	    {DistanceToPiece(s.a, t), DistanceToPiece(s.b, t), DistanceToPiece(t.a, s), DistanceToPiece(t.b, s)});
}

bool Follows(const EdgePiece& s, const EdgePiece& t)
{
	if (s.contour != t.contour)
		return false;
	if (s.edge == t.edge)
		return t.piece == s.piece + 1;
	return t.edge == (s.edge + 1) % s.edgeCount && s.IsLastOfEdge() && t.piece == 0;
}

bool EdgesCross(const PolyShape& shape)
{
	return AnyPairWithin(PiecesOf(shape), 0.0, [](const EdgePiece& s, const EdgePiece& t) {
		return !Follows(s, t) && !Follows(t, s) && CrossProperly(s, t);
	});
}

} // namespace Geometry
