#include <cstring>

#include "API/Commands.hpp"
#include "API/ElementFunctions.hpp"
#include "API/Grouping.hpp"
#include "API/Relations.hpp"
#include "API/Selection.hpp"
#include "DG/Alerts.hpp"
#include "GS/Memory.hpp"
#include "ModelBuilder.hpp"
#include "RS/Resources.hpp"
#include "UndoScope.hpp"

using namespace ModelBuilder;

namespace {

class Model : public UndoScopeTest {};

API_Element Read(const API_Guid& guid)
{
	API_Element element = NewRecord(API_ZombieElemID);
	element.header.guid = guid;
	EXPECT_EQ(ACAPI_Element_Get(&element), NoError);
	return element;
}

TEST_F(Model, CreatedElementGetsANewGuidAndReadsBack)
{
	API_Element wall = WallRecord({1.0, 2.0}, {4.0, 2.0}, 0.0, 0.3);
	ASSERT_EQ(ACAPI_Element_Create(&wall, nullptr), NoError);
	EXPECT_NE(wall.header.guid, APINULLGuid);
	API_Element read = Read(wall.header.guid);
	EXPECT_EQ(read.wall.begC.x, 1.0);
	EXPECT_EQ(read.wall.thickness, 0.3);

	API_Element asColumn = NewRecord(API_ColumnID);
	asColumn.header.guid = wall.header.guid;
	EXPECT_EQ(ACAPI_Element_Get(&asColumn), APIERR_BADID) << "a wall is not read as a column";
}

TEST_F(Model, ChangeTouchesOnlyMarkedFields)
{
	API_Guid wallGuid = AddWall({0, 0}, {10, 0});
	API_Element wall = Read(wallGuid);
	API_Element request = wall;
	request.wall.begC = {5.0, 5.0};
	request.wall.thickness = 9.0; // not marked: must stay
	request.header.floorInd = 3;  // not marked: must stay
	API_Element mask = NewRecord(API_ZombieElemID);
	API_MASK_SET(mask, wall.begC);
	ASSERT_EQ(ACAPI_Element_Change(&request, &mask, nullptr, 0, true), NoError);

	API_Element changed = Read(wallGuid);
	EXPECT_EQ(changed.wall.begC.x, 5.0);
	EXPECT_EQ(changed.wall.begC.y, 5.0);
	EXPECT_EQ(changed.wall.thickness, wall.wall.thickness);
	EXPECT_EQ(changed.header.floorInd, wall.header.floorInd);
	EXPECT_EQ(changed.wall.endC.x, 10.0);
}

TEST_F(Model, MemoPartsComeBackInNewHandles)
{
	API_Guid zone = AddZone("1", {{{{0, 0}, {4, 0}, {4, 3}, {0, 3}}}}, {{2, 3, 0.5}});
	API_ElementMemo memo = {};
	ASSERT_EQ(ACAPI_Element_GetMemo(zone, &memo, APIMemoMask_Polygon), NoError);
	ASSERT_NE(memo.coords, nullptr);
	EXPECT_EQ(BMGetHandleSize(memo.coords), GSSize(6 * sizeof(API_Coord)));
	EXPECT_EQ((*memo.coords)[5].x, 0.0);
	EXPECT_EQ((*memo.pends)[1], 5);
	EXPECT_EQ((*memo.parcs)[0].arcAngle, 0.5);
	EXPECT_EQ(memo.params, nullptr) << "parts outside the mask are not handed out";
	ACAPI_DisposeElemMemoHdls(&memo);
	EXPECT_EQ(memo.coords, nullptr);
}

TEST_F(Model, DeletingAnElementDropsItsLinksAndData)
{
	API_Guid a = AddWall({0, 0}, {1, 0});
	API_Guid b = AddWall({1, 0}, {2, 0});
	API_Guid c = AddWall({2, 0}, {3, 0});
	ASSERT_EQ(ACAPI_ElementLink_Link(a, b, 2), NoError);
	ASSERT_EQ(ACAPI_ElementLink_Link(b, c, 4), NoError);
	ASSERT_EQ(ACAPI_ElementLink_Link(a, c, 7), NoError);
	EXPECT_EQ(ACAPI_ElementLink_Link(a, b, 3), APIERR_LINKEXIST);
	HostControl::SetUserData(b, {1, 0x6D6D, 0, std::vector<char>{1, 2}});

	ASSERT_EQ(ACAPI_Element_Delete({b}), NoError);
	GS::Array<API_Guid> links;
	ASSERT_EQ(ACAPI_ElementLink_GetLinks(a, &links), NoError);
	EXPECT_EQ(links, GS::Array<API_Guid>({c}));
	EXPECT_FALSE(HostControl::GetUserData(b).has_value());
	EXPECT_EQ(ACAPI_ElementLink_GetLinks(b, &links), APIERR_BADID);
	UInt32 flags = 0;
	EXPECT_EQ(ACAPI_ElementLink_GetLinkFlags(a, c, &flags), NoError);
	EXPECT_EQ(flags, 7u);
}

TEST_F(Model, DeletingAWallTakesItsOpenings)
{
	API_Guid wall = AddWall({0, 0}, {5, 0});
	API_Guid door = AddOpening(API_DoorID, wall, 1.0);
	API_Guid other = AddWall({5, 0}, {5, 5});
	API_Guid window = AddOpening(API_WindowID, other, 1.0);
	ASSERT_EQ(ACAPI_Element_Delete({wall}), NoError);
	EXPECT_FALSE(HostControl::GetElement(door).has_value());
	EXPECT_TRUE(HostControl::GetElement(window).has_value());
}

TEST_F(Model, DeletingAGroupedElementTakesTheGroupUnlessSuspended)
{
	for (bool suspended : {false, true}) {
		HostControl::ResetHost();
		API_Guid a = AddWall({0, 0}, {1, 0});
		API_Guid b = AddWall({1, 0}, {2, 0});
		ASSERT_EQ(ACAPI_Grouping_CreateGroup({a, b}), NoError);
		if (suspended) {
			ASSERT_EQ(ACAPI_Grouping_Tool({}, APITool_SuspendGroups, nullptr), NoError);
		}
		bool on = !suspended;
		ACAPI_View_IsSuspendGroupOn(&on);
		EXPECT_EQ(on, suspended);
		ASSERT_EQ(ACAPI_Element_Delete({a}), NoError);
		EXPECT_EQ(HostControl::GetElement(b).has_value(), suspended);
	}
}

TEST_F(Model, DeletingAnUnknownElementDeletesNothing)
{
	API_Guid a = AddWall({0, 0}, {1, 0});
	API_Guid gone = AddWall({1, 0}, {2, 0});
	ASSERT_EQ(ACAPI_Element_Delete({gone}), NoError);
	EXPECT_EQ(ACAPI_Element_Delete({a, gone}), APIERR_BADID);
	EXPECT_TRUE(HostControl::GetElement(a).has_value());
	EXPECT_EQ(ACAPI_Element_Delete({}), NoError);
}

TEST_F(Model, UserDataIsCopiedBothWays)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	API_Elem_Head head = {};
	head.guid = wall;
	API_UserData record = {};
	EXPECT_EQ(ACAPI_Element_GetUserData(&head, &record), APIERR_NOUSERDATA);

	record.dataVersion = 1;
	record.platformSign = 0x6D6D;
	record.dataHdl = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
	(*record.dataHdl)[0] = 42;
	ASSERT_EQ(ACAPI_Element_SetUserData(&head, &record), NoError);
	(*record.dataHdl)[0] = 7; // the stored copy must not follow
	BMKillHandle(&record.dataHdl);

	API_UserData read = {};
	ASSERT_EQ(ACAPI_Element_GetUserData(&head, &read), NoError);
	EXPECT_EQ(read.dataVersion, 1);
	EXPECT_EQ(read.platformSign, 0x6D6D);
	ASSERT_EQ(BMGetHandleSize(read.dataHdl), 4);
	EXPECT_EQ((*read.dataHdl)[0], 42);
	BMKillHandle(&read.dataHdl);
}

TEST_F(Model, UndoRestoresTheProjectExactly)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	GSErrCode result = ACAPI_CallUndoableCommand("Change things", [&] {
		API_Element more = WallRecord({0, 1}, {1, 1});
		ACAPI_Element_Create(&more, nullptr);
		ACAPI_ElementLink_Link(wall, more.header.guid, 2);
		ACAPI_Element_Delete({wall});
		return APIERR_CANCEL;
	});
	EXPECT_EQ(result, APIERR_CANCEL);
	EXPECT_EQ(HostControl::Elements().size(), 1u);
	EXPECT_EQ(HostControl::UndoStepNames(), std::vector<std::string>{"Change things"});
	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_EQ(HostControl::Elements(), std::vector<API_Guid>{wall});
	EXPECT_TRUE(HostControl::Links().empty());
	EXPECT_FALSE(HostControl::UndoLastCommand());
}

TEST_F(Model, SelectionListsNeigsAndHandsOverTheMarquee)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	API_Guid zone = AddZone("7", {{{{0, 0}, {1, 0}, {1, 1}}}});
	API_SelectionInfo info = {};
	GS::Array<API_Neig> neigs;
	ASSERT_EQ(ACAPI_Selection_Get(&info, &neigs, false, true), NoError);
	EXPECT_EQ(info.typeID, API_SelEmpty);
	BMKillHandle(&info.marquee.coords);

	HostControl::Select({zone, wall});
	ASSERT_EQ(ACAPI_Selection_Get(&info, &neigs, false, true), NoError);
	BMKillHandle(&info.marquee.coords);
	ASSERT_EQ(neigs.GetSize(), 2u);
	API_ElemType type = {};
	ASSERT_EQ(ACAPI_Element_NeigIDToElemType(neigs[0].neigID, type), NoError);
	EXPECT_EQ(type.typeID, API_ZoneID);
	EXPECT_EQ(neigs[1].guid, wall);
}

TEST_F(Model, ReportAndDebugLinesAreRecordedFormatted)
{
	ACAPI_WriteReport("Result %d", false, 1);
	ACAPI_WriteReport(GS::UniString("Round column ignored."), false);
	DBPrintf("Got so many links: %d\n", 3);
	auto lines = HostControl::ReportLines();
	ASSERT_EQ(lines.size(), 2u);
	EXPECT_EQ(lines[0].text, "Result 1");
	EXPECT_EQ(lines[1].text, "Round column ignored.");
	EXPECT_EQ(HostControl::DebugLines(), std::vector<std::string>{"Got so many links: 3\n"});
}

TEST_F(Model, AlertsAreAnsweredAsScripted)
{
	HostControl::ScriptAlertAnswers({3});
	EXPECT_EQ(DG::ErrorAlert("Main", "Detail", "OK", "", ""), 3);
	EXPECT_EQ(DG::InformationAlert("Next", "", "OK", "", ""), 1);
	auto alerts = HostControl::Alerts();
	ASSERT_EQ(alerts.size(), 2u);
	EXPECT_EQ(alerts[0].kind, "ErrorAlert");
	EXPECT_EQ(alerts[0].texts[1], GS::UniString("Detail"));
	EXPECT_EQ(alerts[1].answer, 1);
}

TEST_F(Model, FaultedCallFailsWithTheChosenCode)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	HostControl::FailCall("ACAPI_Element_Get", 2, APIERR_GENERAL);
	EXPECT_EQ(Read(wall).header.guid, wall);
	API_Element element = NewRecord(API_WallID);
	element.header.guid = wall;
	EXPECT_EQ(ACAPI_Element_Get(&element), APIERR_GENERAL);
	EXPECT_EQ(ACAPI_Element_Get(&element), NoError);
}

TEST_F(Model, ResourcesAreReadFromTheAddOnsDefinitions)
{
	GSResModule own = ACAPI_GetOwnResModule();
	EXPECT_EQ(RSGetIndString(31100, 1, own), GS::UniString("Add Coverings"));
	EXPECT_TRUE(RSGetIndString(31100, 99, own).IsEmpty());
	EXPECT_TRUE(RSGetIndString(31100, 1, own + 1).IsEmpty());

	EXPECT_EQ(DG::Alert(own, 31122, "APIERR_GENERAL", "", "", ""), 1);
	EXPECT_EQ(DG::Alert(own, 1, "", "", "", ""), 0) << "an unknown alert is not shown";
	auto alerts = HostControl::Alerts();
	ASSERT_EQ(alerts.size(), 1u);
	EXPECT_EQ(alerts[0].alertId, 31122);
	EXPECT_EQ(alerts[0].texts[0], GS::UniString("Adding coverings failed: APIERR_GENERAL"));
}

TEST_F(Model, ZoneRelationIsHandedOutAsSet)
{
	API_Guid wall = AddWall({0, 0}, {4, 0});
	API_Guid zone = AddZone("1", {{{{0, 0}, {4, 0}, {4, 3}, {0, 3}}}});
	HostControl::RoomRelation relation;
	relation.wallParts.push_back({wall, 1, 0.5, 3.5});
	relation.elementsByType.push_back({API_WallID, {wall}});
	relation.niches.push_back({{{0, 0}, {1, 0}, {1, 1}, {1, 0}}, {0, 3}, {}});
	HostControl::SetRoomRelation(zone, relation);

	API_RoomRelation read;
	ASSERT_EQ(ACAPI_Element_GetRelations(zone, {API_ColumnID, APIVarId_Generic, APINULLGuid}, &read), NoError);
	ASSERT_EQ(read.wallPart.GetSize(), 1u);
	EXPECT_EQ(read.wallPart[0].roomEdge, 1);
	EXPECT_EQ(read.wallPart[0].tEnd, 3.5);
	EXPECT_NE(read.elementsGroupedByType.GetPtr({API_WallID, APIVarId_Generic, APINULLGuid}), nullptr);
	EXPECT_EQ(read.elementsGroupedByType.GetPtr({API_ColumnID, APIVarId_Generic, APINULLGuid}), nullptr);
	ASSERT_EQ(read.niches.GetSize(), 1u);
	EXPECT_EQ(BMGetHandleSize(read.niches[0].coords), GSSize(4 * sizeof(API_Coord)));
	EXPECT_EQ(BMGetHandleSize(read.niches[0].parcs), 0);
	ACAPI_DisposeRoomRelationHdls(&read);
}

std::vector<API_WallPart> WallParts(const API_Guid& zone)
{
	API_RoomRelation relation;
	EXPECT_EQ(ACAPI_Element_GetRelations(zone, {API_WallID, APIVarId_Generic, APINULLGuid}, &relation), NoError);
	std::vector<API_WallPart> parts(relation.wallPart.begin(), relation.wallPart.end());
	ACAPI_DisposeRoomRelationHdls(&relation);
	return parts;
}

// Two rooms on either side of a wall, over a wall they share: moved, the wall
// takes the edges along its faces, the shared wall's parts are measured again,
// and undo puts it all back.
TEST_F(Model, ZonesFollowAMovedWallUntilUndone)
{
	API_Guid wall = AddWall({4, 0}, {4, 3});
	API_Guid shared = AddWall({0, 0}, {8, 0});
	API_Guid west = AddZone("1", {{{{0, 0.1}, {3.9, 0.1}, {3.9, 3}, {0, 3}}}});
	API_Guid east = AddZone("2", {{{{4.1, 0.1}, {8, 0.1}, {8, 3}, {4.1, 3}}}});
	HostControl::SetRoomRelation(west, {{{wall, 2, 0.1, 3.0}, {shared, 1, 0.0, 3.9}}, {}, {}});
	HostControl::SetRoomRelation(east, {{{shared, 1, 4.1, 8.0}, {wall, 4, 0.1, 3.0}}, {}, {}});
	auto expectFaces = [&](double westFace, double eastFace) {
		std::vector<API_Coord> westCoords = *HostControl::GetMemoParts(west).coords;
		std::vector<API_Coord> eastCoords = *HostControl::GetMemoParts(east).coords;
		for (double x : {westCoords[2].x, westCoords[3].x, WallParts(west)[1].tEnd})
			EXPECT_NEAR(x, westFace, 1e-12);
		for (double x : {eastCoords[1].x, eastCoords[4].x, eastCoords[5].x, WallParts(east)[0].tBeg})
			EXPECT_NEAR(x, eastFace, 1e-12);
	};

	ASSERT_EQ(ACAPI_CallUndoableCommand("Move Wall", [&] { return HostControl::MoveWall(wall, {0.5, 0.0}); }), NoError);
	expectFaces(4.4, 4.6);
	ASSERT_TRUE(HostControl::UndoLastCommand());
	expectFaces(3.9, 4.1);
	EXPECT_EQ(HostControl::MoveWall(west, {0.5, 0.0}), APIERR_BADID) << "a zone is no wall";
}

// A door or window stands on its wall's story, whatever story it was given.
TEST_F(Model, OpeningsStandOnTheirWallsStory)
{
	HostControl::AddStory(1, 3.0, "Upper floor");
	API_Element upper = WallRecord({0, 0}, {4, 0});
	upper.header.floorInd = 1;
	API_Guid upperWall = HostControl::AddElement(upper);
	API_Guid groundWall = AddWall({0, 5}, {4, 5});

	API_Element window = Read(AddOpening(API_WindowID, groundWall, 1.0));
	window.door.owner = upperWall;
	ASSERT_EQ(ACAPI_Element_Create(&window, nullptr), NoError);
	EXPECT_EQ(Read(window.header.guid).header.floorInd, 1);

	API_Element mask = NewRecord(API_ZombieElemID);
	API_MASK_SET(mask, door.owner);
	API_MASK_SET(mask, header.floorInd);
	window.door.owner = groundWall;
	window.header.floorInd = 1;
	ASSERT_EQ(ACAPI_Element_Change(&window, &mask, nullptr, 0, true), NoError);
	EXPECT_EQ(Read(window.header.guid).header.floorInd, 0);
}

TEST_F(Model, OpeningsOfAWallAndTheirMeasuredWidths)
{
	API_Guid wall = AddWall({0, 0}, {6, 0});
	API_Guid door = AddOpening(API_DoorID, wall, 1.0, 0.9);
	API_Guid window = AddOpening(API_WindowID, wall, 4.0, 1.2);
	AddOpening(API_DoorID, AddWall({6, 0}, {6, 6}), 1.0);
	GS::Array<API_Guid> doors;
	ASSERT_EQ(ACAPI_Grouping_GetConnectedElements(wall, {API_DoorID, APIVarId_Generic, APINULLGuid}, &doors), NoError);
	EXPECT_EQ(doors, GS::Array<API_Guid>({door}));

	HostControl::SetOpeningWidths(window, 1.1, 1.3);
	for (API_Guid opening : {door, window}) {
		API_ElementQuantity quantity = {};
		API_Quantities quantities = {&quantity};
		API_QuantitiesMask mask = {};
		std::memset(&mask.elements.door.width2, 0xFF, sizeof(double));
		std::memset(&mask.elements.window.width2, 0xFF, sizeof(double));
		API_QuantityPar params = {1e-5, {}};
		ASSERT_EQ(ACAPI_Element_GetQuantities(opening, &params, &quantities, &mask), NoError);
		const API_OpeningQuantity& measured = opening == door ? quantity.door : quantity.window;
		EXPECT_EQ(measured.width1, 0.0) << "an unmarked quantity stays";
		EXPECT_EQ(measured.width2, opening == door ? 0.9 : 1.3);
	}
}

} // namespace
