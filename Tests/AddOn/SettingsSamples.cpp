#include "SettingsSamples.hpp"

#include <cstring>

#include "GS/Memory.hpp"
#include "ModelBuilder.hpp"

namespace SettingsSamples {

API_AddParType ParamRecord(Int32 typeID, Int16 typeMod)
{
	API_AddParType record;
	std::memset(static_cast<void*>(&record), 0, sizeof(record));
	record.typeID = static_cast<API_AddParID>(typeID);
	record.typeMod = typeMod;
	record.index = 7;
	record.dim1 = 3;
	record.dim2 = -4;
	record.flags = 0xBEEF;
	record.valueCache = 0x1122334455667788;
	std::strcpy(record.name, "sample");
	return record;
}

HostControl::Param RealParam(API_AddParID typeID, double value)
{
	API_AddParType record = ParamRecord(typeID, API_ParSimple);
	record.value.real = value;
	return {record, std::nullopt};
}

HostControl::Param TextParam(API_AddParID typeID, const GS::UniString& text)
{
	API_AddParType record = ParamRecord(typeID, API_ParSimple);
	text.CopyUStr(record.value.uStr, 256);
	return {record, std::nullopt};
}

HostControl::Param ArrayParam(API_AddParID typeID, std::vector<char> bytes)
{
	return {ParamRecord(typeID, API_ParArray), std::move(bytes)};
}

std::vector<HostControl::Param> MixedParams()
{
	return {RealParam(APIParT_Length, 0.125),
	        RealParam(APIParT_Integer, 42.0),
	        TextParam(APIParT_CString, "Oak veneer"),
	        RealParam(APIParT_Separator, 0.0),
	        ArrayParam(APIParT_RealNum, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
	        ArrayParam(APIParT_CString, {'a', 0, 'b', 0, 0, 0})};
}

Int32 ArrayValueCount(const std::vector<HostControl::Param>& params)
{
	Int32 count = 0;
	for (const HostControl::Param& param : params)
		count += param.arrayValue.has_value() ? 1 : 0;
	return count;
}

void FillParams(ParamsMemo& memo, const std::vector<HostControl::Param>& params)
{
	memo.Dispose();
	GSSize size = static_cast<GSSize>(params.size() * sizeof(API_AddParType));
	memo.elementMemo.params = reinterpret_cast<API_AddParType**>(BMAllocateHandle(size, ALLOCATE_CLEAR, 0));
	for (std::size_t i = 0; i < params.size(); ++i) {
		API_AddParType& record = (*memo.elementMemo.params)[i];
		record = params[i].record;
		if (params[i].arrayValue.has_value()) {
			const std::vector<char>& bytes = *params[i].arrayValue;
			BMPtrToHandle(bytes.data(), &record.value.array, static_cast<GSSize>(bytes.size()));
		}
	}
}

API_Property SampleProperty()
{
	API_Property property;
	API_PropertyDefinition& definition = property.definition;
	definition.definitionType = API_PropertyCustomDefinitionType;
	definition.guid = APIGuidFromString("0B6A1D7E-3F2C-4A55-9E21-7C1D2B3A4F50");
	definition.groupGuid = APIGuidFromString("1C7B2E8F-4A3D-4B66-8F32-8D2E3C4B5A61");
	definition.name = "Finish colour";
	definition.description = "Colour of the finish layer";
	definition.collectionType = API_PropertySingleChoiceEnumerationCollectionType;
	definition.valueType = API_PropertyStringValueType;
	definition.measureType = API_PropertyDefaultMeasureType;
	definition.defaultValue.basicValue.variantStatus = API_VariantStatusNormal;
	definition.defaultValue.basicValue.singleVariant.variant.type = API_PropertyIntegerValueType;
	definition.defaultValue.basicValue.singleVariant.variant.intValue = -17;
	definition.defaultValue.propertyExpressions = {"{Zone number}", "2 * {Height}"};
	definition.defaultValue.hasExpression = true;
	definition.availability = {APIGuidFromString("2D8C3F90-5B4E-4C77-9043-9E3F4D5C6B72")};
	API_SingleEnumerationVariant white;
	white.keyVariant.type = API_PropertyIntegerValueType;
	white.keyVariant.intValue = 1;
	white.displayVariant.type = API_PropertyStringValueType;
	white.displayVariant.uniStringValue = "White";
	white.nonLocalizedValue = GS::UniString("weiss");
	API_SingleEnumerationVariant grey;
	grey.keyVariant.type = API_PropertyGuidValueType;
	grey.keyVariant.guidValue = APIGuidFromString("3E9D4001-6C5F-4D88-A154-AF405E6D7C83");
	grey.displayVariant.type = API_PropertyRealValueType;
	grey.displayVariant.doubleValue = 0.5;
	definition.possibleEnumValues = {white, grey};
	definition.canValueBeEditable = false;
	property.status = API_Property_HasValue;
	property.value.variantStatus = API_VariantStatusNormal;
	property.value.singleVariant.variant.type = API_PropertyStringValueType;
	property.value.singleVariant.variant.uniStringValue = "White";
	API_Variant flag;
	flag.type = API_PropertyBooleanValueType;
	flag.boolValue = true;
	property.value.listVariant.variants = {flag, grey.keyVariant, API_Variant()};
	property.isDefault = true;
	return property;
}

API_ElemCategoryValue SampleCategoryValue()
{
	API_ElemCategoryValue value = {};
	value.guid = APIGuidFromString("4FAE5112-7D60-4E99-B265-B0516F7E8D94");
	value.category.guid = APIGuidFromString("5ABF6223-8E71-4FAA-8376-C1627A8F9EA5");
	value.category.categoryID = API_ElemCategory_RenovationStatus;
	GS::UniString("Renovation status").CopyUStr(value.category.name, 256);
	GS::UniString("Existing").CopyUStr(value.name, 256);
	value.usableAsCriteria = true;
	value.usableAsPropertyFilter = false;
	return value;
}

CoveringSettings RichSettings()
{
	CoveringSettings settings;
	WallCovSettings& wall = settings.wall;
	wall.enabled = true;
	wall.toolElement = ModelBuilder::NewRecord(API_WallID);
	wall.toolElement.wall.thickness = 0.015;
	wall.toolElement.wall.height = 2.75;
	wall.properties = {SampleProperty(), API_Property()};
	wall.classifications = {{APIGuidFromString("60C07334-9F82-40BB-9487-D2738BA0AFB6"),
	                         APIGuidFromString("71D18445-A093-41CC-A598-E3849CB1B0C7")}};
	wall.categoryValues = {SampleCategoryValue()};
	wall.favoriteName = "Plaster 15";
	wall.columnCoverings = true;
	wall.innerContours = true;
	wall.doorHoles.enabled = true;
	FillParams(wall.doorHoles.memo.New(), MixedParams());
	wall.doorHoles.useFavorite = true;
	wall.doorHoles.favoriteName = "Door hole";
	wall.windowHoles.memo.New();
	wall.windowHoles.categoryValues = {SampleCategoryValue(), SampleCategoryValue()};
	settings.ceiling.enabled = true;
	settings.ceiling.toolElement = ModelBuilder::NewRecord(API_SlabID);
	settings.ceiling.toolElement.slab.thickness = 0.0125;
	settings.ceiling.toolElement.slab.referencePlaneLocation = APISlabRefPlane_Bottom;
	settings.ceiling.insets = true;
	settings.floor.toolElement = ModelBuilder::NewRecord(API_SlabID);
	settings.floor.properties = {SampleProperty()};
	settings.floor.favoriteName = "Parquet";
	settings.timestampProperty = APIGuidFromString("82E29556-B1A4-42DD-B6A9-F495ADC2C1D8");
	settings.showSummary = true;
	return settings;
}

std::vector<char> Bytes(const GS::MemoryOChannel32& channel)
{
	return std::vector<char>(channel.GetDestination(), channel.GetDestination() + channel.GetDataSize());
}

} // namespace SettingsSamples
