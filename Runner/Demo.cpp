#include "Demo.hpp"

#include <cmath>
#include <iomanip>
#include <ostream>
#include <unordered_map>

#include "API/Commands.hpp"
#include "API/ElementFunctions.hpp"
#include "CommandProgress.hpp"
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
	const std::pair<API_ElemTypeID, const char*> kinds[] = {{API_ZoneID, "zone"},
	                                                        {API_WallID, "wall"},
	                                                        {API_ColumnID, "column"},
	                                                        {API_DoorID, "door"},
	                                                        {API_WindowID, "window"}};
	std::vector<std::string> counts;
	for (const auto& [type, name] : kinds)
		counts.push_back(Counted(HostControl::Elements(type).size(), name));
	return Listed(counts);
}

std::string ZoneName(const LoadedZone& zone)
{
	return Printable(zone.number + " " + zone.name);
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
	ProgressLine progress(clock, errors);
	std::size_t covered = 0;
	std::size_t done = 0;
	for (const LoadedZone& zone : project.zones) {
		ZoneOutcome outcome = addOn.describeZone(zone);
		covered += outcome.covered ? 1 : 0;
		out << "  " << std::left << std::setw(6) << Printable(zone.number) << std::setw(16) << Printable(zone.name)
		    << std::right << std::setw(2) << zone.wallParts << " wall parts   " << outcome.text << "\n";
		++done;
		if (progress.Due())
			progress.Tell("Covered " + std::to_string(done) + " of " + std::to_string(project.zones.size()) + " zones");
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
	out << "Moved the wall " << Printable(moved.name) << " " << wallMove << " m aside" << ResultText(result) << "\n";
}

void DeleteOpening(const ElementToChange& deleted, std::ostream& out)
{
	GSErrCode result = ACAPI_CallUndoableCommand("Delete Door", [&] {
		GS::Array<API_Guid> doomed;
		doomed.Push(deleted.guid);
		return ACAPI_Element_Delete(doomed);
	});
	out << "Deleted the door " << Printable(deleted.name) << ResultText(result) << "\n";
}

void ChangeModel(const LoadedProject& project, std::ostream& out)
{
	if (std::optional<ElementToChange> wall = FindElementToChange(project, movedWallId, API_WallID))
		MoveWall(*wall, out);
	if (std::optional<ElementToChange> door = FindElementToChange(project, deletedDoorId, API_DoorID))
		DeleteOpening(*door, out);
}

// Clicks a room command's button over the selected zones, telling on `errors` how far it has got while it runs.
void ClickRoomCommand(PaletteUser& user, short button, const std::string& selected,
                      const std::vector<LoadedZone>& zones, const Clock& clock, std::ostream& errors)
{
	CommandProgress progress(PaletteUser::ItemText(button), zones, clock, errors);
	user.ClickButton(button, selected);
}

// Removes the coverings of the first zone that has any, then undoes it.
void RemoveAndUndo(const LoadedProject& project, const AddOnUnderTest& addOn, PaletteUser& user, const Clock& clock,
                   std::ostream& out, std::ostream& errors)
{
	for (const LoadedZone& zone : project.zones) {
		if (!addOn.describeZone(zone).covered)
			continue;
		SelectZones({zone});
		std::size_t before = HostControl::Elements().size();
		ClickRoomCommand(user, PaletteItem::removeButton, "Selected zone " + ZoneName(zone), {zone}, clock, errors);
		std::size_t after = HostControl::Elements().size();
		out << "  " << Counted(before - after, "element") << " removed; zone " << Printable(zone.number) << " has "
		    << addOn.describeZone(zone).text << "\n";
		std::vector<std::string> steps = HostControl::UndoStepNames();
		HostControl::UndoLastCommand();
		out << "Chose Undo \"" << (steps.empty() ? std::string() : steps.back())
		    << "\": " << Counted(HostControl::Elements().size() - after, "element") << " back; zone "
		    << Printable(zone.number) << " has " << addOn.describeZone(zone).text << "\n";
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
	// A line the add-on writes for each of many elements is told once, with its count.
	std::vector<std::pair<std::string, std::size_t>> lines;
	std::unordered_map<std::string, std::size_t> places;
	for (const HostControl::ReportLine& line : HostControl::ReportLines()) {
		auto [place, added] = places.try_emplace(line.text, lines.size());
		if (added)
			lines.emplace_back(line.text, 0);
		++lines[place->second].second;
	}
	out << "Report window:" << (lines.empty() ? " (empty)" : "") << "\n";
	for (const auto& [text, count] : lines)
		out << "  " << Printable(text) << (count > 1 ? " (" + std::to_string(count) + " times)" : "") << "\n";
}

struct Picture {
	const char* label; // of the printed path
	const char* what;  // in the error
	std::string path;  // as given
	std::string file;  // as checked
	std::string text;
};

bool WritePicture(const Picture& picture, std::ostream& out, std::ostream& errors)
{
	std::string error;
	if (!WriteTextFile(picture.file, picture.text, error)) {
		errors << "Cannot write the " << picture.what << ": " << error << "\n";
		return false;
	}
	out << picture.label << ": " << picture.path << "\n";
	return true;
}

std::string DrawPlan(const std::set<API_Guid>& coverings, const std::string& title, const Clock& clock,
                     std::ostream& errors)
{
	ProgressLine line(clock, errors);
	auto tell = [&line](std::size_t drawn, std::size_t total) {
		if (line.Due())
			line.Tell("Drawing the plan: " + std::to_string(100 * drawn / total) + " %");
	};
	return PlanSvg(coverings, {title}, tell);
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
	const KeptFile sample{options.samplePath, "is the sample file itself"};
	OutputTarget plan = CheckOutputPath(options.planPath, {sample});
	OutputTarget palette = CheckOutputPath(options.palettePath, {sample, {plan.file, "is the plan's file too"}});
	for (const auto& [what, target] : {std::pair{"plan", &plan}, {"palette picture", &palette}}) {
		if (!target->problem.empty()) {
			errors << "Cannot write the " << what << ": " << target->problem << "\n";
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
	out << "Opened " << options.samplePath << ": " << Printable(project.name) << ", " << ElementCounts()
	    << "; its libraries: " << Listed(HostControl::ProjectLibraries()) << ResultText(opened) << "\n";

	PaletteUser user(out);
	user.ChooseMenuItem();
	for (short check : {PaletteItem::columnCoveringsCheck, PaletteItem::doorHolesCheck, PaletteItem::windowHolesCheck,
	                    PaletteItem::ceilingCheck, PaletteItem::floorCheck, PaletteItem::floorInsetsCheck})
		user.ToggleCheck(check);
	user.PickFavorite(wallCoverings, wallCoveringFavorite);
	user.ToggleRunSetting(summaryCheck);

	const std::string everyZone = project.zones.size() == 1
	                                  ? "Selected the only zone"
	                                  : "Selected all " + std::to_string(project.zones.size()) + " zones";
	SelectZones(project.zones);
	ClickRoomCommand(user, PaletteItem::addButton, everyZone, project.zones, options.clock, errors);
	TellZones(project, addOn, options.clock, out, errors);
	ChangeModel(project, out);
	SelectZones(project.zones);
	ClickRoomCommand(user, PaletteItem::updateButton, everyZone, project.zones, options.clock, errors);
	std::size_t covered = TellZones(project, addOn, options.clock, out, errors);
	RemoveAndUndo(project, addOn, user, options.clock, out, errors);
	TellUndoSteps(out);
	CloseAndReopen(out);

	PrintReportWindow(out);
	std::set<API_Guid> made = ElementsAddedSince(project);
	out << "Total: " << covered << " of " << project.zones.size() << " zones covered, "
	    << Counted(made.size(), "element") << " made\n";
	bool written =
	    WritePicture({"Plan", "plan", options.planPath, plan.file, DrawPlan(made, project.name, options.clock, errors)},
	                 out, errors) &&
	    WritePicture({"Palette", "palette picture", options.palettePath, palette.file, PalettePicture()}, out, errors);
	HostControl::UnloadAddOn();
	out << "Unloaded the add-on\n";
	return written ? 0 : 1;
}

} // namespace Runner
