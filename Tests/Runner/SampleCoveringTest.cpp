// The engine over the whole sample apartment, as the runner drives it.
#include <algorithm>
#include <cmath>
#include <map>

#include "API/Commands.hpp"
#include "CoveringIdentity.hpp"
#include "Coverings.hpp"
#include "DemoCoverings.hpp"
#include "ElementSettingsHelpers.hpp"
#include "PlanGeometry.hpp"
#include "SampleProject.hpp"
#include "SettingsBuilder.hpp"
#include "UndoScope.hpp"

namespace {

class SampleCovering : public UndoScopeTest {
protected:
	void SetUp() override
	{
		UndoScopeTest::SetUp();
		Runner::LoadResult loaded =
		    Runner::LoadSampleProject(VELMORA_SAMPLES_DIR "/apartment.json", Runner::LibraryIndexInProject);
		ASSERT_TRUE(loaded.project.has_value()) << loaded.message;
		project = *loaded.project;
		settings.emplace(Demo::CoveringSettingsForRun("Plaster lining 15 mm", HostControl::Defaults().lastRunProperty));
	}

	void TearDown() override
	{
		settings.reset(); // its hole memos hold handles
		UndoScopeTest::TearDown();
	}

	std::map<std::string, std::string> AddToEveryZone()
	{
		std::map<std::string, std::string> outcomes;
		for (const Runner::LoadedZone& zone : project.zones)
			outcomes[zone.number] = Demo::CoverZone(zone, *settings, "run 1").text;
		return outcomes;
	}

	std::map<UInt32, std::size_t> ZoneLinkCounts() const
	{
		std::map<UInt32, std::size_t> counts;
		for (const Runner::LoadedZone& zone : project.zones) {
			for (const HostControl::Link& link : HostControl::LinksFrom(zone.guid))
				++counts[link.flags];
		}
		return counts;
	}

	// Every covering that a zone links bears its zone's number and its own in
	// its Element ID, and the stamp of the run.
	void ExpectCoveringsNamedAndStamped(const std::string& stamp) const
	{
		for (const Runner::LoadedZone& zone : project.zones) {
			for (const HostControl::Link& link : HostControl::LinksFrom(zone.guid)) {
				if (link.flags != LinkZoneCovering && link.flags != LinkZoneCeiling && link.flags != LinkZoneFloor)
					continue;
				std::string id =
				    SettingsBuilder::ElementText(link.to, HostControl::Defaults().elementIdProperty).value_or("");
				const std::string zonePart = "COV - Z" + zone.number + " - ";
				EXPECT_TRUE(id.rfind(zonePart, 0) == 0 && id.size() > zonePart.size()) << id;
				EXPECT_EQ(SettingsBuilder::ElementText(link.to, HostControl::Defaults().lastRunProperty), stamp) << id;
			}
		}
	}

	Runner::LoadedProject project;
	std::optional<CoveringSettings> settings;
};

TEST_F(SampleCovering, EveryZoneButTheStairGetsItsCoverings)
{
	std::map<std::string, std::string> outcomes = AddToEveryZone();
	EXPECT_EQ(outcomes["04"], "COVERR_ZONE_STORY");
	EXPECT_EQ(outcomes["01"], "5 wall coverings, 3 holes, 7 column coverings, ceiling, floor");
	EXPECT_EQ(outcomes["03"], "4 wall coverings, 7 holes, 0 column coverings, ceiling, floor");
	EXPECT_EQ(outcomes["08"], "3 wall coverings, 1 hole, 0 column coverings, ceiling, floor");

	std::map<UInt32, std::size_t> counts = ZoneLinkCounts();
	EXPECT_EQ(counts[LinkZoneCovering], 40u);
	EXPECT_EQ(counts[LinkZoneCeiling], 7u);
	EXPECT_EQ(counts[LinkZoneFloor], 7u);
	EXPECT_EQ(counts[LinkZoneColumn], 2u);
	EXPECT_GT(counts[LinkZoneWall], 0u);

	ExpectCoveringsNamedAndStamped("run 1");
	auto reports = HostControl::ReportLines();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].text, "Round column ignored.");
}

double DirectionFrom(API_Coord centre, API_Coord point)
{
	return std::atan2(point.y - centre.y, point.x - centre.x);
}

// The winter garden's curved wall is drawn clockwise, against the zone's
// contour: its two coverings must still lie on the zone's two curved edges,
// each over its own wall part, and the window's hole in front of the window.
TEST_F(SampleCovering, TheClockwiseWallIsCoveredOnItsEdges)
{
	const Runner::LoadedZone& garden = project.zones.back();
	ASSERT_EQ(garden.number, "08");
	std::string outcome;
	ASSERT_EQ(ACAPI_CallUndoableCommand("Add Coverings",
	                                    [&] {
		                                    outcome = Demo::CoverZone(garden, *settings, "run 1").text;
		                                    return NoError;
	                                    }),
	          NoError);
	EXPECT_EQ(outcome, "3 wall coverings, 1 hole, 0 column coverings, ceiling, floor");

	const API_Coord centre = {10.879829, 4.5};
	const double faceRadius = 2.440341; // the wall's inner face, where the zone's edges run
	const double wallRadius = 2.540341;
	const double edgeEnd = 58.634946 * M_PI / 180.0; // the edges run from -edgeEnd to 0 and from 0 to edgeEnd
	const double tolerance = 1e-5;
	std::vector<std::pair<double, double>> spans;
	std::size_t holes = 0;
	for (const HostControl::Link& link : HostControl::LinksFrom(project.byId.at("wall-winter-garden"))) {
		if (link.flags != LinkElemCovering)
			continue;
		API_Element covering = *HostControl::GetElement(link.to);
		EXPECT_FALSE(covering.wall.flipped) << "both edges turn counter-clockwise";
		EXPECT_NEAR(Runner::Distance(covering.wall.begC, centre), faceRadius, tolerance);
		EXPECT_NEAR(Runner::Distance(covering.wall.endC, centre), faceRadius, tolerance);
		double from = DirectionFrom(centre, covering.wall.begC);
		EXPECT_NEAR(from + covering.wall.angle, DirectionFrom(centre, covering.wall.endC), tolerance);
		spans.emplace_back(from, from + covering.wall.angle);
		for (const HostControl::Link& toHole : HostControl::LinksFrom(link.to)) {
			if (toHole.flags != LinkCoveringHole)
				continue;
			++holes;
			API_Element hole = *HostControl::GetElement(toHole.to);
			API_Element window = *HostControl::GetElement(project.byId.at("window-winter-garden"));
			double windowDirection = M_PI / 3.0 - window.window.objLoc / wallRadius;
			EXPECT_NEAR(from + hole.window.objLoc / faceRadius, windowDirection, tolerance);
		}
	}
	std::sort(spans.begin(), spans.end());
	ASSERT_EQ(spans.size(), 2u);
	const double ends[][2] = {{-edgeEnd, 0.0}, {0.0, edgeEnd}};
	for (std::size_t i = 0; i < 2; ++i) {
		EXPECT_NEAR(spans[i].first, ends[i][0], tolerance) << i;
		EXPECT_NEAR(spans[i].second, ends[i][1], tolerance) << i;
	}
	EXPECT_EQ(holes, 1u);
}

TEST_F(SampleCovering, RemoveLeavesNoLinksAndAddWorksAgain)
{
	AddToEveryZone();
	for (const Runner::LoadedZone& zone : project.zones)
		ASSERT_EQ(RemoveCoveringsFromRoom(zone.guid), NoError) << zone.number;
	EXPECT_TRUE(ZoneLinkCounts().empty());
	EXPECT_TRUE(HostControl::Elements(API_SlabID).empty());
	std::map<std::string, std::string> again = AddToEveryZone();
	EXPECT_EQ(again["01"], "5 wall coverings, 3 holes, 7 column coverings, ceiling, floor");
}

TEST_F(SampleCovering, UndoingTheAddRestoresTheProjectExactly)
{
	std::vector<API_Guid> elements = HostControl::Elements();
	std::vector<HostControl::Link> links = HostControl::Links();
	ASSERT_EQ(ACAPI_CallUndoableCommand("Add Coverings",
	                                    [&] {
		                                    AddToEveryZone();
		                                    return NoError;
	                                    }),
	          NoError);
	ASSERT_NE(HostControl::Elements().size(), elements.size());
	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_EQ(HostControl::Elements(), elements);
	EXPECT_EQ(HostControl::Links().size(), links.size());
	for (const Runner::LoadedZone& zone : project.zones)
		EXPECT_FALSE(HostControl::GetUserData(zone.guid).has_value());
}

// The palette's "Tool settings" for every kind, the state of every project
// without favorites: the tool defaults' own Element ID must not replace the
// coverings' ones, on which the update relies.
TEST_F(SampleCovering, EveryKindOnToolSettingsIsAddedUpdatedAndRemoved)
{
	settings->wall.useFavorite = false;
	settings->wall.favoriteName.Clear();
	GS::Array<API_ElemCategory> categories;
	ASSERT_EQ(ACAPI_Category_GetElementCategories(&categories), NoError);
	ASSERT_EQ(GetCurrentToolDefaults({API_WallID, APIVarId_Generic, APINULLGuid}, settings->wall.toolElement,
	                                 settings->wall.memo, settings->wall.properties, settings->wall.classifications,
	                                 settings->wall.categoryValues, categories),
	          NoError);
	std::vector<API_Guid> elementsBefore = HostControl::Elements();

	std::map<std::string, std::string> outcomes = AddToEveryZone();
	EXPECT_EQ(outcomes["01"], "5 wall coverings, 3 holes, 7 column coverings, ceiling, floor");
	EXPECT_EQ(outcomes["03"], "4 wall coverings, 7 holes, 0 column coverings, ceiling, floor");
	ExpectCoveringsNamedAndStamped("run 1");

	const API_Guid door = project.byId.at("door-hall-bath");
	std::vector<HostControl::Link> doorHoles = HostControl::LinksFrom(door);
	ASSERT_EQ(doorHoles.size(), 2u) << "one hole on each side of the door";
	ASSERT_EQ(ACAPI_Element_Delete({door}), NoError);
	for (const Runner::LoadedZone& zone : project.zones) {
		EXPECT_EQ(UpdateCoveringsOfRoom(zone.guid, *settings, "run 2"),
		          zone.number == "04" ? COVERR_ZONE_STORY : NoError)
		    << zone.number;
	}
	for (const HostControl::Link& hole : doorHoles)
		EXPECT_FALSE(HostControl::GetElement(hole.to).has_value()) << "the deleted door's hole stays";
	ExpectCoveringsNamedAndStamped("run 2");

	for (const Runner::LoadedZone& zone : project.zones)
		EXPECT_EQ(RemoveCoveringsFromRoom(zone.guid), NoError) << zone.number;
	elementsBefore.erase(std::find(elementsBefore.begin(), elementsBefore.end(), door));
	EXPECT_EQ(HostControl::Elements(), elementsBefore);
	EXPECT_TRUE(ZoneLinkCounts().empty());
}

} // namespace
