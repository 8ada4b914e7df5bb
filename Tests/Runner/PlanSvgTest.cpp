#include <expat.h>

#include <cmath>
#include <map>
#include <regex>

#include "API/Commands.hpp"
#include "DemoCoverings.hpp"
#include "PlanSvg.hpp"
#include "SampleTestSupport.hpp"

using namespace RunnerTest;

namespace {

class PlanSvg : public HostTest {};

struct SvgElement {
	std::string name;
	std::map<std::string, std::string> attributes;
	std::string text;

	std::string Kind() const { return attributes.count("class") ? attributes.at("class") : ""; }
};

struct SvgDocument {
	std::vector<SvgElement> elements;
	std::vector<std::size_t> open; // indices of the elements not yet closed
};

// The picture's elements in document order; none when it is not well-formed XML.
std::optional<std::vector<SvgElement>> ParseSvg(const std::string& svg)
{
	SvgDocument document;
	XML_Parser parser = XML_ParserCreate("UTF-8");
	XML_SetUserData(parser, &document);
	XML_SetElementHandler(
	    parser,
	    [](void* data, const XML_Char* name, const XML_Char** attributes) {
		    SvgDocument& document = *static_cast<SvgDocument*>(data);
		    SvgElement element = {name, {}, ""};
		    for (int i = 0; attributes[i] != nullptr; i += 2)
			    element.attributes[attributes[i]] = attributes[i + 1];
		    document.open.push_back(document.elements.size());
		    document.elements.push_back(element);
	    },
	    [](void* data, const XML_Char*) { static_cast<SvgDocument*>(data)->open.pop_back(); });
	XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
		SvgDocument& document = *static_cast<SvgDocument*>(data);
		document.elements[document.open.back()].text.append(text, static_cast<std::size_t>(length));
	});
	bool wellFormed = XML_Parse(parser, svg.data(), static_cast<int>(svg.size()), 1) == XML_STATUS_OK;
	XML_ParserFree(parser);
	if (!wellFormed)
		return std::nullopt;
	return document.elements;
}

std::vector<SvgElement> Parsed(const std::string& svg)
{
	std::optional<std::vector<SvgElement>> elements = ParseSvg(svg);
	EXPECT_TRUE(elements.has_value()) << "not well-formed XML";
	return elements.value_or(std::vector<SvgElement>());
}

// Drawn shapes of the kind (legend swatches, which are rectangles, not counted).
std::size_t Count(const std::vector<SvgElement>& elements, const std::string& kind)
{
	return std::count_if(elements.begin(), elements.end(),
	                     [&](const SvgElement& e) { return e.Kind() == kind && e.name != "rect"; });
}

std::vector<std::string> Texts(const std::vector<SvgElement>& elements, const std::string& kind)
{
	std::vector<std::string> texts;
	for (const SvgElement& element : elements) {
		if (element.Kind() == kind)
			texts.push_back(element.text);
	}
	return texts;
}

const SvgElement* First(const std::vector<SvgElement>& elements, const std::string& name, const std::string& kind)
{
	for (const SvgElement& element : elements) {
		if (element.name == name && element.Kind() == kind)
			return &element;
	}
	return nullptr;
}

// The y values of a straight path's points.
std::vector<double> PathYs(const std::string& path)
{
	std::vector<double> ys;
	std::regex point("[ML] (-?[0-9.]+) (-?[0-9.]+)");
	for (auto it = std::sregex_iterator(path.begin(), path.end(), point); it != std::sregex_iterator(); ++it)
		ys.push_back(std::stod((*it)[2]));
	return ys;
}

API_Element Covering(const API_Element& along, double offset, API_WallRefLineID referenceLine, bool flipped)
{
	API_Element covering = along;
	covering.header.guid = APINULLGuid;
	covering.wall.begC.y += offset;
	covering.wall.endC.y += offset;
	covering.wall.thickness = 0.02;
	covering.wall.referenceLine = referenceLine;
	covering.wall.flipped = flipped;
	return covering;
}

TEST_F(PlanSvg, DrawsEveryZoneWallColumnAndOpeningOfTheSample)
{
	Runner::LoadedProject project = LoadSample();
	std::string svg = Runner::PlanSvg({}, {"Apartment & more", 60.0});
	std::vector<SvgElement> drawn = Parsed(svg);

	ASSERT_FALSE(drawn.empty());
	EXPECT_EQ(drawn[0].name, "svg");
	EXPECT_EQ(Count(drawn, "zone"), 8u);
	EXPECT_EQ(Count(drawn, "wall"), 16u);
	EXPECT_EQ(Count(drawn, "wall-outline"), 16u);
	EXPECT_EQ(Count(drawn, "column"), 3u);
	EXPECT_EQ(Count(drawn, "door"), 8u);
	EXPECT_EQ(Count(drawn, "swing"), 8u);
	EXPECT_EQ(Count(drawn, "window"), 7u);
	for (const char* made : {"cov-wall", "hole", "cov-floor", "cov-ceiling", "slab"})
		EXPECT_EQ(Count(drawn, made), 0u) << made;
	EXPECT_EQ(Texts(drawn, "title"), std::vector<std::string>{"Apartment & more"});
	EXPECT_EQ(Texts(drawn, "heading"), std::vector<std::string>{"Ground floor"}) << "a story without zones is drawn";
	std::vector<std::string> numbers = Texts(drawn, "zone-number");
	std::vector<std::string> names = Texts(drawn, "zone-name");
	for (const Runner::LoadedZone& zone : project.zones) {
		EXPECT_EQ(std::count(numbers.begin(), numbers.end(), zone.number), 1) << zone.number;
		EXPECT_EQ(std::count(names.begin(), names.end(), zone.name), 1) << zone.name;
	}
	EXPECT_EQ(Texts(drawn, "zone-note"), std::vector<std::string>{"top linked to story +1"});
	EXPECT_EQ(Texts(drawn, "scale"), (std::vector<std::string>{"0", "2 m"}));
	EXPECT_EQ(svg.find("<style"), std::string::npos) << "renderers differ on style sheets";
}

// Curved walls and zone edges are real arcs, bent to the side the plan bends.
TEST_F(PlanSvg, DrawsCurvesAsArcs)
{
	Runner::LoadedProject project = LoadSample();
	API_Element corner = Record(project.byId.at("wall-corner"));
	HostControl::ResetHost();
	HostControl::AddElement(corner);
	std::string svg = Runner::PlanSvg({}, {"", 100.0});
	// Counter-clockwise in the plan: the picture's sweep flag is 0, on the inner face;
	// the outer face runs back the other way.
	std::smatch arcs;
	ASSERT_TRUE(std::regex_search(svg, arcs, std::regex("A (\\S+) \\S+ 0 0 0 .* A (\\S+) \\S+ 0 0 1 ")));
	EXPECT_EQ(arcs[1], "185.00");
	EXPECT_EQ(arcs[2], "215.00");

	// A nearly straight one is drawn as the straight band it nearly is, in its place.
	for (double degrees : {1e-3, 1e-9, 1e-300}) {
		HostControl::ResetHost();
		corner.wall.angle = Runner::DegreesToRadians(degrees);
		HostControl::AddElement(corner);
		std::vector<SvgElement> drawn = Parsed(Runner::PlanSvg({}, {"", 100.0}));
		ASSERT_FALSE(drawn.empty());
		EXPECT_TRUE(std::regex_match(First(drawn, "path", "wall")->attributes.at("d"),
		                             std::regex("M [0-9.]+ [0-9.]+( L [0-9.]+ [0-9.]+){3} Z")))
		    << degrees << ": " << First(drawn, "path", "wall")->attributes.at("d");
		EXPECT_EQ(drawn[0].attributes.at("width"), "541.21") << degrees;
	}
}

// A 2 cm covering along the inner face of a 30 cm wall running east, drawn at
// 100 pixels a metre: where its band lies against the wall's.
TEST_F(PlanSvg, PlacesEveryWallByItsReferenceLineAndFlip)
{
	struct Case {
		API_WallRefLineID referenceLine;
		bool flipped;
		double top;    // pixels above the wall's upper face
		double bottom; // pixels above the wall's upper face
	};
	const Case cases[] = {{APIWallRefLine_Face, false, 2.0, 0.0},
	                      {APIWallRefLine_Face, true, 0.0, -2.0},
	                      {APIWallRefLine_Centre, false, 1.0, -1.0},
	                      {APIWallRefLine_Centre, true, 1.0, -1.0}};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		Runner::LoadedProject project = LoadSample();
		API_Element wall = Record(project.byId.at("wall-south"));
		API_Guid covering = HostControl::AddElement(Covering(wall, 0.15, c.referenceLine, c.flipped));
		std::vector<SvgElement> drawn = Parsed(Runner::PlanSvg({covering}, {"", 100.0}));

		std::vector<double> wallYs = PathYs(First(drawn, "path", "wall")->attributes.at("d"));
		std::vector<double> coveringYs = PathYs(First(drawn, "path", "cov-wall")->attributes.at("d"));
		double face = *std::min_element(wallYs.begin(), wallYs.end());
		EXPECT_NEAR(*std::max_element(wallYs.begin(), wallYs.end()) - face, 30.0, 0.011) << "a sample wall is centred";
		EXPECT_NEAR(face - *std::min_element(coveringYs.begin(), coveringYs.end()), c.top, 0.011)
		    << c.referenceLine << c.flipped;
		EXPECT_NEAR(face - *std::max_element(coveringYs.begin(), coveringYs.end()), c.bottom, 0.011)
		    << c.referenceLine << c.flipped;
	}
}

// What the engine makes when it covers every zone of the project.
std::set<API_Guid> CoverEveryZone(const Runner::LoadedProject& project)
{
	CoveringSettings settings =
	    Demo::CoveringSettingsForRun("Plaster lining 15 mm", HostControl::Defaults().lastRunProperty);
	EXPECT_EQ(ACAPI_CallUndoableCommand("Add Coverings",
	                                    [&] {
		                                    for (const Runner::LoadedZone& zone : project.zones)
			                                    Demo::CoverZone(zone, settings, "run");
		                                    return NoError;
	                                    }),
	          NoError);
	return Runner::ElementsAddedSince(project);
}

// The engine's whole run over the sample: one shape for each covering, hole
// and slab it made, ceilings told from floors, and swatches that look like
// what they stand for.
TEST_F(PlanSvg, DrawsOneShapeForEveryElementARunMade)
{
	Runner::LoadedProject project = LoadSample();
	std::set<API_Guid> made = CoverEveryZone(project);
	std::map<API_ElemTypeID, std::size_t> madeByType;
	for (const API_Guid& guid : made)
		++madeByType[Record(guid).header.type.typeID];
	ASSERT_GT(madeByType[API_WallID], 30u);

	std::vector<std::pair<std::size_t, std::size_t>> told;
	auto progress = [&told](std::size_t drawn, std::size_t total) { told.emplace_back(drawn, total); };
	std::vector<SvgElement> drawn = Parsed(Runner::PlanSvg(made, {"Apartment", 60.0}, progress));
	// Progress climbs by one to a total it knew from the start.
	ASSERT_FALSE(told.empty());
	for (std::size_t i = 0; i < told.size(); ++i)
		EXPECT_EQ(told[i], std::make_pair(i + 1, told.back().second));
	EXPECT_EQ(Count(drawn, "cov-wall"), madeByType[API_WallID]);
	EXPECT_EQ(Count(drawn, "hole"), madeByType[API_DoorID] + madeByType[API_WindowID]);
	EXPECT_EQ(Count(drawn, "cov-floor"), 7u);
	EXPECT_EQ(Count(drawn, "cov-ceiling"), 7u);
	EXPECT_EQ(madeByType[API_SlabID], 14u);
	EXPECT_EQ(Count(drawn, "wall"), 16u);
	EXPECT_EQ(Count(drawn, "door") + Count(drawn, "window"), 15u);

	for (const char* kind :
	     {"wall-outline", "column", "door", "window", "cov-wall", "hole", "cov-floor", "cov-ceiling"}) {
		const SvgElement* shape = First(drawn, "path", kind);
		const SvgElement* swatch = First(drawn, "rect", kind);
		ASSERT_TRUE(shape != nullptr && swatch != nullptr) << kind;
		for (const char* look : {"fill", "stroke", "stroke-width", "stroke-dasharray", "fill-opacity"}) {
			EXPECT_EQ(shape->attributes.count(look) ? shape->attributes.at(look) : "",
			          swatch->attributes.count(look) ? swatch->attributes.at(look) : "")
			    << kind << " " << look;
		}
	}
}

TEST_F(PlanSvg, DrawsEveryStoryThatHoldsZonesUnderItsOwnName)
{
	Runner::LoadedProject project = LoadSample();
	API_Element upper = Record(project.zones[0].guid);
	upper.header.guid = APINULLGuid;
	upper.header.floorInd = 1;
	GS::UniString("Loft <A & B>\x01\uFFFF").CopyUStr(upper.zone.roomName, 256);
	HostControl::AddElement(upper, HostControl::GetMemoParts(project.zones[0].guid));

	std::vector<SvgElement> drawn = Parsed(Runner::PlanSvg({}, {"", 60.0}));
	EXPECT_EQ(Texts(drawn, "heading"), (std::vector<std::string>{"Ground floor", "Upper floor"}));
	EXPECT_EQ(Count(drawn, "zone"), 9u);
	std::vector<std::string> names = Texts(drawn, "zone-name");
	EXPECT_NE(std::find(names.begin(), names.end(), "Loft <A & B>  "), names.end());
}

// A slab's level is over its story, and a hole stands on its covering's story.
TEST_F(PlanSvg, DrawsTheCeilingFloorAndHolesOfAnUpperStoryWhereTheyAre)
{
	Runner::LoadResult loaded = Runner::LoadSampleProject(UpperRoomPath, SampleLibraryIndex);
	ASSERT_TRUE(loaded.project.has_value()) << loaded.message;
	std::vector<SvgElement> drawn = Parsed(Runner::PlanSvg(CoverEveryZone(*loaded.project), {"", 60.0}));

	EXPECT_EQ(Texts(drawn, "heading"), std::vector<std::string>{"Upper floor"});
	EXPECT_EQ(Count(drawn, "cov-floor"), 1u);
	ASSERT_EQ(Count(drawn, "cov-ceiling"), 1u);
	const SvgElement* ceiling = First(drawn, "path", "cov-ceiling");
	EXPECT_EQ(ceiling->attributes.at("fill"), "none");
	EXPECT_NE(ceiling->attributes.count("stroke-dasharray"), 0u);
	EXPECT_EQ(Count(drawn, "cov-wall"), 4u);
	EXPECT_EQ(Count(drawn, "hole"), 1u);
	EXPECT_EQ(Count(drawn, "window"), 1u);
}

// Elements far apart shrink the drawing rather than stretch the picture: the
// stories' drawing fits in 4000 pixels each way, and the margins, title,
// legend and each story's heading and gap add to it.
TEST_F(PlanSvg, KeepsThePictureASaneSizeAtAnyExtent)
{
	struct Case {
		double eastEnd; // metres
		bool upperZone;
		const char* scaleBar;
	};
	const Case cases[] = {
	    {4.0, false, "2 m"}, {600.0, false, "20 m"}, {19000.0, false, "500 m"}, {19000.0, true, "500 m"}};
	for (const Case& c : cases) {
		HostControl::ResetHost();
		Runner::LoadedProject project = LoadSample();
		API_Element wall = Record(project.byId.at("wall-south"));
		wall.header.guid = APINULLGuid;
		wall.wall.begC = {-1.0, -5.0};
		wall.wall.endC = {c.eastEnd, c.eastEnd};
		HostControl::AddElement(wall);
		if (c.upperZone) {
			API_Element zone = Record(project.zones[0].guid);
			zone.header.guid = APINULLGuid;
			zone.header.floorInd = 1;
			HostControl::AddElement(zone, HostControl::GetMemoParts(project.zones[0].guid));
		}
		std::vector<SvgElement> drawn = Parsed(Runner::PlanSvg({}, {"", 60.0}));
		ASSERT_FALSE(drawn.empty());
		double stories = static_cast<double>(Texts(drawn, "heading").size());
		EXPECT_LE(std::stod(drawn[0].attributes.at("width")), 4320.0) << c.eastEnd;
		EXPECT_LE(std::stod(drawn[0].attributes.at("height")), 4090.0 + 60.0 * stories) << c.eastEnd;
		EXPECT_EQ(Texts(drawn, "scale").back(), c.scaleBar) << c.eastEnd;
	}
}

} // namespace
