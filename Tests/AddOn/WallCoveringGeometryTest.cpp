#include <cmath>

#include "HostTest.hpp"
#include "ModelBuilder.hpp"
#include "WallCoveringGeometry.hpp"

using Geometry::Point2d;

namespace {

constexpr double tolerance = 1e-9;

API_Element Wall(API_Coord begin, API_Coord end, double angle = 0.0)
{
	API_Element wall = ModelBuilder::NewRecord(API_WallID);
	wall.wall.begC = begin;
	wall.wall.endC = end;
	wall.wall.angle = angle;
	return wall;
}

struct Placement {
	API_Element covering;
	bool wholeEdge;
};

Placement Place(const API_Element& wall, double edgeAngle, Point2d edgeBegin, Point2d edgeEnd, double tBeg, double tEnd)
{
	API_Element covering = ModelBuilder::NewRecord(API_WallID);
	covering.wall.flipped = true;
	covering.wall.thickness = 0.02;
	API_WallPart part = {wall.header.guid, 1, tBeg, tEnd};
	bool whole = CalcCoveringGeometry(covering, edgeAngle, edgeBegin, edgeEnd, wall, part);
	EXPECT_EQ(covering.wall.thickness, 0.02) << "only the placement changes";
	return {covering, whole};
}

TEST(CalcCoveringGeometry, StraightEdgesInFrontOfStraightWalls)
{
	struct Case {
		const char* what;
		API_Coord wallBegin, wallEnd;
		Point2d edgeBegin, edgeEnd;
		bool whole;
		API_Coord begin, end;
	};
	const double steep = 10.0 * 2e-5 / std::sqrt(1.0 - 4e-10);
	const Case cases[] = {
	    {"same direction", {0, 0}, {10, 0}, {1, 0.2}, {9, 0.2}, false, {2, 0.2}, {5, 0.2}},
	    {"opposite direction", {0, 0}, {10, 0}, {9, 0.2}, {1, 0.2}, false, {5, 0.2}, {2, 0.2}},
	    {"cross product 2e-5", {0, 0}, {10, 0}, {0, 0.2}, {10, 0.2 + steep}, true, {0, 0.2}, {10, 0.2 + steep}},
	    {"coinciding wall ends", {3, 3}, {3, 3}, {1, 0.2}, {9, 0.2}, false, {5, 0.2}, {8, 0.2}},
	};
	for (const Case& c : cases) {
		Placement placed = Place(Wall(c.wallBegin, c.wallEnd), 0.0, c.edgeBegin, c.edgeEnd, 2.0, 5.0);
		EXPECT_EQ(placed.wholeEdge, c.whole) << c.what;
		EXPECT_NEAR(placed.covering.wall.begC.x, c.begin.x, tolerance) << c.what;
		EXPECT_NEAR(placed.covering.wall.begC.y, c.begin.y, tolerance) << c.what;
		EXPECT_NEAR(placed.covering.wall.endC.x, c.end.x, tolerance) << c.what;
		EXPECT_NEAR(placed.covering.wall.endC.y, c.end.y, tolerance) << c.what;
		EXPECT_EQ(placed.covering.wall.angle, 0.0) << c.what;
		EXPECT_FALSE(placed.covering.wall.flipped) << c.what;
	}
}

TEST(CalcCoveringGeometry, ParallelWithinToleranceIsProjected)
{
	const double slight = 10.0 * 0.5e-5;
	Placement placed = Place(Wall({0, 0}, {10, 0}), 0.0, {0, 0.2}, {10, 0.2 + slight}, 2.0, 5.0);
	EXPECT_FALSE(placed.wholeEdge);
}

TEST(CalcCoveringGeometry, StraightEdgeBeforeCurvedWallSpansTheEdge)
{
	Placement placed = Place(Wall({0, 0}, {10, 0}, 0.3), 0.0, {1, 0.2}, {9, 0.2}, 2.0, 5.0);
	EXPECT_TRUE(placed.wholeEdge);
	EXPECT_EQ(placed.covering.wall.begC.x, 1.0);
	EXPECT_EQ(placed.covering.wall.endC.x, 9.0);
	EXPECT_EQ(placed.covering.wall.angle, 0.0);
}

TEST(CalcCoveringGeometry, CurvedEdgesFollowTheEdgesCircle)
{
	// A quarter-circle wall of radius 5 about the origin and edges on circles of
	// radius 4.9 and 5.1 about it, in both directions.
	const double quarter = M_PI / 2;
	const API_Element wall = Wall({5, 0}, {0, 5}, quarter);
	struct Case {
		Point2d edgeBegin, edgeEnd;
		double edgeAngle;
		double radius;
	};
	for (const Case& c : {Case{{4.9, 0}, {0, 4.9}, quarter, 4.9}, Case{{0, 5.1}, {5.1, 0}, -quarter, 5.1}}) {
		Placement placed = Place(wall, c.edgeAngle, c.edgeBegin, c.edgeEnd, 1.0, 3.0);
		EXPECT_FALSE(placed.wholeEdge);
		EXPECT_EQ(placed.covering.wall.flipped, c.edgeAngle < 0);
		EXPECT_NEAR(placed.covering.wall.angle, (3.0 - 1.0) / 5.0, tolerance);
		for (API_Coord end : {placed.covering.wall.begC, placed.covering.wall.endC})
			EXPECT_NEAR(std::hypot(end.x, end.y), c.radius, tolerance);
	}
	// With the edge running like the wall, the covering starts at the part's angle.
	Placement placed = Place(wall, quarter, {4.9, 0}, {0, 4.9}, 1.0, 3.0);
	EXPECT_NEAR(std::atan2(placed.covering.wall.begC.y, placed.covering.wall.begC.x), 1.0 / 5.0, tolerance);
}

TEST(SameDirection, ComparesUnitDirectionsWithinTolerance)
{
	EXPECT_TRUE(SameDirection({2, 0}, {5, 0}));
	EXPECT_FALSE(SameDirection({2, 0}, {-5, 0}));
	EXPECT_FALSE(SameDirection({1, 0}, {0, 1}));
	EXPECT_TRUE(SameDirection({0, 0}, {3, 0})) << "a null vector counts as (1, 0)";
	EXPECT_TRUE(SameDirection({1, 0}, {1, 1e-3}));
	EXPECT_FALSE(SameDirection({1, 0}, {1, 1e-2}));
}

TEST(SortIndices, OrdersStablyBySignedKeys)
{
	EXPECT_EQ(SortIndices(GS::Array<int>{5, 3, 5, 1}), (GS::Array<UInt32>{3, 1, 0, 2}));
	EXPECT_EQ(SortIndices(GS::Array<int>{-1, 2, -3}), (GS::Array<UInt32>{2, 0, 1}));
	EXPECT_EQ(SortIndices(GS::Array<int>{7}), (GS::Array<UInt32>{0}));
	EXPECT_TRUE(SortIndices(GS::Array<int>{}).IsEmpty());
}

class ZoneEdges : public HostTest {
protected:
	struct Zone {
		API_Element record;
		API_ElementMemo memo;
	};

	Zone Read(const API_Guid& guid)
	{
		Zone zone = {ModelBuilder::NewRecord(API_ZoneID), {}};
		zone.record.header.guid = guid;
		EXPECT_EQ(ACAPI_Element_Get(&zone.record), NoError);
		EXPECT_EQ(ACAPI_Element_GetMemo(guid, &zone.memo, APIMemoMask_Polygon), NoError);
		return zone;
	}
};

TEST_F(ZoneEdges, AddTableCoversOuterOrAllContours)
{
	API_Guid guid = ModelBuilder::AddZone(
	    "1", {{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, {{{4, 4}, {4, 6}, {6, 6}, {6, 4}}}}, {{2, 3, 0.5}});
	Zone zone = Read(guid);
	ZonePolygon polygon(zone.record, zone.memo);
	for (bool inner : {false, true}) {
		ZoneEdgeMap edges = MakeZoneEdgeMapForAdd(polygon, inner);
		GS::Array<int> keys;
		for (const auto& entry : edges)
			keys.Push(entry.key);
		EXPECT_EQ(keys, (inner ? GS::Array<int>{1, 2, 3, 4, 6, 7, 8, 9} : GS::Array<int>{1, 2, 3, 4}));
	}
	ZoneEdgeMap edges = MakeZoneEdgeMapForAdd(polygon, false);
	EXPECT_EQ(edges.Get(2).BegPoint(), Point2d(10, 0)) << "an arc edge is entered as its chord";
	EXPECT_EQ(edges.Get(2).EndPoint(), Point2d(10, 10));
	ACAPI_DisposeElemMemoHdls(&zone.memo);
}

TEST_F(ZoneEdges, EdgeAngleIsTheFirstArcOfTheEdge)
{
	API_Guid guid =
	    ModelBuilder::AddZone("1", {{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}}, {{2, 3, 0.5}, {2, 3, 0.7}, {4, 5, -0.2}});
	Zone zone = Read(guid);
	ZonePolygon polygon(zone.record, zone.memo);
	EXPECT_EQ(GetZoneEdgeAngle(polygon, 2), 0.5);
	EXPECT_EQ(GetZoneEdgeAngle(polygon, 4), -0.2);
	EXPECT_EQ(GetZoneEdgeAngle(polygon, 1), 0.0);

	zone.record.zone.poly.nArcs = 0;
	EXPECT_EQ(GetZoneEdgeAngle(ZonePolygon(zone.record, zone.memo), 2), 0.0) << "the record's count decides";
	zone.record.zone.poly.nArcs = 1000;
	EXPECT_EQ(GetZoneEdgeAngle(ZonePolygon(zone.record, zone.memo), 7), 0.0) << "never beyond the handle";
	API_ElementMemo withoutArcs = zone.memo;
	withoutArcs.parcs = nullptr;
	EXPECT_EQ(GetZoneEdgeAngle(ZonePolygon(zone.record, withoutArcs), 2), 0.0);
	ACAPI_DisposeElemMemoHdls(&zone.memo);
}

TEST_F(ZoneEdges, DamagedCountsStayWithinTheMemo)
{
	API_Guid guid = ModelBuilder::AddZone("1", {{{{0, 0}, {10, 0}, {10, 10}}}});
	Zone zone = Read(guid);
	zone.record.zone.poly = {1000, 50, 9};
	ZonePolygon polygon(zone.record, zone.memo);
	EXPECT_EQ(polygon.coordCount, 4);
	EXPECT_EQ(polygon.contourCount, 1);
	EXPECT_EQ(polygon.arcCount, 0);
	EXPECT_EQ(MakeZoneEdgeMapForAdd(polygon, true).GetSize(), 3u);
	zone.record.zone.poly = {1, 1, 0};
	EXPECT_TRUE(MakeZoneEdgeMapForAdd(ZonePolygon(zone.record, zone.memo), true).IsEmpty());
	ACAPI_DisposeElemMemoHdls(&zone.memo);
}

} // namespace
