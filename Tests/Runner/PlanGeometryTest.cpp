#include <cmath>

#include <gtest/gtest.h>

#include "PlanGeometry.hpp"

using namespace Runner;

namespace {

struct ArcCase {
	const char* what;
	PlanLine line;
	API_Coord centre;
	double radius;
	double length;
};

void PrintTo(const ArcCase& c, std::ostream* out)
{
	*out << c.what;
}

class ArcOfLine : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcOfLine, HasItsCircleAndLength)
{
	const ArcCase& arc = GetParam();
	ArcCircle circle = CircleOfArc(arc.line);
	EXPECT_NEAR(circle.centre.x, arc.centre.x, 1e-9);
	EXPECT_NEAR(circle.centre.y, arc.centre.y, 1e-9);
	EXPECT_NEAR(circle.radius, arc.radius, 1e-9);
	EXPECT_NEAR(LineLength(arc.line), arc.length, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Arcs, ArcOfLine,
    ::testing::Values(ArcCase{"quarter counter-clockwise", {{10, 0}, {12, 2}, Pi / 2}, {10, 2}, 2.0, Pi},
                      ArcCase{"quarter clockwise", {{12, 2}, {10, 0}, -Pi / 2}, {10, 2}, 2.0, Pi},
                      ArcCase{"half turn", {{0, 0}, {2, 0}, Pi}, {1, 0}, 1.0, Pi},
                      ArcCase{"three quarters", {{1, 0}, {0, -1}, 1.5 * Pi}, {0, 0}, 1.0, 1.5 * Pi}),
    [](const ::testing::TestParamInfo<ArcCase>& info) { return std::to_string(info.index); });

TEST(StraightLine, IsAsLongAsItsChord)
{
	EXPECT_DOUBLE_EQ(LineLength({{0, 0}, {3, 4}, 0.0}), 5.0);
}

struct StationCase {
	const char* what;
	PlanLine line;
	API_Coord point;
	Station station;
};

void PrintTo(const StationCase& c, std::ostream* out)
{
	*out << c.what;
}

class StationOnLine : public ::testing::TestWithParam<StationCase> {};

TEST_P(StationOnLine, IsFoundAndLeadsBackToThePoint)
{
	const StationCase& c = GetParam();
	Station station = StationOf(c.line, c.point);
	EXPECT_NEAR(station.along, c.station.along, 1e-9) << c.what;
	EXPECT_NEAR(station.left, c.station.left, 1e-9) << c.what;
	API_Coord back = PointAt(c.line, station);
	EXPECT_NEAR(back.x, c.point.x, 1e-9) << c.what;
	EXPECT_NEAR(back.y, c.point.y, 1e-9) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Stations, StationOnLine,
    ::testing::Values(
        StationCase{"straight, left face", {{0, 0}, {10, 0}, 0.0}, {3, 0.15}, {3, 0.15}},
        StationCase{"straight backwards, right face", {{12, 9}, {0, 9}, 0.0}, {2, 9.15}, {10, -0.15}},
        StationCase{"straight, before the begin", {{0, 0}, {10, 0}, 0.0}, {-1, -1}, {-1, -1}},
        StationCase{"counter-clockwise arc, inner face end", {{10, 0}, {12, 2}, Pi / 2}, {11.85, 2}, {Pi, 0.15}},
        StationCase{"counter-clockwise arc, outer face", {{10, 0}, {12, 2}, Pi / 2}, {10, -0.15}, {0, -0.15}},
        StationCase{"clockwise arc, outer face is left", {{12, 2}, {10, 0}, -Pi / 2}, {12.15, 2}, {0, 0.15}},
        StationCase{"arc, just before its begin",
                    {{10, 0}, {12, 2}, Pi / 2},
                    {10 + 2 * std::sin(-0.1), 2 - 2 * std::cos(-0.1)},
                    {-0.2, 0}},
        StationCase{
            "arc, in its middle", {{10, 0}, {12, 2}, Pi / 2}, {10 + std::sqrt(2.0), 2 - std::sqrt(2.0)}, {Pi / 2, 0}}),
    [](const ::testing::TestParamInfo<StationCase>& info) { return std::to_string(info.index); });

} // namespace
