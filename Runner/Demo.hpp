// The runner's host side: it loads the add-on into the stand-in host, opens a
// sample project and works with the add-on's palette as a user would, telling
// each step; then it draws the plan and the palette.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "AddOnControl.hpp"
#include "Progress.hpp"
#include "SampleProject.hpp"

namespace Runner {

struct DemoOptions {
	std::string samplePath;
	std::string planPath;
	std::string palettePath;
	Clock clock = SteadySeconds;
};

struct ZoneOutcome {
	bool covered;
	std::string text; // what the zone has, or why it has nothing
};

// The add-on as the host loads it, and what the add-on side reads of one
// zone's coverings.
struct AddOnUnderTest {
	HostControl::AddOnEntryPoints entryPoints;
	std::function<ZoneOutcome(const LoadedZone&)> describeZone;
};

// Where the add-on is installed: its file, and its library folder beside it.
extern const char* const addOnFile;
extern const char* const addOnLibraryFolder;

// The sample's favorite that the user picks for wall coverings.
extern const char* const wallCoveringFavorite;

// Refuses a plan or palette path that cannot be written before anything
// else. Tells each step of the user on `out`, with the zones' lines after each
// room command, the report window's lines and a total; the progress of the
// long steps and problems go to `errors`. Writes no picture when the run fails.
// Returns the process's exit status.
int RunDemo(const DemoOptions& options, const LibraryPartLookup& libraryParts, const AddOnUnderTest& addOn,
            std::ostream& out, std::ostream& errors);

} // namespace Runner
