#include "Geometry/IrregularPolygon2D.hpp"

#include <utility>
#include <vector>

#include "Sim/Geometry/Clipping.hpp"
#include "Sim/Geometry/Shape.hpp"

namespace Geometry {

namespace {

// The shape the arrays describe and whether they were well formed; malformed arrays give
// an empty shape.
std::pair<std::shared_ptr<const PolyShape>, bool> ReadArrays(const PolygonArrays& arrays)
{
	auto shape = std::make_shared<PolyShape>();
	bool valid = ReadShape(arrays, shape.get()) == NoError;
	return {std::move(shape), valid};
}

} // namespace

CustomIrregularPolygon2D::CustomIrregularPolygon2D() : shape(std::make_shared<PolyShape>()) {}

CustomIrregularPolygon2D::CustomIrregularPolygon2D(std::shared_ptr<const PolyShape> shape, bool valid)
    : shape(std::move(shape)), valid(valid)
{
}

CustomIrregularPolygon2D CustomIrregularPolygon2D::Create(const Coord* coords, Int32 nVertices, const PolyArcRec* arcs,
                                                          Int32 nArcs, const Int32* contourEnds, Int32 nContours,
                                                          UInt32 /*createFlags*/)
{
	auto [shape, valid] = ReadArrays(MakePolygonArrays(coords, nVertices, arcs, nArcs, contourEnds, nContours));
	return CustomIrregularPolygon2D(std::move(shape), valid);
}

CustomIrregularPolygon2D CustomIrregularPolygon2D::Create(const Coord* coords, Int32 nVertices, const PolyArcRec* arcs,
                                                          Int32 nArcs, const UInt32* contourEnds, Int32 nContours,
                                                          UInt32 /*createFlags*/)
{
	auto [shape, valid] = ReadArrays(MakePolygonArrays(coords, nVertices, arcs, nArcs, contourEnds, nContours));
	return CustomIrregularPolygon2D(std::move(shape), valid);
}

bool CustomIrregularPolygon2D::IsEmpty() const
{
	return shape->contours.empty();
}

GSErrCode CustomIrregularPolygon2D::Regularize(UInt32 mode, GS::Array<CustomIrregularPolygon2D>* result) const
{
	if (result == nullptr)
		return ErrBadParameter;
	result->Clear();
	if (mode != 0)
		return ErrBadParameter;
	if (!valid)
		return ErrInvalidPolygon;
	std::vector<PolyShape> regular;
	if (GSErrCode error = UniteShapes({shape.get()}, &regular); error != NoError)
		return error;
	for (PolyShape& part : regular)
		result->Push(CustomIrregularPolygon2D(std::make_shared<const PolyShape>(std::move(part)), true));
	return NoError;
}

GSErrCode ConvertPolygon2DToPolygon2DData(Polygon2DData* data, const CustomIrregularPolygon2D& polygon)
{
	if (data == nullptr)
		return ErrBadParameter;
	if (!polygon.valid)
		return ErrInvalidPolygon;
	Polygon2DData converted;
	if (GSErrCode error = WriteShape(*polygon.shape, &converted); error != NoError)
		return error;
	FreePolygon2DData(data);
	*data = converted;
	return NoError;
}

} // namespace Geometry
