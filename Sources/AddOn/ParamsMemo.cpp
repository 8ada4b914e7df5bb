#include "ParamsMemo.hpp"

#include <limits>

#include "ErrorCodes.hpp"
#include "GS/Memory.hpp"
#include "HostRecordStream.hpp"
#include "MemoryHandles.hpp"

namespace {

constexpr GSSize ParamSize = static_cast<GSSize>(sizeof(API_AddParType));
// The parameter handle's size is a signed 32-bit value.
constexpr Int32 MaxParamCount = std::numeric_limits<GSSize>::max() / ParamSize;

USize WholeRecords(const API_AddParType* const* params)
{
	return static_cast<USize>(BMGetHandleSize(params) / ParamSize);
}

// Gives every array value of a byte-copied parameter list a handle of its own.
// Each record is handled even after a failure, so that none is left pointing
// at the source's value; a failed copy leaves that record without a value.
GSErrCode CopyArrayValues(API_AddParType** params)
{
	GSErrCode result = NoError;
	for (USize i = 0; i < WholeRecords(params); ++i) {
		API_AddParType& record = (*params)[i];
		record.valueCache = 0;
		if (record.typeMod != API_ParArray)
			continue;
		GSConstHandle sourceValue = record.value.array;
		record.value.array = nullptr;
		GSErrCode error = BMHandleToHandle(sourceValue, &record.value.array);
		if (result == NoError)
			result = error;
	}
	return result;
}

// Drops the room of a partly read list that was reserved but never read.
// Should the shrink fail, the surplus stays zero and holds no handle.
void KeepFirstRecords(API_AddParType** params, USize count)
{
	GSSize size = static_cast<GSSize>(count) * ParamSize;
	if (params != nullptr && BMGetHandleSize(params) != size)
		BMReallocHandle(reinterpret_cast<GSHandle>(params), size, 0, 0);
}

} // namespace

ParamsMemo::ParamsMemo(const ParamsMemo& source)
{
	DeepCopy(source.elementMemo.params);
}

ParamsMemo& ParamsMemo::operator=(const ParamsMemo& source)
{
	// A copy of itself would still be equal but with its host cache fields zeroed.
	if (this != &source)
		DeepCopy(source.elementMemo.params);
	return *this;
}

ParamsMemo::~ParamsMemo()
{
	Dispose();
}

GSErrCode ParamsMemo::DeepCopy(API_AddParType** params)
{
	// Copied aside before this memo is disposed, as params may be its own list.
	GSHandle copy = nullptr;
	GSErrCode error = BMHandleToHandle(reinterpret_cast<GSConstHandle>(params), &copy);
	auto** copiedParams = reinterpret_cast<API_AddParType**>(copy);
	GSErrCode valuesError = CopyArrayValues(copiedParams);
	Dispose();
	elementMemo.params = copiedParams;
	copyResult = error != NoError ? error : valuesError;
	return copyResult;
}

GSErrCode ParamsMemo::WriteParams(GS::OChannel& channel) const
{
	USize count = GetParamCount();
	if (GSErrCode error = channel.Write(static_cast<Int32>(count)); error != NoError)
		return error;
	for (USize i = 0; i < count; ++i) {
		if (GSErrCode error = Write(channel, (*elementMemo.params)[i]); error != NoError)
			return error;
	}
	return channel.GetOutputStatus();
}

GSErrCode ParamsMemo::ReadParams(GS::IChannel& channel)
{
	Dispose();
	Int32 count = 0;
	if (GSErrCode error = channel.Read(count); error != NoError)
		return error;
	if (count > MaxParamCount)
		return COVERR_PARAM_READ;
	GSHandle records = nullptr;
	for (Int32 read = 0; read < count; ++read) {
		GSErrCode error = ReserveHandleSize(records, (read + 1) * ParamSize, count * ParamSize);
		elementMemo.params = reinterpret_cast<API_AddParType**>(records);
		if (error == NoError)
			error = Read(channel, (*elementMemo.params)[read]);
		if (error != NoError) {
			KeepFirstRecords(elementMemo.params, static_cast<USize>(read));
			return error;
		}
	}
	return channel.GetInputStatus();
}

USize ParamsMemo::GetParamCount() const
{
	return WholeRecords(elementMemo.params);
}

void ParamsMemo::Dispose()
{
	ACAPI_DisposeElemMemoHdls(&elementMemo);
	elementMemo = {};
	copyResult = NoError;
}
