// The tiled sample that the benchmarks measure: every copy is the sample, moved.
#include <fstream>
#include <map>
#include <sstream>

#include "API/Commands.hpp"
#include "CoveringIdentity.hpp"
#include "DemoCoverings.hpp"
#include "HostTest.hpp"
#include "TiledSample.hpp"

namespace {

class TiledSample : public HostTest {
protected:
	static Runner::SampleDescription ReadSample()
	{
		std::ifstream file(VELMORA_SAMPLES_DIR "/apartment.json", std::ios::binary);
		std::ostringstream text;
		text << file.rdbuf();
		return Runner::ReadSampleDescription(text.str(), Runner::LibraryIndexInProject);
	}
};

API_Coord Moved(const API_Coord& point, const API_Coord& from, const API_Coord& to)
{
	return {point.x + to.x - from.x, point.y + to.y - from.y};
}

// Each wall covering's reference line and each slab's first vertex, by the zone's link flag.
std::multimap<UInt32, std::pair<API_Coord, API_Coord>> MadeFor(const API_Guid& zone)
{
	std::multimap<UInt32, std::pair<API_Coord, API_Coord>> made;
	for (const HostControl::Link& link : HostControl::LinksFrom(zone)) {
		API_Element record = *HostControl::GetElement(link.to);
		if (record.header.type.typeID == API_WallID)
			made.emplace(link.flags, std::pair{record.wall.begC, record.wall.endC});
		if (record.header.type.typeID == API_SlabID) {
			API_Coord first = (*HostControl::GetMemoParts(link.to).coords)[1];
			made.emplace(link.flags, std::pair{first, first});
		}
	}
	return made;
}

TEST_F(TiledSample, EveryCopyIsCoveredAsTheSampleIsAtItsPlace)
{
	constexpr std::size_t copies = 5;
	const Runner::SampleDescription sample = ReadSample();
	Runner::LoadedProject project = Runner::BuildSampleProject(Bench::TileSample(sample, copies));
	for (API_ElemTypeID type : {API_WallID, API_ColumnID, API_ZoneID, API_DoorID, API_WindowID})
		EXPECT_EQ(HostControl::Elements(type).size() % copies, 0u) << type;
	EXPECT_EQ(project.zones.size(), copies * sample.zones.size());

	CoveringSettings settings =
	    Demo::CoveringSettingsForRun(sample.favorites.front().name, HostControl::Defaults().lastRunProperty);
	std::vector<std::string> outcomes;
	ASSERT_EQ(ACAPI_CallUndoableCommand("Add",
	                                    [&] {
		                                    for (const Runner::LoadedZone& zone : project.zones)
			                                    outcomes.push_back(Demo::CoverZone(zone, settings, "run").text);
		                                    return NoError;
	                                    }),
	          NoError);

	std::vector<Bench::Extent> extents;
	for (std::size_t copy = 0; copy < copies; ++copy) {
		for (std::size_t z = 0; z < sample.zones.size(); ++z) {
			const Runner::LoadedZone& original = project.zones[z];
			const Runner::LoadedZone& zone = project.zones[copy * sample.zones.size() + z];
			EXPECT_EQ(zone.id, Bench::CopyId(copy, original.id));
			EXPECT_EQ(outcomes[copy * sample.zones.size() + z], outcomes[z]) << zone.id;
			API_Coord from = HostControl::GetElement(original.guid)->zone.pos;
			API_Coord to = HostControl::GetElement(zone.guid)->zone.pos;
			auto expected = MadeFor(original.guid);
			auto made = MadeFor(zone.guid);
			ASSERT_EQ(made.size(), expected.size()) << zone.id;
			for (auto e = expected.begin(), m = made.begin(); e != expected.end(); ++e, ++m) {
				EXPECT_EQ(m->first, e->first) << zone.id;
				for (auto [got, want] :
				     {std::pair{m->second.first, e->second.first}, {m->second.second, e->second.second}}) {
					EXPECT_NEAR(got.x, Moved(want, from, to).x, 1e-9) << zone.id;
					EXPECT_NEAR(got.y, Moved(want, from, to).y, 1e-9) << zone.id;
				}
			}
		}
	}
	EXPECT_TRUE(HostControl::ReportLines().size() == copies) << "one round column per copy";
}

TEST_F(TiledSample, CopiesLieOnAGridWithRoomBetweenThem)
{
	const Runner::SampleDescription sample = ReadSample();
	const Bench::Extent one = Bench::ExtentOf(sample);
	const Bench::Extent all = Bench::ExtentOf(Bench::TileSample(sample, 7)); // a 3 by 3 grid, partly filled
	double width = one.max.x - one.min.x;
	double height = one.max.y - one.min.y;
	EXPECT_EQ(all.min.x, one.min.x);
	EXPECT_EQ(all.min.y, one.min.y);
	EXPECT_GT(all.max.x - all.min.x, 3 * width);
	EXPECT_LT(all.max.x - all.min.x, 3 * width + 3 * 3.0);
	EXPECT_GT(all.max.y - all.min.y, 3 * height);
}

} // namespace
