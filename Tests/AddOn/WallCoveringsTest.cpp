#include <cstdio>
#include <string>

#include "API/Relations.hpp"
#include "CoveringIdentity.hpp"
#include "CoveringScenes.hpp"
#include "FaultSweep.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "UndoScope.hpp"
#include "WallCoverings.hpp"

using CoveringScenes::HoleSettings;
using CoveringScenes::LinkTargets;
using CoveringScenes::Record;
using HostControl::CallCount;
using HostControl::Defaults;
using ModelBuilder::NewRecord;
using ModelBuilder::WallRecord;

namespace {

constexpr double tolerance = 1e-9;

// The zone record and its polygon memo, read as the add reads them.
class ZoneInput {
public:
	~ZoneInput() { Release(); }

	void Read(const API_Guid& zone)
	{
		Release();
		record = Record(zone);
		ACAPI_Element_GetMemo(zone, &memo);
	}
	void Release() { ACAPI_DisposeElemMemoHdls(&memo); }

	API_Element record = {};
	API_ElementMemo memo = {};
};

WallCovSettings RoomSettings()
{
	WallCovSettings settings;
	settings.enabled = true;
	settings.toolElement = NewRecord(API_WallID);
	settings.toolElement.wall.thickness = 0.015;
	settings.toolElement.wall.height = 2.5;
	settings.toolElement.wall.flipped = true;
	settings.properties.Push(SettingsBuilder::StringValue(Defaults().lastRunProperty, "stored"));
	settings.classifications.Push({Defaults().classificationSystem, Defaults().finishItem});
	settings.favoriteName = "Cladding";
	settings.doorHoles = HoleSettings(API_DoorID);
	settings.doorHoles.properties.Push(SettingsBuilder::StringValue(Defaults().lastRunProperty, "door hole"));
	settings.windowHoles = HoleSettings(API_WindowID);
	settings.windowHoles.properties.Push(SettingsBuilder::StringValue(Defaults().lastRunProperty, "window hole"));
	return settings;
}

std::string ElementId(const API_Guid& element)
{
	return SettingsBuilder::ElementText(element, Defaults().elementIdProperty).value_or("");
}

bool HasLink(const API_Guid& from, const API_Guid& to, UInt32 flags)
{
	for (const HostControl::Link& link : HostControl::LinksFrom(from)) {
		if (link.to == to && link.flags == flags)
			return true;
	}
	return false;
}

// A 6 x 4 room bounded by four walls whose reference lines run 0.1 outside it,
// each 0.2 longer than its side at both ends; a door in the south wall and a
// window in the north wall. Zone edges: 1 south, 2 east, 3 north, 4 west.
class RoomScene {
public:
	void Build()
	{
		Release();
		zone = ModelBuilder::AddZone("12", {{{{0, 0}, {6, 0}, {6, 4}, {0, 4}}}});
		walls = {ModelBuilder::AddWall({-0.2, -0.1}, {6.2, -0.1}), ModelBuilder::AddWall({6.1, -0.2}, {6.1, 4.2}),
		         ModelBuilder::AddWall({6.2, 4.1}, {-0.2, 4.1}), ModelBuilder::AddWall({-0.1, 4.2}, {-0.1, -0.2})};
		parts = {{walls[0], 1, 0.2, 6.2}, {walls[1], 2, 0.2, 4.2}, {walls[2], 3, 0.2, 6.2}, {walls[3], 4, 0.2, 4.2}};
		door = ModelBuilder::AddOpening(API_DoorID, walls[0], 2.0);
		window = ModelBuilder::AddOpening(API_WindowID, walls[2], 3.2);
		columns.clear();
		settings = RoomSettings();
	}

	// Tells the host the zone's wall parts and reads the zone.
	void Prepare()
	{
		HostControl::RoomRelation relation;
		relation.wallParts = parts;
		relation.elementsByType.push_back({API_ColumnID, columns});
		// The host also hands over the zone's niches, which the wall step must release.
		relation.niches.push_back({{{0, 0}, {1, 0}, {1, 1}, {1, 0}}, {0, 3}, {}});
		HostControl::SetRoomRelation(zone, relation);
		input.Read(zone);
	}

	CovResult<GS::Array<API_Guid>> Create() { return CreateWallCoverings(input.record, input.memo, settings); }

	CovResult<GS::Array<API_Guid>> CoverRoom()
	{
		Prepare();
		return Create();
	}

	void Release()
	{
		input.Release();
		settings = WallCovSettings();
	}

	API_Guid zone = APINULLGuid;
	std::vector<API_Guid> walls;
	std::vector<API_WallPart> parts;
	std::vector<API_Guid> columns;
	API_Guid door = APINULLGuid;
	API_Guid window = APINULLGuid;
	WallCovSettings settings;
	ZoneInput input;
};

class WallCoverings : public UndoScopeTest, protected RoomScene {
protected:
	void SetUp() override
	{
		UndoScopeTest::SetUp();
		Build();
	}
	void TearDown() override
	{
		Release();
		UndoScopeTest::TearDown();
	}

	void Rebuild()
	{
		HostControl::ResetHost();
		Build();
	}

	std::vector<std::string> ElementIds(const GS::Array<API_Guid>& elements, API_ElemTypeID type) const
	{
		std::vector<std::string> ids;
		for (const API_Guid& element : elements) {
			if (Record(element).header.type.typeID == type)
				ids.push_back(ElementId(element));
		}
		return ids;
	}
};

TEST_F(WallCoverings, FourWallsWithADoorAndAWindow)
{
	for (bool useFavorite : {false, true}) {
		Rebuild();
		API_Element favorite = WallRecord({}, {}, 0.0, 0.03);
		HostControl::DefineFavorite(
		    {"Cladding", favorite, std::nullopt,
		     std::vector<API_Property>{SettingsBuilder::StringValue(Defaults().lastRunProperty, "favorite")},
		     std::vector<GS::Pair<API_Guid, API_Guid>>{{Defaults().classificationSystem, Defaults().wallItem}},
		     std::nullopt});
		settings.useFavorite = useFavorite;
		SCOPED_TRACE(useFavorite ? "from the favorite" : "from the stored settings");

		CovResult<GS::Array<API_Guid>> made = CoverRoom();
		ASSERT_TRUE(made.HasValue());
		const GS::Array<API_Guid>& result = made.Value();
		ASSERT_EQ(result.GetSize(), 6u);
		const API_Coord corners[] = {{0, 0}, {6, 0}, {6, 4}, {0, 4}, {0, 0}};
		for (UIndex i = 0; i < 4; ++i) {
			const API_Guid& covering = result[i];
			API_Element record = Record(covering);
			EXPECT_EQ(record.header.type.typeID, API_WallID);
			EXPECT_EQ(record.wall.thickness, useFavorite ? 0.03 : 0.015);
			EXPECT_EQ(record.wall.zoneRel, APIZRel_None);
			EXPECT_FALSE(record.wall.flipped) << "a straight edge";
			EXPECT_NEAR(record.wall.begC.x, corners[i].x, tolerance);
			EXPECT_NEAR(record.wall.begC.y, corners[i].y, tolerance);
			EXPECT_NEAR(record.wall.endC.x, corners[i + 1].x, tolerance);
			EXPECT_NEAR(record.wall.endC.y, corners[i + 1].y, tolerance);
			EXPECT_EQ(ElementId(covering), "COV - Z12 - " + std::to_string(i + 1));
			EXPECT_TRUE(HasLink(zone, covering, LinkZoneCovering));
			EXPECT_TRUE(HasLink(walls[i], covering, LinkElemCovering));
			EXPECT_TRUE(HasLink(covering, walls[i], LinkCoveringElem));
			UInt32 order = 99;
			EXPECT_EQ(GetCoveringNumber(covering, order), NoError);
			EXPECT_EQ(order, 0u);
			auto items = HostControl::GetElementPCC(covering).classificationItems;
			ASSERT_EQ(items.size(), 1u);
			EXPECT_EQ(items[0].second, useFavorite ? Defaults().wallItem : Defaults().finishItem);
			EXPECT_EQ(SettingsBuilder::ElementText(covering, Defaults().lastRunProperty),
			          useFavorite ? "favorite" : "stored");
		}
		EXPECT_EQ(LinkTargets(zone, LinkZoneWall), walls);
		API_Guid group = Record(result[0]).header.groupGuid;
		EXPECT_EQ(HostControl::GroupMembers(group),
		          (std::vector<API_Guid>{result[0], result[1], result[2], result[3]}));

		const struct {
			API_Guid opening;
			UIndex covering;
			double location;
			const char* property;
		} holes[] = {{door, 0, 1.8, "door hole"}, {window, 2, 3.0, "window hole"}};
		for (UIndex h = 0; h < 2; ++h) {
			const API_Guid& hole = result[4 + h];
			API_Element record = Record(hole);
			EXPECT_EQ(record.door.owner, result[holes[h].covering]);
			EXPECT_NEAR(record.door.objLoc, holes[h].location, tolerance);
			EXPECT_EQ(record.header.groupGuid, APINULLGuid) << "holes are not grouped";
			EXPECT_EQ(SettingsBuilder::ElementText(hole, Defaults().lastRunProperty), holes[h].property);
			EXPECT_EQ(LinkTargets(holes[h].opening, LinkOpeningHole), std::vector<API_Guid>{hole});
			EXPECT_EQ(LinkTargets(hole, LinkOpeningHole), std::vector<API_Guid>{holes[h].opening});
			EXPECT_EQ(LinkTargets(result[holes[h].covering], LinkCoveringHole), std::vector<API_Guid>{hole});
		}
	}
}

TEST_F(WallCoverings, OrderNumbersFollowTheZoneEdgesOfEachWall)
{
	zone = ModelBuilder::AddZone("3", {{{{0, 0}, {3, 0}, {6, 0}, {6, 2}, {6, 4}, {3, 4}, {0, 4}, {0, 2}}}});
	parts = {{walls[3], 7, 0.2, 2.2}, {walls[0], 1, 0.2, 3.2}, {walls[3], 3, 0.2, 2.2}, {walls[3], 3, 2.2, 4.2}};
	settings.doorHoles.enabled = false;
	settings.windowHoles.enabled = false;
	CovResult<GS::Array<API_Guid>> made = CoverRoom();
	ASSERT_TRUE(made.HasValue());
	ASSERT_EQ(made.Value().GetSize(), 4u);
	const UInt32 expected[] = {2, 0, 0, 1};
	for (UIndex i = 0; i < 4; ++i) {
		UInt32 order = 99;
		EXPECT_EQ(GetCoveringNumber(made.Value()[i], order), NoError);
		EXPECT_EQ(order, expected[i]) << "covering " << i;
	}
	EXPECT_EQ(LinkTargets(zone, LinkZoneWall), (std::vector<API_Guid>{walls[3], walls[0]}));
}

TEST_F(WallCoverings, WhichWallPartsAreCovered)
{
	struct Part {
		UIndex wall;
		Int32 edge;
	};
	struct Case {
		const char* what;
		std::vector<Part> parts;
		bool innerContours;
		std::vector<std::string> ids;
		std::size_t wallsLinked;
	};
	const Case cases[] = {
	    {"inner contours off", {{0, 1}, {4, 6}}, false, {"COV - Z12 - 1"}, 1},
	    {"inner contours on", {{0, 1}, {4, 6}}, true, {"COV - Z12 - 1", "COV - Z12 - 6"}, 2},
	    {"contour ends and unknown edges", {{0, 5}, {4, 10}, {0, 42}, {0, 0}, {0, -1}}, true, {}, 0},
	    {"wall that does not bound zones", {{5, 1}, {0, 2}}, false, {"COV - Z12 - 2"}, 1},
	    {"two walls on one edge", {{0, 1}, {2, 1}}, false, {"COV - Z12 - 1", "COV - Z12 - 1"}, 2},
	};
	for (const Case& c : cases) {
		Rebuild();
		zone = ModelBuilder::AddZone("12", {{{{0, 0}, {6, 0}, {6, 4}, {0, 4}}}, {{{2, 1}, {2, 3}, {4, 3}, {4, 1}}}});
		walls.push_back(ModelBuilder::AddWall({2, 0.9}, {2, 3.1}));
		API_Element notBounding = NewRecord(API_WallID);
		notBounding.wall.zoneRel = APIZRel_ReduceArea;
		notBounding.wall.endC = {6, 0};
		walls.push_back(HostControl::AddElement(notBounding));
		parts.clear();
		for (const Part& part : c.parts)
			parts.push_back({walls[part.wall], part.edge, 0.0, 1.0});
		settings.innerContours = c.innerContours;
		CovResult<GS::Array<API_Guid>> made = CoverRoom();
		ASSERT_TRUE(made.HasValue()) << c.what;
		EXPECT_EQ(ElementIds(made.Value(), API_WallID), c.ids) << c.what;
		EXPECT_EQ(LinkTargets(zone, LinkZoneWall).size(), c.wallsLinked) << c.what;
		if (c.ids.empty()) {
			EXPECT_TRUE(HostControl::Links().empty()) << c.what;
			EXPECT_EQ(CallCount("ACAPI_Grouping_CreateGroup"), 0u) << c.what;
		}
	}
}

TEST_F(WallCoverings, StraightEdgeBeforeACurvedWallIsCoveredWholeWithoutHoles)
{
	API_Guid curved = ModelBuilder::AddWall({-0.2, -0.1}, {6.2, -0.1}, 0.3);
	ModelBuilder::AddOpening(API_DoorID, curved, 2.0);
	parts = {{curved, 1, 0.2, 6.2}};
	Prepare();
	HostControl::ResetCallCounts();
	CovResult<GS::Array<API_Guid>> made = Create();
	ASSERT_TRUE(made.HasValue());
	ASSERT_EQ(made.Value().GetSize(), 1u);
	API_Element covering = Record(made.Value()[0]);
	EXPECT_EQ(covering.wall.begC.x, 0.0);
	EXPECT_EQ(covering.wall.endC.x, 6.0);
	EXPECT_EQ(covering.wall.angle, 0.0);
	EXPECT_EQ(CallCount("ACAPI_Grouping_GetConnectedElements"), 0u);
}

TEST_F(WallCoverings, ACurvedWallWithoutLengthBeforeACurvedEdgeIsRefused)
{
	// Its two ends coincide, so it has no radius to measure the part along.
	zone = ModelBuilder::AddZone("12", {{{{0, 0}, {6, 0}, {6, 4}, {0, 4}}}}, {{1, 2, -0.3}});
	API_Guid pointLike = ModelBuilder::AddWall({3, -0.1}, {3, -0.1}, 0.3);
	parts = {{pointLike, 1, 0.0, 1.0}};
	std::size_t wallsBefore = HostControl::Elements(API_WallID).size();
	EXPECT_EQ(CoverRoom().Error(), COVERR_GENERAL);
	EXPECT_EQ(HostControl::Elements(API_WallID).size(), wallsBefore) << "no covering without a place";
}

TEST_F(WallCoverings, OpeningsOnThePartsBoundsGetHoles)
{
	struct Case {
		const char* what;
		double location;
		bool holed;
	};
	const Case cases[] = {
	    {"at the part's begin", 0.2, true},
	    {"at the part's end", 6.2, true},
	    {"just before the begin", 0.1999, false},
	    {"just past the end", 6.2001, false},
	};
	for (const Case& c : cases) {
		Rebuild();
		API_Element record = Record(door);
		record.door.objLoc = c.location;
		HostControl::SetElement(record);
		parts = {parts[0]};
		CovResult<GS::Array<API_Guid>> made = CoverRoom();
		ASSERT_TRUE(made.HasValue()) << c.what;
		EXPECT_EQ(made.Value().GetSize(), c.holed ? 2u : 1u) << c.what;
		EXPECT_EQ(LinkTargets(door, LinkOpeningHole).size(), c.holed ? 1u : 0u) << c.what;
	}
}

TEST_F(WallCoverings, HolesOfASwitchedOffKindAreNotLookedUp)
{
	struct Case {
		const char* what;
		bool doors, windows;
		UInt32 lookups, pccDefaults;
		std::size_t holes;
	};
	const Case cases[] = {
	    {"both on", true, true, 8, 3, 2},
	    {"doors off", false, true, 4, 2, 1},
	    {"windows off", true, false, 4, 2, 1},
	    {"both off", false, false, 0, 1, 0},
	};
	for (const Case& c : cases) {
		Rebuild();
		settings.doorHoles.enabled = c.doors;
		settings.windowHoles.enabled = c.windows;
		Prepare();
		HostControl::ResetCallCounts();
		CovResult<GS::Array<API_Guid>> made = Create();
		ASSERT_TRUE(made.HasValue()) << c.what;
		EXPECT_EQ(made.Value().GetSize(), 4 + c.holes) << c.what;
		EXPECT_EQ(CallCount("ACAPI_Grouping_GetConnectedElements"), c.lookups) << c.what;
		EXPECT_EQ(CallCount("ACAPI_Element_GetClassificationItemsDefault"), c.pccDefaults) << c.what;
	}
}

TEST_F(WallCoverings, NicheWindowOfAnotherZoneGetsNoHole)
{
	API_Element niche = Record(window);
	niche.door.openingBase.libInd = *HostControl::LibraryPartIndex(Defaults().nichePart[2]);
	HostControl::SetElement(niche);
	HostControl::SetOpeningRelation(window, HostControl::AddElement(NewRecord(API_ZoneID)), zone);
	CovResult<GS::Array<API_Guid>> made = CoverRoom();
	ASSERT_TRUE(made.HasValue());
	EXPECT_EQ(made.Value().GetSize(), 5u);
	EXPECT_TRUE(LinkTargets(window, LinkOpeningHole).empty());
}

// A 1 x 1 column standing in the top of a room whose top edge is split where
// the column's middle is: its bottom face runs along zone edges 6 and 7, the
// last two of the edge table, and along no other edge.
API_Guid AddSplitEdgeRoomWithColumn(std::vector<API_Guid>& columns)
{
	API_Element column = NewRecord(API_ColumnID);
	column.column.nSegments = 1;
	column.column.origoPos = {3, 4.5};
	HostControl::MemoParts segments;
	API_ColumnSegmentType segment = {};
	segment.nominalWidth = 1.0;
	segment.nominalDepth = 1.0;
	segments.columnSegments = std::vector<API_ColumnSegmentType>{segment};
	columns = {HostControl::AddElement(column, segments)};
	return ModelBuilder::AddZone("12", {{{{2.5, 4}, {0, 4}, {0, 0}, {6, 0}, {6, 4}, {3.5, 4}, {3, 4}}}});
}

TEST_F(WallCoverings, ColumnCoveringsTakeTheEdgesThatNoWallCoveringTook)
{
	struct Part {
		UIndex wall;
		Int32 edge;
	};
	struct Case {
		const char* what;
		std::vector<Part> parts;
		std::size_t wallCoverings;
		const char* columnCoveringId; // null: none
	};
	const Case cases[] = {
	    {"a used edge gives its slot to the table's last edge", {{0, 2}}, 1, "COV - Z12 - 7"},
	    {"used edges leave in the order of their first use", {{0, 3}, {1, 2}, {0, 3}}, 3, "COV - Z12 - 6"},
	    {"an edge of a wall that bounds no zone stays free", {{0, 6}, {4, 7}}, 1, "COV - Z12 - 7"},
	    {"both of the column's edges taken", {{0, 6}, {1, 6}, {2, 7}}, 3, nullptr},
	};
	for (const Case& c : cases) {
		Rebuild();
		zone = AddSplitEdgeRoomWithColumn(columns);
		API_Element notBounding = NewRecord(API_WallID);
		notBounding.wall.zoneRel = APIZRel_ReduceArea;
		walls.push_back(HostControl::AddElement(notBounding));
		parts.clear();
		for (const Part& part : c.parts)
			parts.push_back({walls[part.wall], part.edge, 0.0, 1.0});
		settings.columnCoverings = true;
		CovResult<GS::Array<API_Guid>> made = CoverRoom();
		ASSERT_TRUE(made.HasValue()) << c.what;
		std::size_t columnCoverings = c.columnCoveringId == nullptr ? 0 : 1;
		ASSERT_EQ(made.Value().GetSize(), c.wallCoverings + columnCoverings) << c.what;
		EXPECT_EQ(LinkTargets(zone, LinkZoneColumn).size(), columnCoverings) << c.what;
		if (columnCoverings == 0)
			continue;
		const API_Guid& covering = made.Value().GetLast();
		EXPECT_EQ(ElementId(covering), c.columnCoveringId) << c.what;
		EXPECT_TRUE(HasLink(columns[0], covering, LinkElemCovering)) << c.what;
		EXPECT_EQ(SettingsBuilder::ElementText(covering, Defaults().lastRunProperty), "stored") << c.what;
		EXPECT_EQ(HostControl::GroupMembers(Record(covering).header.groupGuid).size(), made.Value().GetSize())
		    << c.what;
		UInt32 side = 99;
		EXPECT_EQ(GetCoveringNumber(covering, side), NoError) << c.what;
		EXPECT_EQ(side, 3u) << "the column step's record, not an order number: " << c.what;
	}
}

TEST_F(WallCoverings, WithoutColumnCoveringsTheColumnsAreNotAskedFor)
{
	zone = AddSplitEdgeRoomWithColumn(columns);
	parts = {{walls[0], 2, 0.0, 1.0}};
	Prepare();
	HostControl::ResetCallCounts();
	CovResult<GS::Array<API_Guid>> made = Create();
	ASSERT_TRUE(made.HasValue());
	EXPECT_EQ(made.Value().GetSize(), 1u);
	EXPECT_EQ(CallCount("ACAPI_Element_GetRelations"), 1u);
	EXPECT_TRUE(LinkTargets(zone, LinkZoneColumn).empty());
}

TEST_F(WallCoverings, AZoneWithoutWallPartsMakesNothing)
{
	parts.clear();
	Prepare();
	HostControl::ResetCallCounts();
	CovResult<GS::Array<API_Guid>> made = Create();
	ASSERT_TRUE(made.HasValue());
	EXPECT_TRUE(made.Value().IsEmpty());
	EXPECT_EQ(HostControl::CallLog(), std::vector<std::string>{"ACAPI_Element_GetRelations"});
	EXPECT_TRUE(HostControl::Links().empty());
}

TEST_F(WallCoverings, AFailureAtTheThirdWallPartKeepsTheFirstTwoCoveringsBare)
{
	for (const char* call : {"ACAPI_Element_Get", "ACAPI_Element_Create"}) {
		Rebuild();
		settings.doorHoles.enabled = false;
		settings.windowHoles.enabled = false;
		Prepare();
		HostControl::ResetCallCounts();
		HostControl::FailCall(call, 3, APIERR_GENERAL);
		EXPECT_EQ(Create().Error(), APIERR_GENERAL) << call;
		std::vector<API_Guid> coverings = LinkTargets(zone, LinkZoneCovering);
		ASSERT_EQ(coverings.size(), 2u) << call;
		for (UIndex i = 0; i < 2; ++i) {
			EXPECT_EQ(ElementId(coverings[i]), "COV - Z12 - " + std::to_string(i + 1)) << call;
			EXPECT_TRUE(HasLink(walls[i], coverings[i], LinkElemCovering)) << call;
			EXPECT_TRUE(HasLink(coverings[i], walls[i], LinkCoveringElem)) << call;
			EXPECT_FALSE(SettingsBuilder::ElementText(coverings[i], Defaults().lastRunProperty).has_value()) << call;
			EXPECT_EQ(Record(coverings[i]).header.groupGuid, APINULLGuid) << call;
			EXPECT_FALSE(HostControl::GetUserData(coverings[i]).has_value()) << call;
		}
		EXPECT_TRUE(LinkTargets(zone, LinkZoneWall).empty()) << call;
	}
}

TEST_F(WallCoverings, RefusedRunsMakeNothing)
{
	struct Case {
		const char* what;
		void (*spoil)(WallCovSettings&);
		ErrCode error;
		bool logged;
	};
	const Case cases[] = {
	    {"relation unreadable",
	     [](WallCovSettings&) { HostControl::FailCall("ACAPI_Element_GetRelations", 1, APIERR_BADID); }, APIERR_BADID,
	     true},
	    {"favorite missing", [](WallCovSettings& s) { s.useFavorite = true; }, COVERR_FAV_UNAVAILABLE, false},
	    {"template that is no wall", [](WallCovSettings& s) { s.toolElement = NewRecord(API_SlabID); }, COVERR_GENERAL,
	     false},
	};
	for (const Case& c : cases) {
		Rebuild();
		c.spoil(settings);
		EXPECT_EQ(CoverRoom().Error(), c.error) << c.what;
		EXPECT_EQ(HostControl::Elements(API_WallID).size(), 4u) << c.what;
		EXPECT_EQ(HostControl::Elements(API_SlabID).size(), 0u) << c.what;
		EXPECT_TRUE(HostControl::Links().empty()) << c.what;
		char line[80];
		std::snprintf(line, sizeof(line), "Get Room relations has an error. err code %d!\n", APIERR_BADID);
		EXPECT_EQ(HostControl::DebugLines(), c.logged ? std::vector<std::string>{line} : std::vector<std::string>{})
		    << c.what;
	}
}

TEST(WallCoveringFaults, EveryFailureStopsTheRunAndReleasesEverything)
{
	HostControl::ResetHost();
	RoomScene scene;
	API_Element favorite = WallRecord({}, {}, 0.0, 0.03);
	auto setUp = [&] {
		scene.Build();
		scene.settings.useFavorite = true;
		scene.settings.columnCoverings = true;
		AddSplitEdgeRoomWithColumn(scene.columns);
		HostControl::DefineFavorite({"Cladding", favorite, std::nullopt, std::vector<API_Property>{},
		                             std::vector<GS::Pair<API_Guid, API_Guid>>{}, std::nullopt});
		scene.Prepare();
	};
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL, setUp, [&] { return scene.Create(); },
	    [&](const FaultRun& run, const CovResult<GS::Array<API_Guid>>& result) {
		    ErrCode expected = APIERR_GENERAL;
		    if (run.failedCall == "ACAPI_Favorite_Get")
			    expected = COVERR_FAV_UNAVAILABLE;
		    if (run.failedCall.rfind("BM", 0) == 0)
			    expected = APIERR_MEMFULL;
		    EXPECT_EQ(result.Error(), expected);
		    bool numbering = false;
		    for (UInt32 i = 0; i + 1 < run.nth; ++i)
			    numbering = numbering || run.callsMade[i] == "ACAPI_Element_SetUserData";
		    if (!numbering) {
			    EXPECT_TRUE(LinkTargets(scene.zone, LinkZoneWall).empty());
		    }
	    });
	EXPECT_GT(failed, 40u);
	scene.Release();
}

} // namespace
