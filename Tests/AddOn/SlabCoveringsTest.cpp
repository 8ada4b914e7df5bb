#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <set>

#include "API/Commands.hpp"
#include "CoveringIdentity.hpp"
#include "FaultSweep.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "SlabCoverings.hpp"
#include "SlabTestSupport.hpp"
#include "UndoScope.hpp"

using HostControl::Defaults;
using ModelBuilder::NewRecord;
using namespace SlabTest;

namespace {

const Contour square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
const Contour hole = {{1, 1}, {2, 1}, {2, 2}, {1, 2}};
const Contour bowTie = {{0, 0}, {2, 2}, {2, 0}, {0, 2}};
const Contour eastNiche = {{4, 1}, {4.3, 1}, {4.3, 2}, {4, 2}};
const Contour farNiche = {{9, 9}, {10, 9}, {10, 10}, {9, 10}};
const double bulge = 0.9876543211;

API_Element SlabTemplate(double thickness, API_SlabReferencePlaneID plane)
{
	API_Element slab = NewRecord(API_SlabID);
	slab.slab.thickness = thickness;
	slab.slab.referencePlaneLocation = plane;
	slab.slab.buildingMaterial = 3;
	return slab;
}

SlabCovSettings StoredSettings(API_SlabReferencePlaneID plane = APISlabRefPlane_Top, bool insets = false)
{
	SlabCovSettings settings;
	settings.enabled = true;
	settings.toolElement = SlabTemplate(0.02, plane);
	settings.properties.Push(SettingsBuilder::StringValue(Defaults().lastRunProperty, "stored"));
	settings.classifications.Push({Defaults().classificationSystem, Defaults().finishItem});
	settings.favoriteName = "Screed";
	settings.insets = insets;
	return settings;
}

std::string ElementId(const API_Guid& element)
{
	return SettingsBuilder::ElementText(element, Defaults().elementIdProperty).value_or("<none>");
}

std::optional<UInt32> LinkFlag(const API_Guid& from, const API_Guid& to)
{
	for (const HostControl::Link& link : HostControl::LinksFrom(from)) {
		if (link.to == to)
			return link.flags;
	}
	return std::nullopt;
}

double SlabArea(const API_Guid& slab)
{
	HostControl::MemoParts parts = HostControl::GetMemoParts(slab);
	return ChordArea(*parts.coords, *parts.pends);
}

// A zone of the project as the engine reads it: its record and its memo.
class SlabCoverings : public UndoScopeTest {
protected:
	void AddZone(const Outline& outline, const std::vector<API_PolyArc>& arcs = {},
	             const std::vector<Contour>& niches = {})
	{
		std::vector<ModelBuilder::Contour> contours;
		for (const Contour& contour : outline) {
			ModelBuilder::Contour points;
			for (const Vertex& vertex : contour)
				points.points.push_back({vertex.x, vertex.y});
			contours.push_back(points);
		}
		zoneGuid = ModelBuilder::AddZone("12", contours, arcs);
		HostControl::RoomRelation relation;
		for (const Contour& niche : niches)
			relation.niches.push_back(MemoLayout({niche}));
		HostControl::SetRoomRelation(zoneGuid, relation);
		ReadZone();
	}

	// Changes the stored zone record and reads the zone again.
	template <typename Change> void ChangeZone(Change change)
	{
		API_Element record = *HostControl::GetElement(zoneGuid);
		change(record);
		HostControl::SetElement(record);
		ReadZone();
	}

	// The zone polygon that the engine is given from now on.
	void ReplaceZoneOutline(const Contour& outline) { zoneMemo.emplace(Outline{outline}); }

	void ReadZone()
	{
		zone = NewRecord(API_ZoneID);
		zone.header.guid = zoneGuid;
		ASSERT_EQ(ACAPI_Element_Get(&zone, 0), NoError);
		zoneMemo.emplace();
		ASSERT_EQ(ACAPI_Element_GetMemo(zoneGuid, &zoneMemo->memo, APIMemoMask_All), NoError);
	}

	CovResult<API_Guid> Create(SlabCovType type, const SlabCovSettings& settings)
	{
		return CreateSlabCovering(type, settings, zone, zoneMemo->memo);
	}

	ErrCode Update(const API_Guid& slab, SlabCovType type)
	{
		return UpdateSlabCovering(slab, type, zone, zoneMemo->memo);
	}

	API_Guid CreateOrFail(SlabCovType type, const SlabCovSettings& settings)
	{
		CovResult<API_Guid> made = Create(type, settings);
		EXPECT_EQ(made.Error(), NoError);
		return made.HasValue() ? made.Value() : APINULLGuid;
	}

	void TearDown() override
	{
		zoneMemo.reset();
		UndoScopeTest::TearDown();
	}

	API_Guid zoneGuid = APINULLGuid;
	API_Element zone{};
	std::optional<OwnedMemo> zoneMemo;
};

TEST(SetSlabCoveringsLevel, CeilingTopAtTheZoneTopAndFloorBottomOnTheZoneBottom)
{
	struct Case {
		SlabCovType type;
		API_SlabReferencePlaneID plane;
		double baseLevel;
		double floorOffset;
		double level;
	};
	const auto floor = static_cast<SlabCovType>(5); // any type but 1 is a floor
	const Case cases[] = {
	    {CeilingCovering, APISlabRefPlane_Top, 0.0, 0.0, 2.5},
	    {CeilingCovering, APISlabRefPlane_Bottom, 0.0, 0.0, 2.48},
	    {FloorCovering, APISlabRefPlane_Top, 0.0, 0.0, 0.02},
	    {FloorCovering, APISlabRefPlane_Bottom, 0.0, 0.0, 0.0},
	    {floor, APISlabRefPlane_Top, 0.0, 0.0, 0.02},
	    {CeilingCovering, APISlabRefPlane_Top, 0.3, -0.1, 2.7},
	    {CeilingCovering, APISlabRefPlane_Bottom, 0.3, -0.1, 2.68},
	    {FloorCovering, APISlabRefPlane_Top, 0.3, -0.1, 0.22},
	    {FloorCovering, APISlabRefPlane_Bottom, 0.3, -0.1, 0.2},
	};
	for (const Case& c : cases) {
		API_Element zone = NewRecord(API_ZoneID);
		zone.header.floorInd = 2;
		zone.zone.roomBaseLev = c.baseLevel;
		zone.zone.roomFloorOffset = c.floorOffset;
		zone.zone.roomHeight = 2.5;
		API_Element slab = SlabTemplate(0.02, c.plane);
		ASSERT_EQ(SetSlabCoveringsLevel(slab, c.type, zone), NoError);
		EXPECT_DOUBLE_EQ(slab.slab.level, c.level) << "type " << c.type << ", plane " << c.plane;
		EXPECT_EQ(slab.header.floorInd, 2);
	}

	for (Int32 plane : {1, 2, 4, -1}) {
		API_Element zone = NewRecord(API_ZoneID);
		zone.header.floorInd = 3;
		API_Element slab = SlabTemplate(0.02, static_cast<API_SlabReferencePlaneID>(plane));
		slab.slab.level = 7.0;
		EXPECT_EQ(SetSlabCoveringsLevel(slab, CeilingCovering, zone), COVERR_SLAB_REF_PLANE_CORE) << plane;
		EXPECT_EQ(slab.slab.level, 7.0) << plane;
		EXPECT_EQ(slab.header.floorInd, 3) << "the story is set before the plane is checked";
	}
}

TEST_F(SlabCoverings, MadeSlabsCarryTheirMarks)
{
	struct Case {
		SlabCovType type;
		const char* id;
		UInt32 link;
		double level;
	};
	const Case cases[] = {
	    {CeilingCovering, "COV - Z12 - Ceiling", LinkZoneCeiling, 2.5},
	    {FloorCovering, "COV - Z12 - Floor", LinkZoneFloor, 0.02},
	    {static_cast<SlabCovType>(0), "COV - Z12 - Floor", LinkZoneFloor, 0.02},
	};
	for (const Case& c : cases) {
		for (bool insets : {false, true}) {
			HostControl::ResetHost();
			HostControl::AddStory(1, 3.0, "Upper");
			AddZone({square});
			ChangeZone([](API_Element& record) { record.header.floorInd = 1; });
			API_Guid slab = CreateOrFail(c.type, StoredSettings(APISlabRefPlane_Top, insets));
			std::optional<API_Element> record = HostControl::GetElement(slab);
			ASSERT_TRUE(record.has_value());
			EXPECT_EQ(record->header.type.typeID, API_SlabID);
			EXPECT_EQ(record->header.floorInd, 1);
			EXPECT_DOUBLE_EQ(record->slab.level, c.level);
			EXPECT_EQ(record->slab.thickness, 0.02);
			EXPECT_EQ(record->slab.buildingMaterial, 3);
			EXPECT_EQ(ElementId(slab), c.id);
			EXPECT_EQ(LinkFlag(zoneGuid, slab), c.link);
			std::optional<HostControl::UserData> stored = HostControl::GetUserData(slab);
			ASSERT_TRUE(stored.has_value());
			EXPECT_EQ(stored->payload, (std::vector<char>{insets ? char(1) : char(0)}));
			HostControl::PCC pcc = HostControl::GetElementPCC(slab);
			EXPECT_EQ(SettingsBuilder::ElementText(slab, Defaults().lastRunProperty), "stored");
			EXPECT_TRUE(std::any_of(pcc.classificationItems.begin(), pcc.classificationItems.end(),
			                        [](const auto& item) { return item.second == Defaults().finishItem; }));
		}
	}
}

TEST_F(SlabCoverings, SlabMemoHoldsTheOutlineAndItsSlabData)
{
	AddZone({{{0, 0}, {4, 0, bulge}, {4, 4}, {0, 4}}, hole}, {{2, 3, bulge}});
	API_Guid slab = CreateOrFail(CeilingCovering, StoredSettings());
	std::optional<API_Element> record = HostControl::GetElement(slab);
	HostControl::MemoParts parts = HostControl::GetMemoParts(slab);
	ASSERT_TRUE(parts.coords && parts.pends && parts.arcs && parts.vertexIDs && parts.edgeTrims && parts.sideMaterials);

	const std::vector<API_Coord>& coords = *parts.coords;
	ASSERT_EQ(coords.size(), 11u);
	EXPECT_EQ(coords[0].x, 0.0);
	EXPECT_EQ(coords[0].y, 0.0);
	EXPECT_EQ((*parts.pends)[0], 0);
	EXPECT_EQ(parts.pends->back(), 10);
	EXPECT_EQ(parts.pends->size(), 3u) << "one outline with one hole";
	EXPECT_NEAR(ChordArea(coords, *parts.pends), 15.0, 1e-9);

	ASSERT_EQ(parts.arcs->size(), 1u);
	const API_PolyArc& arc = (*parts.arcs)[0];
	EXPECT_EQ(arc.arcAngle, bulge) << "the zone's arc reaches the slab exactly";
	EXPECT_EQ(coords[arc.begIndex].x, 4.0);
	EXPECT_EQ(coords[arc.begIndex].y, 0.0);
	EXPECT_EQ(coords[arc.endIndex].x, 4.0);
	EXPECT_EQ(coords[arc.endIndex].y, 4.0);

	EXPECT_EQ(record->slab.poly.nCoords, 10);
	EXPECT_EQ(record->slab.poly.nSubPolys, 2);
	EXPECT_EQ(record->slab.poly.nArcs, 1);
	EXPECT_EQ(parts.vertexIDs->size(), 11u);
	EXPECT_EQ(parts.edgeTrims->size(), 11u);
	EXPECT_EQ(parts.sideMaterials->size(), 11u);

	// Without arcs the slab still gets its (empty) arc part.
	AddZone({square});
	API_Guid plain = CreateOrFail(FloorCovering, StoredSettings());
	parts = HostControl::GetMemoParts(plain);
	ASSERT_TRUE(parts.arcs.has_value());
	EXPECT_TRUE(parts.arcs->empty());
	EXPECT_EQ(HostControl::GetElement(plain)->slab.poly.nArcs, 0);
}

TEST_F(SlabCoverings, OutlinesWithAndWithoutInsets)
{
	struct Case {
		const char* what;
		Outline outline;
		std::vector<Contour> niches;
		bool insets;
		ErrCode result;
		double area;
	};
	const Case cases[] = {
	    {"plain", {square}, {}, false, NoError, 16.0},
	    {"niches without insets", {square}, {eastNiche}, false, NoError, 16.0},
	    {"insets without niches", {square}, {}, true, NoError, 16.0},
	    {"touching niche", {square}, {eastNiche}, true, NoError, 16.3},
	    {"niche away from the zone", {square}, {eastNiche, farNiche}, true, COVERR_GENERAL, 0.0},
	    {"two polygons", {bowTie}, {}, false, COVERR_POLY_REGULARIZATION, 0.0},
	};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		AddZone(c.outline, {}, c.niches);
		CovResult<API_Guid> made = Create(CeilingCovering, StoredSettings(APISlabRefPlane_Top, c.insets));
		EXPECT_EQ(made.Error(), c.result) << c.what;
		std::vector<API_Guid> slabs = HostControl::Elements(API_SlabID);
		if (c.result != NoError) {
			EXPECT_TRUE(slabs.empty()) << c.what;
			EXPECT_TRUE(HostControl::LinksFrom(zoneGuid).empty()) << c.what;
			continue;
		}
		ASSERT_EQ(slabs.size(), 1u) << c.what;
		EXPECT_NEAR(SlabArea(slabs[0]), c.area, 1e-9) << c.what;
	}
}

TEST_F(SlabCoverings, SourcesAndTemplatesThatMakeNoSlab)
{
	API_Element favoriteSlab = SlabTemplate(0.04, APISlabRefPlane_Bottom);
	HostControl::DefineFavorite(
	    {"Screed", favoriteSlab, std::nullopt,
	     std::vector<API_Property>{SettingsBuilder::StringValue(Defaults().lastRunProperty, "favorite")},
	     std::vector<GS::Pair<API_Guid, API_Guid>>{}, std::nullopt});
	AddZone({square});

	SlabCovSettings fromFavorite = StoredSettings(APISlabRefPlane_CoreTop);
	fromFavorite.useFavorite = true;
	API_Guid slab = CreateOrFail(CeilingCovering, fromFavorite);
	EXPECT_EQ(HostControl::GetElement(slab)->slab.thickness, 0.04);
	EXPECT_DOUBLE_EQ(HostControl::GetElement(slab)->slab.level, 2.46);
	EXPECT_EQ(SettingsBuilder::ElementText(slab, Defaults().lastRunProperty), "favorite");

	struct Case {
		const char* what;
		SlabCovSettings settings;
		ErrCode result;
	};
	SlabCovSettings missingFavorite = fromFavorite;
	missingFavorite.favoriteName = "Gone";
	SlabCovSettings wallTemplate = StoredSettings();
	wallTemplate.toolElement.header.type.typeID = API_WallID;
	const Case cases[] = {
	    {"core top", StoredSettings(APISlabRefPlane_CoreTop), COVERR_SLAB_REF_PLANE_CORE},
	    {"core bottom", StoredSettings(APISlabRefPlane_CoreBottom), COVERR_SLAB_REF_PLANE_CORE},
	    {"unknown plane", StoredSettings(static_cast<API_SlabReferencePlaneID>(9)), COVERR_SLAB_REF_PLANE_CORE},
	    {"missing favorite", missingFavorite, COVERR_FAV_UNAVAILABLE},
	    {"template of a wall", wallTemplate, APIERR_BADELEMENTTYPE},
	};
	for (const Case& c : cases) {
		EXPECT_EQ(Create(FloorCovering, c.settings).Error(), c.result) << c.what;
		EXPECT_EQ(HostControl::Elements(API_SlabID).size(), 1u) << c.what << ": no slab made";
		EXPECT_EQ(HostControl::Elements(API_WallID).size(), 0u) << c.what;
		EXPECT_EQ(HostControl::LinksFrom(zoneGuid).size(), 1u) << c.what;
	}
}

TEST_F(SlabCoverings, EveryFailedHostCallOfCreationLeavesNoSlab)
{
	std::set<std::string> failedCalls;
	for (bool useFavorite : {false, true}) {
		SweepFaults(
		    injectedFault,
		    [&] {
			    HostControl::DefineFavorite({"Screed", SlabTemplate(0.04, APISlabRefPlane_Top), std::nullopt,
			                                 std::vector<API_Property>{}, std::vector<GS::Pair<API_Guid, API_Guid>>{},
			                                 std::vector<API_ElemCategoryValue>{}});
			    AddZone({square}, {}, {eastNiche});
		    },
		    [&] {
			    SlabCovSettings settings = StoredSettings(APISlabRefPlane_Top, true);
			    settings.useFavorite = useFavorite;
			    return Create(CeilingCovering, settings).Error();
		    },
		    [&](const FaultRun& run, ErrCode result) {
			    failedCalls.insert(run.failedCall);
			    ErrCode expected =
			        run.failedCall == "ACAPI_Favorite_Get" ? COVERR_FAV_UNAVAILABLE : PassedOnWithOneNiche(run);
			    EXPECT_EQ(result, expected);
			    bool linked = run.failedCall != "ACAPI_ElementLink_Link" &&
			                  std::find(run.callsMade.begin(), run.callsMade.begin() + run.nth,
			                            "ACAPI_ElementLink_Link") != run.callsMade.begin() + run.nth;
			    EXPECT_EQ(HostControl::Elements(API_SlabID).size(), linked ? 1u : 0u)
			        << "a slab made before the failure stays once its zone links it, without its later marks";
			    EXPECT_EQ(HostControl::LinksFrom(zoneGuid).size(), linked ? 1u : 0u);
		    });
	}
	for (const char* call :
	     {"ACAPI_Favorite_Get", "ACAPI_Element_GetRelations", "BMAllocateHandle", "BMAllocatePtr",
	      "ACAPI_Element_Create", "ACAPI_Element_GetClassificationItemsDefault", "ACAPI_Element_SetProperties",
	      "ACAPI_Element_SetProperty", "ACAPI_ElementLink_Link", "ACAPI_Element_SetUserData"})
		EXPECT_EQ(failedCalls.count(call), 1u) << call << " was never failed";
}

// Update: a ceiling made with insets over a zone with a door niche; then the
// zone moves up a story, grows and gets another number, and the user thickens
// the slab and gives it another material.
class SlabUpdate : public SlabCoverings {
protected:
	void Scene(bool insets = true)
	{
		HostControl::AddStory(1, 3.0, "Upper");
		AddZone({square}, {}, {eastNiche});
		slab = CreateOrFail(CeilingCovering, StoredSettings(APISlabRefPlane_Top, insets));
		ChangeZone([](API_Element& record) {
			record.header.floorInd = 1;
			record.zone.roomBaseLev = 0.1;
			record.zone.roomHeight = 2.7;
			GS::UniString("14").CopyUStr(record.zone.roomNoStr, 32);
		});
		ChangeSlab([](API_Element& record) {
			record.slab.thickness = 0.05;
			record.slab.buildingMaterial = 8;
		});
		before = Snapshot();
	}

	template <typename Change> void ChangeSlab(Change change)
	{
		API_Element record = *HostControl::GetElement(slab);
		change(record);
		HostControl::SetElement(record);
	}

	struct SlabState {
		API_Element record;
		std::vector<API_Coord> coords;
		std::optional<HostControl::UserData> userData;
		std::string elementId;

		bool operator==(const SlabState& other) const
		{
			return std::memcmp(&record, &other.record, sizeof(record)) == 0 && coords.size() == other.coords.size() &&
			       std::memcmp(coords.data(), other.coords.data(), coords.size() * sizeof(API_Coord)) == 0 &&
			       userData.has_value() == other.userData.has_value() &&
			       (!userData.has_value() || userData->payload == other.userData->payload) &&
			       elementId == other.elementId;
		}
	};

	SlabState Snapshot() const
	{
		return {*HostControl::GetElement(slab), *HostControl::GetMemoParts(slab).coords, HostControl::GetUserData(slab),
		        ElementId(slab)};
	}

	API_Guid slab = APINULLGuid;
	SlabState before{};
};

TEST_F(SlabUpdate, RefitsStoryLevelAndOutlineOnly)
{
	struct Case {
		const char* what;
		bool storedInsets;
		bool keepUserData;
		SlabCovType type;
		const char* id;
		double level;
		double area;
	};
	const Case cases[] = {
	    {"stored insets", true, true, CeilingCovering, "COV - Z14 - Ceiling", 2.8, 20.3},
	    {"no insets stored", false, true, CeilingCovering, "COV - Z14 - Ceiling", 2.8, 20.0},
	    {"no user data", true, false, CeilingCovering, "COV - Z14 - Ceiling", 2.8, 20.0},
	    {"as a floor", true, true, static_cast<SlabCovType>(3), "COV - Z14 - Floor", 0.15, 20.3},
	};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		Scene(c.storedInsets);
		if (!c.keepUserData)
			HostControl::RemoveUserData(slab);
		HostControl::PCC pccBefore = HostControl::GetElementPCC(slab);
		const Contour wider = {{0, 0}, {4, 0}, {4, 5}, {0, 5}};
		ReplaceZoneOutline(wider);

		ASSERT_EQ(Update(slab, c.type), NoError) << c.what;
		API_Element record = *HostControl::GetElement(slab);
		EXPECT_EQ(record.header.floorInd, 1) << c.what;
		EXPECT_DOUBLE_EQ(record.slab.level, c.level) << c.what;
		EXPECT_EQ(record.slab.thickness, 0.05) << c.what;
		EXPECT_EQ(record.slab.buildingMaterial, 8) << c.what;
		EXPECT_EQ(record.slab.referencePlaneLocation, APISlabRefPlane_Top) << c.what;
		EXPECT_NEAR(SlabArea(slab), c.area, 1e-9) << c.what;
		EXPECT_EQ(ElementId(slab), c.id) << c.what;
		EXPECT_EQ(LinkFlag(zoneGuid, slab), LinkZoneCeiling) << c.what << ": links stay";
		EXPECT_EQ(HostControl::GetUserData(slab).has_value(), c.keepUserData) << c.what;
		EXPECT_EQ(HostControl::GetElementPCC(slab).classificationItems.size(), pccBefore.classificationItems.size());
		EXPECT_EQ(SettingsBuilder::ElementText(slab, Defaults().lastRunProperty), "stored") << c.what;
	}
}

// The slab's edge trims and side materials must follow its outline when the
// re-fit changes the number of vertices.
TEST_F(SlabUpdate, ARefitWithMoreVerticesReplacesEveryPolygonPart)
{
	Scene(false);
	ASSERT_EQ(HostControl::GetMemoParts(slab).edgeTrims->size(), 6u);
	ReplaceZoneOutline({{0, 0}, {4, 0}, {4, 3}, {3, 4}, {0, 4}});
	ASSERT_EQ(ACAPI_CallUndoableCommand("Update Coverings", [&] { return Update(slab, CeilingCovering); }), NoError);

	HostControl::MemoParts parts = HostControl::GetMemoParts(slab);
	const std::size_t entries = 7; // entry 0, five vertices and the closing repeat
	ASSERT_EQ(parts.coords->size(), entries);
	EXPECT_EQ(parts.vertexIDs->size(), entries);
	EXPECT_EQ(parts.sideMaterials->size(), entries);
	ASSERT_EQ(parts.edgeTrims->size(), entries);
	for (std::size_t i = 0; i < entries; ++i) {
		bool end = i == 0 || i == entries - 1;
		EXPECT_EQ((*parts.edgeTrims)[i].sideAngle, end ? 0.0 : M_PI / 2) << i;
	}
	API_Element record = *HostControl::GetElement(slab);
	EXPECT_EQ(record.slab.poly.nCoords, 6);
}

TEST_F(SlabUpdate, RefusalsLeaveTheSlabAsItWas)
{
	struct Case {
		const char* what;
		std::function<void()> damage;
		ErrCode result;
	};
	const Case cases[] = {
	    {"core reference plane",
	     [this] { ChangeSlab([](API_Element& r) { r.slab.referencePlaneLocation = APISlabRefPlane_CoreBottom; }); },
	     COVERR_SLAB_REF_PLANE_CORE},
	    {"damaged user data",
	     [this] {
		     HostControl::SetUserData(slab, {2, 0x6D6D, 0, std::vector<char>{1}});
	     },
	     COVERR_USERDATA},
	    {"zone polygon falls apart", [this] { ReplaceZoneOutline(bowTie); }, COVERR_POLY_REGULARIZATION},
	};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		Scene();
		c.damage();
		before = Snapshot();
		EXPECT_EQ(Update(slab, CeilingCovering), c.result) << c.what;
		EXPECT_TRUE(Snapshot() == before) << c.what;
	}

	HostControl::ResetHost();
	Scene();
	API_Guid wall = ModelBuilder::AddWall({0, 0}, {4, 0});
	API_Element wallBefore = *HostControl::GetElement(wall);
	EXPECT_EQ(Update(wall, CeilingCovering), APIERR_BADELEMENTTYPE) << "a link pointing at a wall";
	API_Element wallAfter = *HostControl::GetElement(wall);
	EXPECT_EQ(std::memcmp(&wallBefore, &wallAfter, sizeof(API_Element)), 0);
}

TEST_F(SlabUpdate, EveryFailedHostCallBeforeTheChangeLeavesTheSlabAsItWas)
{
	std::set<std::string> failedCalls;
	SweepFaults(
	    injectedFault, [&] { Scene(); }, [&] { return Update(slab, CeilingCovering); },
	    [&](const FaultRun& run, ErrCode result) {
		    failedCalls.insert(run.failedCall);
		    EXPECT_EQ(result, PassedOnWithOneNiche(run));
		    auto change = std::find(run.callsMade.begin(), run.callsMade.end(), "ACAPI_Element_Change");
		    if (run.nth <= static_cast<UInt32>(change - run.callsMade.begin()) + 1) {
			    EXPECT_TRUE(Snapshot() == before);
		    }
	    });
	for (const char* call : {"ACAPI_Element_Get", "ACAPI_Element_GetUserData", "ACAPI_Element_GetRelations",
	                         "BMAllocateHandle", "BMAllocatePtr", "ACAPI_Element_Change", "ACAPI_Element_SetProperty"})
		EXPECT_EQ(failedCalls.count(call), 1u) << call << " was never failed";
}

} // namespace
