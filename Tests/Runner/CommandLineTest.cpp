// The runner as a user starts it: from a folder of their own, on small files.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "TempFolder.hpp"

namespace fs = std::filesystem;

namespace {

std::string FileText(const fs::path& path)
{
	std::ifstream file(path);
	std::ostringstream text;
	text << file.rdbuf();
	return text.str();
}

void WriteFile(const fs::path& path, const std::string& text)
{
	std::ofstream(path) << text;
}

struct Outcome {
	int status;
	std::string out;
	std::string errors;
};

// A box room of one wall, one door and two round posts, without favorites; the
// placeholders are swapped for a case's values.
const char* const SmallSample = R"({
  "format": "Velmora sample project 1", "name": "Box",
  "walls": [{ "id": "wall", "begin": [0, 0], "end": [4, 0], "thickness": 0.2, "height": 2.5 }],
  "columns": [{ "id": "post-1", "position": [1, 2], "round": true, "width": 0.3, "depth": 0.3, "height": 2.5 },
              { "id": "post-2", "position": [3, 2], "round": true, "width": 0.3, "depth": 0.3, "height": 2.5 }],
  "zones": [{ "id": "room", "number": "1", "name": "Room", "height": HEIGHT,
              "contours": [[[0, 0.1], [4, 0.1], [4, 3], [0, 3]]], "relation": { "columns": ["post-1", "post-2"] } }],
  "doors": [{ "id": "door", "wall": "wall", "location": 2, "width": WIDTH, "height": 2.1, "libInd": 0,
              "from": "room" }]
})";

std::string SmallSampleWith(const std::string& height, const std::string& width)
{
	std::string text = SmallSample;
	text.replace(text.find("HEIGHT"), 6, height);
	text.replace(text.find("WIDTH"), 5, width);
	return text;
}

class CommandLine : public ::testing::Test {
protected:
	void SetUp() override
	{
		fs::create_directories(folder / "in");
		WriteFile(folder / "in" / "box.json", SmallSampleWith("2.5", "0.9"));
	}

	// Runs the runner, or another command, in the test's folder; `output` redirects its standard output.
	Outcome Start(const std::string& arguments, const std::string& program = VELMORA_DEMO_BINARY,
	              const std::string& output = ">out.txt") const
	{
		// A run stalled on its output ends as a failure rather than holding up the suite.
		std::string command =
		    "cd '" + folder.string() + "' && timeout 60 '" + program + "' " + arguments + " " + output + " 2>err.txt";
		int status = std::system(command.c_str());
		return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText(folder / "out.txt"),
		        FileText(folder / "err.txt")};
	}

	TempFolder temp;
	const fs::path folder = temp.Path();
};

TEST_F(CommandLine, HelpAndWrongArgumentsComeBeforeAnyWork)
{
	struct Case {
		const char* arguments;
		int status;
		const char* out;    // start of what is printed
		const char* errors; // start of the complaint
	};
	const Case cases[] = {
	    {"--help", 0, "Usage: velmora_demo [--sample FILE] [--plan FILE] [--palette FILE]\n", ""},
	    {"-h --bogus", 0, "Usage: velmora_demo", ""},
	    {"--bogus", 2, "", "velmora_demo: unknown option '--bogus'\nUsage: velmora_demo"},
	    {"--plan", 2, "", "velmora_demo: '--plan' needs a file\n"},
	};
	for (const Case& c : cases) {
		Outcome run = Start(c.arguments);
		EXPECT_EQ(run.status, c.status) << c.arguments;
		EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << c.arguments << ": " << run.out;
		EXPECT_EQ(run.errors.rfind(c.errors, 0), 0u) << c.arguments << ": " << run.errors;
	}
	std::string help = Start("--help").out;
	EXPECT_NE(help.find("--sample FILE   the sample project (default: /"), std::string::npos) << help;
	EXPECT_NE(help.find("velmora-plan.svg)"), std::string::npos) << help;
	EXPECT_NE(help.find("velmora-palette.svg)"), std::string::npos) << help;
	for (const std::string script : {"demo", "test"}) {
		Outcome run = Start("--help", VELMORA_SAMPLES_DIR "/../scripts/" + script);
		EXPECT_EQ(run.status, 0) << script;
		EXPECT_EQ(run.out.rfind("Usage: scripts/" + script + " [", 0), 0u) << run.out;
	}
}

// The build waits for its first step to be seen before it goes on: a filter
// that held the step back until the build ended would keep it waiting.
TEST_F(CommandLine, TheBuildsStepsAreShownAsTheyCome)
{
	const std::string build =
	    "printf '[  5%%] Building CXX object a.o\\n-- Build files written\\n'; "
	    "for i in $(seq 100); do [ -e seen ] && echo in-time >build.txt && break; sleep 0.1; done; "
	    "printf '[100%%] Linking CXX executable b\\n'";
	const std::string user =
	    "IFS= read -r heading; IFS= read -r step; touch seen; echo \"$heading\"; echo \"$step\"; cat";
	std::string command = "cd '" + folder.string() + "' && { " + build +
	                      "; } | '" VELMORA_SAMPLES_DIR "/../scripts/show-build-progress' Building: | { " + user +
	                      "; } >shown.txt";
	ASSERT_EQ(std::system(command.c_str()), 0);
	EXPECT_EQ(FileText(folder / "build.txt"), "in-time\n");
	EXPECT_EQ(FileText(folder / "shown.txt"),
	          "Building:\n  [  5%] Building CXX object a.o\n  [100%] Linking CXX executable b\n");
}

TEST_F(CommandLine, RelativePathsAreTheCallersAndThePlanWrittenIsNamed)
{
	Outcome run = Start("--sample in/box.json --plan ./plan.svg --palette in/../palette.svg");
	ASSERT_EQ(run.status, 0) << run.errors;
	std::string folderText = fs::canonical(folder).string();
	EXPECT_NE(
	    run.out.find("\nOpened " + folderText + "/in/box.json: Box, 1 zone, 1 wall, 2 columns, 1 door, 0 windows;"),
	    std::string::npos)
	    << run.out;
	EXPECT_NE(run.out.find("Plan: " + folderText + "/plan.svg\n"), std::string::npos) << run.out;
	EXPECT_NE(run.out.find("Palette: " + folderText + "/palette.svg\n"), std::string::npos) << run.out;
	EXPECT_EQ(FileText(folder / "plan.svg").rfind("<svg ", 0), 0u);
	EXPECT_EQ(FileText(folder / "palette.svg").rfind("<svg ", 0), 0u);
	// It tells what happened in a sample without favorites, of one zone without walls to cover.
	for (
	    const char* line :
	    {"\nClicked the favorite button of \"Wall coverings\": its popup does not list \"Plaster lining 15 mm\", so it "
	     "was closed; the settings button stays on \"Tool settings\"\n",
	     "\nSelected the only zone and clicked \"Add Coverings\"\n"
	     "  Alert 31110: \"Coverings added at 2026-01-05 09:30:00.\" with \"2026-01-05 09:30:00\", \"1\", \"0\", \"1\" "
	     "(+2 lines); answered \"OK\"\n"
	     "    Zones given: 1\n"
	     "    Zones with wall coverings: 0\n"
	     "    Zones without wall coverings: 1\n"
	     "        Room Name | Room Nr | Floor\n"
	     "        Room | 1 | 0\n",
	     "\nReport window:\n  Round column ignored. (2 times)\nTotal: 1 of 1 zones covered, 2 elements made\n"})
		EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
	// A run slowed past a second by a busy machine tells its progress; nothing else goes there.
	EXPECT_TRUE(std::regex_match(run.errors, std::regex("(Covered 1 of 1 zones, [0-9]+ s elapsed\n)*"))) << run.errors;
}

// A path is refused before any work; standard output is found unwritable only
// as the transcript is written, so the run goes on, writes its pictures and
// ends with the reason.
TEST_F(CommandLine, AnOutputThatCannotBeWrittenEndsTheRunWithOneLine)
{
	fs::create_directories(folder / "plans");
	ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
	fs::create_symlink("pipe", folder / "pipe-link");
	fs::create_symlink("missing.svg", folder / "dangling.svg");
	fs::create_directory_symlink("in", folder / "in-link");
	WriteFile(folder / "target.svg", "earlier plan");
	fs::create_symlink("target.svg", folder / "link.svg");
	struct Case {
		const char* outputs;
		const char* error; // after "Cannot write the "; F stands for the folder
	};
	const Case cases[] = {
	    {"--plan in/box.json", "plan: F/in/box.json: is the sample file itself"},
	    {"--plan in/../in/./box.json", "plan: F/in/box.json: is the sample file itself"},
	    {"--plan in-link/box.json", "plan: F/in-link/box.json: is the sample file itself"},
	    {"--plan plans", "plan: F/plans: is a folder"},
	    {"--plan nowhere/plan.svg", "plan: F/nowhere/plan.svg: its folder does not exist"},
	    {"--plan dangling.svg", "plan: F/dangling.svg: is a link to no file"},
	    {"--plan plan.svg --palette pipe", "palette picture: F/pipe: is a named pipe"},
	    {"--plan plan.svg --palette pipe-link", "palette picture: F/pipe-link (a link to F/pipe): is a named pipe"},
	    {"--plan out.svg --palette plans/../out.svg", "palette picture: F/out.svg: is the plan's file too"},
	    {"--plan link.svg --palette target.svg", "palette picture: F/target.svg: is the plan's file too"},
	};
	const std::string folderText = fs::canonical(folder).string();
	for (const Case& c : cases) {
		Outcome run = Start(std::string("--sample in/box.json ") + c.outputs);
		EXPECT_EQ(run.status, 1) << c.outputs;
		EXPECT_EQ(run.out, "") << c.outputs;
		EXPECT_EQ(run.errors, std::regex_replace("Cannot write the " + std::string(c.error) + "\n", std::regex("F/"),
		                                         folderText + "/"));
	}
	EXPECT_EQ(FileText(folder / "in" / "box.json"), SmallSampleWith("2.5", "0.9"));
	EXPECT_EQ(FileText(folder / "target.svg"), "earlier plan");
	EXPECT_TRUE(fs::is_symlink(folder / "link.svg"));
	EXPECT_TRUE(fs::is_fifo(folder / "pipe"));
	EXPECT_FALSE(fs::exists(folder / "nowhere"));
	EXPECT_FALSE(fs::exists(folder / "out.svg"));
	EXPECT_FALSE(fs::exists(folder / "plan.svg"));
	EXPECT_TRUE(fs::is_empty(folder / "plans"));

	int pipeEnds[2];
	ASSERT_EQ(::pipe(pipeEnds), 0);
	::close(pipeEnds[0]);
	const std::pair<std::string, std::string> transcripts[] = {{">/dev/full", "No space left on device"},
	                                                           {">&-", "Bad file descriptor"},
	                                                           {">&" + std::to_string(pipeEnds[1]), "Broken pipe"}};
	for (const auto& [output, reason] : transcripts) {
		fs::remove(folder / "kept.svg");
		Outcome run =
		    Start("--sample in/box.json --plan kept.svg --palette kept-palette.svg", VELMORA_DEMO_BINARY, output);
		EXPECT_EQ(run.status, 1) << output;
		EXPECT_TRUE(std::regex_search(run.errors, std::regex("(^|\n)Cannot write the transcript: " + reason + "\n$")))
		    << output << ": " << run.errors;
		EXPECT_EQ(FileText(folder / "kept.svg").rfind("<svg ", 0), 0u) << output;
	}
	::close(pipeEnds[1]);
}

TEST_F(CommandLine, ALinkedPlanIsWrittenInItsTargetsPlace)
{
	fs::create_directories(folder / "plans");
	WriteFile(folder / "plans" / "plan.svg", "earlier plan");
	fs::create_symlink("plans/plan.svg", folder / "plan.svg");
	ASSERT_EQ(Start("--sample in/box.json --plan plan.svg --palette palette.svg").status, 0);
	EXPECT_TRUE(fs::is_symlink(folder / "plan.svg"));
	EXPECT_EQ(FileText(folder / "plans" / "plan.svg").rfind("<svg ", 0), 0u);
	EXPECT_EQ(std::distance(fs::directory_iterator(folder / "plans"), fs::directory_iterator()), 1);

	// The plan's file could be written, but not the new text beside it.
	fs::permissions(folder / "plans", fs::perms::owner_read | fs::perms::owner_exec);
	Outcome run = Start("--sample in/box.json --plan plan.svg --palette palette.svg");
	fs::permissions(folder / "plans", fs::perms::owner_all);
	if (::geteuid() == 0) {
		EXPECT_EQ(run.status, 0) << "the permission bits do not hold root back, so neither does the check";
		return;
	}
	EXPECT_EQ(run.errors, "Cannot write the plan: " + fs::canonical(folder).string() + "/plan.svg (a link to " +
	                          fs::canonical(folder).string() + "/plans/plan.svg): its folder cannot be written\n");
	EXPECT_EQ(run.out, "");
}

// Each is refused in one line that names its place, and the plan of an earlier run stays.
TEST_F(CommandLine, AMalformedSampleIsRefusedInOneLineAndNoPlanIsWritten)
{
	struct Case {
		std::string sample;
		const char* place;
	};
	const Case cases[] = {
	    {SmallSampleWith("1e400", "0.9"), "not JSON at line 6, column "},
	    {SmallSampleWith("1e9", "0.9"), "project.zones[0] (room).height: must be at most 1000 m"},
	    {SmallSampleWith("2.5", "1e6"), "project.doors[0] (door).width: must be at most 1000 m"},
	    {SmallSampleWith("2.5", "0.9").replace(std::string(SmallSample).find("[0, 0]"), 6, "[1e300, 0]"),
	     "project.walls[0] (wall).begin[0]: lies more than 10000 m from the origin"},
	    {SmallSampleWith("2.5", "0.9").replace(std::string(SmallSample).find("thickness"), 9, "thick\\nness"),
	     "project.walls[0] (wall): unknown member 'thick\\x0Aness'"},
	    {SmallSampleWith("2.5", "0.9")
	         .replace(std::string(SmallSample).find("thickness"), 9, "thick\\u007fness\\u009b"),
	     "project.walls[0] (wall): unknown member 'thick\\x7Fness\\xC2\\x9B'"},
	};
	WriteFile(folder / "plan.svg", "earlier plan");
	for (const Case& c : cases) {
		WriteFile(folder / "bad.json", c.sample);
		Outcome run = Start("--sample bad.json --plan plan.svg --palette palette.svg");
		EXPECT_EQ(run.status, 1) << c.place << run.out;
		EXPECT_NE(run.errors.find(c.place), std::string::npos) << run.errors;
		EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
		EXPECT_EQ(FileText(folder / "plan.svg"), "earlier plan");
		EXPECT_FALSE(fs::exists(folder / "palette.svg"));
	}
}

} // namespace
