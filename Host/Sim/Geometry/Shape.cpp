#include "Sim/Geometry/Shape.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "GS/Memory.hpp"
#include "Geometry/GenArc.hpp"

namespace Geometry {

namespace {

constexpr double Pi = 3.14159265358979323846;
// Plan coordinates beyond this are damage, not a model.
constexpr double MaxCoordinate = 1e9;

struct RecordDeleter {
	void operator()(Polygon2DData* data) const { FreePolygon2DData(data); }
};
using RecordGuard = std::unique_ptr<Polygon2DData, RecordDeleter>;

bool IsUsableCoord(const Coord& coord)
{
	return std::fabs(coord.x) <= MaxCoordinate && std::fabs(coord.y) <= MaxCoordinate;
}

bool HasValidCounts(const PolygonArrays& arrays)
{
	return arrays.nVertices >= 0 && arrays.nArcs >= 0 && arrays.nContours >= 0 && arrays.coords != nullptr &&
	       (arrays.arcs != nullptr || arrays.nArcs == 0) && !arrays.contourEnds.empty();
}

// Contour ends start at 0, rise by at least 3 (two vertices and the closing repeat)
// and end at the last vertex.
bool HasValidContourEnds(const PolygonArrays& arrays)
{
	const std::vector<Int64>& ends = arrays.contourEnds;
	if (ends.front() != 0 || ends.back() != arrays.nVertices)
		return false;
	for (std::size_t j = 1; j < ends.size(); ++j) {
		if (ends[j] - ends[j - 1] < 3)
			return false;
	}
	return true;
}

bool HasValidCoords(const PolygonArrays& arrays)
{
	return std::all_of(arrays.coords + 1, arrays.coords + arrays.nVertices + 1, IsUsableCoord);
}

// The arc angle of the edge leaving each vertex (1-based, 0 when straight); false for an
// arc that is not on an edge inside one contour, is repeated, or turns 2*pi or more.
bool ReadEdgeAngles(const PolygonArrays& arrays, std::vector<double>* edgeAngles)
{
	std::vector<bool> isContourEnd(static_cast<std::size_t>(arrays.nVertices) + 1, false);
	for (Int64 end : arrays.contourEnds)
		isContourEnd[static_cast<std::size_t>(end)] = true;
	std::vector<bool> hasArc(isContourEnd.size(), false);
	edgeAngles->assign(isContourEnd.size(), 0.0);
	for (Int32 index = 0; index < arrays.nArcs; ++index) {
		const PolyArcRec& arc = arrays.arcs[index];
		bool onContourEdge = arc.begIndex >= 1 && arc.begIndex < arrays.nVertices && arc.endIndex == arc.begIndex + 1 &&
		                     !isContourEnd[static_cast<std::size_t>(arc.begIndex)];
		if (!onContourEdge || hasArc[static_cast<std::size_t>(arc.begIndex)] || !(std::fabs(arc.arcAngle) < 2.0 * Pi))
			return false;
		hasArc[static_cast<std::size_t>(arc.begIndex)] = true;
		(*edgeAngles)[static_cast<std::size_t>(arc.begIndex)] = arc.arcAngle;
	}
	return true;
}

// The same contour run the other way, still starting at its first vertex.
void ReverseContour(ShapeContour* contour)
{
	ShapeContour reversed;
	std::size_t count = contour->size();
	for (std::size_t i = 0; i < count; ++i) {
		const ShapeEdge& original = (*contour)[(2 * count - i - 1) % count];
		reversed.push_back({(*contour)[(count - i) % count].begin, -original.arcAngle});
	}
	*contour = std::move(reversed);
}

bool IsOrientedContour(const ShapeContour& contour, bool outer)
{
	double area = SignedArea(contour);
	return outer ? area >= 0.0 : area <= 0.0;
}

void Include(Box2DData* box, double x, double y)
{
	box->xMin = std::min(box->xMin, x);
	box->yMin = std::min(box->yMin, y);
	box->xMax = std::max(box->xMax, x);
	box->yMax = std::max(box->yMax, y);
}

// Adds the points where the arc reaches furthest along an axis.
void IncludeArcExtremes(Box2DData* box, const Coord& begin, const Coord& end, double arcAngle)
{
	GenArc arc = GenArc::CreateCircleArc({begin.x, begin.y}, {end.x, end.y}, arcAngle);
	for (int quarter = 0; quarter < 4; ++quarter) {
		double direction = quarter * Pi / 2.0;
		double turned = arcAngle > 0.0 ? direction - arc.GetBegAng() : arc.GetBegAng() - direction;
		turned -= 2.0 * Pi * std::floor(turned / (2.0 * Pi));
		if (turned <= std::fabs(arcAngle)) {
			Include(box, arc.GetOrigo().x + arc.GetMainAxisLength() * std::cos(direction),
			        arc.GetOrigo().y + arc.GetMainAxisLength() * std::sin(direction));
		}
	}
}

Coord PointOnArc(const GenArc& arc, double turned)
{
	double direction = arc.GetBegAng() + turned;
	double radius = arc.GetMainAxisLength();
	return {arc.GetOrigo().x + radius * std::cos(direction), arc.GetOrigo().y + radius * std::sin(direction)};
}

Int64 VertexCount(const PolyShape& shape)
{
	Int64 count = 0;
	for (const ShapeContour& contour : shape.contours)
		count += static_cast<Int64>(contour.size()) + 1;
	return count;
}

Int64 ArcCount(const PolyShape& shape)
{
	Int64 count = 0;
	for (const ShapeContour& contour : shape.contours)
		count +=
		    std::count_if(contour.begin(), contour.end(), [](const ShapeEdge& edge) { return edge.arcAngle != 0.0; });
	return count;
}

// Whether a record's 1-based array holds the entries its count claims; a missing array
// or a negative count is for ReadShape to refuse.
template <typename T> bool HoldsEntries(const T* array, Int32 count)
{
	if (array == nullptr || count <= 0)
		return true;
	GSSize bytes = BMGetPtrSize(reinterpret_cast<GSConstPtr>(array));
	return static_cast<Int64>(bytes) / static_cast<Int64>(sizeof(T)) >= static_cast<Int64>(count) + 1;
}

// A 1-based array of count entries, or null for none; false when the allocation fails.
template <typename T> bool AllocateArray(Int64 count, T** array)
{
	*array = nullptr;
	if (count == 0)
		return true;
	Int64 bytes = (count + 1) * static_cast<Int64>(sizeof(T));
	if (bytes > std::numeric_limits<GSSize>::max())
		return false;
	*array = reinterpret_cast<T*>(BMAllocatePtr(static_cast<GSSize>(bytes), ALLOCATE_CLEAR, 0));
	return *array != nullptr;
}

} // namespace

double SignedArea(const ShapeContour& contour)
{
	double area = 0.0;
	for (std::size_t i = 0; i < contour.size(); ++i) {
		const ShapeEdge& edge = contour[i];
		const Coord& next = contour[(i + 1) % contour.size()].begin;
		area += (edge.begin.x * next.y - next.x * edge.begin.y) / 2.0;
		if (edge.arcAngle != 0.0) {
			double radius = GenArc::CreateCircleArc({edge.begin.x, edge.begin.y}, {next.x, next.y}, edge.arcAngle)
			                    .GetMainAxisLength();
			area += radius * radius / 2.0 * (edge.arcAngle - std::sin(edge.arcAngle));
		}
	}
	return area;
}

GSErrCode ReadRecord(const Polygon2DData& data, PolyShape* shape)
{
	if (!HoldsEntries(data.vertices, data.nVertices) || !HoldsEntries(data.arcs, data.nArcs) ||
	    !HoldsEntries(data.contourEnds, data.nContours))
		return ErrInvalidPolygon;
	const PolyArcRec* arcsFromZero = data.arcs != nullptr ? data.arcs + 1 : nullptr;
	return ReadShape(
	    MakePolygonArrays(data.vertices, data.nVertices, arcsFromZero, data.nArcs, data.contourEnds, data.nContours),
	    shape);
}

GSErrCode ReadShape(const PolygonArrays& arrays, PolyShape* shape)
{
	shape->contours.clear();
	if (arrays.nVertices == 0 || arrays.nContours == 0)
		return NoError;
	std::vector<double> edgeAngles;
	if (!HasValidCounts(arrays) || !HasValidContourEnds(arrays) || !HasValidCoords(arrays) ||
	    !ReadEdgeAngles(arrays, &edgeAngles))
		return ErrInvalidPolygon;

	for (std::size_t j = 1; j < arrays.contourEnds.size(); ++j) {
		ShapeContour contour;
		for (Int64 vertex = arrays.contourEnds[j - 1] + 1; vertex < arrays.contourEnds[j]; ++vertex)
			contour.push_back({arrays.coords[vertex], edgeAngles[static_cast<std::size_t>(vertex)]});
		shape->contours.push_back(std::move(contour));
	}
	return NoError;
}

GSErrCode WriteShape(const PolyShape& shape, Polygon2DData* data)
{
	InitPolygon2DData(data);
	if (shape.contours.empty())
		return NoError;
	RecordGuard guard(data);
	Int64 nVertices = VertexCount(shape);
	Int64 nArcs = ArcCount(shape);
	if (!AllocateArray(nVertices, &data->vertices) || !AllocateArray(nArcs, &data->arcs) ||
	    !AllocateArray(static_cast<Int64>(shape.contours.size()), &data->contourEnds))
		return ErrMemoryFull;
	data->nContours = static_cast<Int32>(shape.contours.size());
	RewriteRecord(shape, data);
	data->boundBox = BoundBoxOf(shape);
	data->status = static_cast<UInt8>(Polygon2DData_BoundBoxValid | (IsOriented(shape) ? Polygon2DData_Oriented : 0));
	guard.release();
	return NoError;
}

ArcChords::ArcChords(const Coord& begin, const Coord& end, double angle, int steps)
    : begin(begin), end(end), angle(angle), steps(steps),
      arc(GenArc::CreateCircleArc({begin.x, begin.y}, {end.x, end.y}, angle))
{
}

Coord ArcChords::Point(int step) const
{
	if (step == 0)
		return begin;
	return step == steps ? end : PointOnArc(arc, angle * step / steps);
}

// The ends need no arc.
Coord ArcChordPoint(const Coord& begin, const Coord& end, double angle, int step, int steps)
{
	if (step == 0)
		return begin;
	return step == steps ? end : ArcChords(begin, end, angle, steps).Point(step);
}

void RewriteRecord(const PolyShape& shape, Polygon2DData* data)
{
	Int32 vertex = 0;
	Int32 arc = 0;
	for (std::size_t j = 0; j < shape.contours.size(); ++j) {
		const ShapeContour& contour = shape.contours[j];
		for (const ShapeEdge& edge : contour) {
			data->vertices[++vertex] = edge.begin;
			if (edge.arcAngle != 0.0)
				data->arcs[++arc] = {vertex, vertex + 1, edge.arcAngle};
		}
		data->vertices[++vertex] = contour.front().begin;
		data->contourEnds[j + 1] = static_cast<UInt32>(vertex);
	}
	data->contourEnds[0] = 0;
	data->nVertices = vertex;
	data->nArcs = arc;
}

void OrientShape(PolyShape* shape)
{
	for (std::size_t j = 0; j < shape->contours.size(); ++j) {
		if (!IsOrientedContour(shape->contours[j], j == 0))
			ReverseContour(&shape->contours[j]);
	}
}

bool IsOriented(const PolyShape& shape)
{
	for (std::size_t j = 0; j < shape.contours.size(); ++j) {
		if (!IsOrientedContour(shape.contours[j], j == 0))
			return false;
	}
	return true;
}

Box2DData BoundBoxOf(const PolyShape& shape)
{
	const Coord& first = shape.contours.front().front().begin;
	Box2DData box{first.x, first.y, first.x, first.y};
	for (const ShapeContour& contour : shape.contours) {
		for (std::size_t i = 0; i < contour.size(); ++i) {
			const ShapeEdge& edge = contour[i];
			Include(&box, edge.begin.x, edge.begin.y);
			if (edge.arcAngle != 0.0)
				IncludeArcExtremes(&box, edge.begin, contour[(i + 1) % contour.size()].begin, edge.arcAngle);
		}
	}
	return box;
}

} // namespace Geometry
