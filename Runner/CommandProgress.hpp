// How far a room command over the selected zones has got, told while it runs.
#pragma once

#include <iosfwd>
#include <string>
#include <unordered_map>
#include <vector>

#include "Progress.hpp"
#include "SampleProject.hpp"

namespace Runner {

// While it lives, the host tells it each element that a model change names;
// the zone of the latest one, the element itself or a zone that links to it,
// is as far as the command has got. At most once a second it prints
// "<command>: D of T zones, S s elapsed".
class CommandProgress {
public:
	CommandProgress(std::string command, const std::vector<LoadedZone>& zones, Clock clock, std::ostream& out);
	~CommandProgress();
	CommandProgress(const CommandProgress&) = delete;
	CommandProgress& operator=(const CommandProgress&) = delete;

private:
	void Changed(const API_Guid& element);
	std::size_t ZonesReachedAt(const API_Guid& element) const;

	std::string command;
	std::unordered_map<API_Guid, std::size_t> zonesReached; // with the zone, in the order they are worked on
	std::size_t reached = 0;
	ProgressLine line;
};

} // namespace Runner
