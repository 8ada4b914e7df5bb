#include "Sim/API/ElementChecks.hpp"

#include <cmath>

#include "Geometry/Tolerance.hpp"
#include "Sim/Geometry/Crossing.hpp"

namespace Sim {

namespace {

const double lengthTolerance = Geometry::DistanceTolerance().GetLength();

// Also false for a value that is not a number.
bool IsPositive(double value)
{
	return value > 0.0;
}

// The record's polygon counts describe its memo.
bool CountsMatch(const API_Polygon& poly, const std::vector<API_Coord>& coords, const std::vector<Int32>& ends,
                 const std::vector<API_PolyArc>& arcs)
{
	return poly.nCoords == Int64(coords.size()) - 1 && poly.nSubPolys == Int64(ends.size()) - 1 &&
	       poly.nArcs == Int64(arcs.size());
}

// Each contour ends where it began; the ends are known to lie within the coordinates.
bool ContoursClosed(const std::vector<API_Coord>& coords, const std::vector<Int32>& ends)
{
	for (std::size_t j = 1; j < ends.size(); ++j) {
		const API_Coord& first = coords[std::size_t(ends[j - 1]) + 1];
		const API_Coord& last = coords[std::size_t(ends[j])];
		if (std::hypot(last.x - first.x, last.y - first.y) > lengthTolerance)
			return false;
	}
	return true;
}

GSErrCode CheckSlab(const API_SlabType& slab, const StoredMemo& memo)
{
	if (GSErrCode error = CheckOutline(slab.poly, memo); error != NoError)
		return error;
	return IsPositive(slab.thickness) ? NoError : APIERR_BADPARS;
}

GSErrCode CheckWall(const API_WallType& wall)
{
	bool sized = WallLength(wall) > lengthTolerance && IsPositive(wall.thickness) && IsPositive(wall.height);
	return sized ? NoError : APIERR_BADPARS;
}

// An opening may overhang its wall's end, as long as its anchor stays on the wall.
GSErrCode CheckOpening(const API_OpeningType& opening, const ElementStore& elements)
{
	const StoredElement* owner = elements.Get(opening.owner);
	if (owner == nullptr || owner->record.header.type.typeID != API_WallID)
		return APIERR_BADPARS;
	bool anchored = opening.objLoc >= 0.0 && opening.objLoc <= WallLength(owner->record.wall);
	bool sized = IsPositive(opening.openingBase.width) && IsPositive(opening.openingBase.height);
	return anchored && sized ? NoError : APIERR_BADPARS;
}

} // namespace

GSErrCode CheckOutline(const API_Polygon& poly, const StoredMemo& memo)
{
	std::vector<API_Coord> coords = ItemsOf<API_Coord>(memo.coords);
	std::vector<Int32> ends = ItemsOf<Int32>(memo.pends);
	std::vector<API_PolyArc> arcs = ItemsOf<API_PolyArc>(memo.parcs);
	if (!CountsMatch(poly, coords, ends, arcs))
		return APIERR_BADPOLY;
	Geometry::PolyShape shape;
	Geometry::PolygonArrays arrays =
	    Geometry::MakePolygonArrays(coords.data(), poly.nCoords, arcs.data(), poly.nArcs, ends.data(), poly.nSubPolys);
	if (Geometry::ReadShape(arrays, &shape) != NoError || shape.contours.empty() || !ContoursClosed(coords, ends))
		return APIERR_BADPOLY;
	return Geometry::EdgesCross(shape) ? APIERR_IRREGULARPOLY : NoError;
}

double WallLength(const API_WallType& wall)
{
	double chord = std::hypot(wall.endC.x - wall.begC.x, wall.endC.y - wall.begC.y);
	double angle = std::fabs(wall.angle);
	return angle == 0.0 ? chord : chord * angle / (2.0 * std::sin(angle / 2.0));
}

GSErrCode CheckElement(const API_Element& element, const StoredMemo& memo, const ElementStore& elements)
{
	switch (element.header.type.typeID) {
	case API_WallID:
		return CheckWall(element.wall);
	case API_SlabID:
		return CheckSlab(element.slab, memo);
	case API_DoorID:
	case API_WindowID:
		return CheckOpening(element.door, elements);
	default:
		return NoError;
	}
}

} // namespace Sim
