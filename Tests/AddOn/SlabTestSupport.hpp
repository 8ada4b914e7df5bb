// Outlines in memo layout, owned polygon records and memos, and the fault
// sweep shared by the slab-covering tests.
#pragma once

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "API/Memo.hpp"
#include "FaultSweep.hpp"
#include "GS/Memory.hpp"
#include "Geometry/Polygon2DData.hpp"
#include "HostTest.hpp"

namespace SlabTest {

// A vertex and the arc angle of the edge that leaves it (0: straight).
struct Vertex {
	double x;
	double y;
	double arc = 0.0;
};
using Contour = std::vector<Vertex>; // without the closing repeat
using Outline = std::vector<Contour>;

// The outline as an element memo holds it: coordinates and contour ends with
// their entry 0, each contour closed by repeating its first vertex, arcs 0-based.
inline HostControl::NichePolygon MemoLayout(const Outline& outline)
{
	HostControl::NichePolygon arrays{{{0.0, 0.0}}, {0}, {}};
	for (const Contour& contour : outline) {
		for (const Vertex& vertex : contour) {
			arrays.coords.push_back({vertex.x, vertex.y});
			Int32 index = static_cast<Int32>(arrays.coords.size()) - 1;
			if (vertex.arc != 0.0)
				arrays.arcs.push_back({index, index + 1, vertex.arc});
		}
		arrays.coords.push_back({contour.front().x, contour.front().y});
		arrays.pends.push_back(static_cast<Int32>(arrays.coords.size()) - 1);
	}
	return arrays;
}

template <typename T> T** HandleOf(const std::vector<T>& entries)
{
	GSSize bytes = static_cast<GSSize>(entries.size() * sizeof(T));
	auto handle = reinterpret_cast<T**>(BMAllocateHandle(bytes, ALLOCATE_CLEAR, 0));
	std::copy(entries.begin(), entries.end(), *handle);
	return handle;
}

template <typename T> std::vector<T> EntriesOf(T* const* handle)
{
	if (handle == nullptr)
		return {};
	return std::vector<T>(*handle, *handle + BMGetHandleSize(handle) / static_cast<GSSize>(sizeof(T)));
}

// A memo released when it goes out of scope.
struct OwnedMemo {
	API_ElementMemo memo{};

	OwnedMemo() = default;
	explicit OwnedMemo(const Outline& outline)
	{
		HostControl::NichePolygon arrays = MemoLayout(outline);
		memo.coords = HandleOf(arrays.coords);
		memo.pends = HandleOf(arrays.pends);
		memo.parcs = HandleOf(arrays.arcs);
	}
	~OwnedMemo() { ACAPI_DisposeElemMemoHdls(&memo); }
	OwnedMemo(const OwnedMemo&) = delete;
	OwnedMemo& operator=(const OwnedMemo&) = delete;
};

// A polygon record released when it goes out of scope.
struct OwnedPolygon {
	Geometry::Polygon2DData data;

	OwnedPolygon() { Geometry::InitPolygon2DData(&data); }
	~OwnedPolygon() { Geometry::FreePolygon2DData(&data); }
	OwnedPolygon(const OwnedPolygon&) = delete;
	OwnedPolygon& operator=(const OwnedPolygon&) = delete;
};

// The vertices of a record, entry 0 included, for comparing records exactly.
inline std::vector<std::pair<double, double>> VerticesOf(const Geometry::Polygon2DData& polygon)
{
	std::vector<std::pair<double, double>> vertices;
	for (Int32 i = 0; polygon.vertices != nullptr && i <= polygon.nVertices; ++i)
		vertices.emplace_back(polygon.vertices[i].x, polygon.vertices[i].y);
	return vertices;
}

// The area inside the chords of a memo-layout polygon: outer contour less holes.
inline double ChordArea(const std::vector<API_Coord>& coords, const std::vector<Int32>& contourEnds)
{
	double area = 0.0;
	for (std::size_t j = 1; j < contourEnds.size(); ++j) {
		double twice = 0.0;
		for (Int32 i = contourEnds[j - 1] + 1; i < contourEnds[j]; ++i)
			twice += coords[i].x * coords[i + 1].y - coords[i + 1].x * coords[i].y;
		area += (j == 1 ? 0.5 : -0.5) * std::abs(twice);
	}
	return area;
}

inline double ChordArea(const Geometry::Polygon2DData& polygon)
{
	std::vector<API_Coord> coords(polygon.vertices, polygon.vertices + polygon.nVertices + 1);
	std::vector<Int32> ends(polygon.contourEnds, polygon.contourEnds + polygon.nContours + 1);
	return ChordArea(coords, ends);
}

// The code a host call returns when a sweep makes it fail; memory calls give no memory instead.
constexpr GSErrCode injectedFault = APIERR_BADDATABASE;

// What an operation returns when that host call fails: the host's code as it
// is, APIERR_MEMFULL for a memory call.
inline GSErrCode PassedOn(const std::string& failedCall)
{
	return failedCall.rfind("BM", 0) == 0 ? APIERR_MEMFULL : injectedFault;
}

// The same for a slab over a zone with one square niche: memory running out
// while the niche is united with the outline (the allocations after the two of
// the niche's own record) fails the union, which gives COVERR_GENERAL.
inline GSErrCode PassedOnWithOneNiche(const FaultRun& run)
{
	constexpr std::ptrdiff_t nicheRecordAllocations = 2;
	auto failed = run.callsMade.begin() + (run.nth - 1);
	auto relation = std::find(std::make_reverse_iterator(failed), run.callsMade.rend(), "ACAPI_Element_GetRelations");
	bool afterRelation = relation != run.callsMade.rend();
	auto since = relation.base();
	bool unionAllocation = run.failedCall == "BMAllocatePtr" && afterRelation &&
	                       std::count(since, failed, "BMAllocatePtr") >= nicheRecordAllocations &&
	                       std::count(since, failed, "BMAllocateHandle") == 0;
	return unionAllocation ? COVERR_GENERAL : PassedOn(run.failedCall);
}

} // namespace SlabTest
