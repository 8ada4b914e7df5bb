#include <gtest/gtest.h>

#include <cmath>
#include <variant>

#include "Geometry/GenArc.hpp"
#include "Geometry/Sector.hpp"

namespace {

using Geometry::Point2d;

constexpr double Pi = 3.14159265358979323846;
constexpr double Near = 1e-9;

struct ArcCase {
	const char* name;
	Point2d begin;
	Point2d end;
	double angle;
	Point2d centre;
	double radius;
	double begAng;
	double endAng;
};

const ArcCase arcCases[] = {
    {"QuarterCounterClockwise", {1, 0}, {0, 1}, Pi / 2, {0, 0}, 1, 0, Pi / 2},
    {"QuarterClockwise", {0, 1}, {1, 0}, -Pi / 2, {0, 0}, 1, Pi / 2, 0},
    {"QuarterClockwiseOtherSide", {1, 0}, {0, 1}, -Pi / 2, {1, 1}, 1, -Pi / 2, Pi},
    {"HalfCircle", {-2, 0}, {2, 0}, Pi, {0, 0}, 2, Pi, 0},
    {"ThreeQuarters", {1, 0}, {0, -1}, 3 * Pi / 2, {0, 0}, 1, 0, -Pi / 2},
    {"ZeroAngleIsChord", {0, 0}, {2, 0}, 0, {1, 0}, 1, Pi, 0},
    {"NonFiniteAngleIsChord", {0, 0}, {0, 4}, std::nan(""), {0, 2}, 2, -Pi / 2, Pi / 2},
    {"CoincidingEnds", {3, 4}, {3, 4}, 1, {3, 4}, 0, 0, 0},
};

class ArcTest : public testing::TestWithParam<ArcCase> {};

TEST_P(ArcTest, CentreRadiusAndEndAngles)
{
	const ArcCase& c = GetParam();
	Geometry::GenArc arc = Geometry::GenArc::CreateCircleArc(c.begin, c.end, c.angle);
	EXPECT_NEAR(arc.GetOrigo().x, c.centre.x, Near);
	EXPECT_NEAR(arc.GetOrigo().y, c.centre.y, Near);
	EXPECT_NEAR(arc.GetMainAxisLength(), c.radius, Near);
	EXPECT_NEAR(arc.GetBegAng(), c.begAng, Near);
	EXPECT_NEAR(arc.GetEndAng(), c.endAng, Near);
	EXPECT_EQ(arc.GetBegPoint(), c.begin);
	EXPECT_EQ(arc.GetEndPoint(), c.end);
}

INSTANTIATE_TEST_SUITE_P(Geometry, ArcTest, testing::ValuesIn(arcCases),
                         [](const testing::TestParamInfo<ArcCase>& info) { return info.param.name; });

TEST(GenArc, RelativeAngleFallsInHalfOpenRange)
{
	// Begin angle pi/2.
	Geometry::GenArc arc = Geometry::GenArc::CreateCircleArc({0, 1}, {-1, 0}, Pi / 2);
	const struct {
		double angle;
		double relative;
	} cases[] = {
	    {Pi / 2, 0},   {Pi / 2 + 0.1, 0.1},   {Pi / 2 - 0.1, -0.1},           {3 * Pi / 2, Pi},
	    {-Pi / 2, Pi}, {Pi / 2 + 3 * Pi, Pi}, {Pi / 2 + 3 * Pi / 2, -Pi / 2}, {Pi / 2 - 4 * Pi + 0.2, 0.2},
	};
	for (const auto& c : cases) {
		double relative = Geometry::CalcAngleRelToGenArcBeg(arc, c.angle);
		EXPECT_NEAR(relative, c.relative, Near) << "angle " << c.angle;
		EXPECT_GT(relative, -Pi);
		EXPECT_LE(relative, Pi);
	}
}

struct IntersectCase {
	const char* name;
	Geometry::Sector a;
	Geometry::Sector b;
	double distanceTolerance;
	std::size_t expectedIndex;
	Point2d from; // the common point, or the shared stretch's begin
	Point2d to;   // the shared stretch's end
};

const IntersectCase intersectCases[] = {
    {"Crossing", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, 1e-5, 1, {1, 1}, {}},
    {"EndOnInterior", {{0, 0}, {2, 0}}, {{1, 0}, {1, 1}}, 1e-5, 1, {1, 0}, {}},
    {"EndOnEndAtAngle", {{0, 0}, {1, 0}}, {{1, 0}, {1, 1}}, 1e-5, 1, {1, 0}, {}},
    {"EndJustShortOfOther", {{0, 0}, {2, 0}}, {{1, 4e-6}, {1, 1}}, 1e-5, 1, {1, 4e-6}, {}},
    {"Apart", {{0, 0}, {1, 0}}, {{2, -1}, {2, 1}}, 1e-5, 0, {}, {}},
    {"LinesCrossBeyondEnds", {{0, 0}, {1, 1}}, {{3, 0}, {2, 1}}, 1e-5, 0, {}, {}},
    {"CollinearOverlap", {{0, 0}, {3, 0}}, {{1, 0}, {5, 0}}, 1e-5, 2, {1, 0}, {3, 0}},
    {"CollinearOverlapOpposite", {{0, 0}, {3, 0}}, {{5, 0}, {1, 0}}, 1e-5, 2, {1, 0}, {3, 0}},
    {"CollinearContained", {{4, 4}, {0, 0}}, {{1, 1}, {3, 3}}, 1e-5, 2, {3, 3}, {1, 1}},
    {"CollinearSharedEnd", {{0, 0}, {1, 0}}, {{1, 0}, {2, 0}}, 1e-5, 1, {1, 0}, {}},
    {"CollinearSharedEndOpposite", {{0, 0}, {1, 0}}, {{2, 0}, {1, 0}}, 1e-5, 1, {1, 0}, {}},
    {"CollinearOverlapWithinTolerance", {{0, 0}, {1, 0}}, {{1 - 5e-6, 0}, {2, 0}}, 1e-5, 1, {1, 0}, {}},
    {"CollinearGap", {{0, 0}, {1, 0}}, {{1.5, 0}, {2, 0}}, 1e-5, 0, {}, {}},
    {"ParallelOffsetWithinTolerance", {{0, 0}, {2, 0}}, {{1, 5e-6}, {3, 5e-6}}, 1e-5, 2, {1, 0}, {2, 0}},
    {"ParallelOffsetBeyondTolerance", {{0, 0}, {2, 0}}, {{1, 1e-3}, {3, 1e-3}}, 1e-5, 0, {}, {}},
    {"ParallelOffsetWithinLooseTolerance", {{0, 0}, {2, 0}}, {{1, 1e-3}, {3, 1e-3}}, 1e-2, 2, {1, 0}, {2, 0}},
    {"PointSectorOnOther", {{1, 0}, {1, 0}}, {{0, 0}, {2, 0}}, 1e-5, 1, {1, 0}, {}},
    {"PointSectorOffOther", {{0, 0}, {2, 0}}, {{1, 1}, {1, 1}}, 1e-5, 0, {}, {}},
};

class IntersectTest : public testing::TestWithParam<IntersectCase> {};

void ExpectNear(const Point2d& actual, const Point2d& expected)
{
	EXPECT_NEAR(actual.x, expected.x, Near);
	EXPECT_NEAR(actual.y, expected.y, Near);
}

TEST_P(IntersectTest, FindsWhatTheSectorsShare)
{
	const IntersectCase& c = GetParam();
	Geometry::Tolerance tolerance(Geometry::AngleTolerance(), Geometry::DistanceTolerance(c.distanceTolerance));
	Geometry::SectorIntersection result = Geometry::Intersect(c.a, c.b, tolerance);
	ASSERT_EQ(result.index(), c.expectedIndex);
	if (const Point2d* point = std::get_if<Point2d>(&result))
		ExpectNear(*point, c.from);
	if (const Geometry::Sector* stretch = std::get_if<Geometry::Sector>(&result)) {
		ExpectNear(stretch->BegPoint(), c.from);
		ExpectNear(stretch->EndPoint(), c.to);
	}
}

INSTANTIATE_TEST_SUITE_P(Geometry, IntersectTest, testing::ValuesIn(intersectCases),
                         [](const testing::TestParamInfo<IntersectCase>& info) { return info.param.name; });

TEST(Intersect, TouchingEndsAreAnsweredExactly)
{
	Point2d corner(0.1, 0.7);
	Geometry::Sector a(Point2d(0.3, 0.2), corner);
	Geometry::Sector b(corner, Point2d(-0.9, 0.35));
	Geometry::SectorIntersection result = Geometry::Intersect(a, b, Geometry::Tolerance());
	ASSERT_EQ(result.index(), 1u);
	EXPECT_EQ(std::get<Point2d>(result), corner);
}

TEST(Tolerance, DefaultsAreTheHostDefaults)
{
	Geometry::Tolerance tolerance;
	EXPECT_EQ(tolerance.GetAngle().GetRadians(), 1e-5);
	EXPECT_EQ(tolerance.GetDistance().GetLength(), 1e-5);
}

} // namespace
