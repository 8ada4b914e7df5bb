// Polygon outlines for the geometry tests: written as lists of vertices, turned into the
// arrays an element record holds, and read back from polygon records.
#pragma once

#include <cmath>
#include <vector>

#include "Geometry/IrregularPolygon2D.hpp"
#include "Geometry/Polygon2DData.hpp"

namespace GeometryTest {

// A vertex and the arc angle of the edge leaving it (0: straight).
struct Vertex {
	double x;
	double y;
	double arc = 0.0;
};

using Contour = std::vector<Vertex>;
using Outline = std::vector<Contour>;

// The arrays as an element record holds them: coordinates and contour ends from entry 0
// (a placeholder), arcs from 0.
struct MemoArrays {
	std::vector<Geometry::Coord> coords{{0.0, 0.0}};
	std::vector<Geometry::PolyArcRec> arcs;
	std::vector<Int32> contourEnds{0};

	explicit MemoArrays(const Outline& outline)
	{
		for (const Contour& contour : outline) {
			for (const Vertex& vertex : contour) {
				coords.push_back({vertex.x, vertex.y});
				Int32 index = static_cast<Int32>(coords.size()) - 1;
				if (vertex.arc != 0.0)
					arcs.push_back({index, index + 1, vertex.arc});
			}
			coords.push_back({contour.front().x, contour.front().y});
			contourEnds.push_back(static_cast<Int32>(coords.size()) - 1);
		}
	}

	Int32 VertexCount() const { return static_cast<Int32>(coords.size()) - 1; }
	Int32 ContourCount() const { return static_cast<Int32>(contourEnds.size()) - 1; }

	Geometry::CustomIrregularPolygon2D Create() const
	{
		return Geometry::CustomIrregularPolygon2D::Create(
		    coords.data(), VertexCount(), arcs.data(), static_cast<Int32>(arcs.size()), contourEnds.data(),
		    ContourCount(), Geometry::CustomIrregularPolygon2D::ElementOutlineFlags);
	}
};

// A polygon record that is released when it goes out of scope.
struct Record {
	Geometry::Polygon2DData data;

	Record() { Geometry::InitPolygon2DData(&data); }
	~Record() { Geometry::FreePolygon2DData(&data); }
	Record(const Record&) = delete;
	Record& operator=(const Record&) = delete;
};

// The record of an outline as it is written, not regularised.
inline GSErrCode ToRecord(const Outline& outline, Geometry::Polygon2DData* data)
{
	return Geometry::ConvertPolygon2DToPolygon2DData(data, MemoArrays(outline).Create());
}

inline Outline OutlineOf(const Geometry::Polygon2DData& data)
{
	Outline outline;
	for (Int32 j = 1; j <= data.nContours; ++j) {
		Contour contour;
		for (UInt32 index = data.contourEnds[j - 1] + 1; index < data.contourEnds[j]; ++index)
			contour.push_back({data.vertices[index].x, data.vertices[index].y, 0.0});
		outline.push_back(contour);
	}
	for (Int32 a = 1; a <= data.nArcs; ++a) {
		const Geometry::PolyArcRec& arc = data.arcs[a];
		for (Int32 j = 1; j <= data.nContours; ++j) {
			if (static_cast<UInt32>(arc.begIndex) < data.contourEnds[j]) {
				outline[j - 1][arc.begIndex - data.contourEnds[j - 1] - 1].arc = arc.arcAngle;
				break;
			}
		}
	}
	return outline;
}

// Shoelace area of the chords; positive counter-clockwise.
inline double ChordArea(const Contour& contour)
{
	double area = 0.0;
	for (std::size_t i = 0; i < contour.size(); ++i) {
		const Vertex& next = contour[(i + 1) % contour.size()];
		area += (contour[i].x * next.y - next.x * contour[i].y) / 2.0;
	}
	return area;
}

// The outline's edges that are arcs, as (begin, end, angle).
struct ArcEdge {
	Geometry::Coord begin;
	Geometry::Coord end;
	double angle;
};

inline std::vector<ArcEdge> ArcEdgesOf(const Outline& outline)
{
	std::vector<ArcEdge> edges;
	for (const Contour& contour : outline) {
		for (std::size_t i = 0; i < contour.size(); ++i) {
			const Vertex& next = contour[(i + 1) % contour.size()];
			if (contour[i].arc != 0.0)
				edges.push_back({{contour[i].x, contour[i].y}, {next.x, next.y}, contour[i].arc});
		}
	}
	return edges;
}

inline std::vector<Outline> OutlinesOf(const GS::Array<Geometry::CustomIrregularPolygon2D>& polygons)
{
	std::vector<Outline> outlines;
	for (const Geometry::CustomIrregularPolygon2D& polygon : polygons) {
		Record record;
		if (Geometry::ConvertPolygon2DToPolygon2DData(&record.data, polygon) == NoError)
			outlines.push_back(OutlineOf(record.data));
	}
	return outlines;
}

} // namespace GeometryTest
