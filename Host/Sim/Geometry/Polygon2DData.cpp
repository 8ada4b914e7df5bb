#include <cstring>
#include <vector>

#include "GS/Memory.hpp"
#include "Geometry/Polygon2DData.hpp"
#include "Sim/Geometry/Clipping.hpp"
#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

GSErrCode InitPolygon2DData(Polygon2DData* data)
{
	if (data == nullptr)
		return ErrBadParameter;
	std::memset(data, 0, sizeof(Polygon2DData));
	return NoError;
}

void FreePolygon2DData(Polygon2DData* data)
{
	if (data == nullptr)
		return;
	BMKillPtr(&data->vertices);
	BMKillPtr(&data->arcs);
	BMKillPtr(&data->contourEnds);
	InitPolygon2DData(data);
}

GSErrCode GetPolygon2DDataBoundBox(const Polygon2DData& data, Box2DData* box)
{
	if (box == nullptr)
		return ErrBadParameter;
	PolyShape shape;
	if (GSErrCode error = ReadRecord(data, &shape); error != NoError)
		return error;
	if (shape.contours.empty())
		return ErrInvalidPolygon;
	*box = (data.status & Polygon2DData_BoundBoxValid) != 0 ? data.boundBox : BoundBoxOf(shape);
	return NoError;
}

GSErrCode OrientPolygon2DData(Polygon2DData* data)
{
	if (data == nullptr)
		return ErrBadParameter;
	PolyShape shape;
	if (GSErrCode error = ReadRecord(*data, &shape); error != NoError)
		return error;
	OrientShape(&shape);
	if (!shape.contours.empty())
		RewriteRecord(shape, data);
	data->status |= Polygon2DData_Oriented;
	return NoError;
}

GSErrCode UnifyPolygon2DData(const Polygon2DData& a, const Polygon2DData& b, GS::VAArray<Polygon2DData>* results)
{
	if (results == nullptr)
		return ErrBadParameter;
	PolyShape shapeA;
	PolyShape shapeB;
	std::vector<PolyShape> united;
	GSErrCode error = ReadRecord(a, &shapeA);
	if (error == NoError)
		error = ReadRecord(b, &shapeB);
	if (error == NoError)
		error = UniteShapes({&shapeA, &shapeB}, &united);
	if (error != NoError)
		return error;

	// Records are staged so that a failed allocation leaves the caller's array untouched.
	GS::VAArray<Polygon2DData> staged(static_cast<USize>(united.size()));
	for (const PolyShape& shape : united) {
		Polygon2DData record;
		if (error = WriteShape(shape, &record); error != NoError)
			return error;
		staged.Push(std::move(record));
	}
	while (staged.GetItemCount() > 0)
		results->Push(staged.TakeItem(1));
	return NoError;
}

} // namespace Geometry
