// The runner's host side: it opens a sample project in the stand-in host,
// selects every zone, hands each zone to a covering step, reports what came
// of it and draws the plan.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "Progress.hpp"
#include "SampleProject.hpp"

namespace Runner {

struct DemoOptions {
	std::string samplePath;
	std::string planPath;
	Clock clock = SteadySeconds;
};

struct ZoneOutcome {
	bool covered;
	std::string text; // what was made, or why nothing was
};

// Covers one zone of the opened project in the host's model.
using ZoneStep = std::function<ZoneOutcome(const LoadedZone&)>;

// Refuses a plan path that cannot be written before anything else. Covers the
// zones in one undoable command; prints one line per zone, the report
// window's lines and a total to `out`, the progress over many zones and
// problems to `errors`. Writes no plan when the run fails. Returns the
// process's exit status.
int RunDemo(const DemoOptions& options, const LibraryPartLookup& libraryParts, const ZoneStep& coverZone,
            std::ostream& out, std::ostream& errors);

} // namespace Runner
