// velmora_demo: plays the host on the sample apartment.
//   velmora_demo [--sample FILE] [--plan FILE]

#include <cstring>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>

#include "Demo.hpp"
#include "DemoCoverings.hpp"
#include "HostControl.hpp"
#include "SessionControl.hpp"

namespace {

// The favorite of the sample project that the wall coverings are made from.
const char* const wallCoveringFavorite = "Plaster lining 15 mm";

// The run's time text, the same for every zone.
GS::UniString RunTime()
{
	std::time_t now = std::time(nullptr);
	char text[32];
	std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M", std::localtime(&now));
	return GS::UniString(text);
}

// Empty when the arguments are fine, else what is wrong with them.
std::string ReadArguments(int argc, char** argv, Runner::DemoOptions& options)
{
	for (int i = 1; i < argc; i += 2) {
		std::string* target = nullptr;
		if (std::strcmp(argv[i], "--sample") == 0)
			target = &options.samplePath;
		else if (std::strcmp(argv[i], "--plan") == 0)
			target = &options.planPath;
		else
			return std::string("unknown option '") + argv[i] + "'";
		if (i + 1 >= argc)
			return std::string("'") + argv[i] + "' needs a file";
		*target = argv[i + 1];
	}
	return std::string();
}

} // namespace

int main(int argc, char** argv)
{
	Runner::DemoOptions options = {VELMORA_DEFAULT_SAMPLE, VELMORA_DEFAULT_PLAN};
	if (std::string problem = ReadArguments(argc, argv, options); !problem.empty()) {
		std::cerr << "velmora_demo: " << problem << "\nUsage: velmora_demo [--sample FILE] [--plan FILE]\n";
		return 2;
	}
	HostControl::ResetHost();
	GS::UniString timestamp = RunTime();
	std::optional<CoveringSettings> settings;
	auto coverZone = [&](const Runner::LoadedZone& zone) {
		// The settings are filled once, in the opened project, before the first zone.
		if (!settings)
			settings = Demo::CoveringSettingsForRun(wallCoveringFavorite, HostControl::Defaults().lastRunProperty);
		// The host accepts the engine's changes only inside a command.
		HostControl::OpenUndoScope();
		Runner::ZoneOutcome outcome = Demo::CoverZone(zone, *settings, timestamp);
		HostControl::CloseUndoScope();
		return outcome;
	};
	return Runner::RunDemo(options, Runner::LibraryIndexInProject, coverZone, std::cout, std::cerr);
}
