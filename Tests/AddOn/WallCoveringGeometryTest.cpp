#include <cmath>
#include <iterator>

#include "CoveringHoles.hpp"
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

// Counter-clockwise walls keep the placement and hole locations they always had, to the bit.
TEST(CalcCoveringGeometry, CounterClockwiseWallsKeepTheirResultsExactly)
{
	struct Case {
		API_Coord wallBegin, wallEnd;
		double wallAngle;
		Point2d edgeBegin, edgeEnd;
		double edgeAngle, tBeg, tEnd, opening;
	};
	const Case cases[] = {
	    {{5, 0}, {0, 5}, M_PI / 2, {4.9, 0}, {0, 4.9}, M_PI / 2, 1.0, 3.0, 2.2},
	    {{5, 0}, {0, 5}, M_PI / 2, {0, 5.1}, {5.1, 0}, -M_PI / 2, 0.7, 6.1, 4.0},
	    {{7, 0}, {7, 4.5}, M_PI / 3, {7.139283, 0.15}, {7.085661, 4.45}, -0.98440, 0.2, 4.6, 2.356194},
	    {{1, 2}, {-3, 0.5}, 2.4, {0.8, 2.3}, {-2.9, 0.2}, 2.45, 0.5, 2.5, 1.5},
	};
	// Begin x and y, end x and y, arc angle, hole location.
	const double results[][6] = {
	    {0x1.3359501f2b91ep+2, 0x1.f26bef1922221p-1, 0x1.02d34381f8496p+2, 0x1.6224cd690d671p+1, 0x1.9999999999998p-2,
	     0x1.2d0e560418932p+0},
	    {0x1.4334dd42a120ap+2, 0x1.6c5ffec08ba7cp-1, 0x1.c0a9f4755e4d7p+0, 0x1.3285a3c06ef56p+2, 0x1.147ae147ae147p+0,
	     0x1.aed916872b01bp+1},
	    {0x1.e51bac190022dp+3, 0x1.0261c79e4c0ep-2, 0x1.e3c6dd63cd7bap+3, 0x1.21a8051769b18p+2, 0x1.f49f49f49f49cp-1,
	     0x1.170ef58597f0ep+1},
	    {0x1.4b98a8919e7e5p-1, 0x1.35b8696c4d5f2p+1, -0x1.3af60ff5a514ap+0, 0x1.632147d4bfbecp+1, 0x1.bed1ee25ef308p-1,
	     0x1.f923e464ee805p-1},
	};
	for (std::size_t i = 0; i < std::size(cases); ++i) {
		const Case& c = cases[i];
		API_Element wall = Wall(c.wallBegin, c.wallEnd, c.wallAngle);
		Placement placed = Place(wall, c.edgeAngle, c.edgeBegin, c.edgeEnd, c.tBeg, c.tEnd);
		const API_WallType& covering = placed.covering.wall;
		double hole = ComputeCoveringHoleLocation(wall, placed.covering, c.opening);
		const double found[6] = {covering.begC.x, covering.begC.y, covering.endC.x,
		                         covering.endC.y, covering.angle,  hole};
		for (std::size_t k = 0; k < 6; ++k)
			EXPECT_EQ(found[k], results[i][k]) << "case " << i << ", value " << k;
		EXPECT_FALSE(placed.wholeEdge);
		EXPECT_EQ(covering.flipped, c.edgeAngle < 0);
	}
}

// A curved wall about a centre and its zone edge on a concentric circle,
// for walls and edges turning either way.
struct ArcScene {
	Point2d centre;
	double wallRadius, wallBeginAngle, wallTurn, wallSweep;
	double edgeRadius;
	bool edgeAlongWall;

	double WallAngle() const { return wallTurn * wallSweep; }
	// The direction from the centre of the point at distance t along the wall.
	double AngleAt(double t) const { return wallBeginAngle + wallTurn * t / wallRadius; }
	Point2d OnCircle(double radius, double angle) const
	{
		return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
	}
	Point2d ProjectionOf(double t) const { return OnCircle(edgeRadius, AngleAt(t)); }

	API_Element MakeWall() const
	{
		Point2d begin = OnCircle(wallRadius, wallBeginAngle);
		Point2d end = OnCircle(wallRadius, AngleAt(wallSweep * wallRadius));
		return Wall({begin.x, begin.y}, {end.x, end.y}, WallAngle());
	}

	// The edge reaches a little past the wall at both ends.
	static constexpr double overhang = 0.05;
	double EdgeBeginAngle() const
	{
		return edgeAlongWall ? wallBeginAngle - wallTurn * overhang
		                     : AngleAt(wallSweep * wallRadius) + wallTurn * overhang;
	}
	double EdgeAngle() const { return (edgeAlongWall ? 1.0 : -1.0) * wallTurn * (wallSweep + 2 * overhang); }
	Point2d EdgeBegin() const { return OnCircle(edgeRadius, EdgeBeginAngle()); }
	Point2d EdgeEnd() const { return OnCircle(edgeRadius, EdgeBeginAngle() + EdgeAngle()); }

	// How far the point's direction lies into the edge, turning the edge's way.
	double IntoEdge(API_Coord point) const
	{
		double angle = std::atan2(point.y - centre.y, point.x - centre.x);
		double into = std::remainder((angle - EdgeBeginAngle()) * (EdgeAngle() < 0 ? -1.0 : 1.0), 2 * M_PI);
		return into < -tolerance ? into + 2 * M_PI : into;
	}
};

double Distance(API_Coord a, Point2d b)
{
	return std::hypot(a.x - b.x, a.y - b.y);
}

// Whatever the turn of wall and edge: the covering's ends lie on the edge's
// circle within the edge, it spans exactly the part's projection turning
// counter-clockwise, it is flipped when the edge turns clockwise, and a hole
// lands in front of its opening.
TEST(CalcCoveringGeometry, CurvedCoveringsCoverTheirPartForEveryTurn)
{
	const double fractions[][2] = {{0.1, 0.4}, {0.0, 1.0}, {0.55, 0.9}};
	int cases = 0;
	for (double wallTurn : {1.0, -1.0})
		for (bool edgeAlongWall : {true, false})
			for (double edgeOffset : {-0.15, 0.15})
				for (double sweep : {0.8, 2.0, 4.0})
					for (double beginAngle : {0.3, 2.9, -2.0})
						for (const auto& fraction : fractions) {
							ArcScene scene = {{2, -1},          3.0,          beginAngle, wallTurn, sweep,
							                  3.0 + edgeOffset, edgeAlongWall};
							double length = sweep * scene.wallRadius;
							double tBeg = fraction[0] * length, tEnd = fraction[1] * length;
							API_Element wall = scene.MakeWall();
							Placement placed =
							    Place(wall, scene.EdgeAngle(), scene.EdgeBegin(), scene.EdgeEnd(), tBeg, tEnd);
							const API_WallType& covering = placed.covering.wall;
							SCOPED_TRACE(testing::Message() << "wall turn " << wallTurn << ", edge along wall "
							                                << edgeAlongWall << ", sweep " << sweep << ", begin "
							                                << beginAngle << ", part " << tBeg << " to " << tEnd);
							++cases;
							EXPECT_FALSE(placed.wholeEdge);
							EXPECT_EQ(covering.flipped, scene.EdgeAngle() < 0);
							EXPECT_NEAR(covering.angle, (tEnd - tBeg) / scene.wallRadius, tolerance);
							for (API_Coord end : {covering.begC, covering.endC}) {
								EXPECT_NEAR(Distance(end, scene.centre), scene.edgeRadius, tolerance);
								EXPECT_LE(scene.IntoEdge(end), std::fabs(scene.EdgeAngle()) + tolerance);
							}
							Point2d first = scene.ProjectionOf(wallTurn > 0 ? tBeg : tEnd);
							Point2d last = scene.ProjectionOf(wallTurn > 0 ? tEnd : tBeg);
							EXPECT_NEAR(Distance(covering.begC, first), 0.0, tolerance);
							EXPECT_NEAR(Distance(covering.endC, last), 0.0, tolerance);

							double opening = tBeg + 0.3 * (tEnd - tBeg);
							double hole = ComputeCoveringHoleLocation(wall, placed.covering, opening);
							double beginAngleOfCovering =
							    std::atan2(covering.begC.y - scene.centre.y, covering.begC.x - scene.centre.x);
							API_Coord holePoint = {
							    scene.centre.x +
							        scene.edgeRadius * std::cos(beginAngleOfCovering + hole / scene.edgeRadius),
							    scene.centre.y +
							        scene.edgeRadius * std::sin(beginAngleOfCovering + hole / scene.edgeRadius)};
							EXPECT_NEAR(Distance(holePoint, scene.ProjectionOf(opening)), 0.0, tolerance);
						}
	EXPECT_EQ(cases, 216);
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
