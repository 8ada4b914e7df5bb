#include "Sim/Geometry/ClippingChords.hpp"

#include <algorithm>

#include "Sim/Geometry/Crossing.hpp"
#include "Sim/Geometry/Regularity.hpp"

namespace Geometry {

namespace {

ClippingChords FewChordsOf(const ShapeContour& contour, std::size_t i)
{
	ClippingChords fine = FineChordsOf(contour, i);
	if (contour[i].arcAngle == 0.0)
		return fine;
	int chords = ArcPieceCount(contour[i].arcAngle);
	ClippingChords few{chords, RunCount(chords, ChordsPerRun)};
	return few.Count() < fine.Count() ? few : fine;
}

// Clipping keeps the vertex however finely the edges beside it are followed.
bool KeptEitherWay(const ShapeContour& contour, std::size_t i)
{
	std::size_t previous = PreviousOf(contour, i);
	for (ClippingChords before : {FineChordsOf(contour, previous), FewChordsOf(contour, previous)}) {
		for (ClippingChords after : {FineChordsOf(contour, i), FewChordsOf(contour, i)}) {
			if (!KeepsVertex(contour, i, before, after))
				return false;
		}
	}
	return true;
}

// The neighbours keep out of the wedge between the arc's tangent and the first of its few chords at
// either end, so they meet the few chords where they meet the fine ones.
bool HasOpenEnds(const ShapeContour& contour, std::size_t i)
{
	std::size_t next = (i + 1) % contour.size();
	return CornerAngle(contour, i, ChordsPerRun) >= MinCornerAngle &&
	       CornerAngle(contour, next, ChordsPerRun) >= MinCornerAngle && KeptEitherWay(contour, i) &&
	       KeptEitherWay(contour, next);
}

// The edges of all shapes, contours numbered across the shapes.
struct EdgeTable {
	std::vector<const ShapeContour*> contours;
	std::vector<std::size_t> firstEdge; // of each contour
	std::vector<ClippingChords> chords; // of each edge

	explicit EdgeTable(const std::vector<const PolyShape*>& shapes)
	{
		for (const PolyShape* shape : shapes) {
			for (const ShapeContour& contour : shape->contours) {
				contours.push_back(&contour);
				firstEdge.push_back(chords.size());
				for (std::size_t i = 0; i < contour.size(); ++i)
					chords.push_back(FineChordsOf(contour, i));
			}
		}
	}

	std::size_t EdgeOf(const EdgePiece& piece) const { return firstEdge[piece.contour] + piece.edge; }

	bool MayHaveFewer() const
	{
		for (std::size_t c = 0; c < contours.size(); ++c) {
			for (std::size_t i = 0; i < contours[c]->size(); ++i) {
				if (FewChordsOf(*contours[c], i).Count() < chords[firstEdge[c] + i].Count())
					return true;
			}
		}
		return false;
	}
};

std::vector<EdgePiece> PiecesOfAll(const std::vector<const PolyShape*>& shapes)
{
	std::vector<EdgePiece> all;
	std::size_t contours = 0;
	for (const PolyShape* shape : shapes) {
		for (EdgePiece piece : PiecesOf(*shape, ChordsPerRun)) {
			piece.contour += contours;
			all.push_back(piece);
		}
		contours += shape->contours.size();
	}
	return all;
}

// Which edges another edge comes too near.
std::vector<bool> EdgesNearOthers(const std::vector<const PolyShape*>& shapes, const EdgeTable& edges)
{
	std::vector<bool> near(edges.chords.size(), false);
	std::vector<EdgePiece> pieces = PiecesOfAll(shapes);
	AnyTooClose(&pieces, [&](const EdgePiece& s, const EdgePiece& t) {
		if (s.contour != t.contour || s.edge != t.edge)
			near[edges.EdgeOf(s)] = near[edges.EdgeOf(t)] = true;
		return false;
	});
	return near;
}

} // namespace

std::vector<ClippingChords> ClippingChordsOf(const std::vector<const PolyShape*>& shapes, ArcChordDetail detail)
{
	EdgeTable edges(shapes);
	if (detail == ArcChordDetail::Fine || !edges.MayHaveFewer())
		return std::move(edges.chords);
	std::vector<bool> near = EdgesNearOthers(shapes, edges);
	for (std::size_t c = 0; c < edges.contours.size(); ++c) {
		const ShapeContour& contour = *edges.contours[c];
		for (std::size_t i = 0; i < contour.size(); ++i) {
			std::size_t edge = edges.firstEdge[c] + i;
			if (contour[i].arcAngle != 0.0 && !near[edge] && HasOpenEnds(contour, i))
				edges.chords[edge] = FewChordsOf(contour, i);
		}
	}
	return std::move(edges.chords);
}

std::vector<Coord> ClippingChordPoints(const Coord& begin, const Coord& end, double angle, ClippingChords chords)
{
	ArcChords arc(begin, end, angle, chords.steps);
	std::vector<Coord> points;
	points.reserve(static_cast<std::size_t>(chords.Count()) + 1);
	for (int k = 0; k <= chords.Count(); ++k)
		points.push_back(arc.Point(chords.StepOf(k)));
	return points;
}

} // namespace Geometry
