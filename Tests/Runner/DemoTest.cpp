#include <fstream>
#include <sstream>

#include "API/Selection.hpp"
#include "Demo.hpp"
#include "GS/Memory.hpp"
#include "SampleTestSupport.hpp"
#include "TempFolder.hpp"

using namespace RunnerTest;

namespace {

class Demo : public HostTest {
protected:
	TempFolder folder;
	Runner::DemoOptions options = {SamplePath, (folder.Path() / "plan.svg").string()};
	std::ostringstream out;
	std::ostringstream errors;
};

std::string FileText(const std::string& path)
{
	std::ifstream file(path);
	std::ostringstream text;
	text << file.rdbuf();
	return text.str();
}

// A step that covers a zone's first wall part with a thin wall, and refuses
// zones without wall parts by the name of the reason.
Runner::ZoneOutcome CoverFirstWallPart(const Runner::LoadedZone& zone)
{
	EXPECT_EQ(HostControl::GetElement(zone.guid)->header.type.typeID, API_ZoneID);
	if (zone.id == "stair")
		return {false, "COVERR_ZONE_STORY"};
	ZoneRelation relation(zone.guid);
	API_Element covering = Record(relation.Get().wallPart[0].guid);
	covering.header.guid = APINULLGuid;
	covering.wall.thickness = 0.02;
	HostControl::AddElement(covering);
	return {true, "1 wall covering"};
}

TEST_F(Demo, CoversZoneByZoneAndDrawsWhatWasMade)
{
	std::vector<std::string> seen;
	Runner::ZoneStep step = [&](const Runner::LoadedZone& zone) {
		EXPECT_EQ(HostControl::Elements(API_ZoneID).size(), 8u);
		seen.push_back(zone.number);
		return CoverFirstWallPart(zone);
	};
	ASSERT_EQ(Runner::RunDemo(options, SampleLibraryIndex, step, out, errors), 0) << errors.str();

	EXPECT_EQ(seen, (std::vector<std::string>{"01", "02", "03", "04", "05", "06", "07", "08"}));
	std::string printed = out.str();
	EXPECT_EQ(printed.find("Opened " + SamplePath + ": Apartment, 8 zones, 16 walls, 3 columns, 8 doors, 7 windows\n"),
	          0u);
	EXPECT_NE(printed.find("  01    Living room      5 wall parts   1 wall covering\n"), std::string::npos) << printed;
	EXPECT_NE(printed.find("  04    Stair            4 wall parts   COVERR_ZONE_STORY\n"), std::string::npos);
	EXPECT_NE(printed.find("  06    Bathroom         8 wall parts   1 wall covering\n"), std::string::npos);
	EXPECT_NE(printed.find("Report window: (empty)\n"), std::string::npos);
	EXPECT_NE(printed.find("Total: 7 of 8 zones covered, 7 elements made\n"), std::string::npos);
	EXPECT_NE(printed.find("Plan: " + options.planPath + "\n"), std::string::npos);
	EXPECT_TRUE(errors.str().empty());

	std::string plan = FileText(options.planPath);
	EXPECT_EQ(plan.rfind("<svg ", 0), 0u);
	std::size_t coverings = 0;
	for (std::size_t at = plan.find("<path class=\"cov-wall\""); at != std::string::npos;
	     at = plan.find("<path class=\"cov-wall\"", at + 1))
		++coverings;
	EXPECT_EQ(coverings, 7u);
}

TEST_F(Demo, SelectsEveryZoneBeforeTheFirstStep)
{
	std::vector<API_Guid> selected;
	Runner::ZoneStep step = [&](const Runner::LoadedZone&) {
		if (selected.empty()) {
			API_SelectionInfo info;
			GS::Array<API_Neig> neigs;
			EXPECT_EQ(ACAPI_Selection_Get(&info, &neigs, false), NoError);
			BMKillHandle(&info.marquee.coords);
			for (const API_Neig& neig : neigs)
				selected.push_back(neig.guid);
		}
		return Runner::ZoneOutcome{false, "-"};
	};
	ASSERT_EQ(Runner::RunDemo(options, SampleLibraryIndex, step, out, errors), 0);
	EXPECT_EQ(selected, HostControl::Elements(API_ZoneID));
}

TEST_F(Demo, ReportsAndStopsWhenTheSampleOrThePlanFails)
{
	Runner::ZoneStep never = [](const Runner::LoadedZone&) -> Runner::ZoneOutcome {
		ADD_FAILURE() << "no zone may be covered";
		return {false, ""};
	};
	options.samplePath = "/nonexistent/apartment.json";
	EXPECT_EQ(Runner::RunDemo(options, SampleLibraryIndex, never, out, errors), 1);
	EXPECT_EQ(errors.str(), "Cannot open the sample project: /nonexistent/apartment.json: cannot be read\n");

	std::ostringstream moreErrors;
	Runner::DemoOptions badPlan = {SamplePath, "/nonexistent/plan.svg"};
	HostControl::ResetHost();
	EXPECT_EQ(Runner::RunDemo(badPlan, SampleLibraryIndex, never, out, moreErrors), 1);
	EXPECT_EQ(moreErrors.str(), "Cannot write the plan: /nonexistent/plan.svg: its folder does not exist\n");
	EXPECT_TRUE(HostControl::Elements().empty()) << "the sample was opened";
}

// The zones are covered in one undoable command, and a slow run tells how far it got.
TEST_F(Demo, CoversInOneCommandAndTellsTheProgressOfASlowRun)
{
	double now = 100.0;
	options.clock = [&] { return now; };
	Runner::ZoneStep slow = [&](const Runner::LoadedZone&) {
		now += 0.45;
		return Runner::ZoneOutcome{false, "-"};
	};
	ASSERT_EQ(Runner::RunDemo(options, SampleLibraryIndex, slow, out, errors), 0);
	EXPECT_EQ(errors.str(), "Covered 3 of 8 zones, 1 s elapsed\nCovered 6 of 8 zones, 2 s elapsed\n");
	EXPECT_EQ(HostControl::UndoStepNames(), std::vector<std::string>{"Add Coverings"});
}

} // namespace
