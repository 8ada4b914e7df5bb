#include <algorithm>

#include "API/Favorites.hpp"
#include "Sim/API/ElementSettings.hpp"
#include "Sim/Control/Faults.hpp"

namespace Sim {

StoredTool* FindTool(const API_ElemType& type)
{
	auto found = TheProject().tools.find(type);
	return found == TheProject().tools.end() ? nullptr : &found->second;
}

GSErrCode FindElementTarget(const API_Guid& element, PCCTarget& target)
{
	const StoredElement* stored = TheProject().Get(element);
	if (stored == nullptr)
		return APIERR_BADID;
	target = {&TheProject().elementPCC[element], stored->record.header.type.typeID};
	return NoError;
}

GSErrCode FindToolTarget(const API_ElemType& type, PCCTarget& target)
{
	StoredTool* tool = FindTool(type);
	if (tool == nullptr)
		return APIERR_BADELEMENTTYPE;
	target = {&tool->pcc, type.typeID};
	return NoError;
}

bool AppliesTo(const std::vector<API_ElemTypeID>& types, API_ElemTypeID type)
{
	return types.empty() || std::find(types.begin(), types.end(), type) != types.end();
}

void ReceiveToolDefaults(const API_Element& element)
{
	if (const StoredTool* tool = FindTool(element.header.type);
	    tool != nullptr && !tool->pcc.classificationItems.empty())
		TheProject().elementPCC[element.header.guid].classificationItems = tool->pcc.classificationItems;
}

} // namespace Sim

GSErrCode ACAPI_Element_GetDefaults(API_Element* element, API_ElementMemo* memo)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetDefaults"); fault != NoError)
		return fault;
	if (element == nullptr)
		return APIERR_BADPARS;
	const Sim::StoredTool* tool = Sim::FindTool(element->header.type);
	if (tool == nullptr)
		return APIERR_BADELEMENTTYPE;
	*element = tool->record;
	if (memo != nullptr)
		Sim::HandOutMemo(tool->memo, APIMemoMask_All, memo);
	return NoError;
}

GSErrCode ACAPI_Element_ChangeDefaults(API_Element* element, API_ElementMemo* memo, const API_Element* mask)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_ChangeDefaults"); fault != NoError)
		return fault;
	if (element == nullptr)
		return APIERR_BADPARS;
	Sim::StoredTool* tool = Sim::FindTool(element->header.type);
	if (tool == nullptr)
		return APIERR_BADELEMENTTYPE;
	if (mask != nullptr)
		Sim::CopyMarkedBytes(*element, *mask, tool->record);
	if (memo != nullptr)
		tool->memo = Sim::StoreMemo(*memo, APIMemoMask_All);
	return NoError;
}
