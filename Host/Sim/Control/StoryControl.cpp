#include "StoryControl.hpp"

#include <algorithm>

#include "Sim/API/Project.hpp"

namespace HostControl {

std::vector<StoryInfo> Stories()
{
	std::vector<StoryInfo> stories;
	for (const Sim::Story& story : Sim::TheProject().stories)
		stories.push_back({story.index, story.level, story.name});
	std::sort(stories.begin(), stories.end(), [](const StoryInfo& a, const StoryInfo& b) { return a.index < b.index; });
	return stories;
}

} // namespace HostControl
