// Property definitions and groups, and the property values of elements and of
// the tools' default elements. Which elements have a property is decided by
// the definition's list of element types (an empty list: every type); asking
// an element for a property it does not have gives APIERR_BADPROPERTY.
#include <algorithm>

#include "API/Properties.hpp"
#include "Sim/API/ElementSettings.hpp"
#include "Sim/API/ModelChangeRules.hpp"
#include "Sim/Control/Faults.hpp"

using Sim::TheProject;

namespace {

const Sim::StoredPropertyDefinition* FindDefinition(const API_Guid& guid)
{
	const auto& definitions = TheProject().properties.definitions;
	auto found = std::find_if(definitions.begin(), definitions.end(), [&](const Sim::StoredPropertyDefinition& stored) {
		return stored.definition.guid == guid;
	});
	return found == definitions.end() ? nullptr : &*found;
}

const Sim::StoredPropertyDefinition* FindHeldDefinition(const API_Guid& guid, API_ElemTypeID type)
{
	const Sim::StoredPropertyDefinition* stored = FindDefinition(guid);
	return stored != nullptr && Sim::AppliesTo(stored->elementTypes, type) ? stored : nullptr;
}

bool VariantFits(const API_PropertyDefinition& definition, const API_Variant& variant)
{
	return variant.type == definition.valueType;
}

// A value that is set must be of the definition's type; enumerations hold keys
// of any type.
bool ValueFits(const API_PropertyDefinition& definition, const API_PropertyValue& value)
{
	if (value.variantStatus != API_VariantStatusNormal)
		return true;
	switch (definition.collectionType) {
	case API_PropertySingleCollectionType:
		return VariantFits(definition, value.singleVariant.variant);
	case API_PropertyListCollectionType:
		return std::all_of(value.listVariant.variants.begin(), value.listVariant.variants.end(),
		                   [&](const API_Variant& variant) { return VariantFits(definition, variant); });
	default:
		return true;
	}
}

API_Property ReadProperty(const Sim::StoredPCC& pcc, const API_PropertyDefinition& definition)
{
	API_Property property;
	property.definition = definition;
	property.status = API_Property_HasValue;
	auto found = pcc.propertyValues.find(definition.guid);
	bool unset = found == pcc.propertyValues.end();
	property.value = unset ? definition.defaultValue.basicValue : found->second;
	// A built-in property such as ElementID holds a value of the element's own.
	property.isDefault = unset && definition.definitionType == API_PropertyCustomDefinitionType;
	return property;
}

// All or nothing: every property is checked before any value is written. A
// property marked as default goes back to its default value.
GSErrCode WriteProperties(const Sim::PCCTarget& target, const GS::Array<API_Property>& properties)
{
	for (const API_Property& property : properties) {
		const Sim::StoredPropertyDefinition* stored = FindHeldDefinition(property.definition.guid, target.type);
		if (stored == nullptr)
			return APIERR_BADPROPERTY;
		if (!property.isDefault && !ValueFits(stored->definition, property.value))
			return APIERR_BADVALUE;
	}
	for (const API_Property& property : properties) {
		if (property.isDefault)
			target.pcc->propertyValues.erase(property.definition.guid);
		else
			target.pcc->propertyValues[property.definition.guid] = property.value;
	}
	return NoError;
}

bool PassesFilter(const API_PropertyDefinition& definition, API_PropertyDefinitionFilter filter)
{
	bool custom = definition.definitionType == API_PropertyCustomDefinitionType;
	switch (filter) {
	case API_PropertyDefinitionFilter_UserDefined:
		return custom;
	case API_PropertyDefinitionFilter_BuiltIn:
		return !custom;
	default:
		return true;
	}
}

} // namespace

GSErrCode ACAPI_Property_GetPropertyDefinition(API_PropertyDefinition& definition)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Property_GetPropertyDefinition"); fault != NoError)
		return fault;
	const Sim::StoredPropertyDefinition* stored = FindDefinition(definition.guid);
	if (stored == nullptr)
		return APIERR_BADID;
	definition = stored->definition;
	return NoError;
}

GSErrCode ACAPI_Property_GetPropertyGroups(GS::Array<API_PropertyGroup>& groups)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Property_GetPropertyGroups"); fault != NoError)
		return fault;
	groups.Clear();
	for (const API_PropertyGroup& group : TheProject().properties.groups)
		groups.Push(group);
	return NoError;
}

GSErrCode ACAPI_Property_GetPropertyDefinitions(const API_Guid& groupGuid,
                                                GS::Array<API_PropertyDefinition>& definitions)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Property_GetPropertyDefinitions"); fault != NoError)
		return fault;
	const auto& groups = TheProject().properties.groups;
	if (std::none_of(groups.begin(), groups.end(),
	                 [&](const API_PropertyGroup& group) { return group.guid == groupGuid; }))
		return APIERR_BADID;
	definitions.Clear();
	for (const Sim::StoredPropertyDefinition& stored : TheProject().properties.definitions) {
		if (stored.definition.groupGuid == groupGuid)
			definitions.Push(stored.definition);
	}
	return NoError;
}

GSErrCode ACAPI_Element_GetPropertyValue(const API_Guid& element, const API_Guid& propertyGuid, API_Property& property)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetPropertyValue"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindElementTarget(element, target); error != NoError)
		return error;
	const Sim::StoredPropertyDefinition* stored = FindHeldDefinition(propertyGuid, target.type);
	if (stored == nullptr)
		return APIERR_BADPROPERTY;
	property = ReadProperty(*target.pcc, stored->definition);
	return NoError;
}

GSErrCode ACAPI_Element_SetProperty(const API_Guid& element, const API_Property& property)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_SetProperty"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindChangedElementTarget(element, target); error != NoError)
		return error;
	return WriteProperties(target, {property});
}

GSErrCode ACAPI_Element_SetProperties(const API_Guid& element, const GS::Array<API_Property>& properties)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_SetProperties"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindChangedElementTarget(element, target); error != NoError)
		return error;
	return WriteProperties(target, properties);
}

GSErrCode ACAPI_Element_GetPropertyDefinitionsOfDefaultElem(const API_ElemType& type,
                                                            API_PropertyDefinitionFilter filter,
                                                            GS::Array<API_PropertyDefinition>& definitions)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetPropertyDefinitionsOfDefaultElem"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindToolTarget(type, target); error != NoError)
		return error;
	definitions.Clear();
	for (const Sim::StoredPropertyDefinition& stored : TheProject().properties.definitions) {
		if (Sim::AppliesTo(stored.elementTypes, target.type) && PassesFilter(stored.definition, filter))
			definitions.Push(stored.definition);
	}
	return NoError;
}

GSErrCode ACAPI_Element_GetPropertyValuesOfDefaultElem(const API_ElemType& type,
                                                       const GS::Array<API_PropertyDefinition>& definitions,
                                                       GS::Array<API_Property>& properties)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetPropertyValuesOfDefaultElem"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindToolTarget(type, target); error != NoError)
		return error;
	GS::Array<API_Property> values;
	for (const API_PropertyDefinition& definition : definitions) {
		const Sim::StoredPropertyDefinition* stored = FindHeldDefinition(definition.guid, target.type);
		if (stored == nullptr)
			return APIERR_BADPROPERTY;
		values.Push(ReadProperty(*target.pcc, stored->definition));
	}
	properties = values;
	return NoError;
}

GSErrCode ACAPI_Element_SetPropertiesOfDefaultElem(const API_ElemType& type, const GS::Array<API_Property>& properties)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_SetPropertiesOfDefaultElem"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindToolTarget(type, target); error != NoError)
		return error;
	return WriteProperties(target, properties);
}
