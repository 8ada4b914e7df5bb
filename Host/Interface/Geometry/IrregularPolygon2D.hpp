// CustomIrregularPolygon2D: a polygon with arc edges as the host's element records
// describe it, possibly self-intersecting, which regularisation turns into valid
// separate polygons. Instances are immutable and cheap to copy.
#pragma once

#include <memory>

#include "GS/Array.hpp"
#include "GS/Types.hpp"
#include "Geometry/Coord.hpp"
#include "Geometry/GeometryErrors.hpp"
#include "Geometry/Polygon2DData.hpp"

namespace Geometry {

struct PolyShape;

class CustomIrregularPolygon2D {
public:
	// The host's creation flags; element outlines are created with these. The
	// stand-in accepts any flags and behaves the same.
	static constexpr UInt32 ElementOutlineFlags = 0x3D;

	// An empty polygon.
	CustomIrregularPolygon2D();

	// From the arrays of an element record: coords[1..nVertices] (entry 0 is a
	// placeholder), arcs[0..nArcs-1] with 1-based vertex numbers, contourEnds[0..nContours]
	// with contourEnds[0] = 0; each contour's closing entry repeats its first vertex and
	// is not read. No vertices or no contours give an empty polygon; malformed arrays
	// (contour ends out of order or not ending at nVertices, a contour of fewer than
	// three entries, an arc not on an edge of a contour or repeated, an arc angle of
	// 2*pi or more, non-finite values, coordinates beyond 1e9) give an invalid one.
	static CustomIrregularPolygon2D Create(const Coord* coords, Int32 nVertices, const PolyArcRec* arcs, Int32 nArcs,
	                                       const Int32* contourEnds, Int32 nContours, UInt32 createFlags);
	static CustomIrregularPolygon2D Create(const Coord* coords, Int32 nVertices, const PolyArcRec* arcs, Int32 nArcs,
	                                       const UInt32* contourEnds, Int32 nContours, UInt32 createFlags);

	bool IsEmpty() const;
	bool IsValid() const { return valid; }

	// Mode 0, the only one: resolves self-intersections (the first contour encloses
	// what it winds around, the others cut holes), orients outer contours
	// counter-clockwise and holes clockwise, and splits the result into separate
	// polygons (also those touching at a point only), each with its holes, which
	// replace the content of *result. An empty polygon gives none. Untouched arc
	// edges keep their ends and angles exactly; vertices that were input vertices keep
	// their coordinates, new crossing points lie within a few micrometres of the exact ones.
	// ErrInvalidPolygon for an invalid polygon, ErrBadParameter for another mode or a
	// null result; *result is then emptied.
	GSErrCode Regularize(UInt32 mode, GS::Array<CustomIrregularPolygon2D>* result) const;

private:
	friend GSErrCode ConvertPolygon2DToPolygon2DData(Polygon2DData*, const CustomIrregularPolygon2D&);

	explicit CustomIrregularPolygon2D(std::shared_ptr<const PolyShape> shape, bool valid);

	std::shared_ptr<const PolyShape> shape;
	bool valid = true;
};

// Writes the polygon's contours into *data, which must be initialised; its previous
// arrays are released on success and kept on failure. The bounding-box bit is set, the
// orientation bit when the contours are oriented (as regularised polygons are).
// ErrInvalidPolygon for an invalid polygon, ErrMemoryFull when an allocation fails.
GSErrCode ConvertPolygon2DToPolygon2DData(Polygon2DData* data, const CustomIrregularPolygon2D& polygon);

} // namespace Geometry
