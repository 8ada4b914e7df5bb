#include <functional>
#include <optional>
#include <sstream>

#include "API/Commands.hpp"
#include "CoveringIdentity.hpp"
#include "Coverings.hpp"
#include "ErrorNames.hpp"
#include "HostTest.hpp"
#include "ModelBuilder.hpp"
#include "ResourceIDs.hpp"
#include "RoomCommands.hpp"
#include "RunningSettings.hpp"
#include "SessionControl.hpp"
#include "SettingsBuilder.hpp"
#include "VelmoraPalette.hpp"

using HostControl::Defaults;
using HostControl::Holder;
using ModelBuilder::NewRecord;

namespace {

// A 4 m by 3 m room inside four walls, x metres east of the origin; a room
// without walls gets no wall coverings.
struct Room {
	API_Guid zone;
	std::vector<API_Guid> walls;
};

Room AddRoom(double x, const std::string& number, const std::string& name, bool withWalls = true)
{
	Room room;
	if (withWalls) {
		room.walls = {ModelBuilder::AddWall({x - 0.1, 0}, {x + 4.1, 0}),
		              ModelBuilder::AddWall({x + 4, -0.1}, {x + 4, 3.1}),
		              ModelBuilder::AddWall({x + 4.1, 3}, {x - 0.1, 3}), ModelBuilder::AddWall({x, 3.1}, {x, -0.1})};
	}
	room.zone =
	    ModelBuilder::AddZone(number, {{{{x + 0.1, 0.1}, {x + 3.9, 0.1}, {x + 3.9, 2.9}, {x + 0.1, 2.9}}}}, {}, name);
	HostControl::RoomRelation relation;
	for (std::size_t i = 0; i < room.walls.size(); ++i)
		relation.wallParts.push_back({room.walls[i], static_cast<Int32>(i + 1), 0.2, i % 2 == 0 ? 4.0 : 3.0});
	if (withWalls)
		relation.elementsByType = {{API_WallID, room.walls}};
	HostControl::SetRoomRelation(room.zone, relation);
	return room;
}

CoveringSettings Settings(bool walls, bool summary = true)
{
	CoveringSettings settings;
	settings.wall.enabled = walls;
	settings.wall.toolElement = NewRecord(API_WallID);
	settings.wall.toolElement.wall.thickness = 0.015;
	settings.wall.toolElement.wall.height = 2.5;
	settings.floor.enabled = true;
	settings.floor.toolElement = NewRecord(API_SlabID);
	settings.floor.toolElement.slab.thickness = 0.02;
	settings.timestampProperty = Defaults().lastRunProperty;
	settings.showSummary = summary;
	return settings;
}

std::vector<API_Guid> Zones(const std::vector<Room>& rooms)
{
	std::vector<API_Guid> zones;
	for (const Room& room : rooms)
		zones.push_back(room.zone);
	return zones;
}

API_Guid FloorOf(const Room& room)
{
	for (const HostControl::Link& link : HostControl::LinksFrom(room.zone)) {
		if (link.flags == LinkZoneFloor)
			return link.to;
	}
	return APINULLGuid;
}

bool HasCoverings(const Room& room)
{
	return !HostControl::LinksFrom(room.zone).empty();
}

std::string Text(const GS::UniString& text)
{
	return text.ToCStr().Get();
}

// Each alert as "31110" for an alert resource, or the main text of a fixed alert.
std::vector<std::string> AlertLog()
{
	std::vector<std::string> log;
	for (const HostControl::Alert& alert : HostControl::Alerts())
		log.push_back(alert.kind == "Alert" ? std::to_string(alert.alertId) : Text(alert.texts[0]));
	return log;
}

// The p1 .. p4 of the alert resources shown, in order.
std::vector<std::vector<std::string>> AlertParameters()
{
	std::vector<std::vector<std::string>> shown;
	for (const HostControl::Alert& alert : HostControl::Alerts()) {
		if (alert.kind == "Alert")
			shown.push_back({Text(alert.texts[1]), Text(alert.texts[2]), Text(alert.texts[3]), Text(alert.texts[4])});
	}
	return shown;
}

// Add (without its summary), Update and Remove, as the palette calls them.
const std::vector<std::function<ErrCode()>> allCommands = {[] { return AddVelmora(Settings(true, false)); },
                                                           [] { return UpdateVelmora(Settings(true)); },
                                                           RemoveCoveringsFromSelectedRooms};

const std::string doubleAdd = "Some selected zones already have coverings; they were left as they are.";
const std::string roomStory = "Some selected zones have their top linked to a story; they were left as they are.";
const std::string inconsistent =
    "The coverings of some zones no longer match their walls or columns; those zones were left as they are.";
const std::string favorite = "A favorite chosen in the covering settings is not available.";
const std::string storyLinkSettings = "The top of a covering element in the settings is linked to a story.";
const std::string noRooms = "Select one or more zones first.";

class RoomCommands : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		rooms = {AddRoom(0, "01", "Living"), AddRoom(10, "02", "Study"), AddRoom(20, "03", "Kitchen")};
		HostControl::Select(Zones(rooms));
	}

	std::vector<bool> Covered() const
	{
		std::vector<bool> covered;
		for (const Room& room : rooms)
			covered.push_back(HasCoverings(room));
		return covered;
	}

	// The zones whose floor covering carries the time text.
	std::vector<bool> Stamped(const std::string& time) const
	{
		std::vector<bool> stamped;
		for (const Room& room : rooms) {
			stamped.push_back(SettingsBuilder::ElementText(FloorOf(room), Defaults().lastRunProperty) == time);
		}
		return stamped;
	}

	std::vector<Room> rooms;
};

struct CommandOutcome {
	ErrCode result;
	std::vector<std::string> alerts;
	std::vector<bool> done;
};

// The engine's result for the second of three zones is scripted through the
// one zone read that Add and Update make per zone, and the one link read of Remove.
TEST_F(RoomCommands, EachCommandActsOnTheEnginesResultAsItsTableSays)
{
	const std::vector<bool> first{true, false, false}, skipped{true, false, true};
	struct Row {
		ErrCode engine;
		CommandOutcome add, update;
	};
	const Row rows[] = {
	    {COVERR_SLAB_REF_PLANE_CORE, {COVERR_HANDLED, {"31124"}, first}, {COVERR_HANDLED, {"31124"}, first}},
	    {COVERR_FAV_UNAVAILABLE, {COVERR_HANDLED, {favorite}, first}, {COVERR_HANDLED, {favorite}, first}},
	    {COVERR_DOUBLE_ADD, {NoError, {doubleAdd, "31110"}, skipped}, {COVERR_DOUBLE_ADD, {"31123"}, first}},
	    {COVERR_ZONE_STORY, {NoError, {roomStory, "31110"}, skipped}, {NoError, {roomStory}, skipped}},
	    {COVERR_UPDATE_INCONSISTENCY,
	     {COVERR_UPDATE_INCONSISTENCY, {"31122"}, first},
	     {NoError, {inconsistent}, skipped}},
	    {COVERR_COVFAV_STORY, {NoError, {storyLinkSettings}, first}, {COVERR_COVFAV_STORY, {"31123"}, first}},
	    {APIERR_NOTEDITABLE, {APIERR_NOTEDITABLE, {"31122"}, first}, {APIERR_NOTEDITABLE, {"31123"}, first}},
	};
	const std::vector<std::string> summary{"2026-01-05 09:30:00", "3", "2", "0"};
	for (const Row& row : rows) {
		std::string code = Text(ErrCodeToUniString(row.engine));
		SCOPED_TRACE(code);
		SetUp();
		HostControl::FailCall("ACAPI_Element_GetMemo", 2, row.engine);
		CommandOutcome add{AddVelmora(Settings(true)), AlertLog(), Covered()};
		EXPECT_EQ(add.result, row.add.result);
		EXPECT_EQ(add.alerts, row.add.alerts);
		EXPECT_EQ(add.done, row.add.done);
		std::vector<std::vector<std::string>> shown = AlertParameters();
		EXPECT_TRUE(add.alerts.back() != "31110" || shown.back() == summary) << "a skipped zone is given, not counted";
		EXPECT_TRUE(add.alerts.back() != "31122" || shown.back()[0] == code);

		SetUp();
		ASSERT_EQ(AddVelmora(Settings(true, false)), NoError);
		HostControl::SetClock(1796547723);
		HostControl::FailCall("ACAPI_Element_GetMemo", 2, row.engine);
		CommandOutcome update{UpdateVelmora(Settings(true)), AlertLog(), Stamped("2026-12-06 09:02:03")};
		EXPECT_EQ(update.result, row.update.result);
		EXPECT_EQ(update.alerts, row.update.alerts);
		EXPECT_EQ(update.done, row.update.done);
		EXPECT_TRUE(update.alerts.back() != "31123" || AlertParameters().back()[0] == code);

		HostControl::FailCall("ACAPI_ElementLink_GetLinks", 2, row.engine);
		EXPECT_EQ(RemoveCoveringsFromSelectedRooms(), row.engine) << "Remove stops with every code";
		EXPECT_EQ(Covered(), (std::vector<bool>{false, true, true}));
		EXPECT_EQ(AlertLog(), update.alerts);
		EXPECT_EQ(HostControl::UndoStepNames(),
		          (std::vector<std::string>{"Add Coverings", "Update Coverings", "Remove Coverings"}));
	}
}

TEST_F(RoomCommands, OnceOnlyAlertsInTheirOrderThenTheSummary)
{
	HostControl::AddStory(2, 6.0, "Second floor");
	Room hall = AddRoom(30, "04", "Hall", false);
	API_Element upstairs = *HostControl::GetElement(hall.zone);
	upstairs.header.floorInd = 2;
	HostControl::SetElement(upstairs);
	API_Element storyLinked = *HostControl::GetElement(rooms[0].zone);
	storyLinked.zone.relativeTopStory = 1;
	HostControl::SetElement(storyLinked);
	HostControl::AddLink(rooms[1].zone, rooms[1].walls[0], LinkZoneWall);
	HostControl::Select({rooms[0].zone, rooms[1].zone, hall.zone, rooms[2].zone});
	GetRunningCoveringSettings().showSummary = true;
	StoreRunningCoveringSettings();
	HostControl::ScriptAlertAnswers({1, 1, 3});
	EXPECT_EQ(AddVelmora(Settings(true)), NoError);
	EXPECT_EQ(AlertLog(), (std::vector<std::string>{doubleAdd, roomStory, "31110"}));
	EXPECT_EQ(AlertParameters()[0],
	          (std::vector<std::string>{"2026-01-05 09:30:00", "4", "1",
	                                    "1\n\n\tRoom Name | Room Nr | Floor\n\n\tHall | 04 | 2"}));
	EXPECT_FALSE(GetRunningCoveringSettings().showSummary) << "the third button switches the summary off";
	VelmoraPalette::GetInstance().InitPaletteSettings();
	EXPECT_FALSE(GetRunningCoveringSettings().showSummary) << "and stores the palette's state so";

	SetUp();
	HostControl::Select({AddRoom(30, "04", "Hall", false).zone, rooms[0].zone});
	EXPECT_EQ(AddVelmora(Settings(false)), NoError);
	EXPECT_EQ(AlertParameters()[0][3], "2") << "without wall coverings only the count";

	SetUp();
	ASSERT_EQ(AddVelmora(Settings(true, false)), NoError);
	HostControl::FailCall("ACAPI_Element_GetMemo", 1, COVERR_UPDATE_INCONSISTENCY);
	HostControl::FailCall("ACAPI_Element_GetMemo", 3, COVERR_ZONE_STORY);
	EXPECT_EQ(UpdateVelmora(Settings(true)), NoError);
	EXPECT_EQ(AlertLog(), (std::vector<std::string>{roomStory, inconsistent}));
}

TEST_F(RoomCommands, WithoutZonesNothingRunsAndEmptyRunsMakeTheirUndoStep)
{
	struct Case {
		std::vector<API_Guid> selection;
		bool shared;
		std::vector<short> answers;
		std::vector<std::string> alerts, undoSteps;
	};
	const Case cases[] = {
	    {{}, false, {}, {noRooms, noRooms, noRooms}, {}},
	    {rooms[0].walls, false, {}, {noRooms, noRooms, noRooms}, {}},
	    {Zones(rooms), true, {3, 1, 3, 3}, {"31130", "31110", "31131", "31132"}, {"Add Coverings", "Update Coverings"}},
	    {Zones(rooms), true, {2, 2, 2}, {"31130", "31131", "31132"}, {}},
	};
	const std::vector<std::string> emptySummary{"2026-01-05 09:30:00", "0", "0", "0"};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.alerts.size());
		SetUp(); // the same GUIDs again
		HostControl::Select(c.selection);
		HostControl::SetSharedProject(c.shared);
		HostControl::ScriptAlertAnswers(c.answers);
		EXPECT_EQ(AddVelmora(Settings(true)), NoError);
		EXPECT_EQ(UpdateVelmora(Settings(true)), NoError);
		EXPECT_EQ(RemoveCoveringsFromSelectedRooms(), NoError);
		EXPECT_EQ(AlertLog(), c.alerts);
		EXPECT_EQ(HostControl::UndoStepNames(), c.undoSteps);
		EXPECT_EQ(HostControl::Elements().size(), 15u) << "nothing was made";
		EXPECT_TRUE(c.alerts.size() != 4 || AlertParameters()[1] == emptySummary);
	}
}

// A marquee takes in elements whose type the host cannot tell; they are no
// zones, and the commands go on with the zones.
TEST_F(RoomCommands, ElementsOfAnUnknownTypeInTheSelectionArePassedOver)
{
	HostControl::Select({HostControl::AddElement(NewRecord(API_BeamID)), rooms[0].zone, rooms[2].zone});
	EXPECT_EQ(AddVelmora(Settings(true, false)), NoError);
	EXPECT_EQ(UpdateVelmora(Settings(true)), NoError);
	EXPECT_EQ(Covered(), (std::vector<bool>{true, false, true}));
	EXPECT_EQ(RemoveCoveringsFromSelectedRooms(), NoError);
	EXPECT_EQ(Covered(), std::vector<bool>(3, false));
	EXPECT_EQ(HostControl::UndoStepNames().size(), 3u);
	EXPECT_TRUE(AlertLog().empty());
}

// A host error before the undo step fails the command: Add and Update show
// their failure alert, Remove returns the code for the palette to show, and
// no command runs on part of the selection.
TEST_F(RoomCommands, AHostErrorBeforeTheUndoStepFailsTheCommand)
{
	struct Row {
		const char* function;
		std::vector<std::string> alerts;
	};
	const Row rows[] = {
	    {"ACAPI_Selection_Get", {"31122", "31123"}},
	    {"ACAPI_ElementLink_GetLinkFlags", {"31122", "31123"}},
	    {"ACAPI_Element_Get", {"31122", "31123"}},
	    {"ACAPI_Teamwork_ReserveElements", {"31130", "31122", "31131", "31123", "31132"}},
	};
	for (const Row& row : rows) {
		SCOPED_TRACE(row.function);
		SetUp();
		HostControl::SetSharedProject(true);
		HostControl::AddLink(rooms[0].zone, rooms[0].walls[0], LinkZoneWall);
		for (const auto& command : allCommands) {
			HostControl::FailCall(row.function, 1, APIERR_GENERAL);
			EXPECT_EQ(command(), APIERR_GENERAL);
		}
		EXPECT_EQ(AlertLog(), row.alerts);
		std::vector<std::string> failures;
		for (const HostControl::Alert& alert : HostControl::Alerts()) {
			if (alert.alertId == ID_ALERT_ADD_FAILED || alert.alertId == ID_ALERT_UPDATE_FAILED)
				failures.push_back(Text(alert.texts[1]));
		}
		EXPECT_EQ(failures, std::vector<std::string>(2, "APIERR_GENERAL"));
		EXPECT_TRUE(HostControl::UndoStepNames().empty());
		EXPECT_EQ(HostControl::Elements().size(), 15u) << "nothing was made";
	}
}

TEST_F(RoomCommands, SharedProjectAsksAgainAboutWhatIsStillNotReserved)
{
	HostControl::SetSharedProject(true);
	HostControl::SetHolder(rooms[1].walls[2], Holder::OtherUser);
	HostControl::Select({rooms[0].zone, rooms[1].zone});
	HostControl::ScriptAlertAnswers({1, 1, 3});
	EXPECT_EQ(AddVelmora(Settings(true, false)), NoError);
	EXPECT_EQ(AlertLog(), (std::vector<std::string>{"31130", "31130", "31130"}));
	EXPECT_EQ(AlertParameters()[0][0], "Name: Living | No.: 01\nName: Study | No.: 02\n");
	EXPECT_EQ(AlertParameters()[2][0], "Name: Study | No.: 02\n");
	EXPECT_EQ(HostControl::ReservationRequests().back(), std::vector<API_Guid>{rooms[1].walls[2]})
	    << "asked again, the user reserves only what is still lacking";
	EXPECT_EQ(Covered(), (std::vector<bool>{true, false, false}));
	EXPECT_EQ(HostControl::GetHolder(rooms[1].walls[2]), Holder::OtherUser);

	// Update and Remove also need the zone's coverings.
	HostControl::SetHolder(FloorOf(rooms[0]), Holder::Nobody);
	HostControl::Select({rooms[0].zone});
	HostControl::ScriptAlertAnswers({2, 2});
	EXPECT_EQ(UpdateVelmora(Settings(true)), NoError);
	EXPECT_EQ(RemoveCoveringsFromSelectedRooms(), NoError);
	EXPECT_EQ(AlertLog(), (std::vector<std::string>{"31130", "31130", "31130", "31131", "31132"}));
	EXPECT_EQ(HostControl::UndoStepNames(), std::vector<std::string>{"Add Coverings"}) << "cancel makes no step";

	// Without the reservation step the host refuses to touch what the user does not hold.
	std::optional<CovResult<CoveringsCreated>> added;
	ACAPI_CallUndoableCommand("Add Coverings", [&] {
		added.emplace(AddCoveringsToRoom(rooms[2].zone, Settings(true), "now"));
		return added->Error();
	});
	EXPECT_EQ(added->Error(), APIERR_NOTMINE);
	for (const API_Guid& wall : rooms[2].walls)
		EXPECT_TRUE(HostControl::LinksFrom(wall).empty());
}

// In a shared project each command asks the user to hold the zone, its related
// elements of the types the command changes, in their order, and the targets
// of the links it changes.
TEST_F(RoomCommands, EachCommandReservesWhatItChanges)
{
	CoveringSettings wallsAndDoors = Settings(true), columnsAndWindows = Settings(false);
	wallsAndDoors.wall.doorHoles.enabled = true;
	columnsAndWindows.wall.columnCoverings = columnsAndWindows.wall.windowHoles.enabled = true;
	struct Row {
		std::function<ErrCode()> command;
		std::vector<std::size_t> reserved; // indices into the zone and its elements below
	};
	const Row rows[] = {
	    {[&] { return AddVelmora(wallsAndDoors); }, {0, 1, 4}},
	    {[&] { return AddVelmora(columnsAndWindows); }, {0, 2, 3}},
	    {[] { return UpdateVelmora(Settings(false)); }, {0, 1, 2, 3, 4, 6, 7, 8}},
	    {RemoveCoveringsFromSelectedRooms, {0, 6, 7, 8}},
	};
	for (const Row& row : rows) {
		SetUp();
		const API_Guid& zone = rooms[0].zone;
		// The zone, its wall, column, window and door, and link targets with flags 1, 2, 6, 7 and 8.
		std::vector<API_Guid> elements{zone, rooms[0].walls[0], HostControl::AddElement(NewRecord(API_ColumnID)),
		                               ModelBuilder::AddOpening(API_WindowID, rooms[0].walls[1], 1.0),
		                               ModelBuilder::AddOpening(API_DoorID, rooms[0].walls[2], 1.0)};
		HostControl::SetRoomRelation(zone, {{},
		                                    {{API_WallID, {elements[1]}},
		                                     {API_ColumnID, {elements[2]}},
		                                     {API_WindowID, {elements[3]}},
		                                     {API_DoorID, {elements[4]}}},
		                                    {}});
		for (UInt32 flag : {LinkZoneWall, LinkZoneCovering, LinkZoneCeiling, LinkZoneFloor, LinkZoneColumn}) {
			elements.push_back(ModelBuilder::AddWall({0, 5.0 + flag}, {1, 5.0 + flag}));
			HostControl::AddLink(zone, elements.back(), flag);
		}
		HostControl::SetSharedProject(true);
		HostControl::SetHolder(zone, Holder::OtherUser); // so that the user is asked again, and cancels
		HostControl::Select({zone});
		HostControl::ScriptAlertAnswers({1, 2});
		EXPECT_EQ(row.command(), NoError);
		std::vector<API_Guid> expected;
		for (std::size_t index : row.reserved)
			expected.push_back(elements[index]);
		EXPECT_EQ(HostControl::ReservationRequests(), std::vector<std::vector<API_Guid>>{expected});
	}
}

// Everything an undo step must restore, as text.
std::string ModelImage()
{
	std::ostringstream image;
	for (const API_Guid& guid : HostControl::Elements()) {
		API_Element record = *HostControl::GetElement(guid);
		image << std::string(reinterpret_cast<const char*>(&record), sizeof(record))
		      << HostControl::GetUserData(guid).has_value()
		      << SettingsBuilder::ElementText(guid, Defaults().lastRunProperty).value_or("-")
		      << HostControl::GetElementPCC(guid).classificationItems.size()
		      << HostControl::GroupMembers(record.header.groupGuid).size() << '\n';
	}
	for (const HostControl::Link& link : HostControl::Links())
		image << APIGuidToString(link.from).ToCStr().Get() << APIGuidToString(link.to).ToCStr().Get() << link.flags;
	return image.str();
}

TEST_F(RoomCommands, UndoingEachCommandRestoresTheModelExactly)
{
	GSTime clock = 1796547723;
	for (const auto& command : allCommands) {
		std::string before = ModelImage();
		HostControl::SetClock(++clock);
		ASSERT_EQ(command(), NoError);
		ASSERT_NE(ModelImage(), before);
		ASSERT_TRUE(HostControl::UndoLastCommand());
		EXPECT_EQ(ModelImage(), before);
		ASSERT_EQ(command(), NoError) << "the command runs again on the restored model";
	}
}

} // namespace
