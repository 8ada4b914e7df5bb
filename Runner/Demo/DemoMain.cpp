// velmora_demo: plays the host on the sample apartment.
//   velmora_demo [--sample FILE] [--plan FILE]

#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.hpp"
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

} // namespace

int main(int argc, char** argv)
{
	const Runner::DemoOptions defaults = {VELMORA_DEFAULT_SAMPLE, VELMORA_DEFAULT_PLAN};
	Runner::CommandLine line = Runner::ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc), defaults);
	if (line.help) {
		std::cout << Runner::UsageText("velmora_demo", defaults);
		return 0;
	}
	if (!line.problem.empty()) {
		std::cerr << "velmora_demo: " << line.problem << "\n" << Runner::UsageText("velmora_demo", defaults);
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
	return Runner::RunDemo(line.options, Runner::LibraryIndexInProject, coverZone, std::cout, std::cerr);
}
