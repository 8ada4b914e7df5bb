#include "API/Grouping.hpp"
#include "Sim/API/ModelChangeRules.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/Control/Faults.hpp"

using Sim::TheProject;

GSErrCode ACAPI_View_IsSuspendGroupOn(bool* isSuspended)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_View_IsSuspendGroupOn"); fault != NoError)
		return fault;
	*isSuspended = TheProject().groupsSuspended;
	return NoError;
}

GSErrCode ACAPI_Grouping_Tool(const GS::Array<API_Guid>&, API_ToolCmdID command, void*)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Grouping_Tool"); fault != NoError)
		return fault;
	if (GSErrCode refused = Sim::CheckModelChange(); refused != NoError)
		return refused;
	if (command != APITool_SuspendGroups)
		return APIERR_BADPARS;
	TheProject().groupsSuspended = !TheProject().groupsSuspended;
	return NoError;
}

GSErrCode ACAPI_Grouping_CreateGroup(const GS::Array<API_Guid>& elements, API_Guid* groupGuid, const API_Guid*)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Grouping_CreateGroup"); fault != NoError)
		return fault;
	if (GSErrCode refused = Sim::CheckModelChange(elements); refused != NoError)
		return refused;
	Sim::Project& project = TheProject();
	if (elements.IsEmpty())
		return APIERR_BADPARS;
	for (const API_Guid& guid : elements) {
		const Sim::StoredElement* element = project.Get(guid);
		if (element == nullptr)
			return APIERR_BADID;
		if (element->record.header.groupGuid != APINULLGuid)
			return APIERR_BADPARS;
	}
	API_Guid group = project.NewGuid();
	for (const API_Guid& guid : elements) {
		project.Find(guid)->record.header.groupGuid = group;
		project.groups[group].push_back(guid);
	}
	if (groupGuid != nullptr)
		*groupGuid = group;
	return NoError;
}
