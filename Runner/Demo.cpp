#include "Demo.hpp"

#include <cmath>
#include <iomanip>
#include <ostream>

#include "API/Commands.hpp"
#include "API/ElementFunctions.hpp"
#include "DialogControl.hpp"
#include "OutputFile.hpp"
#include "PaletteUser.hpp"
#include "PlanSvg.hpp"

namespace Runner {

const char* const addOnFile = "/Host/Add-Ons/Velmora/Velmora.bundle";
const char* const addOnLibraryFolder = "/Host/Add-Ons/Velmora/Lumeric Bibliothek";
const char* const wallCoveringFavorite = "Plaster lining 15 mm";

namespace {

// The model change between Add and Update: a wall moved aside, an opening deleted.
const char* const movedWallId = "wall-bedroom-bath";
const char* const deletedDoorId = "door-hall-bath";
constexpr double wallMove = 0.1;

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

std::string ZoneName(const LoadedZone& zone)
{
	return zone.number + " " + zone.name;
}

void SelectZones(const std::vector<LoadedZone>& zones)
{
	std::vector<API_Guid> guids;
	for (const LoadedZone& zone : zones)
		guids.push_back(zone.guid);
	HostControl::Select(guids);
}

// One line per zone with what it has; returns how many have coverings.
std::size_t TellZones(const LoadedProject& project, const AddOnUnderTest& addOn, const Clock& clock, std::ostream& out,
                      std::ostream& errors)
{
	ProgressLine progress(project.zones.size(), clock, errors);
	std::size_t covered = 0;
	std::size_t done = 0;
	for (const LoadedZone& zone : project.zones) {
		ZoneOutcome outcome = addOn.describeZone(zone);
		covered += outcome.covered ? 1 : 0;
		out << "  " << std::left << std::setw(6) << zone.number << std::setw(16) << zone.name << std::right
		    << std::setw(2) << zone.wallParts << " wall parts   " << outcome.text << "\n";
		progress.Done(++done);
	}
	return covered;
}

struct ElementToChange {
	API_Guid guid;
	std::string name;
};

// The sample's element of that id, or else its first element of the type, named by its own id.
std::optional<ElementToChange> FindElementToChange(const LoadedProject& project, const char* id, API_ElemTypeID type)
{
	auto found = project.byId.find(id);
	if (found != project.byId.end())
		return ElementToChange{found->second, id};
	std::vector<API_Guid> elements = HostControl::Elements(type);
	if (elements.empty())
		return std::nullopt;
	for (const auto& [name, guid] : project.byId) {
		if (guid == elements.front())
			return ElementToChange{guid, name};
	}
	return std::nullopt;
}

std::string ResultText(GSErrCode result)
{
	return result == NoError ? std::string() : " (refused: error " + std::to_string(result) + ")";
}

// Moves the wall across its own direction, as a user drags it aside: the
// host updates the zones it bounds.
void MoveWall(const ElementToChange& moved, std::ostream& out)
{
	GSErrCode result = ACAPI_CallUndoableCommand("Move Wall", [&] {
		API_Element wall = *HostControl::GetElement(moved.guid);
		double dx = wall.wall.endC.x - wall.wall.begC.x;
		double dy = wall.wall.endC.y - wall.wall.begC.y;
		double length = std::hypot(dx, dy);
		if (length == 0.0)
			return APIERR_BADPARS;
		return HostControl::MoveWall(moved.guid, {dy / length * wallMove, -dx / length * wallMove});
	});
	out << "Moved the wall " << moved.name << " " << wallMove << " m aside" << ResultText(result) << "\n";
}

void DeleteOpening(const ElementToChange& deleted, std::ostream& out)
{
	GSErrCode result = ACAPI_CallUndoableCommand("Delete Door", [&] {
		GS::Array<API_Guid> doomed;
		doomed.Push(deleted.guid);
		return ACAPI_Element_Delete(doomed);
	});
	out << "Deleted the door " << deleted.name << ResultText(result) << "\n";
}

void ChangeModel(const LoadedProject& project, std::ostream& out)
{
	if (std::optional<ElementToChange> wall = FindElementToChange(project, movedWallId, API_WallID))
		MoveWall(*wall, out);
	if (std::optional<ElementToChange> door = FindElementToChange(project, deletedDoorId, API_DoorID))
		DeleteOpening(*door, out);
}

// Removes the coverings of the first zone that has any, then undoes it.
void RemoveAndUndo(const LoadedProject& project, const AddOnUnderTest& addOn, PaletteUser& user, std::ostream& out)
{
	for (const LoadedZone& zone : project.zones) {
		if (!addOn.describeZone(zone).covered)
			continue;
		SelectZones({zone});
		std::size_t before = HostControl::Elements().size();
		user.ClickButton(PaletteItem::removeButton, "Selected zone " + ZoneName(zone));
		std::size_t after = HostControl::Elements().size();
		out << "  " << before - after << " elements removed; zone " << zone.number << " has "
		    << addOn.describeZone(zone).text << "\n";
		std::vector<std::string> steps = HostControl::UndoStepNames();
		HostControl::UndoLastCommand();
		out << "Chose Undo \"" << (steps.empty() ? std::string() : steps.back())
		    << "\": " << HostControl::Elements().size() - after << " elements back; zone " << zone.number << " has "
		    << addOn.describeZone(zone).text << "\n";
		return;
	}
}

void TellUndoSteps(std::ostream& out)
{
	std::vector<std::string> steps;
	for (const std::string& step : HostControl::UndoStepNames())
		steps.push_back("\"" + step + "\"");
	out << "Undo steps: " << Listed(steps) << "\n";
}

void CloseAndReopen(std::ostream& out)
{
	HostControl::CloseProject();
	out << "Closed the project: the palette shows " << Listed(PaletteUser::SwitchedOn()) << " on\n";
	GSErrCode result = HostControl::OpenProject();
	out << "Opened it again: the palette shows " << Listed(PaletteUser::SwitchedOn()) << " on, as stored in the project"
	    << ResultText(result) << "\n";
}

void PrintReportWindow(std::ostream& out)
{
	std::vector<HostControl::ReportLine> lines = HostControl::ReportLines();
	out << "Report window:" << (lines.empty() ? " (empty)" : "") << "\n";
	for (const HostControl::ReportLine& line : lines)
		out << "  " << line.text << "\n";
}

struct Picture {
	const char* label; // of the printed path
	const char* what;  // in the error
	std::string path;
	std::string text;
};

bool WritePicture(const Picture& picture, std::ostream& out, std::ostream& errors)
{
	std::string error;
	if (!WriteTextFile(picture.path, picture.text, error)) {
		errors << "Cannot write the " << picture.what << ": " << error << "\n";
		return false;
	}
	out << picture.label << ": " << picture.path << "\n";
	return true;
}

std::string PalettePicture()
{
	std::optional<HostControl::PanelState> palette = HostControl::ModelessPanel(paletteResource);
	return palette.has_value() ? HostControl::PanelPicture(*palette) : std::string();
}

// The add-on installed and loaded; false when the host did not load it.
bool LoadAddOn(const AddOnUnderTest& addOn, std::ostream& out, std::ostream& errors)
{
	HostControl::SetAddOnLocation(addOnFile);
	HostControl::AddFolder(addOnLibraryFolder);
	HostControl::LoadResult load = HostControl::LoadAddOn(addOn.entryPoints);
	if (!load.loaded) {
		errors << "The host did not load the add-on\n";
		return false;
	}
	out << "Loaded the add-on " << load.name << ": " << load.description << "\n";
	return true;
}

} // namespace

int RunDemo(const DemoOptions& options, const LibraryPartLookup& libraryParts, const AddOnUnderTest& addOn,
            std::ostream& out, std::ostream& errors)
{
	for (const auto& [what, path] : {std::pair{"plan", &options.planPath}, {"palette picture", &options.palettePath}}) {
		if (std::string problem = OutputPathProblem(*path, options.samplePath); !problem.empty()) {
			errors << "Cannot write the " << what << ": " << problem << "\n";
			return 1;
		}
	}
	LoadResult loaded = LoadSampleProject(options.samplePath, libraryParts);
	if (!loaded.project) {
		errors << "Cannot open the sample project: " << loaded.message << "\n";
		return 1;
	}
	if (!LoadAddOn(addOn, out, errors))
		return 1;
	const LoadedProject& project = *loaded.project;
	GSErrCode opened = HostControl::OpenProject();
	out << "Opened " << options.samplePath << ": " << project.name << ", " << ElementCounts()
	    << "; its libraries: " << Listed(HostControl::ProjectLibraries()) << ResultText(opened) << "\n";

	PaletteUser user(out);
	user.ChooseMenuItem();
	for (short check : {PaletteItem::columnCoveringsCheck, PaletteItem::doorHolesCheck, PaletteItem::windowHolesCheck,
	                    PaletteItem::ceilingCheck, PaletteItem::floorCheck, PaletteItem::floorInsetsCheck})
		user.ToggleCheck(check);
	user.PickFavorite(wallCoverings, wallCoveringFavorite);
	user.ToggleRunSetting(summaryCheck);

	const std::string everyZone = "Selected all " + std::to_string(project.zones.size()) + " zones";
	SelectZones(project.zones);
	user.ClickButton(PaletteItem::addButton, everyZone);
	TellZones(project, addOn, options.clock, out, errors);
	ChangeModel(project, out);
	SelectZones(project.zones);
	user.ClickButton(PaletteItem::updateButton, everyZone);
	std::size_t covered = TellZones(project, addOn, options.clock, out, errors);
	RemoveAndUndo(project, addOn, user, out);
	TellUndoSteps(out);
	CloseAndReopen(out);

	PrintReportWindow(out);
	std::set<API_Guid> made = ElementsAddedSince(project);
	out << "Total: " << covered << " of " << project.zones.size() << " zones covered, " << made.size()
	    << " elements made\n";
	bool written = WritePicture({"Plan", "plan", options.planPath, PlanSvg(made, {project.name})}, out, errors) &&
	               WritePicture({"Palette", "palette picture", options.palettePath, PalettePicture()}, out, errors);
	HostControl::UnloadAddOn();
	out << "Unloaded the add-on\n";
	return written ? 0 : 1;
}

} // namespace Runner
