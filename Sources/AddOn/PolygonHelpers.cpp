#include "PolygonHelpers.hpp"

#include <limits>

#include "API/Relations.hpp"
#include "GS/Array.hpp"
#include "GS/Memory.hpp"
#include "Geometry/IrregularPolygon2D.hpp"
#include "MemoryHandles.hpp"
#include "ScopeGuards.hpp"

namespace {

constexpr UInt32 regularizeMode = 0;
constexpr USize unionResultRoom = 50;
constexpr double upright = 1.5707963267948966; // pi / 2: an edge's side stands square

// Whether a 1-based polygon-record array holds the entries its count claims.
template <typename T> bool HoldsEntries(const T* array, Int32 count)
{
	if (count < 0)
		return false;
	if (count == 0)
		return true;
	Int64 bytes = array == nullptr ? 0 : BMGetPtrSize(reinterpret_cast<GSConstPtr>(array));
	return bytes / static_cast<Int64>(sizeof(T)) >= static_cast<Int64>(count) + 1;
}

bool IsWellFormed(const Geometry::Polygon2DData& polygon)
{
	return polygon.nVertices > 0 && polygon.nContours > 0 && HoldsEntries(polygon.vertices, polygon.nVertices) &&
	       HoldsEntries(polygon.contourEnds, polygon.nContours) && HoldsEntries(polygon.arcs, polygon.nArcs);
}

// The bytes of that many records; false when no memory block can be that large.
template <typename T> bool BlockSize(Int64 entries, GSSize& bytes)
{
	Int64 total = entries * static_cast<Int64>(sizeof(T));
	bytes = static_cast<GSSize>(total);
	return total <= std::numeric_limits<GSSize>::max();
}

// Releases the memo part and makes it anew for that many entries.
template <typename T> ErrCode ReplaceHandle(T**& handle, Int32 entries)
{
	BMKillHandle(&handle);
	GSSize bytes = 0;
	if (!BlockSize<T>(entries, bytes))
		return APIERR_MEMFULL;
	handle = reinterpret_cast<T**>(BMAllocateHandle(bytes, ALLOCATE_CLEAR, 0));
	return handle == nullptr ? APIERR_MEMFULL : NoError;
}

// Only making the record reports memory shortage as such; the other geometry
// steps answer with their own codes whatever went wrong.
ErrCode ConversionFailure(GSErrCode status)
{
	return status == ErrMemoryFull ? APIERR_MEMFULL : COVERR_GENERAL;
}

// Takes over a finished record in place of what target held.
void MoveInto(Geometry::Polygon2DData& target, Geometry::Polygon2DData& source)
{
	Geometry::FreePolygon2DData(&target);
	target = source;
	Geometry::InitPolygon2DData(&source);
}

Geometry::CustomIrregularPolygon2D IrregularPolygonOf(API_Coord** coords, API_PolyArc** arcs, Int32** contourEnds)
{
	Int32 vertexCount = EntriesIn(coords, 1);
	Int32 contourCount = EntriesIn(contourEnds, 1);
	if (vertexCount < 1 || contourCount < 1)
		return Geometry::CustomIrregularPolygon2D();
	Int32 arcCount = EntriesIn(arcs, 0);
	return Geometry::CustomIrregularPolygon2D::Create(*coords, vertexCount, arcCount > 0 ? *arcs : nullptr, arcCount,
	                                                  *contourEnds, contourCount,
	                                                  Geometry::CustomIrregularPolygon2D::ElementOutlineFlags);
}

// Sets the bounding box and the orientation where the conversion left them unset.
ErrCode CompleteRecord(Geometry::Polygon2DData& polygon)
{
	if ((polygon.status & Geometry::Polygon2DData_BoundBoxValid) == 0) {
		if (Geometry::GetPolygon2DDataBoundBox(polygon, &polygon.boundBox) != NoError)
			return COVERR_GENERAL;
		polygon.status |= Geometry::Polygon2DData_BoundBoxValid;
	}
	if ((polygon.status & Geometry::Polygon2DData_Oriented) == 0) {
		if (Geometry::OrientPolygon2DData(&polygon) != NoError)
			return COVERR_GENERAL;
		polygon.status |= Geometry::Polygon2DData_Oriented;
	}
	return NoError;
}

ErrCode UniteWithNiche(const API_Niche& niche, Geometry::Polygon2DData& outline)
{
	Geometry::Polygon2DData nichePolygon;
	Geometry::InitPolygon2DData(&nichePolygon);
	PolygonGuard nicheGuard(nichePolygon);
	if (ErrCode error = ConvertPolyHandlesToPolygon2DData(niche.coords, niche.parcs, niche.pends, nichePolygon);
	    error != NoError)
		return error;

	// The array owns the records it holds and releases those left in it.
	GS::VAArray<Geometry::Polygon2DData> united(unionResultRoom);
	if (Geometry::UnifyPolygon2DData(outline, nichePolygon, &united) != NoError || united.GetItemCount() != 1)
		return COVERR_GENERAL;
	Geometry::Polygon2DData result = united.TakeItem(1);
	MoveInto(outline, result);
	return NoError;
}

void FillCoords(const Geometry::Polygon2DData& polygon, API_Coord* coords)
{
	coords[0] = {0.0, 0.0};
	for (Int32 i = 1; i <= polygon.nVertices; ++i)
		coords[i] = polygon.vertices[i];
}

void FillContourEnds(const Geometry::Polygon2DData& polygon, Int32* contourEnds)
{
	contourEnds[0] = 0;
	for (Int32 j = 1; j <= polygon.nContours; ++j)
		contourEnds[j] = static_cast<Int32>(polygon.contourEnds[j]);
}

void FillArcs(const Geometry::Polygon2DData& polygon, API_PolyArc* arcs)
{
	for (Int32 i = 0; i < polygon.nArcs; ++i)
		arcs[i] = polygon.arcs[i + 1];
}

void FillEdgeTrims(Int32 vertexCount, API_EdgeTrim* trims)
{
	trims[0] = {0, 0.0};
	for (Int32 i = 1; i < vertexCount; ++i)
		trims[i] = {0, upright};
	trims[vertexCount] = {0, 0.0};
}

void FillVertexIDs(Int32 vertexCount, UInt32* vertexIDs)
{
	vertexIDs[0] = static_cast<UInt32>(vertexCount);
	for (Int32 i = 1; i <= vertexCount; ++i)
		vertexIDs[i] = static_cast<UInt32>(i);
}

ErrCode ReplaceSideMaterials(Int32 vertexCount, API_OverriddenAttribute*& sideMaterials)
{
	BMKillPtr(&sideMaterials);
	GSSize bytes = 0;
	if (!BlockSize<API_OverriddenAttribute>(static_cast<Int64>(vertexCount) + 1, bytes))
		return APIERR_MEMFULL;
	sideMaterials = reinterpret_cast<API_OverriddenAttribute*>(BMAllocatePtr(bytes, ALLOCATE_CLEAR, 0));
	if (sideMaterials == nullptr)
		return APIERR_MEMFULL;
	for (Int32 i = 0; i <= vertexCount; ++i)
		sideMaterials[i].overridden = 0;
	return NoError;
}

} // namespace

ErrCode ConvertPolyHandlesToPolygon2DData(API_Coord** coords, API_PolyArc** arcs, Int32** contourEnds,
                                          Geometry::Polygon2DData& polygon)
{
	GS::Array<Geometry::CustomIrregularPolygon2D> regularised;
	GSErrCode status = IrregularPolygonOf(coords, arcs, contourEnds).Regularize(regularizeMode, &regularised);
	if (status != NoError || regularised.GetSize() != 1)
		return COVERR_POLY_REGULARIZATION;

	Geometry::Polygon2DData converted;
	Geometry::InitPolygon2DData(&converted);
	PolygonGuard convertedGuard(converted);
	if (status = Geometry::ConvertPolygon2DToPolygon2DData(&converted, regularised[0]); status != NoError)
		return ConversionFailure(status);
	if (ErrCode error = CompleteRecord(converted); error != NoError)
		return error;
	MoveInto(polygon, converted);
	return NoError;
}

ErrCode MakeInsets(API_Guid zone, Geometry::Polygon2DData& outline)
{
	API_RoomRelation relation;
	RoomRelationGuard releaseNiches(relation);
	if (ErrCode error =
	        ACAPI_Element_GetRelations(zone, API_ElemType{API_DoorID, APIVarId_Generic, APINULLGuid}, &relation, 0);
	    error != NoError)
		return error;
	for (const API_Niche& niche : relation.niches) {
		if (ErrCode error = UniteWithNiche(niche, outline); error != NoError)
			return error;
	}
	return NoError;
}

ErrCode ConvertPolygon2DDataToMemo(const Geometry::Polygon2DData& polygon, API_ElementMemo& memo)
{
	if (!IsWellFormed(polygon))
		return COVERR_GENERAL;
	if (ErrCode error = ReplaceHandle(memo.coords, polygon.nVertices + 1); error != NoError)
		return error;
	FillCoords(polygon, *memo.coords);
	if (ErrCode error = ReplaceHandle(memo.pends, polygon.nContours + 1); error != NoError)
		return error;
	FillContourEnds(polygon, *memo.pends);
	if (ErrCode error = ReplaceHandle(memo.parcs, polygon.nArcs); error != NoError)
		return error;
	FillArcs(polygon, *memo.parcs);
	return NoError;
}

ErrCode FillMissingSlabInfo(API_Element& slab, API_ElementMemo& memo)
{
	Int32 vertexCount = EntriesIn(memo.coords, 1);
	Int32 contourCount = EntriesIn(memo.pends, 1);
	if (vertexCount < 1 || contourCount < 1)
		return APIERR_BADPOLY;
	slab.slab.poly.nCoords = vertexCount;
	slab.slab.poly.nSubPolys = contourCount;
	slab.slab.poly.nArcs = EntriesIn(memo.parcs, 0);

	if (ErrCode error = ReplaceHandle(memo.edgeTrims, vertexCount + 1); error != NoError)
		return error;
	FillEdgeTrims(vertexCount, *memo.edgeTrims);
	if (ErrCode error = ReplaceSideMaterials(vertexCount, memo.sideMaterials); error != NoError)
		return error;
	if (ErrCode error = ReplaceHandle(memo.vertexIDs, vertexCount + 1); error != NoError)
		return error;
	FillVertexIDs(vertexCount, *memo.vertexIDs);
	return NoError;
}
