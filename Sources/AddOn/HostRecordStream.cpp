#include "HostRecordStream.hpp"

#include <cstring>

#include "ErrorCodes.hpp"
#include "GS/Memory.hpp"
#include "MemoryHandles.hpp"
#include "ScopeGuards.hpp"

namespace {

constexpr USize TextBlockSize = 256 * sizeof(GS::UniChar);

template <typename Enum> void WriteAsInt16(GS::OChannel& channel, Enum value)
{
	channel.Write(static_cast<Int16>(value));
}

// Host enumerations and status words are stored in 16 bits.
template <typename Enum> GSErrCode ReadInt16As(GS::IChannel& channel, Enum& value)
{
	Int16 stored = 0;
	if (channel.Read(stored) == NoError)
		value = static_cast<Enum>(stored);
	return channel.GetInputStatus();
}

void WriteTextBlock(GS::OChannel& channel, const GS::UniChar* text)
{
	channel.WriteBin(reinterpret_cast<const char*>(text), TextBlockSize);
}

void ReadTextBlock(GS::IChannel& channel, GS::UniChar* text)
{
	channel.ReadBin(reinterpret_cast<char*>(text), TextBlockSize);
}

bool IsRealParamType(Int32 typeID)
{
	return (typeID >= APIParT_Integer && typeID <= APIParT_PenCol) || typeID == APIParT_Boolean ||
	       typeID == APIParT_BuildingMaterial || typeID == APIParT_Profile;
}

bool IsArrayParamType(Int32 typeID)
{
	return typeID >= APIParT_Integer && typeID <= APIParT_Profile && typeID != APIParT_Separator;
}

GSErrCode WriteArrayValue(GS::OChannel& channel, GSConstHandle value)
{
	GSSize size = BMGetHandleSize(value);
	channel.Write(static_cast<Int32>(size));
	if (size > 0)
		channel.WriteBin(*value, static_cast<USize>(size));
	return channel.GetOutputStatus();
}

// Reads into a new handle that grows with the bytes actually read, so that a
// damaged size claims no memory; a size of 0 gives no handle. The handle is
// handed over only when complete.
GSErrCode ReadArrayValue(GS::IChannel& channel, GSHandle& value)
{
	Int32 size = 0;
	if (GSErrCode error = channel.Read(size); error != NoError)
		return error;
	if (size < 0)
		return COVERR_PARAM_READ;
	GSHandle bytes = nullptr;
	HandleGuard<GSHandle> releaseIncomplete(bytes);
	for (GSSize done = 0; done < size;) {
		GSErrCode error = ReserveHandleSize(bytes, done + 1, size);
		GSSize available = BMGetHandleSize(bytes);
		if (error == NoError)
			error = channel.ReadBin(*bytes + done, static_cast<USize>(available - done));
		if (error != NoError)
			return error;
		done = available;
	}
	value = bytes;
	bytes = nullptr;
	return NoError;
}

GSErrCode ReadParamValue(GS::IChannel& channel, API_AddParType& param)
{
	switch (GetParamValueKind(param)) {
	case ParamValueKind::Real:
		return channel.Read(param.value.real);
	case ParamValueKind::Text:
		ReadTextBlock(channel, param.value.uStr);
		return channel.GetInputStatus();
	case ParamValueKind::Nothing:
		return channel.GetInputStatus();
	case ParamValueKind::ArrayBytes:
		return ReadArrayValue(channel, param.value.array);
	case ParamValueKind::Unsupported:
		break;
	}
	return COVERR_PARAM_READ;
}

void ReleaseArrayValue(API_AddParType& param)
{
	if (param.typeMod == API_ParArray)
		BMKillHandle(&param.value.array);
}

} // namespace

ParamValueKind GetParamValueKind(const API_AddParType& param)
{
	Int32 typeID = param.typeID;
	if (param.typeMod == API_ParArray)
		return IsArrayParamType(typeID) ? ParamValueKind::ArrayBytes : ParamValueKind::Unsupported;
	if (param.typeMod != API_ParSimple)
		return ParamValueKind::Unsupported;
	if (IsRealParamType(typeID))
		return ParamValueKind::Real;
	if (typeID == APIParT_CString || typeID == APIParT_Title)
		return ParamValueKind::Text;
	if (typeID == APIParT_Separator || typeID == APIParT_Dictionary)
		return ParamValueKind::Nothing;
	return ParamValueKind::Unsupported;
}

GSErrCode Write(GS::OChannel& channel, const API_AddParType& param)
{
	channel.Write(static_cast<Int32>(param.typeID));
	channel.Write(param.index);
	channel.Write(param.typeMod);
	channel.Write(param.dim1);
	channel.Write(param.dim2);
	channel.Write(param.flags);
	switch (GetParamValueKind(param)) {
	case ParamValueKind::Real:
		channel.Write(param.value.real);
		return channel.GetOutputStatus();
	case ParamValueKind::Text:
		WriteTextBlock(channel, param.value.uStr);
		return channel.GetOutputStatus();
	case ParamValueKind::Nothing:
		return channel.GetOutputStatus();
	case ParamValueKind::ArrayBytes:
		return WriteArrayValue(channel, param.value.array);
	case ParamValueKind::Unsupported:
		break;
	}
	return COVERR_PARAM_WRITE;
}

GSErrCode Read(GS::IChannel& channel, API_AddParType& param)
{
	API_AddParType read;
	std::memset(static_cast<void*>(&read), 0, sizeof(read));
	Int32 typeID = 0;
	channel.Read(typeID);
	read.typeID = static_cast<API_AddParID>(typeID);
	channel.Read(read.index);
	channel.Read(read.typeMod);
	channel.Read(read.dim1);
	channel.Read(read.dim2);
	channel.Read(read.flags);
	if (GSErrCode error = channel.GetInputStatus(); error != NoError)
		return error;
	if (GSErrCode error = ReadParamValue(channel, read); error != NoError)
		return error;
	ReleaseArrayValue(param);
	param = read;
	return NoError;
}

GSErrCode Write(GS::OChannel& channel, const API_Guid& guid)
{
	return channel.Write(APIGuid2GSGuid(guid));
}

GSErrCode Read(GS::IChannel& channel, API_Guid& guid)
{
	GS::Guid read;
	if (channel.Read(read) == NoError)
		guid = GSGuid2APIGuid(read);
	return channel.GetInputStatus();
}

GSErrCode Write(GS::OChannel& channel, const GS::UniString& text)
{
	return channel.Write(text);
}

GSErrCode Read(GS::IChannel& channel, GS::UniString& text)
{
	return channel.Read(text);
}

GSErrCode Write(GS::OChannel& channel, const GS::Pair<API_Guid, API_Guid>& pair)
{
	Write(channel, pair.first);
	return Write(channel, pair.second);
}

GSErrCode Read(GS::IChannel& channel, GS::Pair<API_Guid, API_Guid>& pair)
{
	Read(channel, pair.first);
	return Read(channel, pair.second);
}

GSErrCode Write(GS::OChannel& channel, const API_Variant& variant)
{
	WriteAsInt16(channel, variant.type);
	switch (variant.type) {
	case API_PropertyIntegerValueType:
		channel.Write(variant.intValue);
		break;
	case API_PropertyRealValueType:
		channel.Write(variant.doubleValue);
		break;
	case API_PropertyStringValueType:
		channel.Write(variant.uniStringValue);
		break;
	case API_PropertyBooleanValueType:
		channel.Write(variant.boolValue);
		break;
	case API_PropertyGuidValueType:
		Write(channel, variant.guidValue);
		break;
	case API_PropertyUndefinedValueType:
		break;
	}
	return channel.GetOutputStatus();
}

GSErrCode Read(GS::IChannel& channel, API_Variant& variant)
{
	if (GSErrCode error = ReadInt16As(channel, variant.type); error != NoError)
		return error;
	switch (variant.type) {
	case API_PropertyIntegerValueType:
		channel.Read(variant.intValue);
		break;
	case API_PropertyRealValueType:
		channel.Read(variant.doubleValue);
		break;
	case API_PropertyStringValueType:
		channel.Read(variant.uniStringValue);
		break;
	case API_PropertyBooleanValueType:
		channel.Read(variant.boolValue);
		break;
	case API_PropertyGuidValueType:
		Read(channel, variant.guidValue);
		break;
	case API_PropertyUndefinedValueType:
		break;
	}
	return channel.GetInputStatus();
}

GSErrCode Write(GS::OChannel& channel, const API_PropertyValue& value)
{
	Write(channel, value.singleVariant.variant);
	Write(channel, value.listVariant.variants);
	WriteAsInt16(channel, value.variantStatus);
	return channel.GetOutputStatus();
}

GSErrCode Read(GS::IChannel& channel, API_PropertyValue& value)
{
	Read(channel, value.singleVariant.variant);
	Read(channel, value.listVariant.variants);
	ReadInt16As(channel, value.variantStatus);
	return channel.GetInputStatus();
}

GSErrCode Write(GS::OChannel& channel, const API_SingleEnumerationVariant& entry)
{
	Write(channel, entry.keyVariant);
	Write(channel, entry.displayVariant);
	bool hasText = entry.nonLocalizedValue.HasValue();
	if (channel.Write(hasText) == NoError && hasText)
		channel.Write(*entry.nonLocalizedValue);
	return channel.GetOutputStatus();
}

GSErrCode Read(GS::IChannel& channel, API_SingleEnumerationVariant& entry)
{
	Read(channel, entry.keyVariant);
	Read(channel, entry.displayVariant);
	bool hasText = false;
	if (channel.Read(hasText) != NoError)
		return channel.GetInputStatus();
	if (!hasText) {
		entry.nonLocalizedValue.Clear();
		return channel.GetInputStatus();
	}
	if (!entry.nonLocalizedValue.HasValue())
		entry.nonLocalizedValue.New();
	channel.Read(*entry.nonLocalizedValue);
	return channel.GetInputStatus();
}

GSErrCode Write(GS::OChannel& channel, const API_PropertyDefaultValue& defaultValue)
{
	Write(channel, defaultValue.basicValue);
	Write(channel, defaultValue.propertyExpressions);
	channel.Write(defaultValue.hasExpression);
	return channel.GetOutputStatus();
}

GSErrCode Read(GS::IChannel& channel, API_PropertyDefaultValue& defaultValue)
{
	Read(channel, defaultValue.basicValue);
	Read(channel, defaultValue.propertyExpressions);
	channel.Read(defaultValue.hasExpression);
	return channel.GetInputStatus();
}

GSErrCode Write(GS::OChannel& channel, const API_PropertyDefinition& definition)
{
	WriteAsInt16(channel, definition.definitionType);
	Write(channel, definition.guid);
	Write(channel, definition.groupGuid);
	channel.Write(definition.name);
	channel.Write(definition.description);
	WriteAsInt16(channel, definition.collectionType);
	WriteAsInt16(channel, definition.valueType);
	WriteAsInt16(channel, definition.measureType);
	Write(channel, definition.defaultValue);
	Write(channel, definition.availability);
	Write(channel, definition.possibleEnumValues);
	channel.Write(definition.canValueBeEditable);
	return channel.GetOutputStatus();
}

GSErrCode Read(GS::IChannel& channel, API_PropertyDefinition& definition)
{
	ReadInt16As(channel, definition.definitionType);
	Read(channel, definition.guid);
	Read(channel, definition.groupGuid);
	channel.Read(definition.name);
	channel.Read(definition.description);
	ReadInt16As(channel, definition.collectionType);
	ReadInt16As(channel, definition.valueType);
	ReadInt16As(channel, definition.measureType);
	Read(channel, definition.defaultValue);
	Read(channel, definition.availability);
	Read(channel, definition.possibleEnumValues);
	channel.Read(definition.canValueBeEditable);
	return channel.GetInputStatus();
}

GSErrCode Write(GS::OChannel& channel, const API_Property& property)
{
	Write(channel, property.definition);
	WriteAsInt16(channel, property.status);
	Write(channel, property.value);
	channel.Write(property.isDefault);
	return channel.GetOutputStatus();
}

GSErrCode Read(GS::IChannel& channel, API_Property& property)
{
	Read(channel, property.definition);
	ReadInt16As(channel, property.status);
	Read(channel, property.value);
	channel.Read(property.isDefault);
	return channel.GetInputStatus();
}

GSErrCode Write(GS::OChannel& channel, const API_ElemCategoryValue& value)
{
	Write(channel, value.guid);
	Write(channel, value.category.guid);
	WriteAsInt16(channel, value.category.categoryID);
	WriteTextBlock(channel, value.category.name);
	WriteTextBlock(channel, value.name);
	channel.Write(value.usableAsCriteria);
	channel.Write(value.usableAsPropertyFilter);
	return channel.GetOutputStatus();
}

GSErrCode Read(GS::IChannel& channel, API_ElemCategoryValue& value)
{
	Read(channel, value.guid);
	Read(channel, value.category.guid);
	ReadInt16As(channel, value.category.categoryID);
	ReadTextBlock(channel, value.category.name);
	ReadTextBlock(channel, value.name);
	channel.Read(value.usableAsCriteria);
	channel.Read(value.usableAsPropertyFilter);
	return channel.GetInputStatus();
}
