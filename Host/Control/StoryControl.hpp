// The stand-in host's stories, for tests and the command-line runner.
#pragma once

#include <string>
#include <vector>

#include "GS/Types.hpp"

namespace HostControl {

struct StoryInfo {
	Int16 index;
	double level;
	std::string name;
};

// The project's stories, by ascending index.
std::vector<StoryInfo> Stories();

} // namespace HostControl
