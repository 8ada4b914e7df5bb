#include <gtest/gtest.h>

#include <cmath>

#include "GeometryShapes.hpp"
#include "Sim/Geometry/Clipping.hpp"
#include "Sim/Geometry/Crossing.hpp"
#include "Sim/Geometry/Regularity.hpp"

namespace {

using namespace GeometryTest;
using Geometry::PolyShape;
using Geometry::ShapeContour;

constexpr double Pi = 3.14159265358979323846;
constexpr double X0 = 0.1234567891;
constexpr double X1 = 4.3217654329;
constexpr double Y1 = 3.7777777771;

bool IsRotationOf(const ShapeContour& a, const ShapeContour& b)
{
	if (a.size() != b.size())
		return false;
	for (std::size_t shift = 0; shift < b.size(); ++shift) {
		if (SameEdges(a, b, shift))
			return true;
	}
	return false;
}

const Contour square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
const Contour hole = {{1, 1}, {2, 1}, {2, 2}, {1, 2}};

Contour HoleWithArcTowardsTheFirst(double gap)
{
	return {{2.5, 1}, {3.5, 1}, {3.5, 2}, {2.5, 2, ArcAngle(1.0, 0.5 - gap)}};
}

// A room whose top edge is an arc bulging 0.1 and short enough to be swept as one run of chords,
// and a hole above that run's chord whose top-left corner comes first and whose top keeps that
// far beyond the clearance the middle chord's sagitta gives it.
Outline ShortArcRoomWithHoleBelowItsChords(double gap)
{
	const double angle = ArcAngle(6.0, 0.1);
	const int chords = Geometry::ArcPieceCount(angle);
	const double chord = Geometry::ArcChordPoint({6, 4}, {0, 4}, angle, chords / 2, chords).y;
	const double top = chord - (4.1 - chord) - gap;
	return {{{0, 0}, {6, 0}, {6, 4, angle}, {0, 4}}, {{2.9, top}, {2.9, 3}, {3.1, 3}, {3.1, top}}};
}

TEST(Regularize, AnAlreadyRegularShapeIsOnlyOrientedAndComesOutAsClippingGivesIt)
{
	const struct {
		const char* name;
		Outline outline;
		bool regular;
	} cases[] = {
	    {"ArcsAndOddCoordinates", {{{X0, X0}, {X1, X0, 0.7}, {X1, Y1}, {X0, Y1, -0.3}}}, true},
	    {"ClockwiseWithArcs", {{{X0, X0}, {X0, Y1, 0.3}, {X1, Y1}, {X1, X0, -0.7}}}, true},
	    {"HolesInAnyOrderAndTurn", {square, {{3.5, 3.5}, {3.5, 2.5}, {2.5, 2.5}, {2.5, 3.5}}, hole}, true},
	    {"Triangle", {{{0, 0}, {1, 0}, {0, 1}}}, true},
	    {"StraightEdgeTangentToAnArc", {{{0, 0}, {4, 0, Pi}, {4, 4}, {0, 4}}}, true},
	    {"NearlyAFullTurn", {{{0, 0, 2 * Pi - 0.1}, {0.1, 0}, {0.05, -0.05}}}, true},
	    {"VertexOffTheLineByAMillimetre", {{{0, 0}, {2, 1e-3}, {4, 0}, {4, 4}, {0, 4}}}, true},
	    {"ArcHoleAMillimetreFromAHole", {square, hole, HoleWithArcTowardsTheFirst(1e-3)}, true},
	    {"ArcHoleMicrometresFromAHole", {square, hole, HoleWithArcTowardsTheFirst(5e-6)}, false},
	    {"HoleMicrometresFromTheOuter", {square, {{1, 1}, {3.999995, 1}, {2, 2}}}, false},
	    {"HoleBetweenAnArcsChordAndItsFewChords", ShortArcRoomWithHoleBelowItsChords(1e-3), true},
	    {"HoleMicrometresBelowAnArcsFewChords", ShortArcRoomWithHoleBelowItsChords(5e-6), false},
	    {"CollinearVertex", {{{0, 0}, {2, 0}, {4, 0}, {4, 4}, {0, 4}}}, false},
	    {"VertexOffTheLineWithinAGridStep", {{{0, 0}, {2, 0.4e-6}, {4, 0}, {4, 4}, {0, 4}}}, false},
	    {"ArcCrossingItsNeighbourNextToTheVertex", {{{0, 0}, {1, 0}, {0.5, 0.8660254, -2.13}}}, false},
	    {"ThinSpike", {{{0, 0}, {4, 0}, {0, 0.02}}}, false},
	    {"TwoEdges", {{{1, 2, -Pi}, {3, 2}}}, false},
	    {"HoleOutside", {square, {{5, 0}, {6, 0}, {6, 1}}}, false},
	    {"HoleInAHole", {square, {{0.5, 0.5}, {3.5, 0.5}, {3.5, 3.5}, {0.5, 3.5}}, hole}, false},
	    {"CrossingContour", {{{0, 0}, {4, 4}, {4, 0}, {0, 4}}}, false},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		PolyShape shape = ShapeOf(c.outline);
		EXPECT_EQ(Geometry::IsRegular(shape), c.regular);
		std::vector<PolyShape> regularised;
		std::vector<PolyShape> clipped;
		ASSERT_EQ(Geometry::UniteShapes({&shape}, &regularised), NoError);
		ASSERT_EQ(Geometry::UniteByClipping({&shape}, Geometry::ArcChordDetail::Fine, &clipped), NoError);
		EXPECT_TRUE(SameShapes(regularised, clipped));
		if (!c.regular)
			continue;
		Geometry::OrientShape(&shape);
		ASSERT_EQ(regularised.size(), 1u);
		ASSERT_EQ(regularised[0].contours.size(), shape.contours.size());
		for (const ShapeContour& contour : shape.contours) {
			EXPECT_EQ(std::count_if(regularised[0].contours.begin(), regularised[0].contours.end(),
			                        [&](const ShapeContour& result) { return IsRotationOf(result, contour); }),
			          1);
		}
	}
}

} // namespace
