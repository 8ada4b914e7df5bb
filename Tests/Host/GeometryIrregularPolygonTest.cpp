#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GeometryOutlines.hpp"
#include "HostControl.hpp"

namespace {

using namespace GeometryTest;
using Geometry::CustomIrregularPolygon2D;

constexpr double Pi = 3.14159265358979323846;

const Contour square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
const Contour squareClockwise = {{0, 0}, {0, 4}, {4, 4}, {4, 0}};

struct RegularizeCase {
	const char* name;
	Outline outline;
	std::vector<std::size_t> contoursPerPolygon;
	double totalArea;
};

const RegularizeCase regularizeCases[] = {
    {"Square", {square}, {1}, 16},
    {"ClockwiseSquare", {squareClockwise}, {1}, 16},
    {"SquareWithHole", {square, {{1, 1}, {3, 1}, {3, 3}, {1, 3}}}, {2}, 12},
    {"SquareWithClockwiseHole", {square, {{1, 1}, {1, 3}, {3, 3}, {3, 1}}}, {2}, 12},
    {"HoleCrossingTheBoundaryIsANotch", {square, {{3, 1}, {5, 1}, {5, 3}, {3, 3}}}, {1}, 14},
    {"HoleOutsideIsIgnored", {square, {{6, 0}, {7, 0}, {7, 1}, {6, 1}}}, {1}, 16},
    {"BowTie", {{{0, 0}, {2, 2}, {4, 0}, {4, 4}, {2, 2}, {0, 4}}}, {1, 1}, 8},
    {"SquaresJoinedByZeroWidthBridge",
     {{{0, 0}, {1, 0}, {1, 1}, {3, 1}, {3, 0}, {4, 0}, {4, 1}, {3, 1}, {1, 1}, {0, 1}}},
     {1, 1},
     2},
    {"TrianglesTouchingWhereAVertexMeetsAnEdge", {{{0, 0}, {4, 0}, {4, 2}, {2, 0}, {0, 2}}}, {1, 1}, 4},
    {"Collinear", {{{0, 0}, {1, 0}, {2, 0}}}, {}, 0},
    {"Empty", {}, {}, 0},
};

class RegularizeTest : public testing::TestWithParam<RegularizeCase> {};

TEST_P(RegularizeTest, GivesSeparateOrientedPolygons)
{
	const RegularizeCase& c = GetParam();
	GS::Array<CustomIrregularPolygon2D> polygons;
	ASSERT_EQ(MemoArrays(c.outline).Create().Regularize(0, &polygons), NoError);
	std::vector<Outline> outlines = OutlinesOf(polygons);
	ASSERT_EQ(outlines.size(), c.contoursPerPolygon.size());
	double totalArea = 0.0;
	for (std::size_t p = 0; p < outlines.size(); ++p) {
		ASSERT_EQ(outlines[p].size(), c.contoursPerPolygon[p]) << "polygon " << p;
		EXPECT_GT(ChordArea(outlines[p][0]), 0.0) << "outer of polygon " << p;
		for (std::size_t j = 1; j < outlines[p].size(); ++j)
			EXPECT_LT(ChordArea(outlines[p][j]), 0.0) << "hole " << j << " of polygon " << p;
		for (const Contour& contour : outlines[p])
			totalArea += ChordArea(contour);
	}
	EXPECT_NEAR(totalArea, c.totalArea, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Geometry, RegularizeTest, testing::ValuesIn(regularizeCases),
                         [](const testing::TestParamInfo<RegularizeCase>& info) { return info.param.name; });

void ExpectSameArc(const ArcEdge& actual, const ArcEdge& expected)
{
	EXPECT_EQ(actual.begin.x, expected.begin.x);
	EXPECT_EQ(actual.begin.y, expected.begin.y);
	EXPECT_EQ(actual.end.x, expected.end.x);
	EXPECT_EQ(actual.end.y, expected.end.y);
	EXPECT_EQ(actual.angle, expected.angle);
}

// Coordinates and angles with no short binary form, so that any round trip through the
// integers would show.
constexpr double X0 = 0.1234567891;
constexpr double X1 = 4.3217654329;
constexpr double Y1 = 3.7777777771;
constexpr double Bulge = 0.7123456789;

TEST(Regularize, KeepsArcEdgesExactly)
{
	const struct {
		const char* name;
		Outline outline;
		ArcEdge expected;
	} cases[] = {
	    {"CounterClockwise", {{{X0, X0}, {X1, X0, Bulge}, {X1, Y1}, {X0, Y1}}}, {{X1, X0}, {X1, Y1}, Bulge}},
	    {"ClockwiseIsReversed", {{{X0, X0}, {X0, Y1}, {X1, Y1, -Bulge}, {X1, X0}}}, {{X1, X0}, {X1, Y1}, Bulge}},
	    {"HalfCircleHole", {square, {{1, 2, -Pi}, {3, 2}}}, {{1, 2}, {3, 2}, -Pi}},
	    {"WideArcBeyondAHalfCircle", {{{X0, X0}, {X1, X0}, {X1, Y1, 4.0}, {X0, Y1}}}, {{X1, Y1}, {X0, Y1}, 4.0}},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		GS::Array<CustomIrregularPolygon2D> polygons;
		ASSERT_EQ(MemoArrays(c.outline).Create().Regularize(0, &polygons), NoError);
		std::vector<Outline> outlines = OutlinesOf(polygons);
		ASSERT_EQ(outlines.size(), 1u);
		std::vector<ArcEdge> arcs = ArcEdgesOf(outlines[0]);
		ASSERT_EQ(arcs.size(), 1u);
		ExpectSameArc(arcs[0], c.expected);
	}
}

TEST(Regularize, KeepsInputVerticesExactly)
{
	GS::Array<CustomIrregularPolygon2D> polygons;
	ASSERT_EQ(MemoArrays({{{X0, X0}, {X1, X0}, {X1, Y1}, {X0, Y1}}}).Create().Regularize(0, &polygons), NoError);
	std::vector<Outline> outlines = OutlinesOf(polygons);
	ASSERT_EQ(outlines.size(), 1u);
	for (const Vertex& vertex : outlines[0][0]) {
		EXPECT_TRUE(vertex.x == X0 || vertex.x == X1) << vertex.x;
		EXPECT_TRUE(vertex.y == X0 || vertex.y == Y1) << vertex.y;
	}
}

TEST(Regularize, CutArcKeepsItsRemainingPart)
{
	// A half circle bulging down from (0, 0) to (4, 0) under a square; the hole takes
	// away everything right of x = 2, leaving the quarter from (0, 0) to (2, -2).
	Outline outline = {{{0, 0, Pi}, {4, 0}, {4, 4}, {0, 4}}, {{2, -3}, {5, -3}, {5, 5}, {2, 5}}};
	GS::Array<CustomIrregularPolygon2D> polygons;
	ASSERT_EQ(MemoArrays(outline).Create().Regularize(0, &polygons), NoError);
	std::vector<Outline> outlines = OutlinesOf(polygons);
	ASSERT_EQ(outlines.size(), 1u);
	std::vector<ArcEdge> arcs = ArcEdgesOf(outlines[0]);
	ASSERT_EQ(arcs.size(), 1u);
	EXPECT_EQ(arcs[0].begin.x, 0.0);
	EXPECT_EQ(arcs[0].begin.y, 0.0);
	EXPECT_NEAR(arcs[0].end.x, 2.0, 3e-6);
	EXPECT_NEAR(arcs[0].end.y, -2.0, 3e-6);
	EXPECT_NEAR(arcs[0].angle, Pi / 2, 1e-6);
}

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct MalformedCase {
	const char* name;
	void (*damage)(MemoArrays*);
};

const MalformedCase malformedCases[] = {
    {"ContourEndsOutOfOrder", [](MemoArrays* m) { std::swap(m->contourEnds[1], m->contourEnds[2]); }},
    {"ContourEndBeyondVertices", [](MemoArrays* m) { m->contourEnds.back() += 1; }},
    {"ContourEndShortOfVertices", [](MemoArrays* m) { m->contourEnds.back() -= 1; }},
    {"FirstContourEndNotZero", [](MemoArrays* m) { m->contourEnds[0] = 1; }},
    {"ContourOfTwoEntries", [](MemoArrays* m) { m->contourEnds[1] = 2; }},
    {"ArcBeginOutOfRange", [](MemoArrays* m) { m->arcs[0].begIndex = 99; }},
    {"ArcBeginNegative",
     [](MemoArrays* m) {
	     m->arcs[0] = {-1, 0, 1.0};
     }},
    {"ArcNotOnOneEdge", [](MemoArrays* m) { m->arcs[0].endIndex += 1; }},
    {"ArcAcrossContours",
     [](MemoArrays* m) {
	     m->arcs[0] = {5, 6, 1.0};
     }},
    {"ArcRepeated", [](MemoArrays* m) { m->arcs.push_back(m->arcs[0]); }},
    {"ArcFullTurn", [](MemoArrays* m) { m->arcs[0].arcAngle = 2 * Pi; }},
    {"ArcAngleNaN", [](MemoArrays* m) { m->arcs[0].arcAngle = NaN; }},
    {"CoordinateNaN", [](MemoArrays* m) { m->coords[3].y = NaN; }},
    {"CoordinateInfinite", [](MemoArrays* m) { m->coords[2].x = std::numeric_limits<double>::infinity(); }},
    {"CoordinateHuge", [](MemoArrays* m) { m->coords[2].x = 1e300; }},
};

class MalformedTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedTest, GivesAnInvalidPolygon)
{
	MemoArrays arrays({{{0, 0}, {4, 0, 1.0}, {4, 4}, {0, 4}}, {{1, 1}, {1, 3}, {3, 3}, {3, 1}}});
	GetParam().damage(&arrays);
	CustomIrregularPolygon2D polygon = arrays.Create();
	EXPECT_FALSE(polygon.IsValid());
	GS::Array<CustomIrregularPolygon2D> polygons{CustomIrregularPolygon2D()};
	EXPECT_EQ(polygon.Regularize(0, &polygons), Geometry::ErrInvalidPolygon);
	EXPECT_TRUE(polygons.IsEmpty());
	Record record;
	EXPECT_EQ(Geometry::ConvertPolygon2DToPolygon2DData(&record.data, polygon), Geometry::ErrInvalidPolygon);
	EXPECT_EQ(record.data.nVertices, 0);
}

INSTANTIATE_TEST_SUITE_P(Geometry, MalformedTest, testing::ValuesIn(malformedCases),
                         [](const testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

TEST(CustomIrregularPolygon2D, MissingArraysAndCounts)
{
	Geometry::Coord coords[5] = {{0, 0}, {0, 0}, {1, 0}, {1, 1}, {0, 0}};
	Int32 ends[2] = {0, 4};
	const struct {
		const char* name;
		CustomIrregularPolygon2D polygon;
		bool valid;
	} cases[] = {
	    {"NoVertices", CustomIrregularPolygon2D::Create(nullptr, 0, nullptr, 0, ends, 1, 0x3D), true},
	    {"NoContours",
	     CustomIrregularPolygon2D::Create(coords, 4, nullptr, 0, static_cast<const Int32*>(nullptr), 0, 0x3D), true},
	    {"NegativeVertexCount", CustomIrregularPolygon2D::Create(coords, -4, nullptr, 0, ends, 1, 0x3D), false},
	    {"NegativeContourCount", CustomIrregularPolygon2D::Create(coords, 4, nullptr, 0, ends, -1, 0x3D), false},
	    {"MissingCoords", CustomIrregularPolygon2D::Create(nullptr, 4, nullptr, 0, ends, 1, 0x3D), false},
	    {"MissingArcs", CustomIrregularPolygon2D::Create(coords, 4, nullptr, 2, ends, 1, 0x3D), false},
	    {"MissingContourEnds",
	     CustomIrregularPolygon2D::Create(coords, 4, nullptr, 0, static_cast<const UInt32*>(nullptr), 1, 0x3D), false},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		EXPECT_EQ(c.polygon.IsValid(), c.valid);
		EXPECT_TRUE(c.polygon.IsEmpty());
		GS::Array<CustomIrregularPolygon2D> polygons;
		EXPECT_EQ(c.polygon.Regularize(0, &polygons), c.valid ? NoError : Geometry::ErrInvalidPolygon);
		EXPECT_TRUE(polygons.IsEmpty());
	}
}

TEST(CustomIrregularPolygon2D, UnknownModeAndNullResultAreRefused)
{
	CustomIrregularPolygon2D polygon = MemoArrays({square}).Create();
	GS::Array<CustomIrregularPolygon2D> polygons;
	EXPECT_EQ(polygon.Regularize(1, &polygons), Geometry::ErrBadParameter);
	EXPECT_EQ(polygon.Regularize(0, nullptr), Geometry::ErrBadParameter);
}

TEST(ConvertPolygon2DToPolygon2DData, WritesOneBasedArraysAndReplacesTheOldOnes)
{
	Int32 before = HostControl::LivePointerCount();
	{
		Record record;
		ASSERT_EQ(ToRecord({{{0, 0}, {2, 0}, {2, 2}, {0, 2}}}, &record.data), NoError);
		MemoArrays expected({square, {{1, 1, 0.5}, {1, 3}, {3, 3}}});
		ASSERT_EQ(Geometry::ConvertPolygon2DToPolygon2DData(&record.data, expected.Create()), NoError);
		EXPECT_EQ(HostControl::LivePointerCount(), before + 3);

		const Geometry::Polygon2DData& data = record.data;
		ASSERT_EQ(data.nVertices, 9);
		ASSERT_EQ(data.nContours, 2);
		ASSERT_EQ(data.nArcs, 1);
		for (Int32 i = 1; i <= data.nVertices; ++i) {
			EXPECT_EQ(data.vertices[i].x, expected.coords[i].x);
			EXPECT_EQ(data.vertices[i].y, expected.coords[i].y);
		}
		for (Int32 j = 0; j <= data.nContours; ++j)
			EXPECT_EQ(data.contourEnds[j], static_cast<UInt32>(expected.contourEnds[j]));
		EXPECT_EQ(data.arcs[1].begIndex, 6);
		EXPECT_EQ(data.arcs[1].endIndex, 7);
		EXPECT_EQ(data.arcs[1].arcAngle, 0.5);
		EXPECT_NE(data.status & Geometry::Polygon2DData_BoundBoxValid, 0);
	}
	EXPECT_EQ(HostControl::LivePointerCount(), before);
}

TEST(ConvertPolygon2DToPolygon2DData, FailedAllocationKeepsTheRecordAndLeaksNothing)
{
	Int32 before = HostControl::LivePointerCount();
	CustomIrregularPolygon2D polygon = MemoArrays({{{0, 0}, {1, 0, 1.0}, {1, 1}}}).Create();
	for (UInt32 failing = 1; failing <= 3; ++failing) {
		SCOPED_TRACE(failing);
		Record record;
		ASSERT_EQ(ToRecord({square}, &record.data), NoError);
		HostControl::FailCall("BMAllocatePtr", failing, ErrMemoryFull);
		EXPECT_EQ(Geometry::ConvertPolygon2DToPolygon2DData(&record.data, polygon), ErrMemoryFull);
		HostControl::ClearFaults();
		EXPECT_EQ(record.data.nVertices, 5);
		EXPECT_EQ(HostControl::LivePointerCount(), before + 2);
	}
	EXPECT_EQ(HostControl::LivePointerCount(), before);
}

} // namespace
