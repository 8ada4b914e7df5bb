// The runner's command line: its options with their defaults, read into the
// options of a run with every path made absolute against the caller's folder.
#pragma once

#include <string>
#include <vector>

#include "Demo.hpp"

namespace Runner {

struct CommandLine {
	DemoOptions options;
	bool help = false;
	std::string problem; // empty when the arguments are fine
};

CommandLine ReadCommandLine(const std::vector<std::string>& arguments, const DemoOptions& defaults);

// What the command does, its options and their defaults.
std::string UsageText(const std::string& program, const DemoOptions& defaults);

} // namespace Runner
