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
		std::string* target = argument == "--sample"    ? &line.options.samplePath
		                      : argument == "--plan"    ? &line.options.planPath
		                      : argument == "--palette" ? &line.options.palettePath
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
	line.options.palettePath = AbsolutePath(line.options.palettePath);
	return line;
}

std::string UsageText(const std::string& program, const DemoOptions& defaults)
{
	return "Usage: " + program +
	       " [--sample FILE] [--plan FILE] [--palette FILE]\n"
	       "Loads the add-on into the stand-in host, opens a sample project and works with the add-on's palette\n"
	       "as a user would: shows it from its menu, switches every covering kind on, picks the sample's\n"
	       "favorite for wall coverings, adds coverings to every zone, changes the model and updates them,\n"
	       "removes one zone's coverings and undoes it, closes and reopens the project, and unloads the add-on.\n"
	       "Prints one line per step, with the alerts and one line per zone after Add and Update, the report\n"
	       "window's lines and a total; then writes an SVG plan of every story that holds zones and an SVG\n"
	       "picture of the palette. Relative paths are taken from the current folder.\n"
	       "  --sample FILE   the sample project (default: " +
	       defaults.samplePath +
	       ")\n"
	       "  --plan FILE     where the plan is written (default: " +
	       defaults.planPath +
	       ")\n"
	       "  --palette FILE  where the palette's picture is written (default: " +
	       defaults.palettePath +
	       ")\n"
	       "  --help, -h      prints this and exits\n";
}

} // namespace Runner
