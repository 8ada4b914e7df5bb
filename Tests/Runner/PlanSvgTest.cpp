#include <regex>

#include "PlanSvg.hpp"
#include "SampleTestSupport.hpp"

using namespace RunnerTest;

namespace {

class PlanSvg : public HostTest {};

std::size_t Count(const std::string& text, const std::string& part)
{
	std::size_t count = 0;
	for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
		++count;
	return count;
}

// Every element is closed, in the order it was opened.
bool TagsAreBalanced(const std::string& svg)
{
	std::vector<std::string> open;
	std::regex tag("<(/?)([a-zA-Z]+)[^>]*?(/?)>");
	for (auto it = std::sregex_iterator(svg.begin(), svg.end(), tag); it != std::sregex_iterator(); ++it) {
		const std::smatch& match = *it;
		if (match[3] == "/")
			continue;
		if (match[1] == "") {
			open.push_back(match[2]);
		} else {
			if (open.empty() || open.back() != match[2])
				return false;
			open.pop_back();
		}
	}
	return open.empty();
}

API_Guid AddCoveringWall(const API_Guid& alongWall, double offset)
{
	API_Element covering = Record(alongWall);
	covering.header.guid = APINULLGuid;
	covering.wall.begC.y += offset;
	covering.wall.endC.y += offset;
	covering.wall.thickness = 0.02;
	return HostControl::AddElement(covering);
}

TEST_F(PlanSvg, DrawsEveryZoneWallColumnAndOpeningOfTheSample)
{
	Runner::LoadedProject project = LoadSample();
	std::string svg = Runner::PlanSvg({}, {0, "Apartment & more", 60.0});

	EXPECT_EQ(svg.rfind("<svg ", 0), 0u);
	EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
	EXPECT_TRUE(TagsAreBalanced(svg));
	EXPECT_EQ(Count(svg, "<path class=\"zone\""), 8u);
	EXPECT_EQ(Count(svg, "<path class=\"wall\""), 16u);
	EXPECT_EQ(Count(svg, "<path class=\"column\""), 2u);
	EXPECT_EQ(Count(svg, "<ellipse class=\"column\""), 1u);
	EXPECT_EQ(Count(svg, "<path class=\"door\""), 8u);
	EXPECT_EQ(Count(svg, "<path class=\"swing\""), 8u);
	EXPECT_EQ(Count(svg, "<path class=\"window\""), 7u);
	EXPECT_EQ(Count(svg, "<path class=\"cov-"), 0u);
	EXPECT_NE(svg.find(">Apartment &amp; more</text>"), std::string::npos);
	for (const Runner::LoadedZone& zone : project.zones) {
		EXPECT_NE(svg.find(">" + zone.number + "</text>"), std::string::npos) << zone.number;
		EXPECT_NE(svg.find(">" + zone.name + "</text>"), std::string::npos) << zone.name;
	}
	EXPECT_NE(svg.find("top linked to story +1"), std::string::npos);
}

// Curved walls and zone edges are real arcs, bent to the side the plan bends.
TEST_F(PlanSvg, DrawsCurvesAsArcs)
{
	Runner::LoadedProject project = LoadSample();
	API_Element corner = Record(project.byId.at("wall-corner"));
	HostControl::ResetHost();
	HostControl::AddElement(corner);
	std::string svg = Runner::PlanSvg({}, {0, "", 100.0});
	// Counter-clockwise in the plan: the picture's sweep flag is 0, on the inner face;
	// the outer face runs back the other way.
	std::smatch arcs;
	ASSERT_TRUE(std::regex_search(svg, arcs, std::regex("A (\\S+) \\S+ 0 0 0 .* A (\\S+) \\S+ 0 0 1 ")));
	EXPECT_EQ(arcs[1], "185.00");
	EXPECT_EQ(arcs[2], "215.00");
}

TEST_F(PlanSvg, DrawsTheRunsElementsInTheirOwnColours)
{
	Runner::LoadedProject project = LoadSample();
	API_Guid covering = AddCoveringWall(project.byId.at("wall-south"), 0.16);
	API_Element hole = Record(project.byId.at("window-living"));
	hole.header.guid = APINULLGuid;
	hole.window.owner = covering;
	API_Guid holeGuid = HostControl::AddElement(hole);
	API_Element slab = Record(project.zones[0].guid);
	slab.header.type.typeID = API_SlabID;
	slab.header.guid = APINULLGuid;
	HostControl::MemoParts outline = HostControl::GetMemoParts(project.zones[0].guid);
	API_Guid slabGuid = HostControl::AddElement(slab, outline);

	std::string covered = Runner::PlanSvg({covering, holeGuid, slabGuid}, {});
	EXPECT_EQ(Count(covered, "<path class=\"cov-wall\""), 1u);
	EXPECT_EQ(Count(covered, "<path class=\"hole\""), 1u);
	EXPECT_EQ(Count(covered, "<path class=\"cov-slab\""), 1u);
	EXPECT_EQ(Count(covered, "<path class=\"wall\""), 16u);
	EXPECT_EQ(Count(covered, "<path class=\"window\""), 7u);
	EXPECT_TRUE(TagsAreBalanced(covered));

	std::string plain = Runner::PlanSvg({}, {});
	EXPECT_EQ(Count(plain, "<path class=\"wall\""), 17u);
	EXPECT_EQ(Count(plain, "<path class=\"slab\""), 1u);
	EXPECT_EQ(Count(plain, "<path class=\"cov-"), 0u);
}

TEST_F(PlanSvg, LeavesOtherStoriesOutAndEscapesNames)
{
	Runner::LoadedProject project = LoadSample();
	API_Element upper = Record(project.zones[0].guid);
	upper.header.guid = APINULLGuid;
	upper.header.floorInd = 1;
	GS::UniString("Loft <A & B>").CopyUStr(upper.zone.roomName, 256);
	HostControl::AddElement(upper, HostControl::GetMemoParts(project.zones[0].guid));

	EXPECT_EQ(Count(Runner::PlanSvg({}, {0, "", 60.0}), "<path class=\"zone\""), 8u);
	std::string loft = Runner::PlanSvg({}, {1, "", 60.0});
	EXPECT_EQ(Count(loft, "<path class=\"zone\""), 1u);
	EXPECT_NE(loft.find(">Loft &lt;A &amp; B&gt;</text>"), std::string::npos);
	EXPECT_TRUE(TagsAreBalanced(loft));
}

} // namespace
