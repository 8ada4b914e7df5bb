// The stand-in refuses what a host refuses to store, with the host's errors.
#include <cmath>
#include <cstring>

#include "API/Commands.hpp"
#include "API/ElementFunctions.hpp"
#include "API/Relations.hpp"
#include "GS/Memory.hpp"
#include "HostTest.hpp"
#include "ModelBuilder.hpp"

using namespace ModelBuilder;

namespace {

class DegenerateElements : public HostTest {};

constexpr double Pi = 3.14159265358979323846;

GSErrCode CreateInCommand(API_Element& element, API_ElementMemo* memo = nullptr)
{
	return ACAPI_CallUndoableCommand("Create", [&] { return ACAPI_Element_Create(&element, memo); });
}

template <typename T> T** HandleOf(const std::vector<T>& items)
{
	auto** handle = reinterpret_cast<T**>(BMAllocateHandle(GSSize(items.size() * sizeof(T)), ALLOCATE_CLEAR, 0));
	if (!items.empty())
		std::memcpy(*handle, items.data(), items.size() * sizeof(T));
	return handle;
}

TEST_F(DegenerateElements, WallsNeedLengthThicknessAndHeight)
{
	struct Case {
		const char* what;
		API_Element wall;
		GSErrCode expected;
	};
	API_Element noHeight = WallRecord({0, 0}, {2, 0});
	noHeight.wall.height = 0.0;
	API_Element negativeHeight = WallRecord({0, 0}, {2, 0});
	negativeHeight.wall.height = -3.0;
	API_Element notANumber = WallRecord({0, 0}, {2, 0});
	notANumber.wall.thickness = std::nan("");
	const Case cases[] = {
	    {"sized", WallRecord({0, 0}, {2, 0}), NoError},
	    {"curved", WallRecord({0, 0}, {2, 0}, Pi / 2), NoError},
	    {"no length", WallRecord({1, 1}, {1, 1}), APIERR_BADPARS},
	    {"curved without length", WallRecord({1, 1}, {1, 1}, Pi / 2), APIERR_BADPARS},
	    {"no thickness", WallRecord({0, 0}, {2, 0}, 0.0, 0.0), APIERR_BADPARS},
	    {"no height", noHeight, APIERR_BADPARS},
	    {"negative height", negativeHeight, APIERR_BADPARS},
	    {"thickness not a number", notANumber, APIERR_BADPARS},
	};
	for (const Case& c : cases) {
		API_Element wall = c.wall;
		EXPECT_EQ(CreateInCommand(wall), c.expected) << c.what;
	}
	EXPECT_EQ(HostControl::Elements(API_WallID).size(), 2u);

	API_Guid made = HostControl::Elements(API_WallID).front();
	API_Element change = WallRecord({0, 0}, {0, 0});
	change.header.guid = made;
	API_Element mask = NewRecord(API_ZombieElemID);
	API_MASK_SET(mask, wall.endC);
	EXPECT_EQ(
	    ACAPI_CallUndoableCommand("Change", [&] { return ACAPI_Element_Change(&change, &mask, nullptr, 0, true); }),
	    APIERR_BADPARS);
	EXPECT_EQ(HostControl::GetElement(made)->wall.endC.x, 2.0) << "a refused change leaves the wall as it was";
}

TEST_F(DegenerateElements, OpeningsNeedSizeAndAnAnchorOnTheirWall)
{
	API_Guid straight = AddWall({0, 0}, {4, 0});
	API_Guid curved = AddWall({0, 0}, {2, 0}, Pi); // a half circle of length pi
	struct Case {
		const char* what;
		API_Guid wall;
		double location;
		double width;
		double height;
		GSErrCode expected;
	};
	const Case cases[] = {
	    {"inside", straight, 2.0, 0.9, 2.1, NoError},
	    {"at the begin, overhanging it", straight, 0.0, 0.9, 2.1, NoError},
	    {"at the end, overhanging it", straight, 4.0, 0.9, 2.1, NoError},
	    {"along the arc beyond its chord", curved, 3.0, 0.9, 2.1, NoError},
	    {"before the begin", straight, -0.01, 0.9, 2.1, APIERR_BADPARS},
	    {"past the end", straight, 4.01, 0.9, 2.1, APIERR_BADPARS},
	    {"past the arc's end", curved, 3.2, 0.9, 2.1, APIERR_BADPARS},
	    {"no width", straight, 2.0, 0.0, 2.1, APIERR_BADPARS},
	    {"negative height", straight, 2.0, 0.9, -1.0, APIERR_BADPARS},
	    {"in no wall", APINULLGuid, 2.0, 0.9, 2.1, APIERR_BADPARS},
	};
	for (const Case& c : cases) {
		API_Element door = NewRecord(API_DoorID);
		door.door.owner = c.wall;
		door.door.objLoc = c.location;
		door.door.openingBase.width = c.width;
		door.door.openingBase.height = c.height;
		EXPECT_EQ(CreateInCommand(door), c.expected) << c.what;
	}
	EXPECT_EQ(HostControl::Elements(API_DoorID).size(), 4u);
}

TEST_F(DegenerateElements, SlabsNeedAValidPolygonAndThickness)
{
	using Coords = std::vector<API_Coord>;
	const Coords square = {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
	const Coords squareWithHole = {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0},
	                               {1, 1}, {1, 3}, {3, 3}, {3, 1}, {1, 1}};
	const Coords holeOutside = {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {3, 1}, {3, 3}, {5, 3}, {5, 1}, {3, 1}};
	struct Case {
		const char* what;
		Coords coords;
		std::vector<Int32> ends;
		std::vector<API_PolyArc> arcs;
		double thickness;
		GSErrCode expected;
	};
	const Case cases[] = {
	    {"square", square, {0, 5}, {}, 0.2, NoError},
	    {"with a hole", squareWithHole, {0, 5, 10}, {}, 0.2, NoError},
	    {"bulging arc", square, {0, 5}, {{2, 3, Pi / 2}}, 0.2, NoError},
	    {"no thickness", square, {0, 5}, {}, 0.0, APIERR_BADPARS},
	    {"bow tie", {{0, 0}, {0, 0}, {4, 4}, {4, 0}, {0, 4}, {0, 0}}, {0, 5}, {}, 0.2, APIERR_IRREGULARPOLY},
	    {"hole crossing the outline", holeOutside, {0, 5, 10}, {}, 0.2, APIERR_IRREGULARPOLY},
	    {"arc crossing the opposite edge", square, {0, 5}, {{1, 2, -1.5 * Pi}}, 0.2, APIERR_IRREGULARPOLY},
	    {"unclosed", {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 1}}, {0, 5}, {}, 0.2, APIERR_BADPOLY},
	    {"end past the coordinates", square, {0, 7}, {}, 0.2, APIERR_BADPOLY},
	    {"ends out of order", squareWithHole, {0, 10, 5}, {}, 0.2, APIERR_BADPOLY},
	};
	for (const Case& c : cases) {
		API_Element slab = NewRecord(API_SlabID);
		slab.slab.thickness = c.thickness;
		slab.slab.poly = {Int32(c.coords.size()) - 1, Int32(c.ends.size()) - 1, Int32(c.arcs.size())};
		API_ElementMemo memo = {};
		memo.coords = HandleOf(c.coords);
		memo.pends = HandleOf(c.ends);
		memo.parcs = HandleOf(c.arcs);
		EXPECT_EQ(CreateInCommand(slab, &memo), c.expected) << c.what;
		slab.slab.poly.nCoords += 1;
		EXPECT_EQ(CreateInCommand(slab, &memo), APIERR_BADPOLY) << c.what << ": counts that do not match the memo";
		ACAPI_DisposeElemMemoHdls(&memo);
	}
	EXPECT_EQ(HostControl::Elements(API_SlabID).size(), 3u);
}

TEST_F(DegenerateElements, DeletedWallsAndColumnsLeaveEveryZoneRelation)
{
	API_Guid wall = AddWall({0, 0}, {4, 0});
	API_Guid kept = AddWall({4, 0}, {4, 4});
	API_Guid column = HostControl::AddElement(NewRecord(API_ColumnID));
	API_Guid door = AddOpening(API_DoorID, wall, 2.0);
	std::vector<API_Guid> zones = {AddZone("1", {{{{0, 0}, {4, 0}, {4, 4}}}}),
	                               AddZone("2", {{{{0, 0}, {4, -4}, {4, 0}}}})};
	for (const API_Guid& zone : zones) {
		HostControl::SetRoomRelation(zone,
		                             {{{wall, 1, 0, 4}, {kept, 2, 0, 4}},
		                              {{API_WallID, {wall, kept}}, {API_ColumnID, {column}}, {API_DoorID, {door}}},
		                              {}});
	}
	ASSERT_EQ(ACAPI_CallUndoableCommand("Delete", [&] { return ACAPI_Element_Delete({wall, column}); }), NoError);
	for (const API_Guid& zone : zones) {
		API_RoomRelation relation;
		ASSERT_EQ(ACAPI_Element_GetRelations(zone, {API_WallID, APIVarId_Generic, APINULLGuid}, &relation), NoError);
		ASSERT_EQ(relation.wallPart.GetSize(), 1u);
		EXPECT_EQ(relation.wallPart[0].guid, kept);
		const auto* walls = relation.elementsGroupedByType.GetPtr({API_WallID, APIVarId_Generic, APINULLGuid});
		ASSERT_NE(walls, nullptr);
		EXPECT_EQ(*walls, GS::Array<API_Guid>({kept}));
		EXPECT_EQ(relation.elementsGroupedByType.GetPtr({API_ColumnID, APIVarId_Generic, APINULLGuid}), nullptr);
		EXPECT_EQ(relation.elementsGroupedByType.GetPtr({API_DoorID, APIVarId_Generic, APINULLGuid}), nullptr)
		    << "the door went with its wall";
		ACAPI_DisposeRoomRelationHdls(&relation);
	}
}

TEST_F(DegenerateElements, OpeningsBelowTheMinimumSizeAreNotMeasured)
{
	API_Guid wall = AddWall({0, 0}, {6, 0});
	API_Guid door = AddOpening(API_DoorID, wall, 1.0, 0.9); // 0.9 wide, 2.1 high
	struct Case {
		double minimum;
		double expectedWidth;
	};
	for (const Case& c : {Case{1e-5, 0.9}, Case{0.9, 0.9}, Case{0.95, 0.0}, Case{2.2, 0.0}}) {
		API_ElementQuantity quantity = {};
		quantity.door.width1 = -1.0;
		API_Quantities quantities = {&quantity};
		API_QuantitiesMask mask = {};
		std::memset(&mask.elements.door.width1, 0xFF, sizeof(double));
		API_QuantityPar params = {c.minimum, {}};
		ASSERT_EQ(ACAPI_Element_GetQuantities(door, &params, &quantities, &mask), NoError);
		EXPECT_EQ(quantity.door.width1, c.expectedWidth) << "minimum " << c.minimum;
	}
}

} // namespace
