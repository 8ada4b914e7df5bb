#include <gtest/gtest.h>

#include <cmath>

#include "GeometryOutlines.hpp"
#include "HostControl.hpp"

namespace {

using namespace GeometryTest;
using Geometry::Polygon2DData;

constexpr double Pi = 3.14159265358979323846;

const Contour square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};

double AreaOf(const Outline& outline)
{
	double area = 0.0;
	for (const Contour& contour : outline)
		area += ChordArea(contour);
	return area;
}

struct UnionCase {
	const char* name;
	Outline a;
	Outline b;
	std::vector<std::size_t> verticesPerPolygon; // of the outer contours
	double totalArea;
};

const UnionCase unionCases[] = {
    {"TouchingNiche", {square}, {{{4, 1}, {5, 1}, {5, 3}, {4, 3}}}, {8}, 18},
    {"OverlappingNiche", {square}, {{{3, 1}, {5, 1}, {5, 3}, {3, 3}}}, {8}, 18},
    {"DistantRectangle", {square}, {{{10, 0}, {12, 0}, {12, 2}, {10, 2}}}, {4, 4}, 20},
    {"CornerTouchIsTwoPolygons", {square}, {{{4, 4}, {6, 4}, {6, 6}, {4, 6}}}, {4, 4}, 20},
    {"Contained", {square}, {{{1, 1}, {2, 1}, {2, 2}, {1, 2}}}, {4}, 16},
    {"FillsTheOtherHole", {square, {{1, 1}, {3, 1}, {3, 3}, {1, 3}}}, {{{1, 1}, {3, 1}, {3, 3}, {1, 3}}}, {4}, 16},
    {"OtherEmpty", {square}, {}, {4}, 16},
    {"BothEmpty", {}, {}, {}, 0},
};

class UnionTest : public testing::TestWithParam<UnionCase> {};

TEST_P(UnionTest, AppendsOneRecordPerSeparatePolygon)
{
	const UnionCase& c = GetParam();
	Int32 before = HostControl::LivePointerCount();
	{
		Record a;
		Record b;
		ASSERT_EQ(ToRecord(c.a, &a.data), NoError);
		ASSERT_EQ(ToRecord(c.b, &b.data), NoError);
		GS::VAArray<Polygon2DData> results(50);
		ASSERT_EQ(Geometry::UnifyPolygon2DData(a.data, b.data, &results), NoError);
		ASSERT_EQ(results.GetItemCount(), static_cast<Int32>(c.verticesPerPolygon.size()));
		double totalArea = 0.0;
		for (Int32 i = 1; i <= results.GetItemCount(); ++i) {
			Outline outline = OutlineOf(results[i]);
			EXPECT_EQ(outline[0].size(), c.verticesPerPolygon[i - 1]) << "polygon " << i;
			EXPECT_EQ(results[i].status, Geometry::Polygon2DData_BoundBoxValid | Geometry::Polygon2DData_Oriented);
			totalArea += AreaOf(outline);
		}
		EXPECT_NEAR(totalArea, c.totalArea, 1e-9);
	}
	EXPECT_EQ(HostControl::LivePointerCount(), before);
}

INSTANTIATE_TEST_SUITE_P(Geometry, UnionTest, testing::ValuesIn(unionCases),
                         [](const testing::TestParamInfo<UnionCase>& info) { return info.param.name; });

TEST(UnifyPolygon2DData, KeepsUntouchedArcAndCutsTheTouchedOne)
{
	// The left side bulges out and stays; the top half circle (centre (2.05, 4)) is cut
	// by a rectangle covering its right half, which leaves the quarter ending at (0.1, 4).
	const double bulge = 0.9876543211;
	Record a;
	Record b;
	ASSERT_EQ(ToRecord({{{0, 0}, {4, 0}, {4, 4, Pi}, {0.1, 4, bulge}}}, &a.data), NoError);
	ASSERT_EQ(ToRecord({{{2.05, 3}, {7, 3}, {7, 7}, {2.05, 7}}}, &b.data), NoError);
	GS::VAArray<Polygon2DData> results(50);
	ASSERT_EQ(Geometry::UnifyPolygon2DData(a.data, b.data, &results), NoError);
	ASSERT_EQ(results.GetItemCount(), 1);
	std::vector<ArcEdge> arcs = ArcEdgesOf(OutlineOf(results[1]));
	ASSERT_EQ(arcs.size(), 2u);
	const ArcEdge& cut = arcs[0].begin.x == 0.1 ? arcs[1] : arcs[0];
	const ArcEdge& kept = arcs[0].begin.x == 0.1 ? arcs[0] : arcs[1];

	EXPECT_EQ(kept.begin.x, 0.1);
	EXPECT_EQ(kept.begin.y, 4.0);
	EXPECT_EQ(kept.end.x, 0.0);
	EXPECT_EQ(kept.end.y, 0.0);
	EXPECT_EQ(kept.angle, bulge);

	EXPECT_NEAR(cut.begin.x, 2.05, 3e-6);
	EXPECT_NEAR(cut.begin.y, 5.95, 3e-6);
	EXPECT_EQ(cut.end.x, 0.1);
	EXPECT_EQ(cut.end.y, 4.0);
	EXPECT_NEAR(cut.angle, Pi / 2, 1e-5);
}

TEST(UnifyPolygon2DData, RefusesMalformedRecordsAndKeepsTheResults)
{
	Record good;
	Record bad;
	ASSERT_EQ(ToRecord({square}, &good.data), NoError);
	ASSERT_EQ(ToRecord({square}, &bad.data), NoError);
	bad.data.contourEnds[1] = 99;
	GS::VAArray<Polygon2DData> results(50);
	ASSERT_EQ(Geometry::UnifyPolygon2DData(good.data, good.data, &results), NoError);
	EXPECT_EQ(Geometry::UnifyPolygon2DData(good.data, bad.data, &results), Geometry::ErrInvalidPolygon);
	EXPECT_EQ(Geometry::UnifyPolygon2DData(bad.data, good.data, &results), Geometry::ErrInvalidPolygon);
	EXPECT_EQ(Geometry::UnifyPolygon2DData(good.data, good.data, nullptr), Geometry::ErrBadParameter);
	EXPECT_EQ(results.GetItemCount(), 1);
}

TEST(UnifyPolygon2DData, FailedAllocationKeepsTheResultsAndLeaksNothing)
{
	Int32 before = HostControl::LivePointerCount();
	{
		Record a;
		Record b;
		ASSERT_EQ(ToRecord({square}, &a.data), NoError);
		ASSERT_EQ(ToRecord({{{10, 0}, {12, 0}, {12, 2}, {10, 2, 1.0}}}, &b.data), NoError);
		GS::VAArray<Polygon2DData> results(50);
		for (UInt32 failing = 1; failing <= 5; ++failing) {
			SCOPED_TRACE(failing);
			HostControl::FailCall("BMAllocatePtr", failing, ErrMemoryFull);
			EXPECT_EQ(Geometry::UnifyPolygon2DData(a.data, b.data, &results), ErrMemoryFull);
			HostControl::ClearFaults();
			EXPECT_EQ(results.GetItemCount(), 0);
		}
	}
	EXPECT_EQ(HostControl::LivePointerCount(), before);
}

TEST(OrientPolygon2DData, TurnsOuterCounterClockwiseAndHolesClockwise)
{
	const struct {
		const char* name;
		Outline outline;
		Outline oriented;
	} cases[] = {
	    {"AlreadyOriented", {square, {{1, 1}, {1, 2}, {2, 2}}}, {square, {{1, 1}, {1, 2}, {2, 2}}}},
	    {"ClockwiseOuter", {{{0, 0}, {0, 4}, {4, 4}, {4, 0}}}, {{{0, 0}, {4, 0}, {4, 4}, {0, 4}}}},
	    {"CounterClockwiseHole", {square, {{1, 1}, {2, 1}, {2, 2}}}, {square, {{1, 1}, {2, 2}, {2, 1}}}},
	    {"ArcsFollowTheirEdges",
	     {{{0, 0}, {0, 4, -0.5}, {4, 4}, {4, 0, 0.25}}},
	     {{{0, 0, -0.25}, {4, 0}, {4, 4, 0.5}, {0, 4}}}},
	    // The chords run counter-clockwise, but the arc bulges far over them clockwise.
	    {"ArcOutweighsTheChords", {{{0, 0, -3.0}, {1, 0}, {0.5, 0.1}}}, {{{0, 0}, {0.5, 0.1}, {1, 0, 3.0}}}},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		Record record;
		ASSERT_EQ(ToRecord(c.outline, &record.data), NoError);
		ASSERT_EQ(Geometry::OrientPolygon2DData(&record.data), NoError);
		EXPECT_NE(record.data.status & Geometry::Polygon2DData_Oriented, 0);
		Outline oriented = OutlineOf(record.data);
		ASSERT_EQ(oriented.size(), c.oriented.size());
		for (std::size_t j = 0; j < oriented.size(); ++j) {
			ASSERT_EQ(oriented[j].size(), c.oriented[j].size());
			for (std::size_t i = 0; i < oriented[j].size(); ++i) {
				EXPECT_EQ(oriented[j][i].x, c.oriented[j][i].x) << j << "/" << i;
				EXPECT_EQ(oriented[j][i].y, c.oriented[j][i].y) << j << "/" << i;
				EXPECT_EQ(oriented[j][i].arc, c.oriented[j][i].arc) << j << "/" << i;
			}
		}
	}
}

TEST(OrientPolygon2DData, ConvertTellsWhetherContoursAreOriented)
{
	Record oriented;
	Record clockwise;
	ASSERT_EQ(ToRecord({square}, &oriented.data), NoError);
	ASSERT_EQ(ToRecord({{{0, 0}, {0, 4}, {4, 4}, {4, 0}}}, &clockwise.data), NoError);
	EXPECT_NE(oriented.data.status & Geometry::Polygon2DData_Oriented, 0);
	EXPECT_EQ(clockwise.data.status & Geometry::Polygon2DData_Oriented, 0);
}

TEST(OrientPolygon2DData, RefusesAMalformedRecordUnchanged)
{
	Record record;
	ASSERT_EQ(ToRecord({{{0, 0}, {0, 4}, {4, 4}, {4, 0}}}, &record.data), NoError);
	// Counts beyond what the arrays hold.
	for (Int32* count : {&record.data.nArcs, &record.data.nVertices, &record.data.nContours}) {
		*count += 1;
		EXPECT_EQ(Geometry::OrientPolygon2DData(&record.data), Geometry::ErrInvalidPolygon);
		*count -= 1;
	}
	EXPECT_EQ(record.data.vertices[2].y, 4.0);
	EXPECT_EQ(Geometry::OrientPolygon2DData(nullptr), Geometry::ErrBadParameter);
}

TEST(GetPolygon2DDataBoundBox, CoversArcBulges)
{
	const struct {
		const char* name;
		Outline outline;
		Geometry::Box2DData box;
	} cases[] = {
	    {"Straight", {{{1, 2}, {4, 2}, {3, 5}}}, {1, 2, 4, 5}},
	    {"HalfCircleOutward", {{{0, 0}, {2, 0, Pi}, {2, 2}, {0, 2}}}, {0, 0, 3, 2}},
	    {"HalfCircleInward", {{{0, 0}, {2, 0, -Pi}, {2, 2}, {0, 2}}}, {0, 0, 2, 2}},
	    {"SmallArcMissesTheExtreme", {{{0, 0}, {2, 0, 0.1}, {2, 2}, {0, 2}}}, {0, 0, 2.0250052, 2}},
	    // Centre (1, 0), radius 1, from the left point round the bottom and the right to the top.
	    {"ThreeQuartersReachesThreeSides", {{{0, 0, 3 * Pi / 2}, {1, 1}, {0, 1}}}, {0, -1, 2, 1}},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		Record record;
		ASSERT_EQ(ToRecord(c.outline, &record.data), NoError);
		record.data.status = 0;
		Geometry::Box2DData box{};
		ASSERT_EQ(Geometry::GetPolygon2DDataBoundBox(record.data, &box), NoError);
		EXPECT_NEAR(box.xMin, c.box.xMin, 1e-6);
		EXPECT_NEAR(box.yMin, c.box.yMin, 1e-6);
		EXPECT_NEAR(box.xMax, c.box.xMax, 1e-6);
		EXPECT_NEAR(box.yMax, c.box.yMax, 1e-6);
	}
}

TEST(GetPolygon2DDataBoundBox, AnswersTheStoredBoxWhenMarkedValid)
{
	Record record;
	ASSERT_EQ(ToRecord({square}, &record.data), NoError);
	record.data.boundBox = {-1, -2, 10, 20};
	Geometry::Box2DData box{};
	ASSERT_EQ(Geometry::GetPolygon2DDataBoundBox(record.data, &box), NoError);
	EXPECT_EQ(box.yMax, 20.0);

	Record empty;
	EXPECT_EQ(Geometry::GetPolygon2DDataBoundBox(empty.data, &box), Geometry::ErrInvalidPolygon);
	EXPECT_EQ(Geometry::GetPolygon2DDataBoundBox(record.data, nullptr), Geometry::ErrBadParameter);
}

TEST(Polygon2DData, FreeIsSafeOnEmptyAndFreedRecords)
{
	Int32 before = HostControl::LivePointerCount();
	Polygon2DData data;
	ASSERT_EQ(Geometry::InitPolygon2DData(&data), NoError);
	Geometry::FreePolygon2DData(&data);
	ASSERT_EQ(ToRecord({{{0, 0}, {1, 0, 0.5}, {1, 1}}}, &data), NoError);
	EXPECT_EQ(HostControl::LivePointerCount(), before + 3);
	Geometry::FreePolygon2DData(&data);
	Geometry::FreePolygon2DData(&data);
	Geometry::FreePolygon2DData(nullptr);
	EXPECT_EQ(data.nVertices, 0);
	EXPECT_EQ(data.vertices, nullptr);
	EXPECT_EQ(HostControl::LivePointerCount(), before);
	EXPECT_EQ(Geometry::InitPolygon2DData(nullptr), Geometry::ErrBadParameter);
}

TEST(VAArray, OwnsItsRecordsUntilTakenOut)
{
	Int32 before = HostControl::LivePointerCount();
	Polygon2DData taken;
	{
		GS::VAArray<Polygon2DData> records(50);
		for (double x : {0.0, 10.0, 20.0}) {
			Polygon2DData record;
			Geometry::InitPolygon2DData(&record);
			ASSERT_EQ(ToRecord({{{x, 0}, {x + 1, 0}, {x + 1, 1}}}, &record), NoError);
			records.Push(std::move(record));
			EXPECT_EQ(record.vertices, nullptr);
		}
		ASSERT_EQ(records.GetItemCount(), 3);
		EXPECT_EQ(records[2].vertices[1].x, 10.0);
		taken = records.TakeItem(2);
		EXPECT_EQ(records.GetItemCount(), 2);
		EXPECT_EQ(records[2].vertices[1].x, 20.0);
		EXPECT_THROW(records[0], std::out_of_range);
		EXPECT_THROW(records[3], std::out_of_range);
		EXPECT_THROW(records.TakeItem(-1), std::out_of_range);
	}
	EXPECT_EQ(HostControl::LivePointerCount(), before + 2);
	EXPECT_EQ(taken.vertices[1].x, 10.0);
	Geometry::FreePolygon2DData(&taken);
	EXPECT_EQ(HostControl::LivePointerCount(), before);
}

} // namespace
