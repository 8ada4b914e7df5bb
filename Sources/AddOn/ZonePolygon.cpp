#include "ZonePolygon.hpp"

#include <algorithm>

#include "GS/Memory.hpp"

namespace {

// Entries a handle holds beyond its placeholder entries.
template <typename T> Int32 EntriesIn(T* const* handle, Int32 placeholders)
{
	if (handle == nullptr)
		return 0;
	return std::max<Int32>(0, BMGetHandleSize(handle) / static_cast<GSSize>(sizeof(T)) - placeholders);
}

template <typename T> const T* FirstOf(T* const* handle)
{
	return handle == nullptr ? nullptr : *handle;
}

} // namespace

ZonePolygon::ZonePolygon(const API_Element& zone, const API_ElementMemo& memo)
    : coords(FirstOf(memo.coords)), coordCount(std::clamp(zone.zone.poly.nCoords, 0, EntriesIn(memo.coords, 1))),
      contourEnds(FirstOf(memo.pends)), contourCount(std::clamp(zone.zone.poly.nSubPolys, 0, EntriesIn(memo.pends, 1))),
      arcs(FirstOf(memo.parcs)), arcCount(std::clamp(zone.zone.poly.nArcs, 0, EntriesIn(memo.parcs, 0)))
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
	for (Int32 i = 0; i < arcCount; ++i) {
		if (arcs[i].begIndex == vertex)
			return true;
	}
	return false;
}
