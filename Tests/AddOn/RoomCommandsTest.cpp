#include <functional>
#include <optional>
#include <sstream>

#include "API/Commands.hpp"
#include "CoveringIdentity.hpp"
#include "Coverings.hpp"
#include "ErrorNames.hpp"
#include "HostTest.hpp"
#include "ModelBuilder.hpp"
#include "RoomCommands.hpp"
#include "RunningSettings.hpp"
#include "SessionControl.hpp"
#include "SettingsBuilder.hpp"

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

const std::string doubleAdd = "Some selected zones already have coverings; they were left as they are.";
const std::string roomStory = "Some selected zones have their top linked to a story; they were left as they are.";
const std::string inconsistent =
    "The coverings of some zones no longer match their walls or columns; those zones were left as they are.";
const std::string favUnavailable = "A favorite chosen in the covering settings is not available.";
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

// The engine's result for the second zone is scripted through the one zone
// read that Add and Update make per zone.
void FailSecondZone(ErrCode code)
{
	HostControl::FailCall("ACAPI_Element_GetMemo", 2, code);
}

struct ErrorRow {
	ErrCode engineResult;
	ErrCode commandResult;
	std::vector<std::string> alerts;
	std::vector<bool> done;
};

TEST_F(RoomCommands, AddActsOnEachEngineResultAsItsTableSays)
{
	const ErrorRow rows[] = {
	    {COVERR_SLAB_REF_PLANE_CORE, COVERR_HANDLED, {"31124"}, {true, false, false}},
	    {COVERR_FAV_UNAVAILABLE, COVERR_HANDLED, {favUnavailable}, {true, false, false}},
	    {COVERR_DOUBLE_ADD, NoError, {doubleAdd, "31110"}, {true, false, true}},
	    {COVERR_ZONE_STORY, NoError, {roomStory, "31110"}, {true, false, true}},
	    {COVERR_UPDATE_INCONSISTENCY, COVERR_UPDATE_INCONSISTENCY, {"31122"}, {true, false, false}},
	    {COVERR_COVFAV_STORY, NoError, {storyLinkSettings}, {true, false, false}},
	    {APIERR_NOTEDITABLE, APIERR_NOTEDITABLE, {"31122"}, {true, false, false}},
	};
	for (const ErrorRow& row : rows) {
		SCOPED_TRACE(Text(ErrCodeToUniString(row.engineResult)));
		SetUp();
		FailSecondZone(row.engineResult);
		EXPECT_EQ(AddVelmora(Settings(true)), row.commandResult);
		EXPECT_EQ(AlertLog(), row.alerts);
		EXPECT_EQ(Covered(), row.done);
		EXPECT_EQ(HostControl::UndoStepNames(), std::vector<std::string>{"Add Coverings"});
		if (row.alerts.back() == "31122") {
			EXPECT_EQ(AlertParameters().back()[0], Text(ErrCodeToUniString(row.engineResult)));
		}
		if (row.alerts.back() == "31110") {
			EXPECT_EQ(AlertParameters().back(), (std::vector<std::string>{"2026-01-05 09:30:00", "3", "2", "0"}))
			    << "a skipped zone is given to the run but neither counted nor listed";
		}
	}
}

TEST_F(RoomCommands, UpdateActsOnEachEngineResultAsItsTableSays)
{
	const ErrorRow rows[] = {
	    {COVERR_SLAB_REF_PLANE_CORE, COVERR_HANDLED, {"31124"}, {true, false, false}},
	    {COVERR_FAV_UNAVAILABLE, COVERR_HANDLED, {favUnavailable}, {true, false, false}},
	    {COVERR_DOUBLE_ADD, COVERR_DOUBLE_ADD, {"31123"}, {true, false, false}},
	    {COVERR_ZONE_STORY, NoError, {roomStory}, {true, false, true}},
	    {COVERR_UPDATE_INCONSISTENCY, NoError, {inconsistent}, {true, false, true}},
	    {COVERR_COVFAV_STORY, COVERR_COVFAV_STORY, {"31123"}, {true, false, false}},
	    {APIERR_NOTEDITABLE, APIERR_NOTEDITABLE, {"31123"}, {true, false, false}},
	};
	for (const ErrorRow& row : rows) {
		SCOPED_TRACE(Text(ErrCodeToUniString(row.engineResult)));
		SetUp();
		ASSERT_EQ(AddVelmora(Settings(true, false)), NoError);
		HostControl::SetClock(1796547723);
		HostControl::ResetCallCounts();
		FailSecondZone(row.engineResult);
		EXPECT_EQ(UpdateVelmora(Settings(true)), row.commandResult);
		EXPECT_EQ(AlertLog(), row.alerts);
		EXPECT_EQ(Stamped("2026-12-06 09:02:03"), row.done);
		EXPECT_EQ(HostControl::UndoStepNames(), (std::vector<std::string>{"Add Coverings", "Update Coverings"}));
		if (row.alerts.back() == "31123") {
			EXPECT_EQ(AlertParameters().back()[0], Text(ErrCodeToUniString(row.engineResult)));
		}
	}
}

TEST_F(RoomCommands, RemoveStopsAtTheFirstFailureWithItsCode)
{
	for (ErrCode code : {COVERR_SLAB_REF_PLANE_CORE, COVERR_FAV_UNAVAILABLE, COVERR_DOUBLE_ADD, COVERR_ZONE_STORY,
	                     COVERR_UPDATE_INCONSISTENCY, COVERR_COVFAV_STORY, APIERR_NOTEDITABLE}) {
		SCOPED_TRACE(Text(ErrCodeToUniString(code)));
		SetUp();
		ASSERT_EQ(AddVelmora(Settings(true, false)), NoError);
		// Remove reads each zone's links once, first.
		HostControl::FailCall("ACAPI_ElementLink_GetLinks", 2, code);
		EXPECT_EQ(RemoveCoveringsFromSelectedRooms(), code);
		EXPECT_TRUE(HostControl::Alerts().empty());
		EXPECT_EQ(Covered(), (std::vector<bool>{false, true, true}));
		EXPECT_EQ(HostControl::UndoStepNames(), (std::vector<std::string>{"Add Coverings", "Remove Coverings"}));
	}
}

TEST_F(RoomCommands, OnceOnlyAlertsComeAfterTheLoopInTheirOrder)
{
	API_Element storyLinked = *HostControl::GetElement(rooms[0].zone);
	storyLinked.zone.relativeTopStory = 1;
	HostControl::SetElement(storyLinked);
	HostControl::AddLink(rooms[1].zone, rooms[1].walls[0], LinkZoneWall);
	EXPECT_EQ(AddVelmora(Settings(true)), NoError);
	EXPECT_EQ(AlertLog(), (std::vector<std::string>{doubleAdd, roomStory, "31110"}));
	EXPECT_EQ(AlertParameters()[0], (std::vector<std::string>{"2026-01-05 09:30:00", "3", "1", "0"}));

	SetUp();
	ASSERT_EQ(AddVelmora(Settings(true, false)), NoError);
	HostControl::FailCall("ACAPI_Element_GetMemo", 1, COVERR_UPDATE_INCONSISTENCY);
	HostControl::FailCall("ACAPI_Element_GetMemo", 3, COVERR_ZONE_STORY);
	EXPECT_EQ(UpdateVelmora(Settings(true)), NoError);
	EXPECT_EQ(AlertLog(), (std::vector<std::string>{roomStory, inconsistent}));
}

TEST_F(RoomCommands, SummaryCountsTheZonesAndListsThoseWithoutWallCoverings)
{
	struct Case {
		const char* what;
		bool walls;
		short answer;
		std::vector<std::string> parameters;
	};
	const Case cases[] = {
	    {"a zone without walls is listed",
	     true,
	     1,
	     {"2026-01-05 09:30:00", "4", "3", "1\n\n\tRoom Name | Room Nr | Floor\n\n\tHall | 04 | 2"}},
	    {"wall coverings off: only the count", false, 3, {"2026-01-05 09:30:00", "4", "0", "4"}},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		SetUp();
		HostControl::AddStory(2, 6.0, "Second floor");
		Room hall = AddRoom(30, "04", "Hall", false);
		API_Element upstairs = *HostControl::GetElement(hall.zone);
		upstairs.header.floorInd = 2;
		HostControl::SetElement(upstairs);
		HostControl::Select({rooms[0].zone, rooms[1].zone, hall.zone, rooms[2].zone});
		GetRunningCoveringSettings().showSummary = true;
		HostControl::ScriptAlertAnswers({c.answer});
		EXPECT_EQ(AddVelmora(Settings(c.walls)), NoError);
		ASSERT_EQ(AlertParameters().size(), 1u);
		EXPECT_EQ(AlertParameters()[0], c.parameters);
		EXPECT_EQ(GetRunningCoveringSettings().showSummary, c.answer != 3) << "the third button switches it off";
	}
}

TEST_F(RoomCommands, WithoutZonesNothingRunsAndEmptyRunsMakeTheirUndoStep)
{
	struct Case {
		const char* what;
		std::vector<API_Guid> selection;
		bool shared;
		std::vector<short> answers;
		std::vector<std::string> alerts;
		std::vector<std::string> undoSteps;
	};
	const Case cases[] = {
	    {"nothing selected", {}, false, {}, {noRooms, noRooms, noRooms}, {}},
	    {"walls only", {}, false, {}, {noRooms, noRooms, noRooms}, {}},
	    {"going on with no zone reserved",
	     {},
	     true,
	     {3, 1, 3, 3},
	     {"31130", "31110", "31131", "31132"},
	     {"Add Coverings", "Update Coverings"}},
	    {"cancelling the reservation", {}, true, {2, 2, 2}, {"31130", "31131", "31132"}, {}},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		SetUp();
		std::string what = c.what;
		HostControl::Select(what == "nothing selected" ? std::vector<API_Guid>{}
		                    : what == "walls only"     ? rooms[0].walls
		                                               : Zones(rooms));
		HostControl::SetSharedProject(c.shared);
		HostControl::ScriptAlertAnswers(c.answers);
		EXPECT_EQ(AddVelmora(Settings(true)), NoError);
		EXPECT_EQ(UpdateVelmora(Settings(true)), NoError);
		EXPECT_EQ(RemoveCoveringsFromSelectedRooms(), NoError);
		EXPECT_EQ(AlertLog(), c.alerts);
		EXPECT_EQ(HostControl::UndoStepNames(), c.undoSteps);
		EXPECT_EQ(Covered(), (std::vector<bool>{false, false, false}));
		if (c.alerts.size() == 4) {
			EXPECT_EQ(AlertParameters()[1], (std::vector<std::string>{"2026-01-05 09:30:00", "0", "0", "0"}));
		}
	}
}

TEST_F(RoomCommands, SharedProjectAsksAgainAboutWhatIsStillNotReserved)
{
	HostControl::SetSharedProject(true);
	HostControl::SetHolder(rooms[1].walls[2], Holder::OtherUser);
	HostControl::Select({rooms[0].zone, rooms[1].zone});
	HostControl::ScriptAlertAnswers({1, 3});
	EXPECT_EQ(AddVelmora(Settings(true, false)), NoError);

	std::vector<std::vector<std::string>> questions = AlertParameters();
	ASSERT_EQ(questions.size(), 2u);
	EXPECT_EQ(questions[0][0], "Name: Living | No.: 01\nName: Study | No.: 02\n");
	EXPECT_EQ(questions[1][0], "Name: Study | No.: 02\n");
	EXPECT_EQ(AlertLog(), (std::vector<std::string>{"31130", "31130"}));
	EXPECT_EQ(Covered(), (std::vector<bool>{true, false, false}));
	EXPECT_EQ(HostControl::GetHolder(rooms[1].zone), Holder::User) << "what could be reserved stays reserved";
	EXPECT_EQ(HostControl::GetHolder(rooms[1].walls[2]), Holder::OtherUser);

	// Update and Remove also need the zone's coverings; Add needs only what it covers.
	HostControl::SetHolder(FloorOf(rooms[0]), Holder::Nobody);
	HostControl::Select({rooms[0].zone});
	HostControl::ScriptAlertAnswers({2, 2});
	EXPECT_EQ(UpdateVelmora(Settings(true)), NoError);
	EXPECT_EQ(RemoveCoveringsFromSelectedRooms(), NoError);
	EXPECT_EQ(AlertLog().size(), 4u);
	EXPECT_EQ(AlertParameters()[3][0], "Name: Living | No.: 01\n");
	EXPECT_EQ(HostControl::UndoStepNames(), std::vector<std::string>{"Add Coverings"}) << "cancel makes no step";
	EXPECT_TRUE(HasCoverings(rooms[0]));
}

TEST_F(RoomCommands, SkippingTheReservationIsRefusedByTheHost)
{
	HostControl::SetSharedProject(true);
	HostControl::SetHolder(rooms[0].zone, Holder::User);
	std::optional<CovResult<CoveringsCreated>> added;
	ACAPI_CallUndoableCommand("Add Coverings", [&] {
		added.emplace(AddCoveringsToRoom(rooms[0].zone, Settings(true), "now"));
		return added->Error();
	});
	ASSERT_TRUE(added.has_value());
	EXPECT_EQ(added->Error(), APIERR_NOTMINE);
	for (const API_Guid& wall : rooms[0].walls)
		EXPECT_TRUE(HostControl::LinksFrom(wall).empty()) << "a wall the user does not hold was changed";
}

TEST_F(RoomCommands, ReservationAsksOnlyAboutWhatTheCommandChanges)
{
	HostControl::SetSharedProject(true);
	HostControl::Select({rooms[0].zone});
	HostControl::ScriptAlertAnswers(std::vector<short>(10, 2));
	CoveringSettings nothing = Settings(false);
	nothing.floor.enabled = false;
	HostControl::SetHolder(rooms[0].zone, Holder::User);
	HostControl::AddLink(rooms[0].zone, rooms[0].walls[0], LinkZoneWall);
	struct Case {
		const char* what;
		std::function<ErrCode()> run;
		bool asks;
	};
	const Case cases[] = {
	    {"Add with every kind off tests the zone only", [&] { return AddVelmora(nothing); }, false},
	    {"Add with wall coverings tests the walls", [&] { return AddVelmora(Settings(true)); }, true},
	    {"Update tests the related walls", [&] { return UpdateVelmora(nothing); }, true},
	    {"Remove tests only the zone and its coverings", [] { return RemoveCoveringsFromSelectedRooms(); }, false},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		std::size_t before = HostControl::Alerts().size();
		HostControl::ResetCallCounts();
		c.run();
		EXPECT_EQ(HostControl::Alerts().size() > before && HostControl::Alerts()[before].alertId >= 31130, c.asks);
	}
	HostControl::FailCall("ACAPI_Element_GetRelations", 1, APIERR_BADID);
	std::size_t before = HostControl::Alerts().size();
	EXPECT_EQ(UpdateVelmora(Settings(true)), APIERR_BADID) << "a host error is returned without an alert";
	EXPECT_EQ(HostControl::Alerts().size(), before);
}

// Everything an undo step must restore, as text.
std::string ModelImage()
{
	std::ostringstream image;
	for (const API_Guid& guid : HostControl::Elements()) {
		API_Element record = *HostControl::GetElement(guid);
		image << std::string(reinterpret_cast<const char*>(&record), sizeof(record)) << '|'
		      << HostControl::GetUserData(guid).has_value() << '|'
		      << SettingsBuilder::ElementText(guid, Defaults().lastRunProperty).value_or("-") << '|'
		      << HostControl::GetElementPCC(guid).classificationItems.size() << '|'
		      << HostControl::GroupMembers(record.header.groupGuid).size() << '\n';
	}
	for (const HostControl::Link& link : HostControl::Links())
		image << APIGuidToString(link.from).ToCStr().Get() << APIGuidToString(link.to).ToCStr().Get() << link.flags;
	return image.str();
}

TEST_F(RoomCommands, UndoingEachCommandRestoresTheModelExactly)
{
	const std::function<ErrCode()> commands[] = {
	    [] { return AddVelmora(Settings(true, false)); },
	    [] { return UpdateVelmora(Settings(true)); },
	    [] { return RemoveCoveringsFromSelectedRooms(); },
	};
	GSTime clock = 1796547723;
	for (const auto& command : commands) {
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
