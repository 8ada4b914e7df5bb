#include "SessionControl.hpp"

#include "Sim/API/ModelChangeRules.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/API/Session.hpp"

namespace HostControl {

void SetSharedProject(bool shared)
{
	Sim::TheSession().sharedProject = shared;
}

void SetHolder(const API_Guid& element, Holder holder)
{
	Sim::TheSession().holders[element] = holder;
}

Holder GetHolder(const API_Guid& element)
{
	const auto& holders = Sim::TheSession().holders;
	auto found = holders.find(element);
	return found == holders.end() ? Holder::Nobody : found->second;
}

std::vector<std::vector<API_Guid>> ReservationRequests()
{
	return Sim::TheSession().reservationRequests;
}

void SetClock(GSTime now)
{
	Sim::TheSession().clock = now;
}

void ObserveModelChanges(ModelChangeObserver observer)
{
	Sim::TheSession().modelChangeObserver = std::move(observer);
}

void OpenUndoScope()
{
	++Sim::ControlUndoScopes();
}

void CloseUndoScope()
{
	if (Sim::ControlUndoScopes() > 0)
		--Sim::ControlUndoScopes();
}

} // namespace HostControl
