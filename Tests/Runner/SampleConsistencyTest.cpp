// The sample's relations must describe its geometry as a host would report
// it, or the covering engine would be exercised on nonsense.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "GS/Memory.hpp"
#include "SampleTestSupport.hpp"

using namespace RunnerTest;
using Runner::PlanLine;
using Runner::Station;
using Runner::StationOf;

namespace {

constexpr double Tolerance = 1e-5;

class SampleRelations : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		project = LoadSample();
	}

	std::string Name(const API_Guid& guid) const
	{
		for (const auto& [id, element] : project.byId) {
			if (element == guid)
				return id;
		}
		return "?";
	}

	// Checks that every wall part runs along its wall's face; returns how many there are.
	std::size_t ExpectPartsOnFaces(const std::string& after) const;

	Runner::LoadedProject project;
};

std::size_t SampleRelations::ExpectPartsOnFaces(const std::string& after) const
{
	std::size_t parts = 0;
	for (const Runner::LoadedZone& zone : project.zones) {
		HostControl::MemoParts polygon = HostControl::GetMemoParts(zone.guid);
		ZoneRelation relation(zone.guid);
		for (const API_WallPart& part : relation.Get().wallPart) {
			std::string where = after + zone.id + " edge " + std::to_string(part.roomEdge) + " on " + Name(part.guid);
			API_Element wall = Record(part.guid);
			bool onWall = IsValidEdge(polygon, part.roomEdge) && wall.header.type.typeID == API_WallID;
			EXPECT_TRUE(onWall) << where;
			if (onWall) {
				EXPECT_EQ(Runner::FitOfWallPart(ZoneEdge(polygon, part.roomEdge), wall.wall, part.tBeg, part.tEnd),
				          Runner::WallPartFit::Fits)
				    << where;
			}
			EXPECT_LT(part.tBeg, part.tEnd) << where;
			++parts;
		}
	}
	return parts;
}

API_Coord Between(API_Coord from, API_Coord to)
{
	return {to.x - from.x, to.y - from.y};
}

TEST_F(SampleRelations, EveryWallPartRunsAlongItsWallsFace)
{
	EXPECT_EQ(ExpectPartsOnFaces(""), 37u);
}

// A straight wall that bounds a straight zone edge bounds all of it, so that
// its covering leaves no bare strip at the edge's ends.
TEST_F(SampleRelations, EveryWalledStraightEdgeIsWalledOverItsWholeLength)
{
	for (const Runner::LoadedZone& zone : project.zones) {
		HostControl::MemoParts polygon = HostControl::GetMemoParts(zone.guid);
		ZoneRelation relation(zone.guid);
		std::map<Int32, double> walledLength;
		for (const API_WallPart& part : relation.Get().wallPart) {
			if (ZoneEdge(polygon, part.roomEdge).arcAngle == 0.0 && Record(part.guid).wall.angle == 0.0)
				walledLength[part.roomEdge] += part.tEnd - part.tBeg;
		}
		for (const auto& [edge, length] : walledLength)
			EXPECT_NEAR(length, Runner::LineLength(ZoneEdge(polygon, edge)), Tolerance) << zone.id << " edge " << edge;
	}
}

// The host's zone update keeps them on their faces whichever wall moves either
// way, but where a straight face is drawn off a curved one that it touches at
// a point: that would take a new zone edge.
TEST_F(SampleRelations, ZonesFollowAMovedWall)
{
	const std::set<std::pair<std::string, double>> drawnOffACurve = {
	    {"wall-corner", 0.1}, {"wall-east", -0.1}, {"wall-south", -0.1}};
	std::vector<std::string> walls;
	for (const auto& [id, guid] : project.byId) {
		if (Record(guid).header.type.typeID == API_WallID)
			walls.push_back(id);
	}
	ASSERT_EQ(walls.size(), 16u);
	for (const std::string& id : walls) {
		for (double aside : {0.1, -0.1}) {
			if (drawnOffACurve.count({id, aside}) != 0)
				continue;
			HostControl::ResetHost();
			project = LoadSample();
			PlanLine line = ReferenceLine(Record(project.byId.at(id)));
			API_Coord across = Runner::PointAt({{0.0, 0.0}, Between(line.begin, line.end), 0.0}, {0.0, aside});
			ASSERT_EQ(HostControl::MoveWall(project.byId.at(id), across), NoError);
			EXPECT_EQ(ExpectPartsOnFaces(id + " moved " + std::to_string(aside) + ": "), 37u);
		}
	}
}

// Every zone edge that no wall part claims runs along a column face.
TEST_F(SampleRelations, EveryZoneEdgeIsBoundedByAWallOrAColumn)
{
	for (const Runner::LoadedZone& zone : project.zones) {
		HostControl::MemoParts polygon = HostControl::GetMemoParts(zone.guid);
		ZoneRelation relation(zone.guid);
		std::vector<Int32> walled;
		for (const API_WallPart& part : relation.Get().wallPart)
			walled.push_back(part.roomEdge);
		std::size_t bare = 0;
		for (Int32 edge : EdgesOf(polygon))
			bare += std::count(walled.begin(), walled.end(), edge) == 0 ? 1 : 0;
		EXPECT_EQ(bare, zone.id == "living" ? 7u : zone.id == "study" ? 4u : 0u) << zone.id;
	}
}

struct ColumnFaces {
	const char* column;
	const char* zone;
	std::size_t facesOnEdges;
};

void PrintTo(const ColumnFaces& c, std::ostream* out)
{
	*out << c.column;
}

class SampleColumns : public SampleRelations, public ::testing::WithParamInterface<ColumnFaces> {};

std::vector<PlanLine> ColumnSides(const API_Element& column, const API_ColumnSegmentType& segment)
{
	double turn = column.column.axisRotationAngle + column.column.profileRotationAngle;
	API_Coord c = column.column.origoPos;
	API_Coord u = {segment.nominalWidth / 2 * std::cos(turn), segment.nominalWidth / 2 * std::sin(turn)};
	API_Coord v = {-segment.nominalDepth / 2 * std::sin(turn), segment.nominalDepth / 2 * std::cos(turn)};
	API_Coord p0 = {c.x - u.x - v.x, c.y - u.y - v.y}, p1 = {c.x + u.x - v.x, c.y + u.y - v.y};
	API_Coord p2 = {c.x + u.x + v.x, c.y + u.y + v.y}, p3 = {c.x - u.x + v.x, c.y - u.y + v.y};
	return {{p0, p3, 0.0}, {p3, p2, 0.0}, {p2, p1, 0.0}, {p1, p0, 0.0}};
}

bool SharesAStretch(const PlanLine& side, const PlanLine& edge)
{
	if (edge.arcAngle != 0.0)
		return false;
	Station begin = StationOf(edge, side.begin);
	Station end = StationOf(edge, side.end);
	double overlap = std::min(std::max(begin.along, end.along), Runner::LineLength(edge)) -
	                 std::max(std::min(begin.along, end.along), 0.0);
	return std::fabs(begin.left) < Tolerance && std::fabs(end.left) < Tolerance && overlap > Tolerance;
}

TEST_P(SampleColumns, StandOnTheZoneBoundaryOrInsideIt)
{
	API_Guid column = project.byId.at(GetParam().column);
	API_Guid zone = project.byId.at(GetParam().zone);
	std::vector<API_Guid> listed = ZoneRelation(zone).ListOf(API_ColumnID);
	EXPECT_NE(std::find(listed.begin(), listed.end(), column), listed.end());

	HostControl::MemoParts polygon = HostControl::GetMemoParts(zone);
	std::vector<PlanLine> sides =
	    ColumnSides(Record(column), HostControl::GetMemoParts(column).columnSegments->front());
	std::size_t onEdges = 0;
	for (const PlanLine& side : sides) {
		for (Int32 edge : EdgesOf(polygon))
			onEdges += SharesAStretch(side, ZoneEdge(polygon, edge)) ? 1 : 0;
	}
	EXPECT_EQ(onEdges, GetParam().facesOnEdges);
}

INSTANTIATE_TEST_SUITE_P(Sample, SampleColumns,
                         ::testing::Values(ColumnFaces{"column-living-wall", "living", 3},
                                           ColumnFaces{"column-living-free", "living", 4},
                                           ColumnFaces{"column-study-round", "study", 0}));

bool LiesInAPartOf(const API_Guid& zone, const API_Element& opening)
{
	double from = opening.door.objLoc - opening.door.openingBase.width / 2.0;
	double to = opening.door.objLoc + opening.door.openingBase.width / 2.0;
	ZoneRelation relation(zone);
	for (const API_WallPart& part : relation.Get().wallPart) {
		if (part.guid == opening.door.owner && part.tBeg - Tolerance <= from && to <= part.tEnd + Tolerance)
			return true;
	}
	return false;
}

bool Lists(const API_Guid& zone, const API_Element& opening)
{
	std::vector<API_Guid> listed = ZoneRelation(zone).ListOf(opening.header.type.typeID);
	return std::find(listed.begin(), listed.end(), opening.header.guid) != listed.end();
}

TEST_F(SampleRelations, EveryOpeningLiesWithinAWallPartOfTheZonesOnItsSides)
{
	std::vector<API_Guid> openings = HostControl::Elements(API_DoorID);
	std::vector<API_Guid> windows = HostControl::Elements(API_WindowID);
	openings.insert(openings.end(), windows.begin(), windows.end());
	for (const API_Guid& guid : openings) {
		API_Element opening = Record(guid);
		API_OpeningRelation sides = OpeningRelation(guid);
		EXPECT_NE(sides.fromRoom, APINULLGuid) << Name(guid);
		for (const API_Guid& zone : {sides.fromRoom, sides.toRoom}) {
			if (zone == APINULLGuid)
				continue;
			EXPECT_TRUE(LiesInAPartOf(zone, opening)) << Name(guid) << " in " << Name(zone);
			EXPECT_TRUE(Lists(zone, opening)) << Name(zone) << " lists " << Name(guid);
		}
	}
}

TEST_F(SampleRelations, ZonesListOnlyTheOpeningsThatLeadIntoThem)
{
	for (const Runner::LoadedZone& zone : project.zones) {
		for (API_ElemTypeID type : {API_DoorID, API_WindowID}) {
			for (const API_Guid& opening : ZoneRelation(zone.guid).ListOf(type)) {
				API_OpeningRelation sides = OpeningRelation(opening);
				EXPECT_TRUE(sides.fromRoom == zone.guid || sides.toRoom == zone.guid)
				    << zone.id << " " << Name(opening);
			}
		}
	}
}

// A niche widens the zone, so each has an edge on the zone's outline.
TEST_F(SampleRelations, EveryNicheAdjoinsItsZone)
{
	for (const Runner::LoadedZone& zone : project.zones) {
		HostControl::MemoParts outline = HostControl::GetMemoParts(zone.guid);
		ZoneRelation relation(zone.guid);
		for (const API_Niche& niche : relation.Get().niches) {
			HostControl::MemoParts polygon;
			std::size_t coords = BMGetHandleSize(niche.coords) / sizeof(API_Coord);
			std::size_t pends = BMGetHandleSize(niche.pends) / sizeof(Int32);
			polygon.coords = std::vector<API_Coord>(*niche.coords, *niche.coords + coords);
			polygon.pends = std::vector<Int32>(*niche.pends, *niche.pends + pends);
			bool adjoins = false;
			for (Int32 side : EdgesOf(polygon)) {
				for (Int32 edge : EdgesOf(outline))
					adjoins = adjoins || SharesAStretch(ZoneEdge(polygon, side), ZoneEdge(outline, edge));
			}
			EXPECT_TRUE(adjoins) << zone.id;
		}
	}
}

} // namespace
