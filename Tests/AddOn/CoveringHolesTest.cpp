#include <cmath>
#include <cstring>

#include "CoveringHoles.hpp"
#include "CoveringIdentity.hpp"
#include "CoveringScenes.hpp"
#include "FaultSweep.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "SettingsSamples.hpp"
#include "UndoScope.hpp"

using CoveringScenes::AddCovering;
using CoveringScenes::HoleSettings;
using CoveringScenes::LinkTargets;
using CoveringScenes::Record;
using HostControl::CallCount;
using HostControl::Defaults;
using ModelBuilder::NewRecord;

namespace {

constexpr double tolerance = 1e-9;
const double quarterTurn = std::acos(0.0);

// A covering of radius 9.8 inside the quarter circle of radius 10 about the
// origin, from 0.2 rad to 1.2 rad.
API_Coord OnCircle(double radius, double angle)
{
	return {radius * std::cos(angle), radius * std::sin(angle)};
}

std::size_t NotCollinearAlerts()
{
	std::size_t count = 0;
	for (const HostControl::Alert& alert : HostControl::Alerts()) {
		if (alert.kind == "InformationAlert" && alert.texts.size() == 5 && alert.texts[0] == "Not collinear!" &&
		    alert.texts[1] == "" && alert.texts[2] == "OK" && alert.texts[3] == "" && alert.texts[4] == "")
			++count;
	}
	return count;
}

API_Element Wall(API_Coord begin, API_Coord end, double angle = 0.0)
{
	API_Element wall = NewRecord(API_WallID);
	wall.wall.begC = begin;
	wall.wall.endC = end;
	wall.wall.angle = angle;
	return wall;
}

class HoleLocation : public HostTest {};

TEST_F(HoleLocation, AlongStraightWalls)
{
	struct Case {
		const char* what;
		API_Coord wallBegin, wallEnd, coveringBegin, coveringEnd;
		double location;
		std::size_t alerts;
	};
	const Case cases[] = {
	    {"same direction", {0, 0}, {10, 0}, {2, 0.2}, {8, 0.2}, 1.0, 0},
	    {"opposite direction", {0, 0}, {10, 0}, {8, 0.2}, {2, 0.2}, 5.0, 0},
	    {"not collinear: alert, then as opposite", {0, 0}, {10, 0}, {2, 0.2}, {8, 1.2}, -1.0, 1},
	    {"wall without length: no alert, direction (1, 0)", {3, 3}, {3, 3}, {2, 0.2}, {8, 0.2}, 4.0, 0},
	    {"covering without length: no alert", {0, 0}, {0, 10}, {5, 0.2}, {5, 0.2}, -2.8, 0},
	};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		double location =
		    ComputeCoveringHoleLocation(Wall(c.wallBegin, c.wallEnd), Wall(c.coveringBegin, c.coveringEnd), 3.0);
		EXPECT_NEAR(location, c.location, tolerance) << c.what;
		EXPECT_EQ(NotCollinearAlerts(), c.alerts) << c.what;
		EXPECT_EQ(HostControl::Alerts().size(), c.alerts) << c.what;
	}
}

TEST_F(HoleLocation, AlongCurvedWallsScalesToTheCoveringsRadius)
{
	API_Element wall = Wall({10, 0}, {0, 10}, quarterTurn);
	API_Element covering = Wall(OnCircle(9.8, 0.2), OnCircle(9.8, 1.2), 1.0);
	EXPECT_NEAR(ComputeCoveringHoleLocation(wall, covering, 3.0), (0.3 - 0.2) * 9.8, tolerance);
	EXPECT_NEAR(ComputeCoveringHoleLocation(wall, covering, 1.0), (0.1 - 0.2) * 9.8, tolerance) << "not clamped";
	EXPECT_TRUE(HostControl::Alerts().empty());
}

class CoveringHoles : public UndoScopeTest {
protected:
	void SetUp() override
	{
		UndoScopeTest::SetUp();
		BuildScene();
	}

	// A zone beside another, and a covering in front of a straight wall.
	virtual void BuildScene()
	{
		zone = HostControl::AddElement(NewRecord(API_ZoneID));
		otherZone = HostControl::AddElement(NewRecord(API_ZoneID));
		wall = ModelBuilder::AddWall({0, 0}, {10, 0});
		covering = AddCovering({2, 0.2}, {8, 0.2});
	}

	void UseCurvedWall()
	{
		wall = ModelBuilder::AddWall({10, 0}, {0, 10}, quarterTurn);
		covering = AddCovering(OnCircle(9.8, 0.2), OnCircle(9.8, 1.2), 1.0);
	}

	API_Guid AddOpening(API_ElemTypeID type, double location, const API_Guid& libraryPart = APINULLGuid)
	{
		API_Guid opening = ModelBuilder::AddOpening(type, wall, location);
		if (libraryPart != APINULLGuid) {
			API_Element record = Record(opening);
			record.door.openingBase.libInd = *HostControl::LibraryPartIndex(libraryPart);
			HostControl::SetElement(record);
		}
		return opening;
	}

	CovResult<API_Guid> AddHole(const API_Guid& opening, const ElementCovSettings& settings)
	{
		return AddCoveringHole(Record(wall), Record(covering), Record(opening), settings, zone);
	}

	API_Guid zone = APINULLGuid;
	API_Guid otherZone = APINULLGuid;
	API_Guid wall = APINULLGuid;
	API_Guid covering = APINULLGuid;
};

TEST_F(CoveringHoles, WidthOnACurvedWallIsTheOneOnTheZonesSide)
{
	struct Case {
		const char* what;
		API_ElemTypeID type;
		bool fromThisZone, toThisZone;
		API_Bool openingSide, refSide;
		double width;
		UInt32 measured;
	};
	const Case cases[] = {
	    {"from room, sides alike", API_DoorID, true, false, false, false, 0.8, 1},
	    {"from room, sides swapped", API_DoorID, true, false, true, false, 1.0, 1},
	    {"to room, sides alike", API_DoorID, false, true, true, true, 1.0, 1},
	    {"to room, sides swapped", API_DoorID, false, true, false, true, 0.8, 1},
	    {"window from room, sides alike", API_WindowID, true, false, true, true, 0.8, 1},
	    {"zone on neither side: plain width", API_DoorID, false, false, false, false, 0.9, 0},
	};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		BuildScene();
		UseCurvedWall();
		API_Guid opening = AddOpening(c.type, 3.0);
		API_Element record = Record(opening);
		record.door.openingBase.openingSide = c.openingSide;
		record.door.openingBase.refSide = c.refSide;
		HostControl::SetElement(record);
		HostControl::SetOpeningRelation(opening, c.fromThisZone ? zone : otherZone, c.toThisZone ? zone : otherZone);
		HostControl::SetOpeningWidths(opening, 0.8, 1.0);
		HostControl::ResetCallCounts();
		CovResult<double> width = ComputeCoveringHoleWidth(Record(wall), record, zone);
		ASSERT_TRUE(width.HasValue()) << c.what;
		EXPECT_EQ(width.Value(), c.width) << c.what;
		EXPECT_EQ(CallCount("ACAPI_Element_GetQuantities"), c.measured) << c.what;
	}
}

TEST_F(CoveringHoles, WidthOnAStraightWallIsTheOpeningsOwn)
{
	API_Guid opening = AddOpening(API_DoorID, 3.0);
	HostControl::SetOpeningWidths(opening, 0.8, 1.0);
	HostControl::ResetCallCounts();
	CovResult<double> width = ComputeCoveringHoleWidth(Record(wall), Record(opening), zone);
	ASSERT_TRUE(width.HasValue());
	EXPECT_EQ(width.Value(), 0.9);
	EXPECT_EQ(HostControl::TotalCallCount(), 0u);
}

TEST_F(CoveringHoles, WidthOfSomethingElseThanAnOpeningOnACurvedWallIsAnError)
{
	UseCurvedWall();
	API_Guid opening = AddOpening(API_DoorID, 3.0);
	HostControl::SetOpeningRelation(opening, zone, otherZone);
	API_Element record = Record(opening);
	record.header.type.typeID = API_ObjectID;
	EXPECT_EQ(ComputeCoveringHoleWidth(Record(wall), record, zone).Error(), COVERR_GENERAL);
}

TEST_F(CoveringHoles, NichesAreKnownByTheirLibraryPart)
{
	for (const API_Guid& niche : Defaults().nichePart)
		EXPECT_TRUE(IsNiche(Record(AddOpening(API_WindowID, 3.0, niche))).Value());
	EXPECT_TRUE(IsNiche(Record(AddOpening(API_DoorID, 3.0, Defaults().nichePart[0]))).Value());
	EXPECT_FALSE(IsNiche(Record(AddOpening(API_WindowID, 3.0, Defaults().windowPart))).Value());
	API_Element unknownPart = Record(AddOpening(API_WindowID, 3.0));
	unknownPart.door.openingBase.libInd = 999;
	EXPECT_EQ(IsNiche(unknownPart).Error(), APIERR_BADINDEX) << "a part that cannot be read";
}

// Taken for no niche, an unreadable part gave this zone a hole for the niche
// window of the zone on the other side.
TEST_F(CoveringHoles, UnreadableNichePartFailsTheHoleAndMakesNothing)
{
	API_Guid niche = AddOpening(API_WindowID, 3.0, Defaults().nichePart[0]);
	HostControl::SetOpeningRelation(niche, otherZone, zone);
	std::size_t windows = HostControl::Elements(API_WindowID).size();
	HostControl::FailCall("ACAPI_LibraryPart_Get", 1, APIERR_GENERAL);
	EXPECT_EQ(AddHole(niche, HoleSettings(API_WindowID)).Error(), APIERR_GENERAL);
	EXPECT_EQ(HostControl::Elements(API_WindowID).size(), windows);
}

TEST_F(CoveringHoles, HoleFollowsItsOpeningAndKeepsTheTemplate)
{
	API_Element base = Record(wall);
	base.wall.bottomOffset = 0.3;
	HostControl::SetElement(base);
	API_Element flipped = Record(covering);
	flipped.wall.flipped = true;
	HostControl::SetElement(flipped);
	API_Guid opening = AddOpening(API_DoorID, 3.0);
	API_Element source = Record(opening);
	source.door.lower = 0.2;
	source.door.openingBase.subFloorThickness = 0.05;
	source.door.openingBase.width = 0.95;
	source.door.openingBase.height = 2.05;
	HostControl::SetElement(source);
	ElementCovSettings settings = HoleSettings(API_DoorID);

	CovResult<API_Guid> made = AddHole(opening, settings);
	ASSERT_TRUE(made.HasValue());
	API_Element hole = Record(made.Value());
	const API_OpeningType& fields = hole.door;
	EXPECT_EQ(hole.header.type.typeID, API_DoorID);
	EXPECT_NEAR(fields.objLoc, 1.0, tolerance);
	EXPECT_NEAR(fields.lower, 0.2 + 0.3 - 0.1, tolerance);
	EXPECT_EQ(fields.openingBase.subFloorThickness, 0.05);
	EXPECT_EQ(fields.openingBase.width, 0.95);
	EXPECT_EQ(fields.openingBase.height, 2.05);
	EXPECT_EQ(fields.openingBase.revealStyle, 0);
	EXPECT_EQ(fields.openingBase.revealPen, 0);
	EXPECT_EQ(fields.owner, covering);
	EXPECT_FALSE(fields.openingBase.reflected);
	EXPECT_TRUE(fields.openingBase.openingSide && fields.openingBase.refSide) << "the covering's flip flag";
	EXPECT_EQ(fields.openingBase.libInd, settings.toolElement.door.openingBase.libInd);
	EXPECT_EQ(hole.header.layer, 7);
	auto params = HostControl::GetMemoParts(made.Value()).params;
	ASSERT_TRUE(params.has_value()) << "made with the stored memo";
	ASSERT_EQ(params->size(), 1u);
	EXPECT_EQ(params->front().record.value.real, 0.5);

	auto links = HostControl::Links();
	ASSERT_EQ(links.size(), 3u);
	EXPECT_TRUE(links[0].from == opening && links[0].to == made.Value() && links[0].flags == LinkOpeningHole);
	EXPECT_TRUE(links[1].from == made.Value() && links[1].to == opening && links[1].flags == LinkOpeningHole);
	EXPECT_TRUE(links[2].from == covering && links[2].to == made.Value() && links[2].flags == LinkCoveringHole);
}

TEST_F(CoveringHoles, NicheWindowsBelongToTheZoneTheyOpenFrom)
{
	struct Case {
		const char* what;
		API_ElemTypeID type;
		API_Guid part;
		bool fromThisZone, toThisZone;
		bool holed;
		UInt32 relationsRead;
	};
	const Case cases[] = {
	    {"niche window from another zone", API_WindowID, Defaults().nichePart[3], false, true, false, 1},
	    {"niche window between two others", API_WindowID, Defaults().nichePart[3], false, false, false, 1},
	    {"niche window from this zone", API_WindowID, Defaults().nichePart[3], true, false, true, 1},
	    {"door with a niche part", API_DoorID, Defaults().nichePart[3], false, true, true, 0},
	    {"plain window", API_WindowID, Defaults().windowPart, false, true, true, 0},
	};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		BuildScene();
		API_Guid opening = AddOpening(c.type, 3.0, c.part);
		HostControl::SetOpeningRelation(opening, c.fromThisZone ? zone : otherZone, c.toThisZone ? zone : otherZone);
		HostControl::ResetCallCounts();
		CovResult<API_Guid> made = AddHole(opening, HoleSettings(c.type));
		ASSERT_TRUE(made.HasValue()) << c.what;
		EXPECT_EQ(made.Value() != APINULLGuid, c.holed) << c.what;
		EXPECT_EQ(HostControl::Links().size(), c.holed ? 3u : 0u) << c.what;
		EXPECT_EQ(HostControl::Elements(c.type).size(), c.holed ? 2u : 1u) << c.what;
		EXPECT_EQ(CallCount("ACAPI_Element_GetRelations"), c.relationsRead) << c.what;
	}
}

TEST_F(CoveringHoles, HolesOnACurvedWallTakeTheZonesSideWidth)
{
	UseCurvedWall();
	API_Guid opening = AddOpening(API_WindowID, 3.0);
	HostControl::SetOpeningRelation(opening, otherZone, zone);
	HostControl::SetOpeningWidths(opening, 0.8, 1.0);
	CovResult<API_Guid> made = AddHole(opening, HoleSettings(API_WindowID));
	ASSERT_TRUE(made.HasValue());
	EXPECT_NEAR(Record(made.Value()).door.objLoc, (0.3 - 0.2) * 9.8, tolerance);
	EXPECT_EQ(Record(made.Value()).door.openingBase.width, 1.0);
}

TEST_F(CoveringHoles, HoleFromTheFavoriteWithItsMemo)
{
	API_Element favorite = NewRecord(API_WindowID);
	favorite.door.openingBase.libInd = *HostControl::LibraryPartIndex(Defaults().windowPart);
	favorite.header.layer = 9;
	HostControl::MemoParts memo;
	memo.params = std::vector<HostControl::Param>{SettingsSamples::RealParam(APIParT_Length, 0.75)};
	HostControl::DefineFavorite({"Window hole", favorite, memo, std::nullopt, std::nullopt, std::nullopt});
	ElementCovSettings settings = HoleSettings(API_WindowID);
	settings.useFavorite = true;

	CovResult<API_Guid> made = AddHole(AddOpening(API_WindowID, 3.0), settings);
	ASSERT_TRUE(made.HasValue());
	EXPECT_EQ(Record(made.Value()).header.layer, 9);
	EXPECT_EQ(HostControl::GetMemoParts(made.Value()).params->front().record.value.real, 0.75);
	auto request = HostControl::LastFavoriteRequest();
	ASSERT_TRUE(request.has_value());
	EXPECT_TRUE(request->memo);
	EXPECT_FALSE(request->properties || request->classifications || request->categoryValues);
}

TEST_F(CoveringHoles, RefusedHolesLeaveNothingBehind)
{
	struct Case {
		const char* what;
		void (*spoil)(ElementCovSettings&);
		bool curvedWithoutRadius;
		ErrCode error;
	};
	const Case cases[] = {
	    {"favorite missing", [](ElementCovSettings& s) { s.useFavorite = true; }, false, COVERR_FAV_UNAVAILABLE},
	    {"stored settings without a memo", [](ElementCovSettings& s) { s.memo.Clear(); }, false, COVERR_GENERAL},
	    {"template that is no opening", [](ElementCovSettings& s) { s.toolElement = NewRecord(API_WallID); }, false,
	     COVERR_GENERAL},
	    {"curved wall without radius", [](ElementCovSettings&) {}, true, COVERR_GENERAL},
	};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		BuildScene();
		wall = ModelBuilder::AddWall({0, 0}, c.curvedWithoutRadius ? API_Coord{0, 0} : API_Coord{10, 0},
		                             c.curvedWithoutRadius ? 1.0 : 0.0);
		covering = AddCovering({2, 0.2}, {8, 0.2});
		API_Guid opening = AddOpening(API_DoorID, 3.0);
		ElementCovSettings settings = HoleSettings(API_DoorID);
		c.spoil(settings);
		EXPECT_EQ(AddHole(opening, settings).Error(), c.error) << c.what;
		EXPECT_EQ(HostControl::Elements(API_DoorID).size(), 1u) << c.what;
		EXPECT_TRUE(HostControl::Links().empty()) << c.what;
	}
}

TEST(CoveringHoleFaults, EveryFailureIsPassedOnAndReleasesTheFavoritesMemo)
{
	HostControl::ResetHost();
	API_Guid zone, wall, covering, opening;
	ElementCovSettings settings = HoleSettings(API_WindowID);
	settings.useFavorite = true;
	SweepFaults(
	    APIERR_GENERAL,
	    [&] {
		    HostControl::MemoParts memo;
		    memo.params = std::vector<HostControl::Param>{SettingsSamples::RealParam(APIParT_Length, 0.75)};
		    HostControl::DefineFavorite({"Window hole", HoleSettings(API_WindowID).toolElement, memo, std::nullopt,
		                                 std::nullopt, std::nullopt});
		    zone = HostControl::AddElement(NewRecord(API_ZoneID));
		    wall = ModelBuilder::AddWall({10, 0}, {0, 10}, quarterTurn);
		    covering = AddCovering(OnCircle(9.8, 0.2), OnCircle(9.8, 1.2), 1.0);
		    opening = ModelBuilder::AddOpening(API_WindowID, wall, 3.0);
		    API_Element niche = Record(opening);
		    niche.door.openingBase.libInd = *HostControl::LibraryPartIndex(Defaults().nichePart[0]);
		    HostControl::SetElement(niche);
		    HostControl::SetOpeningRelation(opening, zone, APINULLGuid);
	    },
	    [&] { return AddCoveringHole(Record(wall), Record(covering), Record(opening), settings, zone); },
	    [&](const FaultRun& run, const CovResult<API_Guid>& result) {
		    std::size_t holes = HostControl::Elements(API_WindowID).size() - 1;
		    EXPECT_EQ(result.Error(), run.failedCall == "ACAPI_Favorite_Get" ? COVERR_FAV_UNAVAILABLE : APIERR_GENERAL);
		    EXPECT_EQ(holes, run.failedCall == "ACAPI_ElementLink_Link" ? 1u : 0u);
	    });
}

class HoleUpdates : public CoveringHoles {
protected:
	void BuildScene() override
	{
		CoveringHoles::BuildScene();
		covering = AddCovering({1, 0.2}, {6, 0.2});
		settings = HoleSettings(API_DoorID);
	}

	void TearDown() override
	{
		settings = ElementCovSettings();
		CoveringHoles::TearDown();
	}

	API_Guid AddWithHole(double location)
	{
		API_Guid opening = AddOpening(API_DoorID, location);
		AddHole(opening, settings);
		return opening;
	}

	void MoveTo(const API_Guid& opening, double location)
	{
		API_Element record = Record(opening);
		record.door.objLoc = location;
		HostControl::SetElement(record);
	}

	CovResult<HoleUpdate> Update()
	{
		GS::Array<API_Guid> holes;
		for (const API_Guid& hole : LinkTargets(covering, LinkCoveringHole))
			holes.Push(hole);
		return UpdateCoveringHoles(Record(wall), part, Record(covering), holes,
		                           {API_DoorID, APIVarId_Generic, APINULLGuid}, settings, zone);
	}

	ElementCovSettings settings;
	API_WallPart part = {APINULLGuid, 1, 1.0, 6.0};
};

TEST_F(HoleUpdates, OpeningsInsideThePartKeepTheirHolesAndOutsideLoseThem)
{
	struct Case {
		const char* what;
		double movedTo;
		bool kept;
	};
	const Case cases[] = {
	    {"moved within", 4.5, true},         {"at the part's begin", 1.0, true},      {"at the part's end", 6.0, true},
	    {"just past the end", 6.001, false}, {"just before the begin", 0.999, false},
	};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		BuildScene();
		API_Guid opening = AddWithHole(3.0);
		API_Guid hole = LinkTargets(covering, LinkCoveringHole).front();
		MoveTo(opening, c.movedTo);
		HostControl::ResetCallCounts();
		CovResult<HoleUpdate> update = Update();
		ASSERT_TRUE(update.HasValue()) << c.what;
		EXPECT_EQ(update.Value().keptHoles, c.kept ? GS::Array<API_Guid>{hole} : GS::Array<API_Guid>{}) << c.what;
		EXPECT_TRUE(update.Value().newHoles.IsEmpty()) << c.what;
		EXPECT_EQ(HostControl::GetElement(hole).has_value(), c.kept) << c.what;
		EXPECT_EQ(CallCount("ACAPI_Element_Delete"), c.kept ? 0u : 1u) << c.what;
		if (c.kept) {
			EXPECT_NEAR(Record(hole).door.objLoc, c.movedTo - 1.0, tolerance) << c.what;
		}
	}
}

TEST_F(HoleUpdates, RefittingChangesExactlyTheFiveFittedFields)
{
	API_Guid opening = AddWithHole(3.0);
	API_Guid hole = LinkTargets(covering, LinkCoveringHole).front();
	API_Element before = Record(hole);
	API_Element moved = Record(opening);
	moved.door.objLoc = 4.0;
	moved.door.lower = 0.4;
	moved.door.openingBase.subFloorThickness = 0.07;
	moved.door.openingBase.width = 1.1;
	moved.door.openingBase.height = 2.2;
	moved.door.openingBase.reflected = true;
	moved.door.openingBase.revealStyle = 5;
	HostControl::SetElement(moved);
	ASSERT_TRUE(Update().HasValue());

	API_Element after = Record(hole);
	EXPECT_NEAR(after.door.objLoc, 3.0, tolerance);
	EXPECT_NEAR(after.door.lower, 0.4 - 0.1, tolerance);
	EXPECT_EQ(after.door.openingBase.subFloorThickness, 0.07);
	EXPECT_EQ(after.door.openingBase.width, 1.1);
	EXPECT_EQ(after.door.openingBase.height, 2.2);
	API_Element expected = before;
	expected.door.objLoc = after.door.objLoc;
	expected.door.lower = after.door.lower;
	expected.door.openingBase.subFloorThickness = 0.07;
	expected.door.openingBase.width = 1.1;
	expected.door.openingBase.height = 2.2;
	expected.header.modiStamp = after.header.modiStamp;
	EXPECT_EQ(std::memcmp(&expected, &after, sizeof(API_Element)), 0) << "nothing else of the hole changed";
}

TEST_F(CoveringHoles, AWidthThatCannotBeMeasuredLeavesTheHoleAsItWas)
{
	UseCurvedWall();
	API_Guid opening = AddOpening(API_DoorID, 3.0);
	HostControl::SetOpeningRelation(opening, zone, otherZone);
	CovResult<API_Guid> hole = AddHole(opening, HoleSettings(API_DoorID));
	ASSERT_TRUE(hole.HasValue());
	API_Element before = Record(hole.Value());
	API_Element moved = Record(opening);
	moved.door.objLoc = 4.0;
	HostControl::ResetCallCounts();
	HostControl::FailCall("ACAPI_Element_GetQuantities", 1, APIERR_GENERAL);
	EXPECT_EQ(UpdateCoveringHole(hole.Value(), Record(wall), Record(covering), moved, zone), APIERR_GENERAL);
	API_Element after = Record(hole.Value());
	EXPECT_EQ(std::memcmp(&before, &after, sizeof(API_Element)), 0);
}

TEST_F(HoleUpdates, OpeningsWithoutHolesGetOneInsideThePartOnly)
{
	API_Guid inside = AddOpening(API_DoorID, 2.0);
	API_Guid outside = AddOpening(API_DoorID, 8.0);
	HostControl::ResetCallCounts();
	CovResult<HoleUpdate> update = Update();
	ASSERT_TRUE(update.HasValue());
	ASSERT_EQ(update.Value().newHoles.GetSize(), 1u);
	API_Guid hole = update.Value().newHoles[0];
	EXPECT_EQ(LinkTargets(inside, LinkOpeningHole), std::vector<API_Guid>{hole});
	EXPECT_EQ(LinkTargets(hole, LinkOpeningHole), std::vector<API_Guid>{inside});
	EXPECT_EQ(LinkTargets(covering, LinkCoveringHole), std::vector<API_Guid>{hole});
	EXPECT_TRUE(LinkTargets(outside, LinkOpeningHole).empty());
	EXPECT_EQ(CallCount("ACAPI_Element_Delete"), 1u) << "the outside opening's empty deletion";
	HostControl::ResetCallCounts();
	HostControl::FailCall("ACAPI_Element_Delete", 1, APIERR_GENERAL);
	EXPECT_EQ(Update().Error(), APIERR_GENERAL) << "and the update relies on it";
}

TEST_F(HoleUpdates, AnOpeningWithTwoHolesInTheCoveringIsRefused)
{
	for (double location : {3.0, 8.0}) {
		HostControl::ResetHost();
		BuildScene();
		API_Guid opening = AddWithHole(3.0);
		API_Guid second = AddHole(AddOpening(API_DoorID, 4.0), settings).Value();
		HostControl::AddLink(opening, second, LinkOpeningHole);
		MoveTo(opening, location);
		HostControl::ResetCallCounts();
		EXPECT_EQ(Update().Error(), COVERR_HOLE_LINKS) << "opening at " << location;
		EXPECT_EQ(CallCount("ACAPI_Element_Delete"), 0u);
	}
}

TEST_F(HoleUpdates, NicheWindowsOfAnotherZoneStayWithoutHoles)
{
	API_Guid niche = AddOpening(API_WindowID, 3.0, Defaults().nichePart[1]);
	HostControl::SetOpeningRelation(niche, otherZone, zone);
	GS::Array<API_Guid> none;
	CovResult<HoleUpdate> update =
	    UpdateCoveringHoles(Record(wall), part, Record(covering), none, {API_WindowID, APIVarId_Generic, APINULLGuid},
	                        HoleSettings(API_WindowID), zone);
	ASSERT_TRUE(update.HasValue());
	EXPECT_TRUE(update.Value().newHoles.IsEmpty());
	EXPECT_EQ(HostControl::Elements(API_WindowID).size(), 1u);
}

TEST(HoleUpdateFaults, EveryFailureIsPassedOn)
{
	HostControl::ResetHost();
	API_Guid zone, wall, covering, moved;
	ElementCovSettings settings = HoleSettings(API_DoorID);
	auto setUp = [&] {
		zone = HostControl::AddElement(NewRecord(API_ZoneID));
		wall = ModelBuilder::AddWall({0, 0}, {10, 0});
		covering = AddCovering({1, 0.2}, {6, 0.2});
		for (double location : {3.0, 5.0}) {
			API_Guid opening = ModelBuilder::AddOpening(API_DoorID, wall, location);
			ASSERT_TRUE(AddCoveringHole(Record(wall), Record(covering), Record(opening), settings, zone).HasValue());
			moved = opening;
		}
		API_Element record = Record(moved);
		record.door.objLoc = 9.0;
		HostControl::SetElement(record);
		ModelBuilder::AddOpening(API_DoorID, wall, 2.0);
	};
	SweepFaults(
	    APIERR_GENERAL, setUp,
	    [&] {
		    GS::Array<API_Guid> holes;
		    for (const API_Guid& hole : LinkTargets(covering, LinkCoveringHole))
			    holes.Push(hole);
		    return UpdateCoveringHoles(Record(wall), {wall, 1, 1.0, 6.0}, Record(covering), holes,
		                               {API_DoorID, APIVarId_Generic, APINULLGuid}, settings, zone);
	    },
	    [&](const FaultRun&, const CovResult<HoleUpdate>& result) { EXPECT_EQ(result.Error(), APIERR_GENERAL); });
}

class NewHolesPCC : public CoveringHoles {
protected:
	GS::Array<API_Guid> TwoHoles()
	{
		ElementCovSettings settings = HoleSettings(API_DoorID);
		return {AddHole(AddOpening(API_DoorID, 3.0), settings).Value(),
		        AddHole(AddOpening(API_DoorID, 5.0), settings).Value()};
	}
};

TEST_F(NewHolesPCC, AnEmptyListAsksNothing)
{
	ElementCovSettings settings = HoleSettings(API_DoorID);
	settings.useFavorite = true;
	HostControl::ResetCallCounts();
	EXPECT_EQ(SetPCCForNewOpenings(API_DoorID, settings, {}), NoError);
	EXPECT_EQ(HostControl::TotalCallCount(), 0u);
}

TEST_F(NewHolesPCC, ListsComeFromTheStoredSettingsOrTheFavorite)
{
	for (bool useFavorite : {false, true}) {
		HostControl::ResetHost();
		BuildScene();
		HostControl::DefineFavorite(
		    {"Door hole", NewRecord(API_DoorID), std::nullopt,
		     std::vector<API_Property>{SettingsBuilder::StringValue(Defaults().lastRunProperty, "favorite")},
		     std::vector<GS::Pair<API_Guid, API_Guid>>{{Defaults().classificationSystem, Defaults().finishItem}},
		     std::nullopt});
		ElementCovSettings settings = HoleSettings(API_DoorID);
		settings.useFavorite = useFavorite;
		settings.properties.Push(SettingsBuilder::StringValue(Defaults().lastRunProperty, "stored"));
		settings.classifications.Push({Defaults().classificationSystem, Defaults().windowItem});
		GS::Array<API_Guid> holes = TwoHoles();
		HostControl::ResetCallCounts();
		ASSERT_EQ(SetPCCForNewOpenings(API_DoorID, settings, holes), NoError);
		std::vector<std::string> calls = HostControl::CallLog();
		ASSERT_FALSE(calls.empty());
		EXPECT_EQ(calls.front(), "ACAPI_Element_GetClassificationItemsDefault") << "defaults read first";
		EXPECT_EQ(CallCount("ACAPI_Favorite_Get"), useFavorite ? 1u : 0u);
		for (const API_Guid& hole : holes) {
			auto items = HostControl::GetElementPCC(hole).classificationItems;
			ASSERT_EQ(items.size(), 1u);
			EXPECT_EQ(items[0].second, useFavorite ? Defaults().finishItem : Defaults().windowItem);
			EXPECT_EQ(SettingsBuilder::ElementText(hole, Defaults().lastRunProperty),
			          useFavorite ? "favorite" : "stored");
		}
	}
}

TEST_F(NewHolesPCC, AMissingFavoriteGivesTheHostsCode)
{
	ElementCovSettings settings = HoleSettings(API_DoorID);
	settings.useFavorite = true;
	settings.favoriteName = "Nowhere";
	EXPECT_EQ(SetPCCForNewOpenings(API_DoorID, settings, TwoHoles()), APIERR_BADNAME);
}

} // namespace
