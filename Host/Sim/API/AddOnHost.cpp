#include "Sim/API/AddOnHost.hpp"

#include "Sim/API/ElementSettings.hpp"

namespace Sim {

AddOnHostState& AddOnHost()
{
	static AddOnHostState state;
	return state;
}

void ResetAddOnHost()
{
	AddOnHost() = AddOnHostState();
	AddOnHost().ownLocation = "/Host/Add-Ons/Velmora/Velmora.bundle";
}

void Complain(const std::string& complaint)
{
	AddOnHost().complaints.push_back(complaint);
}

void StartNewProject()
{
	Host().project = Project();
	Host().undoSteps.clear();
	TheProject().stories.push_back({0, 0.0, "Ground floor"});
	BuildDefaultProject();
	AddOnHost().storage = AddOnStorage();
}

} // namespace Sim
