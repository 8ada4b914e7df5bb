#include "Sim/API/ModelChangeRules.hpp"

#include "API/Errors.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/API/Session.hpp"

namespace Sim {

GSErrCode CheckModelChange(const GS::Array<API_Guid>& changedElements)
{
	if (!Host().inUndoableCommand && ControlUndoScopes() == 0)
		return APIERR_NEEDSUNDOSCOPE;
	for (const API_Guid& element : changedElements) {
		if (TheProject().Contains(element) && !InUserWorkspace(element))
			return APIERR_NOTMINE;
	}
	if (const HostControl::ModelChangeObserver& observer = TheSession().modelChangeObserver) {
		for (const API_Guid& element : changedElements)
			observer(element);
	}
	return NoError;
}

GSErrCode FindChangedElementTarget(const API_Guid& element, PCCTarget& target)
{
	if (GSErrCode refused = CheckModelChange({element}); refused != NoError)
		return refused;
	return FindElementTarget(element, target);
}

int& ControlUndoScopes()
{
	static int open = 0;
	return open;
}

GSErrCode RunUndoStep(const GS::UniString& name, const std::function<GSErrCode()>& body)
{
	HostState& host = Host();
	if (host.inUndoableCommand)
		return APIERR_NESTING;
	UndoStep step{name, host.project.OpenJournal()};
	host.inUndoableCommand = true;
	GSErrCode result = body();
	host.inUndoableCommand = false;
	host.project.CloseJournal(step.before);
	host.undoSteps.push_back(std::move(step));
	return result;
}

} // namespace Sim
