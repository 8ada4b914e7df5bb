#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "SampleTestSupport.hpp"

using namespace RunnerTest;
using Runner::LoadError;

namespace {

class SampleProject : public HostTest {};

nlohmann::json SampleJson()
{
	std::ifstream file(SamplePath);
	return nlohmann::json::parse(file);
}

std::string ZoneText(const GS::UniChar* text)
{
	return GS::UniString(text).ToCStr().Get();
}

const API_Guid& Id(const Runner::LoadedProject& project, const std::string& id)
{
	return project.byId.at(id);
}

TEST_F(SampleProject, OpensWithEveryElementAndItsRecord)
{
	Runner::LoadedProject project = LoadSample();
	EXPECT_EQ(project.name, "Apartment");
	EXPECT_EQ(HostControl::Elements(API_ZoneID).size(), 8u);
	EXPECT_EQ(HostControl::Elements(API_WallID).size(), 16u);
	EXPECT_EQ(HostControl::Elements(API_ColumnID).size(), 3u);
	EXPECT_EQ(HostControl::Elements(API_DoorID).size(), 8u);
	EXPECT_EQ(HostControl::Elements(API_WindowID).size(), 7u);
	EXPECT_EQ(project.byId.size(), 42u);

	ASSERT_EQ(project.zones.size(), 8u);
	const Runner::LoadedZone& living = project.zones[0];
	EXPECT_EQ(living.number, "01");
	EXPECT_EQ(living.wallParts, 5u);
	API_Element zone = Record(living.guid);
	EXPECT_EQ(ZoneText(zone.zone.roomNoStr), "01");
	EXPECT_EQ(ZoneText(zone.zone.roomName), "Living room");
	EXPECT_EQ(zone.zone.poly.nCoords, 14);
	EXPECT_EQ(zone.zone.poly.nSubPolys, 2);
	EXPECT_EQ(zone.zone.poly.nArcs, 1);
	EXPECT_DOUBLE_EQ(zone.zone.roomHeight, 2.6);

	API_Element corner = Record(Id(project, "wall-corner"));
	EXPECT_NEAR(corner.wall.angle, 1.5707963267948966, 1e-12);
	EXPECT_DOUBLE_EQ(corner.wall.thickness, 0.3);
	EXPECT_EQ(corner.wall.zoneRel, APIZRel_Boundary);
	EXPECT_EQ(corner.wall.referenceLine, APIWallRefLine_Centre);
	EXPECT_FALSE(corner.wall.flipped);

	API_Element free = Record(Id(project, "column-living-free"));
	EXPECT_NEAR(free.column.axisRotationAngle, 0.5235987755982988, 1e-12);
	EXPECT_EQ(free.column.nSegments, 1);
	std::vector<API_ColumnSegmentType> segments = *HostControl::GetMemoParts(free.header.guid).columnSegments;
	ASSERT_EQ(segments.size(), 1u);
	EXPECT_DOUBLE_EQ(segments[0].nominalWidth, 0.3);
	EXPECT_FALSE(segments[0].circleBased);
	EXPECT_TRUE(HostControl::GetMemoParts(Id(project, "column-study-round")).columnSegments->front().circleBased);

	API_Element door = Record(Id(project, "door-living-study"));
	EXPECT_EQ(door.door.owner, Id(project, "wall-living-study"));
	EXPECT_DOUBLE_EQ(door.door.objLoc, 2.356194);
	EXPECT_EQ(door.door.openingBase.libInd, 1);
	API_Element window = Record(Id(project, "window-bath"));
	EXPECT_DOUBLE_EQ(window.window.lower, 1.5);
	EXPECT_EQ(window.window.openingBase.libInd, 2);
}

// What the sample is there for: every case the covering engine treats apart.
TEST_F(SampleProject, HoldsEveryCaseTheEngineTreatsApart)
{
	Runner::LoadedProject project = LoadSample();
	std::size_t curvedWalls = 0;
	for (const API_Guid& wall : HostControl::Elements(API_WallID))
		curvedWalls += Record(wall).wall.angle != 0.0 ? 1 : 0;
	EXPECT_GE(curvedWalls, 1u);

	std::size_t withHoles = 0, withNiches = 0, linkedTops = 0, withArcs = 0;
	for (const Runner::LoadedZone& zone : project.zones) {
		API_Element record = Record(zone.guid);
		withHoles += record.zone.poly.nSubPolys > 1 ? 1 : 0;
		linkedTops += record.zone.relativeTopStory != 0 ? 1 : 0;
		withArcs += record.zone.poly.nArcs > 0 ? 1 : 0;
		withNiches += ZoneRelation(zone.guid).Get().niches.GetSize() > 0 ? 1 : 0;
	}
	EXPECT_GE(project.zones.size(), 6u);
	EXPECT_EQ(withHoles, 3u);
	EXPECT_EQ(linkedTops, 1u);
	EXPECT_GE(withArcs, 2u);
	EXPECT_GE(withNiches, 1u);

	API_Element niche = Record(Id(project, "niche-bedroom"));
	EXPECT_EQ(niche.header.type.typeID, API_WindowID);
	EXPECT_EQ(niche.window.openingBase.libInd, NicheIndex);
	API_OpeningRelation sides = OpeningRelation(niche.header.guid);
	EXPECT_EQ(sides.fromRoom, Id(project, "bedroom"));
	EXPECT_EQ(sides.toRoom, Id(project, "hall"));

	API_Element stair = Record(Id(project, "stair"));
	EXPECT_EQ(stair.zone.relativeTopStory, 1);
}

TEST_F(SampleProject, MeasuredWidthsReachTheHostsQuantities)
{
	Runner::LoadedProject project = LoadSample();
	API_ElementQuantity measured = {};
	API_Quantities quantities = {&measured};
	API_QuantitiesMask mask = {};
	std::memset(&mask.elements.door, 0xFF, 2 * sizeof(double));
	API_QuantityPar parameters = {1e-5, {0, 0, 0}};
	ASSERT_EQ(ACAPI_Element_GetQuantities(Id(project, "door-living-study"), &parameters, &quantities, &mask), NoError);
	EXPECT_DOUBLE_EQ(measured.door.width1, 0.88);
	EXPECT_DOUBLE_EQ(measured.door.width2, 0.92);
}

TEST_F(SampleProject, OpeningReplacesWhatTheHostHeld)
{
	LoadSample();
	HostControl::AddElement(Record(HostControl::Elements(API_WallID).front()));
	Runner::LoadedProject project = LoadSample();
	EXPECT_EQ(HostControl::Elements().size(), project.byId.size());
	EXPECT_TRUE(Runner::ElementsAddedSince(project).empty());
}

TEST_F(SampleProject, ElementsAddedSinceOpeningAreTheRunsOwn)
{
	Runner::LoadedProject project = LoadSample();
	API_Element wall = Record(Id(project, "wall-south"));
	wall.header.guid = APINULLGuid;
	API_Guid added = HostControl::AddElement(wall);
	EXPECT_EQ(Runner::ElementsAddedSince(project), std::set<API_Guid>{added});
}

struct Malformation {
	const char* what;
	const char* pointer;  // JSON pointer into the sample
	nlohmann::json value; // null: the member is removed
	const char* message;  // part of the expected message
};

void PrintTo(const Malformation& c, std::ostream* out)
{
	*out << c.what;
}

class MalformedSample : public SampleProject, public ::testing::WithParamInterface<Malformation> {};

TEST_P(MalformedSample, IsRefusedWithItsPlaceAndLeavesTheHostAlone)
{
	const Malformation& bad = GetParam();
	Runner::LoadedProject project = LoadSample();
	std::size_t before = HostControl::Elements().size();

	nlohmann::json sample = SampleJson();
	nlohmann::json::json_pointer pointer(bad.pointer);
	if (bad.value.is_null())
		sample[pointer.parent_pointer()].erase(pointer.back());
	else
		sample[pointer] = bad.value;
	Runner::LoadResult result = Runner::LoadSampleProjectText(sample.dump(), SampleLibraryIndex);

	EXPECT_FALSE(result.project.has_value());
	EXPECT_EQ(result.error, LoadError::BadContent);
	EXPECT_NE(result.message.find(bad.message), std::string::npos) << result.message;
	EXPECT_EQ(HostControl::Elements().size(), before);
	EXPECT_EQ(HostControl::GetElement(project.zones[0].guid).has_value(), true);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedSample,
    ::testing::Values(
        Malformation{"format", "/format", "Other format 2", "project.format: is not \"Velmora sample project 1\""},
        Malformation{"no walls", "/walls", nullptr, "project: lacks 'walls'"},
        Malformation{"thickness", "/walls/0/thickness", -0.3,
                     "project.walls[0] (wall-south).thickness: must be greater"},
        Malformation{"not a number", "/walls/0/height", "tall", "walls[0] (wall-south).height: is not a number"},
        Malformation{"misspelt", "/walls/0/thicknes", 0.3, "unknown member 'thicknes'"},
        Malformation{"zero arc", "/walls/1/arc", 0, "walls[1] (wall-corner).arc: an arc angle"},
        Malformation{"twice", "/walls/1/id", "wall-south", "id 'wall-south' is used twice"},
        Malformation{"story", "/walls/2/story", 7, "walls[2] (wall-east).story: no story 7"},
        Malformation{"ground again", "/stories/0/index", 0, "stories[0].index: is not a whole number from 1"},
        Malformation{"part wall", "/zones/0/relation/wallParts/0/wall", "wall-nowhere",
                     "names no wall ('wall-nowhere')"},
        Malformation{"part column", "/zones/0/relation/wallParts/0/wall", "column-living-wall", "names no wall"},
        Malformation{"edge range", "/zones/0/relation/wallParts/0/edge", 14,
                     "edge: is not a whole number from 1 to 13"},
        Malformation{"contour end", "/zones/5/relation/wallParts/4/edge", 5, "is the last point of a contour"},
        Malformation{"part order", "/zones/0/relation/wallParts/0/end", 0.1, "end: lies before 'begin'"},
        Malformation{"listed door", "/zones/0/relation/doors/0", "window-living", "names no door ('window-living')"},
        Malformation{"short contour", "/zones/2/contours/0", nlohmann::json::parse("[[0,0],[1,0]]"),
                     "zones[2] (hall).contours[0]: needs at least 3 entries"},
        Malformation{"no contour", "/zones/4/contours", nlohmann::json::array(),
                     "zones[4] (bedroom).contours: needs at least 1 entry"},
        Malformation{"point", "/zones/0/contours/0/0", nlohmann::json::parse("[1]"), "is not a point [x, y]"},
        Malformation{"top story", "/zones/3/relativeTopStory", 5, "relativeTopStory: no story 5 above"},
        Malformation{"long number", "/zones/0/number", std::string(40, '9'), "is longer than 31 characters"},
        Malformation{"bow tie", "/zones/2/contours/0",
                     nlohmann::json::parse("[[0.15,4.55],[8.95,5.95],[8.95,4.55],[0.15,5.95]]"),
                     "project.zones[2] (hall).contours: has edges that cross one another"},
        Malformation{"hole across", "/zones/0/contours/1",
                     nlohmann::json::parse("[[0.1,2],[0.1,2.2],[0.3,2.2],[0.3,2]]"),
                     "project.zones[0] (living).contours: has edges that cross one another"},
        Malformation{"outer clockwise by its arc", "/zones/7/contours/0",
                     nlohmann::json::parse(R"([[12.15,2.5],[12.15,4.5],{"point":[12.15,6.5],"arc":-180}])"),
                     "zones[7] (winter-garden).contours[0]: the outer contour must run counter-clockwise"},
        Malformation{"hole counter-clockwise", "/zones/5/contours/1",
                     nlohmann::json::parse("[[6.9,7.8],[7.6,7.8],[7.6,8.5],[6.9,8.5]]"),
                     "zones[5] (bath).contours[1]: an inner contour must run clockwise"},
        Malformation{"hole outside", "/zones/5/contours/1",
                     nlohmann::json::parse("[[16.9,7.8],[16.9,8.5],[17.6,8.5],[17.6,7.8]]"),
                     "zones[5] (bath).contours[1]: lies outside the outer contour"},
        Malformation{"hole beside", "/zones/5/contours/1",
                     nlohmann::json::parse("[[7.95,7],[7.95,7.5],[8.5,7.5],[8.5,7]]"),
                     "zones[5] (bath).contours[1]: lies outside the outer contour"},
        Malformation{"closed again", "/zones/2/contours/0/4", nlohmann::json::parse("[0.15,4.55]"),
                     "zones[2] (hall).contours[0]: repeats its first point at the end"},
        Malformation{"point twice", "/zones/2/contours/0/2", nlohmann::json::parse("[8.95,4.55]"),
                     "zones[2] (hall).contours[0][2]: repeats the point before it"},
        Malformation{"on a line", "/zones/7/contours/0", nlohmann::json::parse("[[12,6.5],[12,4.5],[12,2.5]]"),
                     "zones[7] (winter-garden).contours[0]: encloses no area"},
        Malformation{"one point", "/zones/7/contours/0", nlohmann::json::parse("[[12,4],[12,4],[12,4]]"),
                     "zones[7] (winter-garden).contours[0]: encloses no area"},
        Malformation{"thin", "/zones/7/contours/0", nlohmann::json::parse("[[0,20],[100,20],[50,20.0000001]]"),
                     "zones[7] (winter-garden).contours[0]: encloses no area"},
        Malformation{"part before wall", "/zones/2/relation/wallParts/3/begin", -0.1,
                     "wallParts[3].begin: lies before the begin of wall 'wall-west'"},
        Malformation{"part beyond arc", "/zones/1/relation/wallParts/1/end", 3.2,
                     "zones[1] (study).relation.wallParts[1].end: lies beyond the end of wall 'wall-corner'"},
        Malformation{"part off face", "/zones/2/relation/wallParts/0/edge", 3,
                     "wallParts[0].edge: does not run along a face of wall 'wall-living-hall'"},
        Malformation{"chord on arc wall", "/zones/1/contours/0/1", nlohmann::json::parse("[10,0.15]"),
                     "zones[1] (study).relation.wallParts[1].edge: does not run along a face of wall 'wall-corner'"},
        Malformation{"part beyond edge", "/zones/2/relation/wallParts/0/begin", 0.05,
                     "wallParts[0]: reaches beyond the stretch of wall 'wall-living-hall' that its edge runs along"},
        Malformation{"window wider than wall", "/windows/0/width", 10.5,
                     "windows[0] (window-living).width: is more than the length of wall 'wall-south'"},
        Malformation{"from zone", "/doors/0/from", "garage", "doors[0] (door-entrance).from: names no zone"},
        Malformation{"same zone", "/doors/1/to", "hall", "from a zone into the same zone"},
        Malformation{"beyond wall", "/doors/0/location", 99, "lies beyond the end of wall 'wall-west'"},
        Malformation{"widths", "/doors/3/measuredWidths", nlohmann::json::parse("[0.9]"), "needs the widths"},
        Malformation{"library name", "/windows/2/libInd", "skylight", "names no entry of 'libraryParts' ('skylight')"},
        Malformation{"library index", "/windows/2/libInd", -1, "libInd: is not a whole number from 0"},
        Malformation{"far point", "/zones/1/contours/0/1/point/1", -1e300,
                     "zones[1] (study).contours[0][1].point[1]: lies more than 10000 m from the origin"},
        Malformation{"far level", "/stories/0/level", 2e4, "stories[0].level: lies more than 10000 m"},
        Malformation{"far part", "/zones/0/relation/wallParts/0/begin", -1e5, "begin: lies more than 10000 m"},
        Malformation{"wide door", "/doors/0/width", 1e6, "doors[0] (door-entrance).width: must be at most 1000 m"},
        Malformation{"tall zone", "/zones/0/height", 1e9, "zones[0] (living).height: must be at most 1000 m"},
        Malformation{"deep sill", "/windows/0/lower", 5e3, "windows[0] (window-living).lower: must be at most"},
        Malformation{"thick favorite", "/favorites/0/thickness", 1e4, "favorites[0].thickness: must be at most"},
        Malformation{"turned column", "/columns/1/rotation", 1e7, "rotation: must lie between -360 and 360"},
        Malformation{"high story", "/stories/0/index", 251, "is not a whole number from 1 to 250"}),
    [](const ::testing::TestParamInfo<Malformation>& info) {
	    std::string name = info.param.what;
	    for (char& c : name)
		    c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
	    return name;
    });

TEST_F(SampleProject, TextThatIsNotAProjectIsRefusedByItsKind)
{
	struct Case {
		std::string text;
		LoadError error;
		const char* message;
	};
	const Case cases[] = {{"{ \"format\": ", LoadError::NotJson, "not JSON at line 1, column 12: "},
	                      {"{\n  \"format\": [0,\n 1e400] }", LoadError::NotJson,
	                       "not JSON at line 3, column 6: number overflow parsing '1e400'"},
	                      {"", LoadError::NotJson, "not JSON"},
	                      {"[1, 2]", LoadError::BadContent, "project: is not an object"},
	                      {"{\"format\": 1}", LoadError::BadContent, "project.format: is not a text"}};
	for (const Case& bad : cases) {
		Runner::LoadResult result = Runner::LoadSampleProjectText(bad.text, SampleLibraryIndex);
		EXPECT_EQ(result.error, bad.error) << bad.text;
		EXPECT_NE(result.message.find(bad.message), std::string::npos) << result.message;
	}
}

TEST_F(SampleProject, AFileThatCannotBeReadIsSaidSo)
{
	for (const std::string& path : {std::string("/nonexistent/apartment.json"), std::string(VELMORA_SAMPLES_DIR)}) {
		Runner::LoadResult result = Runner::LoadSampleProject(path, SampleLibraryIndex);
		EXPECT_EQ(result.error, LoadError::Unreadable);
		EXPECT_EQ(result.message, path + ": cannot be read");
	}
}

TEST_F(SampleProject, ALibraryPartMissingFromTheProjectIsRefused)
{
	auto withoutNiches = [](const Runner::LibraryPartRef& part) -> std::optional<Int32> {
		if (part.name == "niche window") {
			EXPECT_EQ(part.unID.substr(0, 38), "{5BAD5EFE-0F1A-4C6B-91C2-672EF241FA4B}");
			return std::nullopt;
		}
		return 7;
	};
	Runner::LoadResult result = Runner::LoadSampleProject(SamplePath, withoutNiches);
	EXPECT_EQ(result.error, LoadError::BadContent);
	EXPECT_NE(result.message.find("windows[2] (niche-bedroom).libInd: library part 'niche window' is not in the "
	                              "project's libraries"),
	          std::string::npos)
	    << result.message;
}

} // namespace
