#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "HostTest.hpp"
#include "ModelBuilder.hpp"
#include "PersistenceSelfTests.hpp"
#include "SettingsSamples.hpp"

namespace {

using SettingsSamples::MixedParams;
using SettingsSamples::ParamRecord;

class PersistenceSelfTestsTest : public HostTest {};

void AddObject(std::optional<std::vector<HostControl::Param>> params)
{
	HostControl::MemoParts memo;
	memo.params = std::move(params);
	HostControl::AddElement(ModelBuilder::NewRecord(API_ObjectID), memo);
}

std::vector<HostControl::Param> WithUnsupportedParam()
{
	std::vector<HostControl::Param> params = MixedParams();
	params.push_back({ParamRecord(0, API_ParSimple), std::nullopt});
	return params;
}

const std::string noObject = "Need Some Object for Write/Read Params test!";

struct SelfTestCase {
	const char* name;
	std::function<void()> setUpProject;
	std::vector<std::string> middleLines; // between the start and end lines; "!" marks a dialog line
};

std::vector<std::string> ReportedLines()
{
	std::vector<std::string> lines;
	for (const HostControl::ReportLine& line : HostControl::ReportLines())
		lines.push_back(line.withDialog ? "!" + line.text : line.text);
	return lines;
}

TEST_F(PersistenceSelfTestsTest, ReportsEachCheck)
{
	const std::vector<std::string> noObjectLines = {"TestWriteReadEmptyPaletteSettings 1", "!" + noObject,
	                                                "TestWriteReadAddParams 0", "!" + noObject,
	                                                "TestDeepCopyAddParams 0"};
	const std::vector<std::string> allPassed = {"TestWriteReadEmptyPaletteSettings 1", "TestWriteReadAddParams 1",
	                                            "TestDeepCopyAddParams 1"};
	const SelfTestCase cases[] = {
	    {"empty project", [] {}, noObjectLines},
	    {"walls only",
	     [] {
		     ModelBuilder::AddWall({0, 0}, {1, 0});
	     },
	     noObjectLines},
	    {"object with parameters", [] { AddObject(MixedParams()); }, allPassed},
	    {"object without a parameter list", [] { AddObject(std::nullopt); }, allPassed},
	    {"object with an empty parameter list", [] { AddObject(std::vector<HostControl::Param>()); }, allPassed},
	    {"the first object counts",
	     [] {
		     AddObject(MixedParams());
		     AddObject(WithUnsupportedParam());
	     },
	     allPassed},
	    // A parameter that cannot be stored is unequal even to its own copy.
	    {"object with an unsupported parameter",
	     [] { AddObject(WithUnsupportedParam()); },
	     {"TestWriteReadEmptyPaletteSettings 1", "TestWriteReadAddParams 0", "TestDeepCopyAddParams 0"}},
	    {"parameters not readable once",
	     [] {
		     AddObject(MixedParams());
		     HostControl::FailCall("ACAPI_Element_GetMemo", 1, APIERR_GENERAL);
	     },
	     {"TestWriteReadEmptyPaletteSettings 1", "TestWriteReadAddParams 0", "TestDeepCopyAddParams 1"}},
	    {"parameters not copyable",
	     [] {
		     AddObject(MixedParams());
		     HostControl::FailCall("BMHandleToHandle", 2, ErrMemoryFull);
	     },
	     {"TestWriteReadEmptyPaletteSettings 1", "TestWriteReadAddParams 1", "TestDeepCopyAddParams 0"}},
	};
	for (const SelfTestCase& c : cases) {
		SCOPED_TRACE(c.name);
		HostControl::ResetHost();
		c.setUpProject();
		RunAllTests();
		std::vector<std::string> expected = {"----- START Run tests -----"};
		expected.insert(expected.end(), c.middleLines.begin(), c.middleLines.end());
		expected.push_back("-----  END Run tests  -----");
		EXPECT_EQ(ReportedLines(), expected);
	}
}

} // namespace
