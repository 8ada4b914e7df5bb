// The geometry module's working form of a polygon with arc edges, and its conversion
// from and to the host's polygon arrays.
#pragma once

#include <vector>

#include "GS/Types.hpp"
#include "Geometry/Coord.hpp"
#include "Geometry/GenArc.hpp"
#include "Geometry/Polygon2DData.hpp"

namespace Geometry {

// One edge of a contour, from begin to the begin of the next edge (the last edge
// closes the contour); an arc of that signed angle unless arcAngle is 0.
struct ShapeEdge {
	Coord begin;
	double arcAngle;
};

using ShapeContour = std::vector<ShapeEdge>;

// The outer contour first, then the holes; no contours: empty.
struct PolyShape {
	std::vector<ShapeContour> contours;
};

// The host's arrays in the element record's layout: coords and contourEnds from
// entry 0 (vertices 1-based), arcs 0-based with 1-based vertex numbers.
struct PolygonArrays {
	const Coord* coords;
	Int32 nVertices;
	const PolyArcRec* arcs;
	Int32 nArcs;
	Int32 nContours;
	std::vector<Int64> contourEnds; // nContours + 1 entries, none when the array is missing
};

template <typename End> PolygonArrays MakePolygonArrays(const Coord* coords, Int32 nVertices, const PolyArcRec* arcs,
                                                        Int32 nArcs, const End* contourEnds, Int32 nContours)
{
	PolygonArrays arrays{coords, nVertices, arcs, nArcs, nContours, {}};
	if (contourEnds != nullptr && nContours > 0)
		arrays.contourEnds.assign(contourEnds, contourEnds + nContours + 1);
	return arrays;
}

// ErrInvalidPolygon for malformed arrays; no vertices or no contours give an empty shape.
GSErrCode ReadShape(const PolygonArrays& arrays, PolyShape* shape);
// The same for a record, whose arrays must also be as long as its counts claim.
GSErrCode ReadRecord(const Polygon2DData& data, PolyShape* shape);

// Allocates the arrays of *data (taken as empty) for the shape; on failure *data stays empty.
GSErrCode WriteShape(const PolyShape& shape, Polygon2DData* data);

// Rewrites the arrays of a record read into the shape, after its edges were reordered:
// vertex and contour counts are the same, the arc count no larger.
void RewriteRecord(const PolyShape& shape, Polygon2DData* data);

// The ends of `steps` equal chords along the arc from begin to end turning by the angle,
// one at a time; those of steps 0 and `steps` are begin and end themselves.
class ArcChords {
public:
	ArcChords(const Coord& begin, const Coord& end, double angle, int steps);

	Coord Point(int step) const;
	double Radius() const { return arc.GetMainAxisLength(); }

private:
	Coord begin;
	Coord end;
	double angle;
	int steps;
	GenArc arc;
};

// The end of the step-th of those chords.
Coord ArcChordPoint(const Coord& begin, const Coord& end, double angle, int step, int steps);

// The area the contour encloses, its arcs included: positive when it runs counter-clockwise.
double SignedArea(const ShapeContour& contour);

void OrientShape(PolyShape* shape);
bool IsOriented(const PolyShape& shape);
// The shape must have at least one contour.
Box2DData BoundBoxOf(const PolyShape& shape);

} // namespace Geometry
