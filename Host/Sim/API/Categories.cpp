// Element categories and the category values of elements and of the tools'
// default elements. A category applies to the element types of its list (an
// empty list: every type); a value is accepted only for its own category.
#include <algorithm>

#include "API/Properties.hpp"
#include "Sim/API/ElementSettings.hpp"
#include "Sim/API/ModelChangeRules.hpp"
#include "Sim/Control/Faults.hpp"

namespace {

const Sim::StoredCategory* FindCategory(const API_Guid& guid, API_ElemTypeID type)
{
	const auto& categories = Sim::TheProject().categories;
	auto found = std::find_if(categories.begin(), categories.end(),
	                          [&](const Sim::StoredCategory& stored) { return stored.category.guid == guid; });
	if (found == categories.end() || !Sim::AppliesTo(found->elementTypes, type))
		return nullptr;
	return &*found;
}

const API_ElemCategoryValue* FindValue(const Sim::StoredCategory& category, const API_Guid& guid)
{
	auto found = std::find_if(category.values.begin(), category.values.end(),
	                          [&](const API_ElemCategoryValue& value) { return value.guid == guid; });
	return found == category.values.end() ? nullptr : &*found;
}

GSErrCode SetValue(const Sim::PCCTarget& target, const API_ElemCategory& category, const API_ElemCategoryValue& value)
{
	const Sim::StoredCategory* stored = FindCategory(category.guid, target.type);
	if (stored == nullptr || value.category.guid != category.guid || FindValue(*stored, value.guid) == nullptr)
		return APIERR_BADPARS;
	target.pcc->categoryValues[category.guid] = value.guid;
	return NoError;
}

} // namespace

GSErrCode ACAPI_Category_GetElementCategories(GS::Array<API_ElemCategory>* categories)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Category_GetElementCategories"); fault != NoError)
		return fault;
	if (categories == nullptr)
		return APIERR_BADPARS;
	categories->Clear();
	for (const Sim::StoredCategory& stored : Sim::TheProject().categories)
		categories->Push(stored.category);
	return NoError;
}

GSErrCode ACAPI_Category_GetCategoryValueDefault(const API_ElemType& type, const API_ElemCategory& category,
                                                 API_ElemCategoryValue* value)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Category_GetCategoryValueDefault"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindToolTarget(type, target); error != NoError)
		return error;
	const Sim::StoredCategory* stored = FindCategory(category.guid, target.type);
	auto held = target.pcc->categoryValues.find(category.guid);
	if (value == nullptr || stored == nullptr || held == target.pcc->categoryValues.end())
		return APIERR_BADPARS;
	const API_ElemCategoryValue* found = FindValue(*stored, held->second);
	if (found == nullptr)
		return APIERR_BADPARS;
	*value = *found;
	return NoError;
}

GSErrCode ACAPI_Category_SetCategoryValueDefault(const API_ElemType& type, const API_ElemCategory& category,
                                                 const API_ElemCategoryValue& value)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Category_SetCategoryValueDefault"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindToolTarget(type, target); error != NoError)
		return error;
	return SetValue(target, category, value);
}

GSErrCode ACAPI_Category_SetCategoryValue(const API_Guid& element, const API_ElemCategory& category,
                                          const API_ElemCategoryValue& value)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Category_SetCategoryValue"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindChangedElementTarget(element, target); error != NoError)
		return error;
	return SetValue(target, category, value);
}
