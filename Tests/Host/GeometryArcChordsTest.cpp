#include <gtest/gtest.h>

#include <cmath>

#include "GeometryShapes.hpp"
#include "Sim/Geometry/Clipping.hpp"
#include "Sim/Geometry/Crossing.hpp"

namespace {

using namespace GeometryTest;
using Geometry::ArcChordDetail;
using Geometry::PolyShape;

constexpr double Pi = 3.14159265358979323846;

// A room whose top edge bulges by the sagitta, with optional holes.
Outline Room(double sagitta, const Outline& holes = {})
{
	Outline outline{{{0, 0}, {6, 0}, {6, 4}, {0, 4, 0.0}}};
	outline[0][2].arc = ArcAngle(6.0, sagitta);
	outline.insert(outline.end(), holes.begin(), holes.end());
	return outline;
}

Contour Rectangle(double x0, double y0, double x1, double y1)
{
	return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// A room with semicircular notches of those radii in its bottom edge.
Outline NotchedRoom(double tiny, double small)
{
	return {{{0, 0}, {1 - tiny, 0, -Pi}, {1 + tiny, 0}, {3 - small, 0, -Pi}, {3 + small, 0}, {6, 0}, {6, 4}, {0, 4}}};
}

Contour Circle(double x, double y, double radius)
{
	return {{x - radius, y, Pi}, {x + radius, y, Pi}};
}

// An arc from the origin along the x axis bending up, and the first of the few chords it is
// clipped by where nothing comes near it, rounded to the clipping grid.
constexpr double SpurAngle = 1.0;
const Geometry::Coord spurEnd{5.0 * std::sin(SpurAngle), 5.0 * (1.0 - std::cos(SpurAngle))};

Geometry::ClippingChords FewChords(double angle)
{
	int chords = Geometry::ArcPieceCount(angle);
	return {chords, Geometry::RunCount(chords, Geometry::ChordsPerRun)};
}

Geometry::Coord FirstFewChordPoint()
{
	Geometry::Coord point = Geometry::ClippingChordPoints({0, 0}, spurEnd, SpurAngle, FewChords(SpurAngle))[1];
	return {std::round(point.x * 1e6) / 1e6, std::round(point.y * 1e6) / 1e6};
}

int ArcsByFewChords(const std::vector<const PolyShape*>& shapes)
{
	std::vector<Geometry::ClippingChords> few = Geometry::ClippingChordsOf(shapes, ArcChordDetail::FewWhereClear);
	std::vector<Geometry::ClippingChords> fine = Geometry::ClippingChordsOf(shapes, ArcChordDetail::Fine);
	int count = 0;
	for (std::size_t edge = 0; edge < few.size(); ++edge)
		count += few[edge].Count() < fine[edge].Count() ? 1 : 0;
	return count;
}

TEST(UniteShapes, ArcsClippedByFewChordsWhereNothingComesNearGiveWhatFineChordsGive)
{
	const Geometry::Coord chord = FirstFewChordPoint();
	const struct {
		const char* name;
		std::vector<Outline> outlines;
		int arcsByFewChords;
		std::size_t shapes;
	} cases[] = {
	    {"NicheOnAStraightEdgeNextToAnArc", {Room(1.0), {Rectangle(6, 3.0, 6.2, 3.8)}}, 1, 1},
	    {"NicheAtTheArcsEnd", {Room(1.0), {Rectangle(6, 3.6, 6.2, 4)}}, 0, 1},
	    {"NicheCuttingIntoTheArc", {Room(1.0), {Rectangle(2.5, 4.8, 3.5, 5.3)}}, 0, 1},
	    {"ShapeTouchingTheArcsBulge", {Room(1.0), {Rectangle(2.5, 5, 3.5, 5.5)}}, 0, 2},
	    {"ShapeJustClearOfTheArcsBulge", {Room(1.0), {Rectangle(2.5, 5.1, 3.5, 5.5)}}, 1, 2},
	    {"ArcOfLargeRadius", {Room(0.02), {Rectangle(2, -0.2, 3, 0)}}, 1, 1},
	    {"ArcsOfTinyAndSmallRadius", {NotchedRoom(0.002, 0.02), {Rectangle(2, 4, 3, 4.2)}}, 2, 1},
	    {"RoundHolesFarAndNear",
	     {Room(1.0, {Circle(1, 2, 0.3), Circle(4.5, 2, 0.3)}), {Rectangle(4.8, 1.9, 5, 2.1)}},
	     3,
	     1},
	    {"NeighbourInsideTheWedgeOfTheArcsFirstChord",
	     {{{{1, 0.01}, {0, 0, SpurAngle}, {spurEnd.x, spurEnd.y}, {6, -1}}}},
	     0,
	     2},
	    {"NeighbourAlongTheArcsFirstChord",
	     {{{{-chord.x, -chord.y}, {0, 0, SpurAngle}, {spurEnd.x, spurEnd.y}, {-1, 3}}}},
	     0,
	     1},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		std::vector<PolyShape> shapes;
		for (const Outline& outline : c.outlines)
			shapes.push_back(ShapeOf(outline));
		std::vector<const PolyShape*> given;
		for (const PolyShape& shape : shapes)
			given.push_back(&shape);
		EXPECT_EQ(ArcsByFewChords(given), c.arcsByFewChords);
		std::vector<PolyShape> few;
		std::vector<PolyShape> fine;
		ASSERT_EQ(Geometry::UniteByClipping(given, ArcChordDetail::FewWhereClear, &few), NoError);
		ASSERT_EQ(Geometry::UniteByClipping(given, ArcChordDetail::Fine, &fine), NoError);
		EXPECT_EQ(few.size(), c.shapes);
		EXPECT_TRUE(SameShapes(few, fine));
	}
}

TEST(EdgesCross, AnEdgeNearAnArcCrossesItOnlyWhereItCrossesTheArcsChords)
{
	const struct {
		const char* name;
		Outline outline;
		bool cross;
	} cases[] = {
	    {"EdgeDippingTwoMillimetresIntoTheBulge", Room(1.0, {Rectangle(2.5, 4.998, 3.5, 5.5)}), true},
	    {"EdgeAMicrometreAboveTheBulge", Room(1.0, {Rectangle(2.5, 5.000001, 3.5, 5.5)}), false},
	    {"EdgeAMicrometreInsideTheBulgeBetweenArcAndChords", Room(1.0, {Rectangle(2.99, 4.999999, 3.01, 5.5)}), false},
	    {"RoundHolesOverlapping", Room(1.0, {Circle(2, 2, 0.5), Circle(2.999, 2, 0.5)}), true},
	    {"RoundHolesAMicrometreApart", Room(1.0, {Circle(2, 2, 0.5), Circle(3.000001, 2, 0.5)}), false},
	    {"ArcFoldingBackAcrossItsNeighbour", {{{0, 0}, {4, 0}, {4, 4}, {0, 4, -1.5 * Pi}}}, true},
	    {"ArcsMeetingTangentially", {{{0, 0, Pi}, {2, 0, Pi / 2}, {1, 1, 0}}}, false},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		EXPECT_EQ(Geometry::EdgesCross(ShapeOf(c.outline)), c.cross);
	}
}

} // namespace
