// Properties, classifications and categories of elements and of the tools'
// default elements.
#pragma once

#include "API/Elements.hpp"
#include "API/Errors.hpp"
#include "GS/Array.hpp"
#include "GS/Optional.hpp"
#include "GS/UniString.hpp"

enum API_VariantType : Int32 {
	API_PropertyUndefinedValueType = 0,
	API_PropertyIntegerValueType = 1,
	API_PropertyRealValueType = 2,
	API_PropertyStringValueType = 3,
	API_PropertyBooleanValueType = 4,
	API_PropertyGuidValueType = 5
};

// One value of any of the types above; only the member of its type matters.
struct API_Variant {
	API_VariantType type = API_PropertyUndefinedValueType;
	Int32 intValue = 0;
	double doubleValue = 0.0;
	GS::UniString uniStringValue;
	bool boolValue = false;
	API_Guid guidValue = APINULLGuid;
};

struct API_SingleVariant {
	API_Variant variant;
};

struct API_ListVariant {
	GS::Array<API_Variant> variants;
};

enum API_VariantStatus : Int32 {
	API_VariantStatusNull = 0,
	API_VariantStatusUserUndefined = 1,
	API_VariantStatusNormal = 2
};

struct API_PropertyValue {
	API_VariantStatus variantStatus = API_VariantStatusNull;
	API_SingleVariant singleVariant;
	API_ListVariant listVariant;
};

// One entry of an enumerated property: its key, its shown value and an
// optional text that is not translated.
struct API_SingleEnumerationVariant {
	API_Variant keyVariant;
	API_Variant displayVariant;
	GS::Optional<GS::UniString> nonLocalizedValue;
};

struct API_PropertyDefaultValue {
	API_PropertyValue basicValue;
	GS::Array<GS::UniString> propertyExpressions;
	bool hasExpression = false;
};

enum API_PropertyDefinitionType : Int32 {
	API_PropertyStaticBuiltInDefinitionType = 0,
	API_PropertyDynamicBuiltInDefinitionType = 1,
	API_PropertyCustomDefinitionType = 2
};

enum API_PropertyCollectionType : Int32 {
	API_PropertyUndefinedCollectionType = 0,
	API_PropertySingleCollectionType = 1,
	API_PropertyListCollectionType = 2,
	API_PropertySingleChoiceEnumerationCollectionType = 3,
	API_PropertyMultipleChoiceEnumerationCollectionType = 4
};

enum API_PropertyMeasureType : Int32 {
	API_PropertyUndefinedMeasureType = 0,
	API_PropertyDefaultMeasureType = 1,
	API_PropertyLengthMeasureType = 2,
	API_PropertyAreaMeasureType = 3
};

struct API_PropertyDefinition {
	API_PropertyDefinitionType definitionType = API_PropertyCustomDefinitionType;
	API_Guid guid = APINULLGuid;
	API_Guid groupGuid = APINULLGuid;
	GS::UniString name;
	GS::UniString description;
	API_PropertyCollectionType collectionType = API_PropertyUndefinedCollectionType;
	API_VariantType valueType = API_PropertyUndefinedValueType;
	API_PropertyMeasureType measureType = API_PropertyUndefinedMeasureType;
	API_PropertyDefaultValue defaultValue;
	GS::Array<API_Guid> availability; // classification items the property is available for
	GS::Array<API_SingleEnumerationVariant> possibleEnumValues;
	bool canValueBeEditable = true;
};

enum API_PropertyStatus : Int32 {
	API_Property_NotAvailable = 0,
	API_Property_NotEvaluated = 1,
	API_Property_HasValue = 2
};

struct API_Property {
	API_PropertyDefinition definition;
	API_PropertyStatus status = API_Property_NotAvailable;
	API_PropertyValue value;
	bool isDefault = false;
};

enum API_PropertyGroupType : Int32 {
	API_PropertyStaticBuiltInGroupType = 0,
	API_PropertyDynamicBuiltInGroupType = 1,
	API_PropertyCustomGroupType = 2
};

struct API_PropertyGroup {
	API_PropertyGroupType groupType = API_PropertyCustomGroupType;
	API_Guid guid = APINULLGuid;
	GS::UniString name;
	GS::UniString description;
};

enum API_PropertyDefinitionFilter : Int32 {
	API_PropertyDefinitionFilter_All = 0,
	API_PropertyDefinitionFilter_UserDefined = 1,
	API_PropertyDefinitionFilter_BuiltIn = 2
};

GSErrCode ACAPI_Property_GetPropertyDefinition(API_PropertyDefinition& definition); // by definition.guid
GSErrCode ACAPI_Property_GetPropertyGroups(GS::Array<API_PropertyGroup>& groups);
GSErrCode ACAPI_Property_GetPropertyDefinitions(const API_Guid& groupGuid,
                                                GS::Array<API_PropertyDefinition>& definitions);

// APIERR_BADPROPERTY when the element does not have the property.
GSErrCode ACAPI_Element_GetPropertyValue(const API_Guid& element, const API_Guid& propertyGuid, API_Property& property);
GSErrCode ACAPI_Element_SetProperty(const API_Guid& element, const API_Property& property);
GSErrCode ACAPI_Element_SetProperties(const API_Guid& element, const GS::Array<API_Property>& properties);

GSErrCode ACAPI_Element_GetPropertyDefinitionsOfDefaultElem(const API_ElemType& type,
                                                            API_PropertyDefinitionFilter filter,
                                                            GS::Array<API_PropertyDefinition>& definitions);
GSErrCode ACAPI_Element_GetPropertyValuesOfDefaultElem(const API_ElemType& type,
                                                       const GS::Array<API_PropertyDefinition>& definitions,
                                                       GS::Array<API_Property>& properties);
GSErrCode ACAPI_Element_SetPropertiesOfDefaultElem(const API_ElemType& type, const GS::Array<API_Property>& properties);

// Classification items, as (classification system, item) pairs. An element has
// at most one item per system: adding an item replaces that of its system;
// removing an item that the element does not hold changes nothing.
GSErrCode ACAPI_Element_GetClassificationItemsDefault(const API_ElemType& type,
                                                      GS::Array<GS::Pair<API_Guid, API_Guid>>& systemItemPairs);
GSErrCode ACAPI_Element_AddClassificationItemDefault(const API_ElemType& type, const API_Guid& itemGuid);
GSErrCode ACAPI_Element_RemoveClassificationItemDefault(const API_ElemType& type, const API_Guid& itemGuid);
GSErrCode ACAPI_Element_AddClassificationItem(const API_Guid& element, const API_Guid& itemGuid);
GSErrCode ACAPI_Element_RemoveClassificationItem(const API_Guid& element, const API_Guid& itemGuid);

enum API_ElemCategoryID : Int32 {
	API_ElemCategory_Undefined = 0,
	API_ElemCategory_StructuralFunction = 1,
	API_ElemCategory_Position = 2,
	API_ElemCategory_RenovationStatus = 3,
	API_ElemCategory_BRI = 4
};

struct API_ElemCategory {
	API_Guid guid;
	API_ElemCategoryID categoryID;
	GS::UniChar name[256];
};

struct API_ElemCategoryValue {
	API_Guid guid;
	API_ElemCategory category;
	GS::UniChar name[256];
	bool usableAsCriteria;
	bool usableAsPropertyFilter;
};

GSErrCode ACAPI_Category_GetElementCategories(GS::Array<API_ElemCategory>* categories);
GSErrCode ACAPI_Category_GetCategoryValueDefault(const API_ElemType& type, const API_ElemCategory& category,
                                                 API_ElemCategoryValue* value);
GSErrCode ACAPI_Category_SetCategoryValueDefault(const API_ElemType& type, const API_ElemCategory& category,
                                                 const API_ElemCategoryValue& value);
GSErrCode ACAPI_Category_SetCategoryValue(const API_Guid& element, const API_ElemCategory& category,
                                          const API_ElemCategoryValue& value);
