// Classification items of elements and of the tools' default elements. An
// element holds at most one item per classification system; removing an item
// that the element does not hold changes nothing and succeeds.
#include <algorithm>

#include "API/Properties.hpp"
#include "Sim/API/ElementSettings.hpp"
#include "Sim/API/ModelChangeRules.hpp"
#include "Sim/Control/Faults.hpp"

namespace {

const Sim::ClassificationItem* FindItem(const API_Guid& guid)
{
	const auto& items = Sim::TheProject().classifications.items;
	auto found = std::find_if(items.begin(), items.end(),
	                          [&](const Sim::ClassificationItem& item) { return item.guid == guid; });
	return found == items.end() ? nullptr : &*found;
}

GSErrCode AddItem(const Sim::PCCTarget& target, const API_Guid& itemGuid)
{
	const Sim::ClassificationItem* item = FindItem(itemGuid);
	if (item == nullptr)
		return APIERR_BADCLASSIFICATION;
	auto& held = target.pcc->classificationItems;
	auto sameSystem = std::find_if(held.begin(), held.end(),
	                               [&](const Sim::ClassificationPair& pair) { return pair.first == item->system; });
	if (sameSystem != held.end())
		sameSystem->second = item->guid;
	else
		held.push_back({item->system, item->guid});
	return NoError;
}

GSErrCode RemoveItem(const Sim::PCCTarget& target, const API_Guid& itemGuid)
{
	if (FindItem(itemGuid) == nullptr)
		return APIERR_BADCLASSIFICATION;
	auto& held = target.pcc->classificationItems;
	held.erase(std::remove_if(held.begin(), held.end(),
	                          [&](const Sim::ClassificationPair& pair) { return pair.second == itemGuid; }),
	           held.end());
	return NoError;
}

template <typename Key, typename Change> GSErrCode ChangeItems(const char* functionName,
                                                               GSErrCode (*findTarget)(const Key&, Sim::PCCTarget&),
                                                               const Key& key, const API_Guid& itemGuid, Change change)
{
	if (GSErrCode fault = Sim::EnterCall(functionName); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = findTarget(key, target); error != NoError)
		return error;
	return change(target, itemGuid);
}

} // namespace

GSErrCode ACAPI_Element_GetClassificationItemsDefault(const API_ElemType& type,
                                                      GS::Array<GS::Pair<API_Guid, API_Guid>>& systemItemPairs)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetClassificationItemsDefault"); fault != NoError)
		return fault;
	Sim::PCCTarget target;
	if (GSErrCode error = Sim::FindToolTarget(type, target); error != NoError)
		return error;
	systemItemPairs.Clear();
	for (const Sim::ClassificationPair& pair : target.pcc->classificationItems)
		systemItemPairs.Push(pair);
	return NoError;
}

GSErrCode ACAPI_Element_AddClassificationItemDefault(const API_ElemType& type, const API_Guid& itemGuid)
{
	return ChangeItems("ACAPI_Element_AddClassificationItemDefault", Sim::FindToolTarget, type, itemGuid, AddItem);
}

GSErrCode ACAPI_Element_RemoveClassificationItemDefault(const API_ElemType& type, const API_Guid& itemGuid)
{
	return ChangeItems("ACAPI_Element_RemoveClassificationItemDefault", Sim::FindToolTarget, type, itemGuid,
	                   RemoveItem);
}

GSErrCode ACAPI_Element_AddClassificationItem(const API_Guid& element, const API_Guid& itemGuid)
{
	return ChangeItems("ACAPI_Element_AddClassificationItem", Sim::FindChangedElementTarget, element, itemGuid,
	                   AddItem);
}

GSErrCode ACAPI_Element_RemoveClassificationItem(const API_Guid& element, const API_Guid& itemGuid)
{
	return ChangeItems("ACAPI_Element_RemoveClassificationItem", Sim::FindChangedElementTarget, element, itemGuid,
	                   RemoveItem);
}
