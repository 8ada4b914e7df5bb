#include "PropertyHelpers.hpp"

namespace {

const char* const ElementIdGuess = "8BACB089-BBFE-41C2-B5A4-D1CEBC2F4FB3";
const GS::UniString ElementIdName("ElementID");
const GS::UniString GeneralGroupName("GeneralElemProperties");

// Searches every group of the name in the host's order; the first match wins.
ErrCode FindElementIdByName(API_Guid& guid)
{
	GS::Array<API_PropertyGroup> groups;
	if (ErrCode err = ACAPI_Property_GetPropertyGroups(groups); err != NoError)
		return err;
	for (const API_PropertyGroup& group : groups) {
		if (group.name != GeneralGroupName)
			continue;
		GS::Array<API_PropertyDefinition> definitions;
		if (ErrCode err = ACAPI_Property_GetPropertyDefinitions(group.guid, definitions); err != NoError)
			return err;
		for (const API_PropertyDefinition& definition : definitions) {
			if (definition.name == ElementIdName) {
				guid = definition.guid;
				return NoError;
			}
		}
	}
	return COVERR_PROPERTY_ELEMENTID;
}

API_Property StringProperty(const API_PropertyDefinition& definition, const GS::UniString& text)
{
	API_Property property;
	property.definition = definition;
	property.status = API_Property_HasValue;
	property.value.singleVariant.variant.type = API_PropertyStringValueType;
	property.value.singleVariant.variant.uniStringValue = text;
	property.value.variantStatus = API_VariantStatusNormal;
	property.isDefault = false;
	return property;
}

} // namespace

ErrCode GetElemIdPropertyGuid(API_Guid& guid)
{
	guid = APIGuidFromString(ElementIdGuess);
	API_PropertyDefinition definition;
	definition.guid = guid;
	if (ErrCode err = ACAPI_Property_GetPropertyDefinition(definition); err != NoError)
		return err;
	if (definition.name == ElementIdName)
		return NoError;
	return FindElementIdByName(guid);
}

ErrCode SetTimestampProperty(const GS::Array<API_Guid>& elements, API_Guid property, const GS::UniString& text)
{
	if (property == APINULLGuid)
		return NoError;
	API_PropertyDefinition definition;
	definition.guid = property;
	if (ErrCode err = ACAPI_Property_GetPropertyDefinition(definition); err != NoError)
		return err;
	const API_Property timestamp = StringProperty(definition, text);
	for (const API_Guid& element : elements) {
		ErrCode err = ACAPI_Element_SetProperty(element, timestamp);
		if (err != NoError && err != APIERR_BADPROPERTY)
			return err;
	}
	return NoError;
}
