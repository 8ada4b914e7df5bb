#include "ElementSettingsHelpers.hpp"

#include <cstdio>
#include <cstring>

#include "API/LibraryParts.hpp"
#include "ScopeGuards.hpp"

namespace {

const char* const DefaultDoorPart = "7B8B96D6-E5D0-4A81-A769-476EC2EE00F4";
const char* const DefaultWindowPart = "A6A5B32E-FD58-4EBB-B4EC-0EAD9017CE1C";
// Any revision of the main GUID.
const char* const UniqueIdPattern = "{%s}-{00000000-0000-0000-0000-000000000000}";

const char* DefaultLibPartGuid(API_ElemTypeID type)
{
	switch (type) {
	case API_DoorID:
		return DefaultDoorPart;
	case API_WindowID:
		return DefaultWindowPart;
	default:
		return nullptr;
	}
}

// The memo of a present ParamsMemo, emptied; null for an absent one.
API_ElementMemo* EmptiedMemo(GS::Optional<ParamsMemo>& memo)
{
	if (!memo.HasValue())
		return nullptr;
	memo->Dispose();
	return &memo->elementMemo;
}

API_ElementMemo* MemoOf(GS::Optional<ParamsMemo>& memo)
{
	return memo.HasValue() ? &memo->elementMemo : nullptr;
}

ErrCode ReadDefaultProperties(const API_ElemType& type, GS::Array<API_Property>& properties)
{
	GS::Array<API_PropertyDefinition> definitions;
	if (ErrCode err =
	        ACAPI_Element_GetPropertyDefinitionsOfDefaultElem(type, API_PropertyDefinitionFilter_All, definitions);
	    err != NoError)
		return err;
	properties.Clear();
	return ACAPI_Element_GetPropertyValuesOfDefaultElem(type, definitions, properties);
}

// A category without a readable default is left out.
void ReadDefaultCategoryValues(const API_ElemType& type, const GS::Array<API_ElemCategory>& categories,
                               GS::Array<API_ElemCategoryValue>& categoryValues)
{
	categoryValues.Clear();
	for (const API_ElemCategory& category : categories) {
		API_ElemCategoryValue value = {};
		if (ACAPI_Category_GetCategoryValueDefault(type, category, &value) == NoError)
			categoryValues.Push(value);
	}
}

// remove and add are the host's remover and adder of one element's or one
// tool's classification items.
template <typename Target, typename Remove, typename Add>
ErrCode ReplaceClassificationItems(const Target& target, const ClassificationList& oldItems,
                                   const ClassificationList& newItems, Remove remove, Add add)
{
	for (const auto& pair : oldItems) {
		if (ErrCode err = remove(target, pair.second); err != NoError)
			return err;
	}
	for (const auto& pair : newItems) {
		if (ErrCode err = add(target, pair.second); err != NoError)
			return err;
	}
	return NoError;
}

ErrCode ReplaceDefaultClassifications(const API_ElemType& type, const ClassificationList& classifications)
{
	ClassificationList current;
	if (ErrCode err = ACAPI_Element_GetClassificationItemsDefault(type, current); err != NoError)
		return err;
	return ReplaceClassificationItems(type, current, classifications, ACAPI_Element_RemoveClassificationItemDefault,
	                                  ACAPI_Element_AddClassificationItemDefault);
}

// setValue is the host's setter of one element's or one tool's category value.
template <typename Target, typename SetValue> ErrCode
SetCategoryValues(const Target& target, const GS::Array<API_ElemCategoryValue>& categoryValues, SetValue setValue)
{
	for (const API_ElemCategoryValue& value : categoryValues) {
		if (ErrCode err = setValue(target, value.category, value); err != NoError)
			return err;
	}
	return NoError;
}

} // namespace

API_Favorite FavoriteRequest(const GS::UniString& name, bool withMemo, bool withPCC)
{
	API_Favorite favorite(name);
	if (withMemo)
		favorite.memo.New(API_ElementMemo{});
	if (withPCC) {
		favorite.properties.New();
		favorite.classifications.New();
		favorite.elemCategoryValues.New();
	}
	return favorite;
}

ErrCode LoadFavoriteWithPCC(const GS::UniString& name, API_Element& element, GS::Optional<ParamsMemo>& memo,
                            GS::Array<API_Property>& properties, ClassificationList& classifications,
                            GS::Array<API_ElemCategoryValue>& categoryValues)
{
	API_Favorite favorite = FavoriteRequest(name, memo.HasValue(), true);
	// The memo handles belong to the request until memo takes them over.
	FavoriteMemoGuard releaseRequestMemo(favorite);

	if (ErrCode err = ACAPI_Favorite_Get(&favorite); err != NoError)
		return err;

	element = favorite.element;
	if (memo.HasValue()) {
		API_ElementMemo* target = EmptiedMemo(memo);
		if (favorite.memo.HasValue()) {
			*target = favorite.memo.Get();
			favorite.memo.Clear();
		}
	}
	properties = *favorite.properties;
	classifications = *favorite.classifications;
	categoryValues = *favorite.elemCategoryValues;
	return NoError;
}

ErrCode LoadFavoriteWithPCC(ElementCovSettings& settings)
{
	return LoadFavoriteWithPCC(settings, settings.favoriteName);
}

ErrCode LoadFavoriteWithPCC(ElementCovSettings& settings, const GS::UniString& name)
{
	return LoadFavoriteWithPCC(name, settings.toolElement, settings.memo, settings.properties, settings.classifications,
	                           settings.categoryValues);
}

ErrCode GetCurrentToolDefaults(const API_ElemType& type, API_Element& element, GS::Optional<ParamsMemo>& memo,
                               GS::Array<API_Property>& properties, ClassificationList& classifications,
                               GS::Array<API_ElemCategoryValue>& categoryValues,
                               const GS::Array<API_ElemCategory>& categories)
{
	if (ErrCode err = ACAPI_Element_GetDefaults(&element, EmptiedMemo(memo)); err != NoError)
		return err;
	if (ErrCode err = ReadDefaultProperties(type, properties); err != NoError)
		return err;
	classifications.Clear();
	if (ErrCode err = ACAPI_Element_GetClassificationItemsDefault(type, classifications); err != NoError)
		return err;
	ReadDefaultCategoryValues(type, categories, categoryValues);
	return NoError;
}

ErrCode SetToolDefaults(const API_ElemType& type, API_Element& element, GS::Optional<ParamsMemo>& memo,
                        const GS::Array<API_Property>& properties, const ClassificationList& classifications,
                        const GS::Array<API_ElemCategoryValue>& categoryValues)
{
	API_Element everything;
	std::memset(static_cast<void*>(&everything), 0xFF, sizeof(everything));
	if (ErrCode err = ACAPI_Element_ChangeDefaults(&element, MemoOf(memo), &everything); err != NoError)
		return err;
	if (ErrCode err = ReplaceDefaultClassifications(type, classifications); err != NoError)
		return err;
	if (ErrCode err = ACAPI_Element_SetPropertiesOfDefaultElem(type, properties); err != NoError)
		return err;
	return SetCategoryValues(type, categoryValues, ACAPI_Category_SetCategoryValueDefault);
}

ErrCode SetClassPropCatOfElement(API_Guid element, const API_Favorite& favorite, ClassificationList oldItems)
{
	if (favorite.classifications.HasValue()) {
		if (ErrCode err =
		        ReplaceClassificationItems(element, oldItems, *favorite.classifications,
		                                   ACAPI_Element_RemoveClassificationItem, ACAPI_Element_AddClassificationItem);
		    err != NoError)
			return err;
	}
	if (favorite.properties.HasValue()) {
		if (ErrCode err = ACAPI_Element_SetProperties(element, *favorite.properties); err != NoError)
			return err;
	}
	if (favorite.elemCategoryValues.HasValue())
		return SetCategoryValues(element, *favorite.elemCategoryValues, ACAPI_Category_SetCategoryValue);
	return NoError;
}

ErrCode GetDefaultLibPart(API_ElemTypeID type, API_ElementMemo& memo, int& libInd)
{
	const char* mainGuid = DefaultLibPartGuid(type);
	if (mainGuid == nullptr)
		return COVERR_LOGIC;

	API_LibPart libPart;
	std::memset(static_cast<void*>(&libPart), 0, sizeof(libPart));
	LibPartLocationGuard releaseLocation(libPart);
	std::snprintf(libPart.ownUnID, sizeof(libPart.ownUnID), UniqueIdPattern, mainGuid);
	ErrCode err = ACAPI_LibraryPart_Search(&libPart, false, true);
	if (err != NoError)
		return err;

	libInd = libPart.index;
	// The parameters arrive apart, so that memo's own are released only once new ones replace them.
	API_ElementMemo received = {};
	MemoGuard releaseReceived(received);
	double a = 0.0;
	double b = 0.0;
	Int32 parameterCount = 0;
	if (err = ACAPI_LibraryPart_GetParams(libInd, &a, &b, &parameterCount, &received.params); err != NoError)
		return err;
	std::swap(memo.params, received.params);
	return NoError;
}
