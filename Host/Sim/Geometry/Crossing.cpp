#include "Sim/Geometry/Crossing.hpp"

#include <cmath>

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

double SquaredDistanceToPiece(const Coord& point, const EdgePiece& piece)
{
	double dx = piece.b.x - piece.a.x;
	double dy = piece.b.y - piece.a.y;
	double px = point.x - piece.a.x;
	double py = point.y - piece.a.y;
	double lengthSquared = dx * dx + dy * dy;
	double fraction = lengthSquared > 0.0 ? std::clamp((px * dx + py * dy) / lengthSquared, 0.0, 1.0) : 0.0;
	double x = px - fraction * dx;
	double y = py - fraction * dy;
	return x * x + y * y;
}

double SquaredPieceDistance(const EdgePiece& s, const EdgePiece& t)
{
	if (CrossProperly(s, t))
		return 0.0;
	return std::min({SquaredDistanceToPiece(s.a, t), SquaredDistanceToPiece(s.b, t), SquaredDistanceToPiece(t.a, s),
	                 SquaredDistanceToPiece(t.b, s)});
}

const Coord& EndOf(const ShapeContour& contour, std::size_t i)
{
	return contour[(i + 1) % contour.size()].begin;
}

// The chords [first, last) of an arc's chords that one piece stands for.
struct ChordRun {
	int first;
	int last;
};

ChordRun RunOf(int chords, std::size_t runs, std::size_t run)
{
	int count = static_cast<int>(runs);
	return {RunStart(chords, count, static_cast<int>(run)), RunStart(chords, count, static_cast<int>(run) + 1)};
}

std::size_t PieceCountOf(const ShapeEdge& edge, int chordsPerPiece)
{
	return edge.arcAngle == 0.0 ? 1 : static_cast<std::size_t>(RunCount(ArcPieceCount(edge.arcAngle), chordsPerPiece));
}

double RunSagitta(const ArcChords& arc, double angle, int chords, ChordRun run)
{
	return arc.Radius() * (1.0 - std::cos(std::fabs(angle) * (run.last - run.first) / (2.0 * chords)));
}

void AppendEdgePieces(const ShapeContour& contour, std::size_t j, std::size_t i, int chordsPerPiece,
                      std::vector<EdgePiece>* pieces)
{
	const ShapeEdge& edge = contour[i];
	const Coord& end = EndOf(contour, i);
	if (edge.arcAngle == 0.0) {
		pieces->push_back({edge.begin, end, j, i, contour.size(), 0, 1, 0.0});
		return;
	}
	int chords = ArcPieceCount(edge.arcAngle);
	std::size_t runs = static_cast<std::size_t>(RunCount(chords, chordsPerPiece));
	ArcChords arc(edge.begin, end, edge.arcAngle, chords);
	Coord from = edge.begin;
	for (std::size_t k = 0; k < runs; ++k) {
		ChordRun run = RunOf(chords, runs, k);
		Coord to = arc.Point(run.last);
		pieces->push_back({from, to, j, i, contour.size(), k, runs, RunSagitta(arc, edge.arcAngle, chords, run)});
		from = to;
	}
}

// Chords within their runs' sagittas of the runs' own chords can cross only where those come that near.
bool MayCross(const EdgePiece& s, const EdgePiece& t)
{
	double reach = s.sagitta + t.sagitta + RoundingSlack;
	return (s.sagitta == 0.0 && t.sagitta == 0.0) || SquaredPieceDistance(s, t) <= reach * reach;
}

bool CrossAwayFromTheirJoint(const EdgePiece& u, const EdgePiece& v)
{
	return !Follows(u, v) && !Follows(v, u) && CrossProperly(u, v);
}

} // namespace

int ArcPieceCount(double arcAngle)
{
	return std::max(1, static_cast<int>(std::ceil(std::fabs(arcAngle) / Pi * ChordsPerHalfTurn)));
}

int RunCount(int chords, int chordsPerRun)
{
	return (chords + chordsPerRun - 1) / chordsPerRun;
}

int RunStart(int chords, int runs, int run)
{
	return static_cast<int>(static_cast<long long>(run) * chords / runs);
}

std::vector<EdgePiece> PiecesOf(const PolyShape& shape, int chordsPerPiece)
{
	std::size_t count = 0;
	for (const ShapeContour& contour : shape.contours) {
		for (const ShapeEdge& edge : contour)
			count += PieceCountOf(edge, chordsPerPiece);
	}
	std::vector<EdgePiece> pieces;
	pieces.reserve(count);
	for (std::size_t j = 0; j < shape.contours.size(); ++j) {
		for (std::size_t i = 0; i < shape.contours[j].size(); ++i)
			AppendEdgePieces(shape.contours[j], j, i, chordsPerPiece, &pieces);
	}
	return pieces;
}

double LargestSagitta(const std::vector<EdgePiece>& pieces)
{
	double largest = 0.0;
	for (const EdgePiece& piece : pieces)
		largest = std::max(largest, piece.sagitta);
	return largest;
}

double DistanceToPiece(const Coord& point, const EdgePiece& piece)
{
	return std::sqrt(SquaredDistanceToPiece(point, piece));
}

double PieceDistance(const EdgePiece& s, const EdgePiece& t)
{
	return std::sqrt(SquaredPieceDistance(s, t));
}

bool Follows(const EdgePiece& s, const EdgePiece& t)
{
	if (s.contour != t.contour)
		return false;
	if (s.edge == t.edge)
		return t.piece == s.piece + 1;
	return t.edge == (s.edge + 1) % s.edgeCount && s.IsLastOfEdge() && t.piece == 0;
}

PieceChords ChordsOf(const PolyShape& shape, const EdgePiece& piece)
{
	PieceChords result;
	const ShapeContour& contour = shape.contours[piece.contour];
	const ShapeEdge& edge = contour[piece.edge];
	if (edge.arcAngle == 0.0) {
		result.pieces[result.count++] = piece;
		return result;
	}
	int chords = ArcPieceCount(edge.arcAngle);
	ChordRun run = RunOf(chords, piece.pieceCount, piece.piece);
	ArcChords arc(edge.begin, EndOf(contour, piece.edge), edge.arcAngle, chords);
	double sagitta = RunSagitta(arc, edge.arcAngle, chords, {0, 1});
	for (int step = run.first; step < run.last; ++step) {
		EdgePiece chord = piece;
		chord.a = step == run.first ? piece.a : result.pieces[result.count - 1].b;
		chord.b = step + 1 == run.last ? piece.b : arc.Point(step + 1);
		chord.piece = static_cast<std::size_t>(step);
		chord.pieceCount = static_cast<std::size_t>(chords);
		chord.sagitta = sagitta;
		result.pieces[result.count++] = chord;
	}
	return result;
}

// Arcs are swept by runs of chords and looked at chord by chord only where another edge comes
// within the runs' sagittas. Chords of one arc never cross one another: it turns less than a full turn.
bool EdgesCross(const PolyShape& shape)
{
	std::vector<EdgePiece> runs = PiecesOf(shape, ChordsPerRun);
	return AnyChordPairByRuns(
	    shape, &runs, 2.0 * LargestSagitta(runs) + RoundingSlack,
	    [](const EdgePiece& s, const EdgePiece& t) { return MayCross(s, t); },
	    [](const EdgePiece& u, const EdgePiece& v) { return CrossAwayFromTheirJoint(u, v); });
}

} // namespace Geometry
