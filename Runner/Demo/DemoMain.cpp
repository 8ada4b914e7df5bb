// velmora_demo: plays the host on the sample apartment.
//   velmora_demo [--sample FILE] [--plan FILE]

#include <cstring>
#include <iostream>

#include "Demo.hpp"

namespace {

// Where the covering engine will be called, once per zone, with the zone
// already selected in the host. Until the engine is linked in, nothing is made.
Runner::ZoneOutcome CoverZoneWithEngine(const Runner::LoadedZone& zone)
{
	(void)zone;
	return {false, "not covered: the covering engine is not linked in yet"};
}

// The stand-in's projects hold no library parts yet, so every opening is
// placed without one (index 0).
std::optional<Int32> LibraryIndexInProject(const Runner::LibraryPartRef& part)
{
	(void)part;
	return 0;
}

bool ReadArguments(int argc, char** argv, Runner::DemoOptions& options)
{
	for (int i = 1; i < argc; i += 2) {
		if (i + 1 >= argc)
			return false;
		if (std::strcmp(argv[i], "--sample") == 0)
			options.samplePath = argv[i + 1];
		else if (std::strcmp(argv[i], "--plan") == 0)
			options.planPath = argv[i + 1];
		else
			return false;
	}
	return true;
}

} // namespace

int main(int argc, char** argv)
{
	Runner::DemoOptions options = {VELMORA_DEFAULT_SAMPLE, VELMORA_DEFAULT_PLAN};
	if (!ReadArguments(argc, argv, options)) {
		std::cerr << "Usage: velmora_demo [--sample FILE] [--plan FILE]\n";
		return 2;
	}
	return Runner::RunDemo(options, LibraryIndexInProject, CoverZoneWithEngine, std::cout, std::cerr);
}
