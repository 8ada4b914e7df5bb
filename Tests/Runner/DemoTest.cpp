#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "AddOnMain.hpp"
#include "Demo.hpp"
#include "DemoCoverings.hpp"
#include "SampleTestSupport.hpp"
#include "TempFolder.hpp"

using namespace RunnerTest;

namespace {

class DemoRun : public HostTest {
protected:
	void TearDown() override
	{
		HostControl::UnloadAddOn();
		HostTest::TearDown();
	}

	TempFolder folder;
	// A still clock: a busy machine must not make a run tell its progress.
	Runner::DemoOptions options = {SamplePath, (folder.Path() / "plan.svg").string(),
	                               (folder.Path() / "palette.svg").string(), [] { return 0.0; }};
	Runner::AddOnUnderTest velmora{{CheckEnvironment, RegisterInterface, Initialize, FreeData}, ::Demo::DescribeZone};
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

// Each expected line appears, in this order.
void ExpectLinesInOrder(const std::string& printed, const std::vector<std::string>& lines)
{
	std::size_t at = 0;
	for (const std::string& line : lines) {
		std::size_t found = printed.find(line, at);
		EXPECT_NE(found, std::string::npos) << "missing after offset " << at << ": " << line << "\n" << printed;
		if (found != std::string::npos)
			at = found + line.size();
	}
}

TEST_F(DemoRun, WorksThroughThePaletteAsAUserWould)
{
	ASSERT_EQ(Runner::RunDemo(options, SampleLibraryIndex, velmora, out, errors), 0) << errors.str();
	const std::string allOn = "Wall coverings, Inner contours, Column coverings, Door holes, Window holes, Ceiling "
	                          "covering, Floor covering, Floor into door niches";
	ExpectLinesInOrder(
	    out.str(),
	    {"Loaded the add-on Velmora: ",
	     "Opened " + SamplePath + ": Apartment, 8 zones, 16 walls, 3 columns, 8 doors, 7 windows; its libraries: " +
	         Runner::addOnLibraryFolder + "\n",
	     "Chose the menu item \"Coverings Palette\": the palette shows with Wall coverings, Inner contours on, check "
	     "mark on\n",
	     "Checked \"Column coverings\" on the palette\n",
	     "Checked \"Floor covering\" on the palette\n",
	     "double-clicked \"Plaster lining 15 mm\" in its popup: the settings button shows \"Plaster lining 15 mm\"\n",
	     "Selected all 8 zones and clicked \"Add Coverings\"\n",
	     "  Alert 31110: ",
	     "  01    Living room      5 wall parts   ",
	     "Moved the wall wall-bedroom-bath 0.1 m aside\n",
	     "Deleted the door door-hall-bath\n",
	     "Selected all 8 zones and clicked \"Update Coverings\"\n",
	     "Selected zone 01 Living room and clicked \"Remove Coverings\"\n",
	     " elements removed; zone 01 has no coverings\n",
	     "Chose Undo \"Remove Coverings\": ",
	     "Undo steps: \"Add Coverings\", \"Move Wall\", \"Delete Door\", \"Update Coverings\"\n",
	     "Closed the project: the palette shows Wall coverings, Inner contours on\n",
	     "Opened it again: the palette shows " + allOn + " on, as stored in the project\n",
	     "Report window:",
	     "Total: 7 of 8 zones covered, ",
	     "Plan: " + options.planPath + "\n",
	     "Palette: " + options.palettePath + "\n",
	     "Unloaded the add-on\n"});
	EXPECT_TRUE(errors.str().empty()) << errors.str();
	EXPECT_TRUE(HostControl::ModelessWindows().empty()) << "the add-on was unloaded";
	std::smatch counts;
	const std::string printed = out.str();
	ASSERT_TRUE(std::regex_search(printed, counts, std::regex("  (\\d+) elements removed[^]*: (\\d+) elements back")));
	EXPECT_EQ(counts[1], counts[2]) << "undo brings every removed element back";
	EXPECT_NE(counts[1], "0");

	std::string palette = FileText(options.palettePath);
	EXPECT_EQ(palette.rfind("<svg ", 0), 0u);
	EXPECT_NE(palette.find("Plaster lining 15 mm"), std::string::npos) << "the picture shows the stored favorite";
	EXPECT_EQ(FileText(options.planPath).rfind("<svg ", 0), 0u);
	EXPECT_EQ(ExpectWallCoveringsOnFaces(), 33u) << "the zones followed the moved wall, and the coverings them";
}

// A sample without the wall and door that the demo changes: it moves the
// sample's first wall, names it and updates what covers it.
TEST_F(DemoRun, MovesTheFirstWallOfASampleWithoutItsOwnAndNamesIt)
{
	options.samplePath = UpperRoomPath;
	ASSERT_EQ(Runner::RunDemo(options, SampleLibraryIndex, velmora, out, errors), 0) << errors.str();
	ExpectLinesInOrder(out.str(), {"Moved the wall south 0.1 m aside\n", "Total: 1 of 1 zones covered, "});
	EXPECT_EQ(out.str().find("Deleted the door"), std::string::npos);
	API_Element south = Record(HostControl::Elements(API_WallID).front());
	EXPECT_NEAR(south.wall.begC.y, 0.1, 1e-9);
	EXPECT_EQ(ExpectWallCoveringsOnFaces(), 4u);

	// With control characters in its names, each of their bytes is shown as \xHH.
	std::string odd = FileText(UpperRoomPath);
	for (const auto& [name, oddName] : {std::pair{"\"Upper room\"", "\"Upper\\u001b[2Jroom\""},
	                                    {"\"south\"", "\"south\\nwall\\u007f\""},
	                                    {"\"11\"", "\"1\\r\""},
	                                    {"\"Loft\"", "\"Lo\\tft\\u0085\""}})
		odd = std::regex_replace(odd, std::regex(name), oddName);
	options.samplePath = (folder.Path() / "odd.json").string();
	std::ofstream(options.samplePath) << odd;
	HostControl::ResetHost();
	out.str("");
	ASSERT_EQ(Runner::RunDemo(options, SampleLibraryIndex, velmora, out, errors), 0) << errors.str();
	ExpectLinesInOrder(out.str(), {": Upper\\x1B[2Jroom, 1 zone", "  1\\x0D Lo\\x09ft\\xC2\\x85 4 wall parts",
	                               "Moved the wall south\\x0Awall\\x7F 0.1 m aside\n",
	                               "Selected zone 1\\x0D Lo\\x09ft\\xC2\\x85 and"});
	EXPECT_EQ(out.str().find_first_of("\x1b\r\t\x7f"), std::string::npos) << out.str();
	EXPECT_EQ(out.str().find("\xC2\x85"), std::string::npos) << out.str();
}

TEST_F(DemoRun, ReportsAndStopsWhenTheSampleOrAPictureCannotBeWritten)
{
	struct Case {
		std::string sample, plan, palette, error;
	};
	const Case cases[] = {
	    {"/nonexistent/apartment.json", options.planPath, options.palettePath,
	     "Cannot open the sample project: /nonexistent/apartment.json: cannot be read\n"},
	    {SamplePath, "/nonexistent/plan.svg", options.palettePath,
	     "Cannot write the plan: /nonexistent/plan.svg: its folder does not exist\n"},
	    {SamplePath, options.planPath, "/nonexistent/palette.svg",
	     "Cannot write the palette picture: /nonexistent/palette.svg: its folder does not exist\n"},
	};
	for (const Case& test : cases) {
		HostControl::ResetHost();
		std::ostringstream caseErrors;
		EXPECT_EQ(Runner::RunDemo({test.sample, test.plan, test.palette}, SampleLibraryIndex, velmora, out, caseErrors),
		          1);
		EXPECT_EQ(caseErrors.str(), test.error);
		EXPECT_TRUE(HostControl::Elements().empty()) << "the sample was opened";
		EXPECT_TRUE(HostControl::ModelessWindows().empty()) << "the add-on was loaded";
	}
}

// A slow listing of the zones tells how far it got.
TEST_F(DemoRun, TellsTheProgressOfASlowRun)
{
	double now = 100.0;
	options.clock = [&] { return now; };
	auto describe = velmora.describeZone;
	velmora.describeZone = [&](const Runner::LoadedZone& zone) {
		now += 0.45;
		return describe(zone);
	};
	ASSERT_EQ(Runner::RunDemo(options, SampleLibraryIndex, velmora, out, errors), 0);
	EXPECT_EQ(errors.str().rfind("Covered 3 of 8 zones, 1 s elapsed\nCovered 6 of 8 zones, 2 s elapsed\n", 0), 0u)
	    << errors.str();
}

// Each command tells how far it has got from the host's model changes, zone after zone.
TEST_F(DemoRun, TellsHowFarEachCommandHasGot)
{
	double now = 0.0;
	options.clock = [&] { return now += 0.25; };
	ASSERT_EQ(Runner::RunDemo(options, SampleLibraryIndex, velmora, out, errors), 0);
	std::map<std::string, std::vector<int>> reached;
	std::istringstream lines(errors.str());
	const std::regex commandLine("(.+ Coverings): (\\d+) of (\\d+) zones, \\d+ s elapsed");
	const std::regex planLine("Drawing the plan: (\\d+) %, \\d+ s elapsed");
	const std::regex otherLine("Covered \\d+ of 8 zones, \\d+ s elapsed");
	for (std::string line; std::getline(lines, line);) {
		std::smatch match;
		if (std::regex_match(line, match, commandLine)) {
			EXPECT_EQ(match[3], match[1] == "Remove Coverings" ? "1" : "8") << line;
			reached[match[1]].push_back(std::stoi(match[2]));
		} else if (std::regex_match(line, match, planLine)) {
			reached["plan"].push_back(std::stoi(match[1]));
		} else {
			EXPECT_TRUE(std::regex_match(line, otherLine)) << line;
		}
	}
	for (const char* command : {"Add Coverings", "Update Coverings", "Remove Coverings"}) {
		const std::vector<int>& zones = reached[command];
		ASSERT_FALSE(zones.empty()) << command << "\n" << errors.str();
		EXPECT_TRUE(std::is_sorted(zones.begin(), zones.end())) << command;
		EXPECT_GE(zones.front(), 1) << command;
		EXPECT_EQ(zones.back(), std::string(command) == "Remove Coverings" ? 1 : 8) << command;
	}
	const std::vector<int>& percents = reached["plan"];
	ASSERT_FALSE(percents.empty()) << errors.str();
	EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
	EXPECT_LE(percents.back(), 100);
}

} // namespace
