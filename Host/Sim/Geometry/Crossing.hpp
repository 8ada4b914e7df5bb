// The stand-in's checks of how a polygon's edges lie against one another: that its
// contours do not cross one another or themselves, as a host checks the outline of a
// slab it is given, and the pieces and sweep that such checks share.
#pragma once

#include <algorithm>
#include <array>
#include <vector>

#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

// A straight piece of an edge: the edge itself, or one of the chords an arc is followed by.
struct EdgePiece {
	Coord a;
	Coord b;
	std::size_t contour;
	std::size_t edge; // along the contour
	std::size_t edgeCount;
	std::size_t piece; // along the edge
	std::size_t pieceCount;
	double sagitta; // the largest gap between the piece and the arc it stands for

	double MinX() const { return std::min(a.x, b.x); }
	double MaxX() const { return std::max(a.x, b.x); }
	double MinY() const { return std::min(a.y, b.y); }
	double MaxY() const { return std::max(a.y, b.y); }
	bool IsLastOfEdge() const { return piece + 1 == pieceCount; }
};

// The chords an arc edge of that angle is followed by.
int ArcPieceCount(double arcAngle);

// Rounding allowed in telling that a chord comes within its run's sagitta, in metres.
constexpr double RoundingSlack = 1e-9;

// The crossing check sweeps arcs by runs of this many of their chords, or the rest of them.
constexpr int ChordsPerRun = 8;
// The runs that many chords make when each holds at most chordsPerRun.
int RunCount(int chords, int chordsPerRun);
// The chord at which the run-th of those runs begins; the last run ends at `chords`.
int RunStart(int chords, int runs, int run);

// The pieces of every edge, contour by contour and edge by edge; arcs by chords close to
// them, each piece standing for that many of the chords or the rest of them.
std::vector<EdgePiece> PiecesOf(const PolyShape& shape, int chordsPerPiece);

double LargestSagitta(const std::vector<EdgePiece>& pieces);

// The distance between two pieces, 0 where they cross.
double PieceDistance(const EdgePiece& s, const EdgePiece& t);
double DistanceToPiece(const Coord& point, const EdgePiece& piece);

// Whether t directly follows s along their contour.
bool Follows(const EdgePiece& s, const EdgePiece& t);

// Whether visit(s, t) answers true for some two pieces whose x and y extents come within reach
// of one another. Pieces are swept by x, so each costs the pieces beside it; they are sorted so.
template <typename Visit> bool AnyPairWithin(std::vector<EdgePiece>* pieces, double reach, Visit visit)
{
	std::sort(pieces->begin(), pieces->end(),
	          [](const EdgePiece& s, const EdgePiece& t) { return s.MinX() < t.MinX(); });
	for (std::size_t i = 0; i < pieces->size(); ++i) {
		const EdgePiece& s = (*pieces)[i];
		for (std::size_t k = i + 1; k < pieces->size() && (*pieces)[k].MinX() <= s.MaxX() + reach; ++k) {
			const EdgePiece& t = (*pieces)[k];
			if (t.MinY() <= s.MaxY() + reach && s.MinY() <= t.MaxY() + reach && visit(s, t))
				return true;
		}
	}
	return false;
}

// The chords one swept piece stands for, as PiecesOf(shape, 1) gives them, each with its own sagitta.
struct PieceChords {
	std::array<EdgePiece, ChordsPerRun> pieces;
	std::size_t count = 0;
};

PieceChords ChordsOf(const PolyShape& shape, const EdgePiece& piece);

// A straight edge's piece is its own only chord.
inline bool IsStraight(const PolyShape& shape, const EdgePiece& piece)
{
	return shape.contours[piece.contour][piece.edge].arcAngle == 0.0;
}

inline bool OnOneEdge(const EdgePiece& s, const EdgePiece& t)
{
	return s.contour == t.contour && s.edge == t.edge;
}

// Whether found(u, v) answers true for some chord u of piece s and chord v of piece t, looking
// at t's chords only for those chords of s that near(u, t) says may be found with one of them.
template <typename Near, typename Found>
bool AnyChordPairOf(const PolyShape& shape, const EdgePiece& s, const EdgePiece& t, Near near, Found found)
{
	if (IsStraight(shape, s) && IsStraight(shape, t))
		return found(s, t);
	PieceChords sChords = ChordsOf(shape, s);
	PieceChords tChords;
	for (std::size_t i = 0; i < sChords.count; ++i) {
		const EdgePiece& u = sChords.pieces[i];
		if (!near(u, t))
			continue;
		if (tChords.count == 0)
			tChords = ChordsOf(shape, t);
		for (std::size_t k = 0; k < tChords.count; ++k) {
			if (found(u, tChords.pieces[k]))
				return true;
		}
	}
	return false;
}

// Whether found(u, v) answers true for some two chords of different edges of the shape, its arcs
// swept by the runs of chords PiecesOf(shape, ChordsPerRun) gives. near(s, t) tells whether chords
// of two pieces, each within its sagitta of its piece, may be found, and `reach` is as wide as that.
template <typename Near, typename Found>
bool AnyChordPairByRuns(const PolyShape& shape, std::vector<EdgePiece>* runs, double reach, Near near, Found found)
{
	return AnyPairWithin(runs, reach, [&](const EdgePiece& s, const EdgePiece& t) {
		return !OnOneEdge(s, t) && near(s, t) && AnyChordPairOf(shape, s, t, near, found);
	});
}

// Whether two edges of the shape cross, arcs followed by chords close to them.
// Edges that meet at a vertex, or run along one another, do not cross.
bool EdgesCross(const PolyShape& shape);

} // namespace Geometry
