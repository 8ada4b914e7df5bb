#include "Demo.hpp"

#include <iomanip>
#include <ostream>

#include "API/Commands.hpp"
#include "OutputFile.hpp"
#include "PlanSvg.hpp"

namespace Runner {

namespace {

std::string ElementCounts()
{
	const std::pair<API_ElemTypeID, const char*> kinds[] = {{API_ZoneID, "zones"},
	                                                        {API_WallID, "walls"},
	                                                        {API_ColumnID, "columns"},
	                                                        {API_DoorID, "doors"},
	                                                        {API_WindowID, "windows"}};
	std::string counts;
	for (const auto& [type, name] : kinds)
		counts += (counts.empty() ? "" : ", ") + std::to_string(HostControl::Elements(type).size()) + " " + name;
	return counts;
}

void SelectEveryZone(const LoadedProject& project)
{
	std::vector<API_Guid> zones;
	for (const LoadedZone& zone : project.zones)
		zones.push_back(zone.guid);
	HostControl::Select(zones);
}

std::size_t CoverEveryZone(const LoadedProject& project, const ZoneStep& coverZone, const Clock& clock,
                           std::ostream& out, std::ostream& errors)
{
	ProgressLine progress(project.zones.size(), clock, errors);
	std::size_t covered = 0;
	std::size_t done = 0;
	for (const LoadedZone& zone : project.zones) {
		ZoneOutcome outcome = coverZone(zone);
		covered += outcome.covered ? 1 : 0;
		out << "  " << std::left << std::setw(6) << zone.number << std::setw(16) << zone.name << std::right
		    << std::setw(2) << zone.wallParts << " wall parts   " << outcome.text << "\n";
		progress.Done(++done);
	}
	return covered;
}

void PrintReportWindow(std::ostream& out)
{
	std::vector<HostControl::ReportLine> lines = HostControl::ReportLines();
	out << "Report window:" << (lines.empty() ? " (empty)" : "") << "\n";
	for (const HostControl::ReportLine& line : lines)
		out << "  " << line.text << "\n";
}

} // namespace

int RunDemo(const DemoOptions& options, const LibraryPartLookup& libraryParts, const ZoneStep& coverZone,
            std::ostream& out, std::ostream& errors)
{
	if (std::string problem = OutputPathProblem(options.planPath, options.samplePath); !problem.empty()) {
		errors << "Cannot write the plan: " << problem << "\n";
		return 1;
	}
	LoadResult loaded = LoadSampleProject(options.samplePath, libraryParts);
	if (!loaded.project) {
		errors << "Cannot open the sample project: " << loaded.message << "\n";
		return 1;
	}
	const LoadedProject& project = *loaded.project;
	out << "Opened " << options.samplePath << ": " << project.name << ", " << ElementCounts() << "\n";
	SelectEveryZone(project);
	std::size_t covered = 0;
	ACAPI_CallUndoableCommand("Add Coverings", [&] {
		covered = CoverEveryZone(project, coverZone, options.clock, out, errors);
		return NoError;
	});
	PrintReportWindow(out);
	std::set<API_Guid> made = ElementsAddedSince(project);
	out << "Total: " << covered << " of " << project.zones.size() << " zones covered, " << made.size()
	    << " elements made\n";

	std::string error;
	if (!WriteTextFile(options.planPath, PlanSvg(made, {project.name}), error)) {
		errors << "Cannot write the plan: " << error << "\n";
		return 1;
	}
	out << "Plan: " << options.planPath << "\n";
	return 0;
}

} // namespace Runner
