// What the add and the update store as a covering's geometry: a covering and
// its holes must stand on their zone edge in front of their wall part, facing
// the zone, whichever way wall and edge turn and in whatever order the host
// lists a wall's parts.
#include <cmath>
#include <map>

#include "API/Commands.hpp"
#include "CoveringIdentity.hpp"
#include "CoveringScenes.hpp"
#include "Coverings.hpp"
#include "HostTest.hpp"
#include "ModelBuilder.hpp"

using CoveringScenes::HoleSettings;
using CoveringScenes::LinkTargets;
using CoveringScenes::Record;

namespace {

constexpr double tolerance = 1e-9;

CoveringSettings WallCoveringsWithHoles()
{
	CoveringSettings settings;
	settings.wall.enabled = true;
	settings.wall.toolElement = ModelBuilder::NewRecord(API_WallID);
	settings.wall.toolElement.wall.thickness = 0.015;
	settings.wall.toolElement.wall.height = 2.5;
	settings.wall.doorHoles = HoleSettings(API_DoorID);
	settings.wall.windowHoles = HoleSettings(API_WindowID);
	return settings;
}

ErrCode AddInCommand(const API_Guid& zone, const CoveringSettings& settings)
{
	return ACAPI_CallUndoableCommand("Add Coverings",
	                                 [&] { return AddCoveringsToRoom(zone, settings, "added").Error(); });
}

ErrCode UpdateInCommand(const API_Guid& zone, const CoveringSettings& settings)
{
	return ACAPI_CallUndoableCommand("Update Coverings",
	                                 [&] { return UpdateCoveringsOfRoom(zone, settings, "updated"); });
}

void SetParts(const API_Guid& zone, const std::vector<API_WallPart>& parts)
{
	HostControl::RoomRelation relation;
	relation.wallParts = parts;
	HostControl::SetRoomRelation(zone, relation);
}

double Distance(API_Coord a, API_Coord b)
{
	return std::hypot(a.x - b.x, a.y - b.y);
}

// A 6 x 4 room whose north edge (edge 3, from (6, 4) to (0, 4)) is an arc:
// turning counter-clockwise it bulges out of the room, clockwise into it.
// A curved wall stands 0.1 beyond the edge on the same centre and faces its
// stretch from 20 % to 90 % of the edge's angle; a window sits in the wall.
struct CurvedRoom {
	double edgeAngle;
	double wallTurn;

	API_Coord centre{};
	double edgeRadius = 0.0, wallRadius = 0.0, wallBeginAngle = 0.0, wallLength = 0.0;
	API_Guid zone = APINULLGuid, wall = APINULLGuid, window = APINULLGuid;

	void Build()
	{
		double half = edgeAngle / 2.0;
		centre = {3.0, 4.0 - 3.0 / std::tan(half)};
		edgeRadius = 3.0 / std::fabs(std::sin(half));
		wallRadius = edgeRadius + (edgeAngle > 0 ? 0.1 : -0.1);
		double edgeBeginAngle = std::atan2(4.0 - centre.y, 6.0 - centre.x);
		double from = edgeBeginAngle + 0.2 * edgeAngle, to = edgeBeginAngle + 0.9 * edgeAngle;
		bool alongEdge = (edgeAngle > 0) == (wallTurn > 0);
		wallBeginAngle = alongEdge ? from : to;
		double sweep = std::fabs(to - from);
		wallLength = sweep * wallRadius;
		API_Coord begin = OnCircle(wallRadius, wallBeginAngle);
		API_Coord end = OnCircle(wallRadius, wallBeginAngle + wallTurn * sweep);

		zone = ModelBuilder::AddZone("21", {{{{0, 0}, {6, 0}, {6, 4}, {0, 4}}}}, {{3, 4, edgeAngle}});
		wall = ModelBuilder::AddWall(begin, end, wallTurn * sweep);
		window = ModelBuilder::AddOpening(API_WindowID, wall, 0.3 * wallLength);
		HostControl::SetOpeningRelation(window, zone, APINULLGuid);
		SetParts(zone, {{wall, 3, 0.0, wallLength}});
	}

	API_Coord OnCircle(double radius, double angle) const
	{
		return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
	}

	// The point of the edge in front of the point at distance t along the wall.
	API_Coord Projection(double t) const { return OnCircle(edgeRadius, wallBeginAngle + wallTurn * t / wallRadius); }

	// The covering spans the part's projection onto the edge, turning
	// counter-clockwise, and faces the zone; its hole faces the same way and
	// stands in front of the window.
	void ExpectCoveringOver(double tBeg, double tEnd) const
	{
		std::vector<API_Guid> coverings = LinkTargets(wall, LinkElemCovering);
		ASSERT_EQ(coverings.size(), 1u);
		API_Element covering = Record(coverings[0]);
		const API_WallType& placed = covering.wall;
		EXPECT_EQ(placed.flipped, edgeAngle < 0) << "flipped where the edge turns clockwise";
		EXPECT_NEAR(placed.angle, (tEnd - tBeg) / wallRadius, tolerance);
		bool fromBegin = wallTurn > 0;
		EXPECT_NEAR(Distance(placed.begC, Projection(fromBegin ? tBeg : tEnd)), 0.0, tolerance);
		EXPECT_NEAR(Distance(placed.endC, Projection(fromBegin ? tEnd : tBeg)), 0.0, tolerance);

		std::vector<API_Guid> holes = LinkTargets(coverings[0], LinkCoveringHole);
		ASSERT_EQ(holes.size(), 1u);
		API_Element hole = Record(holes[0]);
		EXPECT_FALSE(hole.window.openingBase.reflected);
		EXPECT_EQ(hole.window.openingBase.openingSide, placed.flipped);
		EXPECT_EQ(hole.window.openingBase.refSide, placed.flipped);
		double holeAngle =
		    std::atan2(placed.begC.y - centre.y, placed.begC.x - centre.x) + hole.window.objLoc / edgeRadius;
		EXPECT_NEAR(Distance(OnCircle(edgeRadius, holeAngle), Projection(Record(window).window.objLoc)), 0.0,
		            tolerance);
	}
};

class StoredCoveringGeometry : public HostTest {};

TEST_F(StoredCoveringGeometry, CurvedEdgeCoveringsStandOnTheirEdgeAtAddAndUpdate)
{
	for (double edgeAngle : {1.2, -1.2}) {
		for (double wallTurn : {1.0, -1.0}) {
			SCOPED_TRACE(testing::Message() << "edge angle " << edgeAngle << ", wall turn " << wallTurn);
			HostControl::ResetHost();
			CurvedRoom room{edgeAngle, wallTurn};
			room.Build();
			CoveringSettings settings = WallCoveringsWithHoles();
			ASSERT_EQ(AddInCommand(room.zone, settings), NoError);
			room.ExpectCoveringOver(0.0, room.wallLength);

			// The host now reports a shorter part; the covering and its hole follow it.
			SetParts(room.zone, {{room.wall, 3, 0.4, room.wallLength - 0.3}});
			ASSERT_EQ(UpdateInCommand(room.zone, settings), NoError);
			room.ExpectCoveringOver(0.4, room.wallLength - 0.3);
		}
	}
}

// The south wall bounds the zone on two edges on either side of a notch, and
// the host lists the part on edge 5 before the one on edge 1.
TEST_F(StoredCoveringGeometry, UpdateMatchesAWallsCoveringsToItsPartsByEdge)
{
	API_Guid zone =
	    ModelBuilder::AddZone("22", {{{{0, 0}, {2, 0}, {2, 0.5}, {3, 0.5}, {3, 0}, {6, 0}, {6, 4}, {0, 4}}}});
	API_Guid wall = ModelBuilder::AddWall({-0.2, -0.1}, {6.2, -0.1});
	SetParts(zone, {{wall, 5, 3.2, 6.2}, {wall, 1, 0.2, 2.2}});
	CoveringSettings settings = WallCoveringsWithHoles();
	ASSERT_EQ(AddInCommand(zone, settings), NoError);
	std::map<double, API_Guid> byBeginX;
	for (const API_Guid& covering : LinkTargets(wall, LinkElemCovering))
		byBeginX[Record(covering).wall.begC.x] = covering;
	ASSERT_EQ(byBeginX.size(), 2u);

	struct Case {
		const char* what;
		double wallBeginX;
		std::vector<API_WallPart> parts;
	};
	const Case cases[] = {
	    {"nothing changed", -0.2, {{wall, 5, 3.2, 6.2}, {wall, 1, 0.2, 2.2}}},
	    {"wall lengthened at its start", -1.2, {{wall, 5, 4.2, 7.2}, {wall, 1, 1.2, 3.2}}},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		API_Element record = Record(wall);
		record.wall.begC.x = c.wallBeginX;
		HostControl::SetElement(record);
		SetParts(zone, c.parts);
		ASSERT_EQ(UpdateInCommand(zone, settings), NoError);
		for (const auto& [beginX, covering] : byBeginX) {
			API_Element placed = Record(covering);
			EXPECT_NEAR(placed.wall.begC.x, beginX, tolerance);
			EXPECT_NEAR(placed.wall.endC.x, beginX == 0.0 ? 2.0 : 6.0, tolerance);
		}
	}
}

} // namespace
