// Polygon2DData: the host's plain polygon record with circular-arc edges, and the
// calls that build, orient and unite such records.
//
// Layout: 1-based arrays allocated with BMAllocatePtr (entry 0 unused, so n + 1 entries).
// vertices[1..nVertices]; each contour's last vertex repeats its first.
// contourEnds[0] = 0, contourEnds[j] = number of the last vertex of contour j; contour 1
// is the outer boundary, the others are holes.
// arcs[1..nArcs]: the edge from vertex begIndex to vertex endIndex = begIndex + 1 is an
// arc of the signed angle arcAngle. Edges without an arc record are straight.
// Empty parts have a zero count and a null array.
#pragma once

#include "GS/Types.hpp"
#include "GS/VAArray.hpp"
#include "Geometry/Coord.hpp"
#include "Geometry/GeometryErrors.hpp"

namespace Geometry {

struct Box2DData {
	double xMin;
	double yMin;
	double xMax;
	double yMax;
};

// Bits of Polygon2DData::status.
constexpr UInt8 Polygon2DData_BoundBoxValid = 0x01;
constexpr UInt8 Polygon2DData_Oriented = 0x02;

struct Polygon2DData {
	UInt8 status;
	Box2DData boundBox;
	Int32 nVertices;
	Coord* vertices;
	Int32 nArcs;
	PolyArcRec* arcs;
	Int32 nContours;
	UInt32* contourEnds;
};

// Makes an empty record: no parts, status 0. ErrBadParameter for a null record.
GSErrCode InitPolygon2DData(Polygon2DData* data);

// Releases the arrays and leaves the record empty; a null record, an empty one and one
// already freed are fine.
void FreePolygon2DData(Polygon2DData* data);

// The box around the vertices and the arcs' bulges. With Polygon2DData_BoundBoxValid
// set the stored box is answered. ErrInvalidPolygon for an empty or malformed record.
GSErrCode GetPolygon2DDataBoundBox(const Polygon2DData& data, Box2DData* box);

// Turns the outer contour counter-clockwise and the holes clockwise, in place; a
// reversed arc edge changes the sign of its angle. Sets Polygon2DData_Oriented.
// ErrInvalidPolygon for a malformed record, which is left unchanged.
GSErrCode OrientPolygon2DData(Polygon2DData* data);

// The union of two polygons (each its outer contour less its holes; either may be
// empty). Appends one new record per separate resulting polygon to results, oriented
// and with the bounding box set. Edges the union leaves untouched keep their end
// vertices and arc angles exactly. On failure (ErrInvalidPolygon, ErrMemoryFull,
// ErrBadParameter) results is left as it was.
GSErrCode UnifyPolygon2DData(const Polygon2DData& a, const Polygon2DData& b, GS::VAArray<Polygon2DData>* results);

} // namespace Geometry

namespace GS {

template <> struct VAArrayItemRelease<Geometry::Polygon2DData> {
	static void Release(Geometry::Polygon2DData& data) { Geometry::FreePolygon2DData(&data); }
};

} // namespace GS
