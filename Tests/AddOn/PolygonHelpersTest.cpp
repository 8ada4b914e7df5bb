#include <cstring>
#include <optional>
#include <set>

#include "FaultSweep.hpp"
#include "ModelBuilder.hpp"
#include "PolygonHelpers.hpp"
#include "SlabTestSupport.hpp"

using namespace SlabTest;

namespace {

const Contour square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
const Contour clockwiseSquare = {{0, 0}, {0, 4}, {4, 4}, {4, 0}};
const Contour hole = {{1, 1}, {2, 1}, {2, 2}, {1, 2}};
const Contour bowTie = {{0, 0}, {2, 2}, {2, 0}, {0, 2}};
const double bulge = 0.9876543211;

class PolygonHelpers : public HostTest {
protected:
	// Converts the handles into a record that already holds a polygon, so that
	// replacing it and keeping it on failure both show.
	ErrCode Convert(API_Coord** coords, API_PolyArc** arcs, Int32** contourEnds)
	{
		OwnedMemo previous(Outline{hole});
		ErrCode seeded = ConvertPolyHandlesToPolygon2DData(previous.memo.coords, previous.memo.parcs,
		                                                   previous.memo.pends, result.data);
		EXPECT_EQ(seeded, NoError);
		before = VerticesOf(result.data);
		return ConvertPolyHandlesToPolygon2DData(coords, arcs, contourEnds, result.data);
	}

	void TearDown() override
	{
		Geometry::FreePolygon2DData(&result.data);
		HostTest::TearDown();
	}

	OwnedPolygon result;
	std::vector<std::pair<double, double>> before;
};

TEST_F(PolygonHelpers, HandlesBecomeOneOrientedPolygonWithItsBox)
{
	struct Case {
		const char* what;
		Outline outline;
		Int32 vertices;
		Int32 contours;
		double area;
	};
	const Case cases[] = {
	    {"square", {square}, 5, 1, 16.0},
	    {"clockwise square", {clockwiseSquare}, 5, 1, 16.0},
	    {"square with a hole", {square, hole}, 10, 2, 15.0},
	};
	for (const Case& c : cases) {
		OwnedMemo zone(c.outline);
		ASSERT_EQ(Convert(zone.memo.coords, zone.memo.parcs, zone.memo.pends), NoError) << c.what;
		const Geometry::Polygon2DData& polygon = result.data;
		EXPECT_EQ(polygon.status, Geometry::Polygon2DData_BoundBoxValid | Geometry::Polygon2DData_Oriented) << c.what;
		EXPECT_EQ(polygon.nVertices, c.vertices) << c.what;
		EXPECT_EQ(polygon.nContours, c.contours) << c.what;
		EXPECT_DOUBLE_EQ(ChordArea(polygon), c.area) << c.what;
		EXPECT_EQ(polygon.boundBox.xMin, 0.0) << c.what;
		EXPECT_EQ(polygon.boundBox.yMax, 4.0) << c.what;
		double twiceOuter = 0.0;
		for (UInt32 i = 1; i < polygon.contourEnds[1]; ++i)
			twiceOuter +=
			    polygon.vertices[i].x * polygon.vertices[i + 1].y - polygon.vertices[i + 1].x * polygon.vertices[i].y;
		EXPECT_GT(twiceOuter, 0.0) << c.what << ": outer contour counter-clockwise";
	}
}

TEST_F(PolygonHelpers, ArcEdgesComeThroughExactly)
{
	OwnedMemo zone(Outline{{{0, 0}, {4, 0, bulge}, {4, 4}, {0, 4}}});
	ASSERT_EQ(Convert(zone.memo.coords, zone.memo.parcs, zone.memo.pends), NoError);
	ASSERT_EQ(result.data.nArcs, 1);
	const API_PolyArc& arc = result.data.arcs[1];
	EXPECT_EQ(arc.arcAngle, bulge);
	EXPECT_EQ(result.data.vertices[arc.begIndex].x, 4.0);
	EXPECT_EQ(result.data.vertices[arc.begIndex].y, 0.0);
	EXPECT_EQ(result.data.vertices[arc.endIndex].x, 4.0);
	EXPECT_EQ(result.data.vertices[arc.endIndex].y, 4.0);

	// No arc handle at all is a polygon without arcs.
	ASSERT_EQ(Convert(zone.memo.coords, nullptr, zone.memo.pends), NoError);
	EXPECT_EQ(result.data.nArcs, 0);
	EXPECT_EQ(result.data.nVertices, 5);
}

TEST_F(PolygonHelpers, HandlesWithoutOnePolygonAreRefusedAndTheRecordKept)
{
	OwnedMemo zone(Outline{square});
	OwnedMemo twoPolygons(Outline{bowTie});
	API_Coord** onlyPlaceholderCoords = HandleOf(std::vector<API_Coord>{{0, 0}});
	Int32** onlyPlaceholderEnds = HandleOf(std::vector<Int32>{0});
	Int32** endsPastTheVertices = HandleOf(std::vector<Int32>{0, 9});
	API_PolyArc** arcOffTheContour = HandleOf(std::vector<API_PolyArc>{{7, 8, 0.5}});
	struct Case {
		const char* what;
		API_Coord** coords;
		API_PolyArc** arcs;
		Int32** ends;
	};
	const Case cases[] = {
	    {"two polygons", twoPolygons.memo.coords, twoPolygons.memo.parcs, twoPolygons.memo.pends},
	    {"no coordinate handle", nullptr, zone.memo.parcs, zone.memo.pends},
	    {"no contour-end handle", zone.memo.coords, zone.memo.parcs, nullptr},
	    {"no vertex", onlyPlaceholderCoords, zone.memo.parcs, zone.memo.pends},
	    {"no contour", zone.memo.coords, zone.memo.parcs, onlyPlaceholderEnds},
	    {"contour ends past the vertices", zone.memo.coords, zone.memo.parcs, endsPastTheVertices},
	    {"arc off the contour", zone.memo.coords, arcOffTheContour, zone.memo.pends},
	};
	for (const Case& c : cases) {
		EXPECT_EQ(Convert(c.coords, c.arcs, c.ends), COVERR_POLY_REGULARIZATION) << c.what;
		EXPECT_EQ(VerticesOf(result.data), before) << c.what;
	}
	BMKillHandle(&onlyPlaceholderCoords);
	BMKillHandle(&onlyPlaceholderEnds);
	BMKillHandle(&endsPastTheVertices);
	BMKillHandle(&arcOffTheContour);
}

TEST_F(PolygonHelpers, ConversionFailuresLeakNothing)
{
	OwnedMemo zone(Outline{square, hole});
	UInt32 failed = SweepFaults(
	    injectedFault, [] {},
	    [&] {
		    OwnedPolygon polygon;
		    return ConvertPolyHandlesToPolygon2DData(zone.memo.coords, zone.memo.parcs, zone.memo.pends, polygon.data);
	    },
	    [](const FaultRun& run, ErrCode result) { EXPECT_EQ(result, PassedOn(run.failedCall)); });
	EXPECT_GT(failed, 0u);
}

// Insets: a zone (outline {square}) with niches reported by the host.
class Insets : public HostTest {
protected:
	void Scene(const std::vector<Contour>& niches, const Outline& outline = {square})
	{
		zone = ModelBuilder::AddZone("1", {});
		HostControl::RoomRelation relation;
		for (const Contour& niche : niches)
			relation.niches.push_back(MemoLayout({niche}));
		HostControl::SetRoomRelation(zone, relation);
		memo.emplace(outline);
		outlinePolygon.emplace();
		ASSERT_EQ(ConvertPolyHandlesToPolygon2DData(memo->memo.coords, memo->memo.parcs, memo->memo.pends,
		                                            outlinePolygon->data),
		          NoError);
	}

	void TearDown() override
	{
		outlinePolygon.reset();
		memo.reset();
		HostTest::TearDown();
	}

	Geometry::Polygon2DData& Outline() { return outlinePolygon->data; }

	API_Guid zone = APINULLGuid;
	std::optional<OwnedMemo> memo;
	std::optional<OwnedPolygon> outlinePolygon;
};

const Contour eastNiche = {{4, 1}, {4.3, 1}, {4.3, 2}, {4, 2}};
const Contour southNiche = {{1, -0.2}, {2, -0.2}, {2, 0}, {1, 0}};
const Contour overlappingNiche = {{3.5, 3}, {4.5, 3}, {4.5, 3.5}, {3.5, 3.5}};
const Contour farNiche = {{9, 9}, {10, 9}, {10, 10}, {9, 10}};

TEST_F(Insets, TouchingNichesAreUnitedWithTheOutline)
{
	struct Case {
		const char* what;
		std::vector<Contour> niches;
		ErrCode result;
		double area;
		Int32 vertices;
	};
	const Case cases[] = {
	    {"no niches", {}, NoError, 16.0, 5},
	    {"one niche", {eastNiche}, NoError, 16.3, 9},
	    {"two niches", {eastNiche, southNiche}, NoError, 16.5, 13},
	    {"overlapping niche", {overlappingNiche}, NoError, 16.25, 9},
	    {"niche away from the outline", {farNiche}, COVERR_GENERAL, 16.0, 5},
	    {"second niche away", {eastNiche, farNiche}, COVERR_GENERAL, 16.3, 9},
	};
	for (const Case& c : cases) {
		Scene(c.niches);
		std::vector<std::pair<double, double>> plain = VerticesOf(Outline());
		EXPECT_EQ(MakeInsets(zone, Outline()), c.result) << c.what;
		EXPECT_NEAR(ChordArea(Outline()), c.area, 1e-9) << c.what;
		EXPECT_EQ(Outline().nVertices, c.vertices) << c.what;
		EXPECT_EQ(Outline().nContours, 1) << c.what;
		if (c.niches.empty()) {
			EXPECT_EQ(VerticesOf(Outline()), plain) << "the outline stays exactly as it was";
		}
	}
}

TEST_F(Insets, ArcEdgesAwayFromTheNicheStayExact)
{
	Scene({eastNiche}, {{{0, 0}, {4, 0}, {4, 4}, {0, 4, bulge}}});
	ASSERT_EQ(MakeInsets(zone, Outline()), NoError);
	ASSERT_EQ(Outline().nArcs, 1);
	const API_PolyArc& arc = Outline().arcs[1];
	EXPECT_EQ(arc.arcAngle, bulge);
	EXPECT_EQ(Outline().vertices[arc.begIndex].x, 0.0);
	EXPECT_EQ(Outline().vertices[arc.begIndex].y, 4.0);
	EXPECT_EQ(Outline().vertices[arc.endIndex].x, 0.0);
	EXPECT_EQ(Outline().vertices[arc.endIndex].y, 0.0);
}

TEST_F(Insets, ANicheThatIsNoPolygonStopsTheInsets)
{
	Scene({bowTie});
	EXPECT_EQ(MakeInsets(zone, Outline()), COVERR_POLY_REGULARIZATION);
	EXPECT_NEAR(ChordArea(Outline()), 16.0, 1e-9);
}

// Memory runs out while a niche becomes a record (APIERR_MEMFULL) or while it
// is united with the outline (COVERR_GENERAL, as for any failed union).
TEST_F(Insets, FailuresReturnTheirCodeAndLeakNothing)
{
	std::set<std::string> failedCalls;
	std::set<ErrCode> memoryResults;
	SweepFaults(
	    injectedFault,
	    [&] {
		    Scene({eastNiche, southNiche});
	    },
	    [&] { return MakeInsets(zone, Outline()); },
	    [&](const FaultRun& run, ErrCode result) {
		    failedCalls.insert(run.failedCall);
		    if (run.failedCall == "BMAllocatePtr")
			    memoryResults.insert(result);
		    else
			    EXPECT_EQ(result, injectedFault);
		    EXPECT_EQ(Outline().nContours, 1) << "the outline is still a polygon";
	    });
	EXPECT_EQ(failedCalls, (std::set<std::string>{"ACAPI_Element_GetRelations", "BMAllocatePtr"}));
	EXPECT_EQ(memoryResults, (std::set<ErrCode>{APIERR_MEMFULL, COVERR_GENERAL}));

	// The first allocation after the niche's own record belongs to the union.
	HostControl::ClearFaults();
	Scene({eastNiche});
	HostControl::ResetCallCounts();
	OwnedPolygon niche;
	OwnedMemo nicheMemo(SlabTest::Outline{eastNiche});
	ASSERT_EQ(ConvertPolyHandlesToPolygon2DData(nicheMemo.memo.coords, nicheMemo.memo.parcs, nicheMemo.memo.pends,
	                                            niche.data),
	          NoError);
	UInt32 nicheAllocations = HostControl::CallCount("BMAllocatePtr");
	HostControl::ResetCallCounts();
	HostControl::FailCall("BMAllocatePtr", nicheAllocations + 1, APIERR_MEMFULL);
	EXPECT_EQ(MakeInsets(zone, Outline()), COVERR_GENERAL);
	EXPECT_NEAR(ChordArea(Outline()), 16.0, 1e-9) << "the outline is kept";
}

// The layouts a slab memo takes its polygon in.
class SlabMemo : public HostTest {
protected:
	void Convert(const SlabTest::Outline& outline)
	{
		OwnedMemo zone(outline);
		ASSERT_EQ(ConvertPolyHandlesToPolygon2DData(zone.memo.coords, zone.memo.parcs, zone.memo.pends, polygon.data),
		          NoError);
	}

	void TearDown() override
	{
		Geometry::FreePolygon2DData(&polygon.data);
		HostTest::TearDown();
	}

	OwnedPolygon polygon;
};

TEST_F(SlabMemo, PolygonPartsInMemoLayout)
{
	for (bool withArc : {false, true}) {
		Convert({{{0, 0}, {4, 0, withArc ? bulge : 0.0}, {4, 4}, {0, 4}}, hole});
		OwnedMemo slab(Outline{farNiche}); // parts that must be replaced
		ASSERT_EQ(ConvertPolygon2DDataToMemo(polygon.data, slab.memo), NoError);

		std::vector<API_Coord> coords = EntriesOf(slab.memo.coords);
		ASSERT_EQ(coords.size(), 11u);
		EXPECT_EQ(coords[0].x, 0.0);
		EXPECT_EQ(coords[0].y, 0.0);
		for (Int32 i = 1; i <= 10; ++i) {
			EXPECT_EQ(coords[i].x, polygon.data.vertices[i].x);
			EXPECT_EQ(coords[i].y, polygon.data.vertices[i].y);
		}
		std::vector<Int32> ends = EntriesOf(slab.memo.pends);
		EXPECT_EQ(ends, (std::vector<Int32>{0, static_cast<Int32>(polygon.data.contourEnds[1]), 10}));

		ASSERT_NE(slab.memo.parcs, nullptr) << "an arc handle even without arcs";
		std::vector<API_PolyArc> arcs = EntriesOf(slab.memo.parcs);
		ASSERT_EQ(arcs.size(), withArc ? 1u : 0u);
		if (withArc) {
			EXPECT_EQ(arcs[0].begIndex, polygon.data.arcs[1].begIndex);
			EXPECT_EQ(arcs[0].endIndex, polygon.data.arcs[1].endIndex);
			EXPECT_EQ(arcs[0].arcAngle, bulge);
		}
		Geometry::FreePolygon2DData(&polygon.data);
	}
}

TEST_F(SlabMemo, MalformedRecordsAreRefusedWithTheMemoUntouched)
{
	Convert({square});
	OwnedMemo slab(Outline{farNiche});
	std::vector<API_Coord> kept = EntriesOf(slab.memo.coords);
	struct Case {
		const char* what;
		std::function<void(Geometry::Polygon2DData&)> damage;
	};
	const Case cases[] = {
	    {"empty", [](Geometry::Polygon2DData& p) { p = Geometry::Polygon2DData{}; }},
	    {"more vertices than its array", [](Geometry::Polygon2DData& p) { p.nVertices = 6; }},
	    {"more contours than its array", [](Geometry::Polygon2DData& p) { p.nContours = 2; }},
	    {"arcs without an array", [](Geometry::Polygon2DData& p) { p.nArcs = 1; }},
	    {"negative arc count", [](Geometry::Polygon2DData& p) { p.nArcs = -1; }},
	};
	for (const Case& c : cases) {
		Geometry::Polygon2DData damaged = polygon.data;
		c.damage(damaged);
		EXPECT_EQ(ConvertPolygon2DDataToMemo(damaged, slab.memo), COVERR_GENERAL) << c.what;
		std::vector<API_Coord> now = EntriesOf(slab.memo.coords);
		ASSERT_EQ(now.size(), kept.size()) << c.what;
		EXPECT_EQ(std::memcmp(now.data(), kept.data(), kept.size() * sizeof(API_Coord)), 0) << c.what;
	}
}

TEST_F(SlabMemo, FillsSlabDataForThePolygon)
{
	Convert({square, hole});
	OwnedMemo slab;
	ASSERT_EQ(ConvertPolygon2DDataToMemo(polygon.data, slab.memo), NoError);
	for (int round = 0; round < 2; ++round) { // the second round replaces the parts of the first
		API_Element record = ModelBuilder::NewRecord(API_SlabID);
		ASSERT_EQ(FillMissingSlabInfo(record, slab.memo), NoError);
		EXPECT_EQ(record.slab.poly.nCoords, 10);
		EXPECT_EQ(record.slab.poly.nSubPolys, 2);
		EXPECT_EQ(record.slab.poly.nArcs, 0);

		EXPECT_EQ(EntriesOf(slab.memo.vertexIDs), (std::vector<UInt32>{10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
		std::vector<API_EdgeTrim> trims = EntriesOf(slab.memo.edgeTrims);
		ASSERT_EQ(trims.size(), 11u);
		for (std::size_t i = 0; i < trims.size(); ++i) {
			bool end = i == 0 || i == 10;
			UInt64 angleBits = 0;
			std::memcpy(&angleBits, &trims[i].sideAngle, sizeof(angleBits));
			EXPECT_EQ(trims[i].sideType, 0) << i;
			EXPECT_EQ(angleBits, end ? 0u : 0x3FF921FB54442D18u) << i;
		}
		ASSERT_EQ(BMGetPtrSize(reinterpret_cast<GSConstPtr>(slab.memo.sideMaterials)), 11 * 8);
		for (Int32 i = 0; i <= 10; ++i)
			EXPECT_EQ(slab.memo.sideMaterials[i].overridden, 0) << i;
	}
}

TEST_F(SlabMemo, CountsComeFromTheHandles)
{
	Convert({{{0, 0}, {4, 0, bulge}, {4, 4, -bulge}, {0, 4}}});
	OwnedMemo slab;
	ASSERT_EQ(ConvertPolygon2DDataToMemo(polygon.data, slab.memo), NoError);
	API_Element record = ModelBuilder::NewRecord(API_SlabID);
	ASSERT_EQ(FillMissingSlabInfo(record, slab.memo), NoError);
	EXPECT_EQ(record.slab.poly.nCoords, 5);
	EXPECT_EQ(record.slab.poly.nSubPolys, 1);
	EXPECT_EQ(record.slab.poly.nArcs, 2);

	OwnedMemo noPolygon;
	for (bool withCoords : {false, true}) {
		noPolygon.memo.coords = withCoords ? HandleOf(std::vector<API_Coord>{{0, 0}, {1, 1}}) : nullptr;
		EXPECT_EQ(FillMissingSlabInfo(record, noPolygon.memo), APIERR_BADPOLY);
		EXPECT_EQ(noPolygon.memo.vertexIDs, nullptr);
		EXPECT_EQ(noPolygon.memo.edgeTrims, nullptr);
		EXPECT_EQ(noPolygon.memo.sideMaterials, nullptr);
		BMKillHandle(&noPolygon.memo.coords);
	}
}

TEST_F(SlabMemo, FailuresReturnMemFullAndLeakNothing)
{
	Convert({square});
	auto operation = [&] {
		OwnedMemo slab;
		API_Element record = ModelBuilder::NewRecord(API_SlabID);
		ErrCode error = ConvertPolygon2DDataToMemo(polygon.data, slab.memo);
		return error != NoError ? error : FillMissingSlabInfo(record, slab.memo);
	};
	std::set<std::string> failedCalls;
	SweepFaults(
	    injectedFault, [] {}, operation,
	    [&](const FaultRun& run, ErrCode result) {
		    failedCalls.insert(run.failedCall);
		    EXPECT_EQ(result, APIERR_MEMFULL);
	    });
	EXPECT_EQ(failedCalls, (std::set<std::string>{"BMAllocateHandle", "BMAllocatePtr"}));
}

} // namespace
