#include "SessionControl.hpp"

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

void SetClock(GSTime now)
{
	Sim::TheSession().clock = now;
}

namespace {

// Scopes opened through the control interface, which nest and outlive a reset.
int openUndoScopes = 0;

} // namespace

void OpenUndoScope()
{
	++openUndoScopes;
	Sim::Host().inUndoableCommand = true;
}

void CloseUndoScope()
{
	if (openUndoScopes > 0 && --openUndoScopes == 0)
		Sim::Host().inUndoableCommand = false;
}

bool UndoScopeOpen()
{
	return openUndoScopes > 0;
}

} // namespace HostControl
