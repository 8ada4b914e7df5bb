#include "CommandProgress.hpp"

#include <algorithm>

#include "HostControl.hpp"
#include "SessionControl.hpp"

namespace Runner {

CommandProgress::CommandProgress(std::string command, const std::vector<LoadedZone>& zones, Clock clock,
                                 std::ostream& out)
    : command(std::move(command)), line(std::move(clock), out)
{
	for (const LoadedZone& zone : zones)
		zonesReached.emplace(zone.guid, zonesReached.size() + 1);
	HostControl::ObserveModelChanges([this](const API_Guid& element) { Changed(element); });
}

CommandProgress::~CommandProgress()
{
	HostControl::ObserveModelChanges(nullptr);
}

void CommandProgress::Changed(const API_Guid& element)
{
	if (!line.Due())
		return;
	// A new covering is named before its zone links to it: the next change tells.
	std::size_t at = ZonesReachedAt(element);
	if (at == 0)
		return;
	reached = std::max(reached, at);
	line.Tell(command + ": " + std::to_string(reached) + " of " + std::to_string(zonesReached.size()) + " zones");
}

// 0 for an element of no zone yet, or of none, such as a hole, which links from its covering and opening only.
std::size_t CommandProgress::ZonesReachedAt(const API_Guid& element) const
{
	if (auto zone = zonesReached.find(element); zone != zonesReached.end())
		return zone->second;
	for (const API_Guid& source : HostControl::LinkSources(element)) {
		if (auto zone = zonesReached.find(source); zone != zonesReached.end())
			return zone->second;
	}
	return 0;
}

} // namespace Runner
