#include "ZonePolygon.hpp"

#include <algorithm>

#include "MemoryHandles.hpp"

namespace {

// The record's count, kept within the entries that the handle holds.
template <typename T> Int32 CountWithin(Int32 count, T* const* handle, Int32 placeholders)
{
	return std::clamp(count, 0, std::max<Int32>(0, EntriesIn(handle, placeholders)));
}

template <typename T> const T* FirstOf(T* const* handle)
{
	return handle == nullptr ? nullptr : *handle;
}

} // namespace

ZonePolygon::ZonePolygon(const API_Element& zone, const API_ElementMemo& memo)
    : coords(FirstOf(memo.coords)), coordCount(CountWithin(zone.zone.poly.nCoords, memo.coords, 1)),
      contourEnds(FirstOf(memo.pends)), contourCount(CountWithin(zone.zone.poly.nSubPolys, memo.pends, 1)),
      arcs(FirstOf(memo.parcs)), arcCount(CountWithin(zone.zone.poly.nArcs, memo.parcs, 0))
{
}

bool ZonePolygon::IsContourEnd(Int32 vertex) const
{
	for (Int32 contour = 1; contour <= contourCount; ++contour) {
		if (contourEnds[contour] == vertex)
			return true;
	}
	return false;
}

bool ZonePolygon::IsArcStart(Int32 vertex) const
{
	return FirstArcFrom(vertex) != nullptr;
}

const API_PolyArc* ZonePolygon::FirstArcFrom(Int32 vertex) const
{
	for (Int32 i = 0; i < arcCount; ++i) {
		if (arcs[i].begIndex == vertex)
			return &arcs[i];
	}
	return nullptr;
}
