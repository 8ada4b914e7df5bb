// The zone polygon as the engine reads it: the counts of the zone record over
// the arrays of its memo. The counts are kept within what the memo's handles
// hold, so that a damaged record can never make the engine read past them.
#pragma once

#include "API/Memo.hpp"

struct ZonePolygon {
	ZonePolygon(const API_Element& zone, const API_ElementMemo& memo);

	const API_Coord* coords = nullptr; // 1-based, entry 0 unused
	Int32 coordCount = 0;
	const Int32* contourEnds = nullptr; // 1-based, entry 0 = 0
	Int32 contourCount = 0;
	const API_PolyArc* arcs = nullptr; // 0-based
	Int32 arcCount = 0;

	bool IsContourEnd(Int32 vertex) const;
	bool IsArcStart(Int32 vertex) const;
	// The first arc that starts at the vertex; null when the edge from it is straight.
	const API_PolyArc* FirstArcFrom(Int32 vertex) const;
};
