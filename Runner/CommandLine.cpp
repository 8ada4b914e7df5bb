#include "CommandLine.hpp"

#include "OutputFile.hpp"

namespace Runner {

CommandLine ReadCommandLine(const std::vector<std::string>& arguments, const DemoOptions& defaults)
{
	CommandLine line;
	line.options = defaults;
	for (std::size_t i = 0; i < arguments.size() && line.problem.empty(); ++i) {
		const std::string& argument = arguments[i];
		if (argument == "--help" || argument == "-h") {
			line.help = true;
			continue;
		}
		std::string* target = argument == "--sample" ? &line.options.samplePath
		                      : argument == "--plan" ? &line.options.planPath
		                                             : nullptr;
		if (target == nullptr)
			line.problem = "unknown option '" + argument + "'";
		else if (i + 1 >= arguments.size() || arguments[i + 1].empty())
			line.problem = "'" + argument + "' needs a file";
		else
			*target = arguments[++i];
	}
	line.options.samplePath = AbsolutePath(line.options.samplePath);
	line.options.planPath = AbsolutePath(line.options.planPath);
	return line;
}

std::string UsageText(const std::string& program, const DemoOptions& defaults)
{
	return "Usage: " + program +
	       " [--sample FILE] [--plan FILE]\n"
	       "Opens a sample project in the stand-in host, covers every zone with the add-on's engine and prints\n"
	       "one line per zone, the report window's lines and a total; then writes an SVG plan of every story\n"
	       "that holds zones. Relative paths are taken from the current folder.\n"
	       "  --sample FILE  the sample project (default: " +
	       defaults.samplePath +
	       ")\n"
	       "  --plan FILE    where the plan is written (default: " +
	       defaults.planPath +
	       ")\n"
	       "  --help, -h     prints this and exits\n";
}

} // namespace Runner
