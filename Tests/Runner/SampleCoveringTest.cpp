// The engine over the whole sample apartment, as the runner drives it.
#include <map>

#include "API/Commands.hpp"
#include "CoveringIdentity.hpp"
#include "Coverings.hpp"
#include "DemoCoverings.hpp"
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

	Runner::LoadedProject project;
	std::optional<CoveringSettings> settings;
};

TEST_F(SampleCovering, EveryZoneButTheStairGetsItsCoverings)
{
	std::map<std::string, std::string> outcomes = AddToEveryZone();
	EXPECT_EQ(outcomes["04"], "COVERR_ZONE_STORY");
	EXPECT_EQ(outcomes["01"], "5 wall coverings, 3 holes, 3 column coverings, ceiling, floor");
	EXPECT_EQ(outcomes["03"], "4 wall coverings, 7 holes, 0 column coverings, ceiling, floor");

	std::map<UInt32, std::size_t> counts = ZoneLinkCounts();
	EXPECT_EQ(counts[LinkZoneCovering], 33u);
	EXPECT_EQ(counts[LinkZoneCeiling], 6u);
	EXPECT_EQ(counts[LinkZoneFloor], 6u);
	EXPECT_EQ(counts[LinkZoneColumn], 1u);
	EXPECT_GT(counts[LinkZoneWall], 0u);

	for (const Runner::LoadedZone& zone : project.zones) {
		for (const HostControl::Link& link : HostControl::LinksFrom(zone.guid)) {
			std::optional<std::string> id =
			    SettingsBuilder::ElementText(link.to, HostControl::Defaults().elementIdProperty);
			if (link.flags == LinkZoneCovering || link.flags == LinkZoneCeiling || link.flags == LinkZoneFloor) {
				ASSERT_TRUE(id.has_value());
				EXPECT_EQ(id->rfind("COV - Z" + zone.number + " - ", 0), 0u) << *id;
				EXPECT_EQ(SettingsBuilder::ElementText(link.to, HostControl::Defaults().lastRunProperty), "run 1");
			}
		}
	}
	auto reports = HostControl::ReportLines();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].text, "Round column ignored.");
}

TEST_F(SampleCovering, RemoveLeavesNoLinksAndAddWorksAgain)
{
	AddToEveryZone();
	for (const Runner::LoadedZone& zone : project.zones)
		ASSERT_EQ(RemoveCoveringsFromRoom(zone.guid), NoError) << zone.number;
	EXPECT_TRUE(ZoneLinkCounts().empty());
	EXPECT_TRUE(HostControl::Elements(API_SlabID).empty());
	std::map<std::string, std::string> again = AddToEveryZone();
	EXPECT_EQ(again["01"], "5 wall coverings, 3 holes, 3 column coverings, ceiling, floor");
}

TEST_F(SampleCovering, UndoingTheAddRestoresTheProjectExactly)
{
	LeaveUndoScope();
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

} // namespace
