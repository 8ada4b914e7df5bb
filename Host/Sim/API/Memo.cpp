#include <cstring>

#include "API/Memo.hpp"
#include "GS/Memory.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/Control/Faults.hpp"
#include "Sim/GS/Memory.hpp"

namespace Sim {

namespace {

Part StorePart(const void* handle)
{
	if (handle == nullptr)
		return std::nullopt;
	GSConstHandle bytes = static_cast<GSConstHandle>(handle);
	GSSize size = BMGetHandleSize(bytes);
	return Bytes(*bytes, *bytes + size);
}

Part StorePointerPart(const void* pointer)
{
	if (pointer == nullptr)
		return std::nullopt;
	const char* bytes = static_cast<const char*>(pointer);
	return Bytes(bytes, bytes + BMGetPtrSize(bytes));
}

template <typename T> T* HandOutPointerPart(const Part& part)
{
	if (!part.has_value())
		return nullptr;
	return reinterpret_cast<T*>(NewPointer(part->data(), static_cast<GSSize>(part->size())));
}

USize WholeRecords(std::size_t byteCount)
{
	return static_cast<USize>(byteCount / sizeof(API_AddParType));
}

std::optional<StoredParams> StoreParams(API_AddParType** params)
{
	Part records = StorePart(params);
	if (!records.has_value())
		return std::nullopt;
	StoredParams stored{*records, {}};
	for (USize i = 0; i < WholeRecords(records->size()); ++i) {
		// No record lives in the stored bytes: each is copied out, and back when changed.
		char* slot = stored.records.data() + i * sizeof(API_AddParType);
		API_AddParType record;
		std::memcpy(static_cast<void*>(&record), slot, sizeof(record));
		if (record.typeMod == API_ParArray) {
			stored.arrayValues.push_back(StorePart(record.value.array));
			record.value.array = nullptr;
			std::memcpy(slot, static_cast<const void*>(&record), sizeof(record));
		} else {
			stored.arrayValues.push_back(std::nullopt);
		}
	}
	return stored;
}

API_AddParType** HandOutParams(const std::optional<StoredParams>& stored)
{
	if (!stored.has_value())
		return nullptr;
	auto** params = HandOutPart<API_AddParType>(stored->records);
	for (USize i = 0; i < stored->arrayValues.size(); ++i) {
		if (stored->arrayValues[i].has_value())
			(*params)[i].value.array = HandOutPart<char>(stored->arrayValues[i]);
	}
	return params;
}

} // namespace

GSHandle HandOutBytes(const Part& part)
{
	if (!part.has_value())
		return nullptr;
	return NewHandle(part->data(), static_cast<GSSize>(part->size()));
}

StoredMemo StoreMemo(const API_ElementMemo& memo, UInt64 mask)
{
	StoredMemo stored;
	if ((mask & APIMemoMask_Polygon) != 0) {
		stored.coords = StorePart(memo.coords);
		stored.pends = StorePart(memo.pends);
		stored.parcs = StorePart(memo.parcs);
		stored.vertexIDs = StorePart(memo.vertexIDs);
	}
	if ((mask & APIMemoMask_EdgeTrims) != 0)
		stored.edgeTrims = StorePart(memo.edgeTrims);
	if ((mask & APIMemoMask_SideMaterials) != 0)
		stored.sideMaterials = StorePointerPart(memo.sideMaterials);
	if ((mask & APIMemoMask_AddPars) != 0)
		stored.params = StoreParams(memo.params);
	if ((mask & APIMemoMask_ColumnSegment) != 0)
		stored.columnSegments = StorePointerPart(memo.columnSegments);
	return stored;
}

void HandOutMemo(const StoredMemo& stored, UInt64 mask, API_ElementMemo* memo)
{
	std::memset(memo, 0, sizeof(API_ElementMemo));
	if ((mask & APIMemoMask_Polygon) != 0) {
		memo->coords = HandOutPart<API_Coord>(stored.coords);
		memo->pends = HandOutPart<Int32>(stored.pends);
		memo->parcs = HandOutPart<API_PolyArc>(stored.parcs);
		memo->vertexIDs = HandOutPart<UInt32>(stored.vertexIDs);
	}
	if ((mask & APIMemoMask_EdgeTrims) != 0)
		memo->edgeTrims = HandOutPart<API_EdgeTrim>(stored.edgeTrims);
	if ((mask & APIMemoMask_SideMaterials) != 0)
		memo->sideMaterials = HandOutPointerPart<API_OverriddenAttribute>(stored.sideMaterials);
	if ((mask & APIMemoMask_AddPars) != 0)
		memo->params = HandOutParams(stored.params);
	if ((mask & APIMemoMask_ColumnSegment) != 0)
		memo->columnSegments = HandOutPointerPart<API_ColumnSegmentType>(stored.columnSegments);
}

void ReplaceMemoParts(StoredMemo& target, const StoredMemo& source, UInt64 mask)
{
	if ((mask & APIMemoMask_Polygon) != 0) {
		target.coords = source.coords;
		target.pends = source.pends;
		target.parcs = source.parcs;
		target.vertexIDs = source.vertexIDs;
	}
	if ((mask & APIMemoMask_EdgeTrims) != 0)
		target.edgeTrims = source.edgeTrims;
	if ((mask & APIMemoMask_SideMaterials) != 0)
		target.sideMaterials = source.sideMaterials;
	if ((mask & APIMemoMask_AddPars) != 0)
		target.params = source.params;
	if ((mask & APIMemoMask_ColumnSegment) != 0)
		target.columnSegments = source.columnSegments;
}

} // namespace Sim

GSErrCode ACAPI_DisposeElemMemoHdls(API_ElementMemo* memo)
{
	if (memo == nullptr)
		return APIERR_BADPARS;
	if (memo->params != nullptr) {
		USize count = static_cast<USize>(BMGetHandleSize(memo->params) / static_cast<GSSize>(sizeof(API_AddParType)));
		for (USize i = 0; i < count; ++i) {
			if ((*memo->params)[i].typeMod == API_ParArray)
				BMKillHandle(&(*memo->params)[i].value.array);
		}
	}
	BMKillHandle(&memo->coords);
	BMKillHandle(&memo->pends);
	BMKillHandle(&memo->parcs);
	BMKillHandle(&memo->vertexIDs);
	BMKillHandle(&memo->edgeTrims);
	BMKillHandle(&memo->params);
	BMKillPtr(&memo->sideMaterials);
	BMKillPtr(&memo->columnSegments);
	return NoError;
}
