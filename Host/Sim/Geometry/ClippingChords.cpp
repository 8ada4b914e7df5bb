#include "Sim/Geometry/ClippingChords.hpp"

#include <algorithm>

#include "Sim/Geometry/Crossing.hpp"
#include "Sim/Geometry/Regularity.hpp"

namespace Geometry {

namespace {

int FewChordsOf(const ShapeContour& contour, std::size_t i)
{
	int fine = ClippingStepsOf(contour, i);
	return contour[i].arcAngle == 0.0 ? fine : std::min(fine, ArcPieceCount(contour[i].arcAngle));
}

// Clipping keeps the vertex however finely the edges beside it are followed.
bool KeptEitherWay(const ShapeContour& contour, std::size_t i)
{
	std::size_t previous = PreviousOf(contour, i);
	for (int before : {ClippingStepsOf(contour, previous), FewChordsOf(contour, previous)}) {
		for (int after : {ClippingStepsOf(contour, i), FewChordsOf(contour, i)}) {
			if (!KeepsVertex(contour, i, before, after))
				return false;
		}
	}
	return true;
}

// The neighbours keep out of the wedge between the arc's tangent and its first chord at
// either end, so they meet the few chords where they meet the fine ones.
bool HasOpenEnds(const ShapeContour& contour, std::size_t i)
{
	std::size_t next = (i + 1) % contour.size();
	return CornerAngle(contour, i) >= MinCornerAngle && CornerAngle(contour, next) >= MinCornerAngle &&
	       KeptEitherWay(contour, i) && KeptEitherWay(contour, next);
}

// The edges of all shapes, contours numbered across the shapes.
struct EdgeTable {
	std::vector<const ShapeContour*> contours;
	std::vector<std::size_t> firstEdge; // of each contour
	std::vector<int> chords;            // of each edge

	explicit EdgeTable(const std::vector<const PolyShape*>& shapes)
	{
		for (const PolyShape* shape : shapes) {
			for (const ShapeContour& contour : shape->contours) {
				contours.push_back(&contour);
				firstEdge.push_back(chords.size());
				for (std::size_t i = 0; i < contour.size(); ++i)
					chords.push_back(ClippingStepsOf(contour, i));
			}
		}
	}

	std::size_t EdgeOf(const EdgePiece& piece) const { return firstEdge[piece.contour] + piece.edge; }

	bool MayHaveFewer() const
	{
		for (std::size_t c = 0; c < contours.size(); ++c) {
			for (std::size_t i = 0; i < contours[c]->size(); ++i) {
				if (FewChordsOf(*contours[c], i) < chords[firstEdge[c] + i])
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
		for (EdgePiece piece : PiecesOf(*shape)) {
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

std::vector<int> ClippingChordCounts(const std::vector<const PolyShape*>& shapes, ArcChordDetail detail)
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

} // namespace Geometry
