#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>

#include "ColumnCoverings.hpp"
#include "CoveringIdentity.hpp"
#include "FaultSweep.hpp"
#include "GS/Memory.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "UndoScope.hpp"

using HostControl::Defaults;
using ModelBuilder::NewRecord;

namespace {

constexpr double quarterTurn = 1.5707963267948966;

struct ColumnSetup {
	API_Coord centre;
	double width = 1.0; // along the column's local x axis
	double depth = 1.0;
	double axisTurn = 0.0;
	double profileTurn = 0.0;
	API_ZoneRelID zoneRel = APIZRel_Boundary;
	bool slanted = false;
	Int32 segments = 1;
	bool round = false;
	Int32 structure = 0;
};

API_ColumnSegmentType Segment(const ColumnSetup& setup)
{
	API_ColumnSegmentType segment = {};
	segment.circleBased = setup.round;
	segment.structureType = setup.structure;
	segment.nominalWidth = setup.width;
	segment.nominalDepth = setup.depth;
	return segment;
}

API_Guid AddColumn(const ColumnSetup& setup)
{
	API_Element record = NewRecord(API_ColumnID);
	record.column.zoneRel = setup.zoneRel;
	record.column.isSlanted = setup.slanted;
	record.column.nSegments = setup.segments;
	record.column.origoPos = setup.centre;
	record.column.axisRotationAngle = setup.axisTurn;
	record.column.profileRotationAngle = setup.profileTurn;
	HostControl::MemoParts memo;
	memo.columnSegments = std::vector<API_ColumnSegmentType>(std::max(setup.segments, 1), Segment(setup));
	return HostControl::AddElement(record, memo);
}

// Every room also has a niche, so that every run shows the relation's handles released.
API_Guid AddRoom(const std::vector<API_Coord>& outline, const std::vector<API_Guid>& columns,
                 const std::vector<API_PolyArc>& arcs = {})
{
	API_Guid zone = ModelBuilder::AddZone("1", {{outline}}, arcs);
	HostControl::NichePolygon niche{{{0, 0}, {0, 0}, {1, 0}, {1, -0.2}, {0, -0.2}, {0, 0}}, {0, 5}, {}};
	HostControl::SetRoomRelation(zone, {{}, {{API_ColumnID, columns}}, {niche}});
	return zone;
}

const std::vector<API_Coord> plainRoom = {{0, 0}, {6, 0}, {6, 4}, {0, 4}};
// A room wrapped around a 1 x 0.8 column at (3, 4) that stands in its top wall:
// edges 4, 5 and 6 run along the column's sides 2, 3 and 0.
const std::vector<API_Coord> notchedRoom = {{0, 0}, {6, 0}, {6, 4}, {3.5, 4}, {3.5, 3.6}, {2.5, 3.6}, {2.5, 4}, {0, 4}};
// A room with a 1 x 1 column at (6, 4) in its top right corner: edge 4 runs
// along the column's side 0, edge 3 along its side 3.
const std::vector<API_Coord> cornerRoom = {{0, 0}, {6, 0}, {6, 3.5}, {5.5, 3.5}, {5.5, 4}, {0, 4}};

API_Element CoveringTemplate()
{
	API_Element wall = NewRecord(API_WallID);
	wall.wall.thickness = 0.02;
	wall.wall.height = 2.6;
	wall.wall.angle = 0.4; // a column covering is straight and unflipped whatever the template says
	wall.wall.flipped = true;
	return wall;
}

// The zone as the add hands it to the column coverings: its record, its
// polygon memo and the edges that no wall covering took.
class ZoneOnAdd {
public:
	explicit ZoneOnAdd(const API_Guid& zone) : record(*HostControl::GetElement(zone)), memo{}
	{
		EXPECT_EQ(ACAPI_Element_GetMemo(zone, &memo, APIMemoMask_Polygon), NoError);
		edges = MakeZoneEdgeMapForAdd(ZonePolygon(record, memo), false);
	}
	~ZoneOnAdd() { ACAPI_DisposeElemMemoHdls(&memo); }
	ZoneOnAdd(const ZoneOnAdd&) = delete;
	ZoneOnAdd& operator=(const ZoneOnAdd&) = delete;

	CovResult<GS::Array<API_Guid>> CoverColumns()
	{
		return CreateColumnCoverings(edges, record, memo, CoveringTemplate());
	}

	API_Element record;
	API_ElementMemo memo;
	ZoneEdgeMap edges;
};

std::vector<int> Keys(const ZoneEdgeMap& edges)
{
	std::vector<int> keys;
	for (const auto& entry : edges)
		keys.push_back(entry.key);
	return keys;
}

ZoneEdgeMap OutlineEdges(const std::vector<API_Coord>& outline)
{
	ZoneEdgeMap edges;
	for (std::size_t i = 0; i < outline.size(); ++i)
		edges.Add(static_cast<int>(i + 1), Sector(ToPoint(outline[i]), ToPoint(outline[(i + 1) % outline.size()])));
	return edges;
}

std::optional<UInt32> RecordedSide(const API_Guid& covering)
{
	auto data = HostControl::GetUserData(covering);
	if (!data.has_value() || !data->payload.has_value() || data->payload->size() != 4)
		return std::nullopt;
	UInt32 side = 0;
	std::memcpy(&side, data->payload->data(), 4);
	return side;
}

void StoreSide(const API_Guid& covering, UInt32 side)
{
	std::vector<char> payload(4);
	std::memcpy(payload.data(), &side, 4);
	HostControl::SetUserData(covering, {1, 0x6D6D, 0, payload});
}

std::string ElementId(const API_Guid& element)
{
	return SettingsBuilder::ElementText(element, Defaults().elementIdProperty).value_or("");
}

std::vector<API_Guid> LinkedWith(const API_Guid& from, UInt32 flag)
{
	std::vector<API_Guid> targets;
	for (const HostControl::Link& link : HostControl::LinksFrom(from)) {
		if (link.flags == flag)
			targets.push_back(link.to);
	}
	return targets;
}

std::vector<API_Guid> AsVector(const GS::Array<API_Guid>& guids)
{
	return std::vector<API_Guid>(guids.begin(), guids.end());
}

void ExpectSpans(const API_Guid& covering, API_Coord begin, API_Coord end)
{
	API_WallType wall = HostControl::GetElement(covering)->wall;
	EXPECT_NEAR(wall.begC.x, begin.x, 1e-9);
	EXPECT_NEAR(wall.begC.y, begin.y, 1e-9);
	EXPECT_NEAR(wall.endC.x, end.x, 1e-9);
	EXPECT_NEAR(wall.endC.y, end.y, 1e-9);
	EXPECT_EQ(wall.angle, 0.0);
	EXPECT_FALSE(wall.flipped);
}

std::size_t CallsThatSucceeded(const FaultRun& run, const std::string& function)
{
	std::size_t calls = std::count(run.callsMade.begin(), run.callsMade.end(), function);
	return run.failedCall == function ? calls - 1 : calls;
}

class ColumnCoveringsAdd : public UndoScopeTest {};

TEST_F(ColumnCoveringsAdd, ThreeFacesOnTheBoundaryGetThreeCoverings)
{
	API_Guid column = AddColumn({{3, 4}, 1.0, 0.8});
	API_Guid zone = AddRoom(notchedRoom, {column});
	ZoneOnAdd add(zone);
	auto made = add.CoverColumns();
	ASSERT_TRUE(made.HasValue()) << made.Error();
	ASSERT_EQ(made.Value().GetSize(), 3u);
	const struct {
		UInt32 side;
		const char* id;
		API_Coord begin, end;
	} expected[] = {{0, "COV - Z1 - 6", {2.5, 3.6}, {2.5, 4}},
	                {2, "COV - Z1 - 4", {3.5, 4}, {3.5, 3.6}},
	                {3, "COV - Z1 - 5", {3.5, 3.6}, {2.5, 3.6}}};
	for (UInt32 i = 0; i < 3; ++i) {
		const API_Guid& covering = made.Value()[i];
		SCOPED_TRACE(expected[i].id);
		EXPECT_EQ(RecordedSide(covering), expected[i].side);
		EXPECT_EQ(ElementId(covering), expected[i].id);
		ExpectSpans(covering, expected[i].begin, expected[i].end);
		EXPECT_EQ(LinkedWith(covering, LinkCoveringElem), std::vector<API_Guid>{column});
	}
	EXPECT_EQ(LinkedWith(zone, LinkZoneColumn), std::vector<API_Guid>{column});
	EXPECT_EQ(LinkedWith(zone, LinkZoneCovering), AsVector(made.Value()));
	EXPECT_EQ(Keys(add.edges), (std::vector<int>{1, 2, 3, 7, 8}));
	EXPECT_TRUE(HostControl::ReportLines().empty());
}

TEST_F(ColumnCoveringsAdd, AnEdgeRunningBeyondTheFaceIsCoveredWhole)
{
	API_Guid column = AddColumn({{3, 4.5}, 1.0, 1.0, quarterTurn / 2, -quarterTurn / 2});
	ZoneOnAdd add(AddRoom(plainRoom, {column}));
	auto made = add.CoverColumns();
	ASSERT_TRUE(made.HasValue());
	ASSERT_EQ(made.Value().GetSize(), 1u);
	ExpectSpans(made.Value()[0], {6, 4}, {0, 4});
	EXPECT_EQ(RecordedSide(made.Value()[0]), 3u);
	EXPECT_EQ(ElementId(made.Value()[0]), "COV - Z1 - 3");
	EXPECT_EQ(HostControl::GetElement(made.Value()[0])->wall.thickness, 0.02);
	EXPECT_EQ(Keys(add.edges), (std::vector<int>{1, 2, 4}));
}

TEST_F(ColumnCoveringsAdd, FacesThatShareNoStretchWithAnEdgeGetNothing)
{
	const double halfDiagonal = std::sqrt(0.5);
	const struct {
		const char* name;
		ColumnSetup column;
		std::vector<API_Coord> outline;
	} rows[] = {
	    {"inside the zone", {{3, 2}}, plainRoom},
	    {"corner touching an edge", {{3, 4 + halfDiagonal}, 1.0, 1.0, quarterTurn / 2}, plainRoom},
	    {"straddling an edge", {{3, 4}}, plainRoom},
	    {"faces meeting edges end to end", {{3, 4.5}}, {{0, 0}, {2.5, 0}, {2.5, 4}, {0, 4}}},
	};
	for (const auto& row : rows) {
		SCOPED_TRACE(row.name);
		HostControl::ResetHost();
		API_Guid zone = AddRoom(row.outline, {AddColumn(row.column)});
		ZoneOnAdd add(zone);
		auto made = add.CoverColumns();
		ASSERT_TRUE(made.HasValue());
		EXPECT_TRUE(made.Value().IsEmpty());
		EXPECT_EQ(Keys(add.edges), (std::vector<int>{1, 2, 3, 4}));
		EXPECT_TRUE(HostControl::LinksFrom(zone).empty());
		EXPECT_TRUE(HostControl::ReportLines().empty());
	}
}

TEST_F(ColumnCoveringsAdd, TheFirstColumnInRelationOrderTakesASharedEdge)
{
	API_Guid left = AddColumn({{2, 4.5}});
	API_Guid right = AddColumn({{4, 4.5}});
	API_Guid zone = AddRoom(plainRoom, {right, left});
	ZoneOnAdd add(zone);
	auto made = add.CoverColumns();
	ASSERT_TRUE(made.HasValue());
	ASSERT_EQ(made.Value().GetSize(), 1u);
	EXPECT_EQ(LinkedWith(made.Value()[0], LinkCoveringElem), std::vector<API_Guid>{right});
	EXPECT_EQ(LinkedWith(zone, LinkZoneColumn), std::vector<API_Guid>{right});
}

TEST_F(ColumnCoveringsAdd, CurvedEdgesAreDroppedAndNeverCovered)
{
	// The top edge is an arc whose chord runs along the upper column's face.
	API_Guid upper = AddColumn({{3, 4.5}});
	API_Guid right = AddColumn({{6.5, 2}});
	ZoneOnAdd add(AddRoom(plainRoom, {upper, right}, {{3, 4, 0.3}}));
	auto made = add.CoverColumns();
	ASSERT_TRUE(made.HasValue());
	ASSERT_EQ(made.Value().GetSize(), 1u);
	EXPECT_EQ(ElementId(made.Value()[0]), "COV - Z1 - 2");
	EXPECT_EQ(LinkedWith(made.Value()[0], LinkCoveringElem), std::vector<API_Guid>{right});
	EXPECT_EQ(Keys(add.edges), (std::vector<int>{1, 4}));
}

TEST_F(ColumnCoveringsAdd, EdgesAreTriedInTheTablesWalkOrder)
{
	// Edges 4 and 5 both run along the left column's side 2. A deleted entry's
	// slot takes the last entry, so after any deletion edge 5 is tried before 4.
	const std::vector<API_Coord> outline = {{0, 0}, {6, 0}, {6, 4}, {0, 4}, {0, 2}};
	const ColumnSetup left{{-0.5, 2}, 1.0, 2.0};
	const ColumnSetup right{{6.5, 2}};
	const struct {
		const char* name;
		bool wallTookEdge1;
		std::vector<API_PolyArc> arcs;
		bool rightColumnFirst;
		int expectedKey;
		API_Coord begin, end;
	} rows[] = {
	    {"in key order", false, {}, false, 4, {0, 4}, {0, 2}},
	    {"after a wall covering took edge 1", true, {}, false, 5, {0, 2}, {0, 0}},
	    {"after the curved edge 1 was dropped", false, {{1, 2, 0.2}}, false, 5, {0, 2}, {0, 0}},
	    {"after the curved edges 2 and 1 were dropped in arc order",
	     false,
	     {{2, 3, 0.2}, {1, 2, 0.2}},
	     false,
	     4,
	     {0, 4},
	     {0, 2}},
	    {"after an earlier column took edge 2", false, {}, true, 5, {0, 2}, {0, 0}},
	};
	for (const auto& row : rows) {
		SCOPED_TRACE(row.name);
		HostControl::ResetHost();
		API_Guid leftColumn = AddColumn(left);
		API_Guid rightColumn = AddColumn(right);
		auto columns = row.rightColumnFirst ? std::vector<API_Guid>{rightColumn, leftColumn}
		                                    : std::vector<API_Guid>{leftColumn, rightColumn};
		ZoneOnAdd add(AddRoom(outline, columns, row.arcs));
		if (row.wallTookEdge1)
			add.edges.Delete(1);
		auto made = add.CoverColumns();
		ASSERT_TRUE(made.HasValue());
		ASSERT_EQ(LinkedWith(leftColumn, LinkElemCovering).size(), 1u);
		API_Guid covering = LinkedWith(leftColumn, LinkElemCovering)[0];
		EXPECT_EQ(ElementId(covering), "COV - Z1 - " + std::to_string(row.expectedKey));
		ExpectSpans(covering, row.begin, row.end);
	}
}

TEST_F(ColumnCoveringsAdd, ColumnsThatCannotBeCoveredAreReportedByTheFirstFailingCheck)
{
	auto column = [](auto alter) {
		ColumnSetup setup{{3, 4.5}};
		alter(setup);
		return setup;
	};
	const struct {
		const char* name;
		ColumnSetup column;
		const char* line; // null: skipped without a line
	} rows[] = {
	    {"slanted", column([](ColumnSetup& c) { c.slanted = true; }), "Slanted column ignored."},
	    {"two segments", column([](ColumnSetup& c) { c.segments = 2; }), "Column with more than 1 segment ignored."},
	    {"no segment", column([](ColumnSetup& c) { c.segments = 0; }), "Column with more than 1 segment ignored."},
	    {"round", column([](ColumnSetup& c) { c.round = true; }), "Round column ignored."},
	    {"profile", column([](ColumnSetup& c) { c.structure = 2; }), "Profile column ignored."},
	    {"slanted and round", column([](ColumnSetup& c) { c.slanted = c.round = true; }), "Slanted column ignored."},
	    {"two segments and profile", column([](ColumnSetup& c) {
		     c.segments = 2;
		     c.structure = 2;
	     }),
	     "Column with more than 1 segment ignored."},
	    {"round and profile", column([](ColumnSetup& c) {
		     c.round = true;
		     c.structure = 2;
	     }),
	     "Round column ignored."},
	    {"not bounding zones and slanted", column([](ColumnSetup& c) {
		     c.zoneRel = APIZRel_ReduceArea;
		     c.slanted = true;
	     }),
	     nullptr},
	};
	for (const auto& row : rows) {
		SCOPED_TRACE(row.name);
		HostControl::ResetHost();
		API_Guid zone = AddRoom(plainRoom, {AddColumn(row.column)});
		ZoneOnAdd add(zone);
		auto made = add.CoverColumns();
		ASSERT_TRUE(made.HasValue());
		EXPECT_TRUE(made.Value().IsEmpty());
		EXPECT_TRUE(HostControl::LinksFrom(zone).empty());
		EXPECT_EQ(Keys(add.edges), (std::vector<int>{1, 2, 3, 4}));
		auto lines = HostControl::ReportLines();
		ASSERT_EQ(lines.size(), row.line == nullptr ? 0u : 1u);
		if (row.line != nullptr) {
			EXPECT_EQ(lines[0].text, row.line);
			EXPECT_FALSE(lines[0].withDialog);
		}
	}
}

TEST_F(ColumnCoveringsAdd, WithoutAColumnListTheTableIsLeftAsItCame)
{
	API_Guid zone = AddRoom(plainRoom, {}, {{3, 4, 0.3}});
	HostControl::NichePolygon niche{{{0, 0}, {1, 0}, {1, -0.2}, {0, 0}}, {0, 3}, {}};
	HostControl::SetRoomRelation(zone, {{}, {}, {niche}});
	ZoneOnAdd add(zone);
	HostControl::ResetCallCounts();
	auto made = add.CoverColumns();
	ASSERT_TRUE(made.HasValue());
	EXPECT_TRUE(made.Value().IsEmpty());
	EXPECT_EQ(Keys(add.edges), (std::vector<int>{1, 2, 3, 4})) << "the curved edge stays too";
	EXPECT_EQ(HostControl::CallCount("BMAllocateHandle"), 0u);
	EXPECT_TRUE(HostControl::ReportLines().empty());
}

TEST_F(ColumnCoveringsAdd, AColumnWhoseSegmentListIsMissingIsAnError)
{
	for (bool emptyList : {false, true}) {
		SCOPED_TRACE(emptyList ? "empty segment list" : "no segment list");
		HostControl::ResetHost();
		API_Element record = NewRecord(API_ColumnID);
		record.column.nSegments = 1;
		record.column.origoPos = {3, 4.5};
		HostControl::MemoParts memo;
		if (emptyList)
			memo.columnSegments = std::vector<API_ColumnSegmentType>();
		ZoneOnAdd add(AddRoom(plainRoom, {HostControl::AddElement(record, memo)}));
		EXPECT_EQ(add.CoverColumns().Error(), COVERR_GENERAL);
		EXPECT_TRUE(HostControl::Elements(API_WallID).empty());
	}
}

TEST(ColumnCoveringsAddFaults, AFailingCallEndsTheAddAtOnce)
{
	std::optional<ZoneOnAdd> add;
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL,
	    [&] {
		    add.reset();
		    API_Guid round = AddColumn({{1, 4.5}, 1.0, 1.0, 0.0, 0.0, APIZRel_Boundary, false, 1, true});
		    API_Guid column = AddColumn({{3, 4}, 1.0, 0.8});
		    add.emplace(AddRoom(notchedRoom, {round, column}));
	    },
	    [&] { return add->CoverColumns().Error(); },
	    [&](const FaultRun& run, ErrCode result) {
		    EXPECT_EQ(result, run.failedCall == "BMAllocateHandle" ? APIERR_MEMFULL : APIERR_GENERAL);
		    // Only a covering that the zone does not link yet is deleted after the failure.
		    std::vector<std::string> after(run.callsMade.begin() + run.nth, run.callsMade.end());
		    EXPECT_TRUE(after.empty() || after == std::vector<std::string>{"ACAPI_Element_Delete"});
		    auto coverings = HostControl::Elements(API_WallID);
		    std::size_t sidesRecorded = 0;
		    for (const API_Guid& covering : coverings)
			    sidesRecorded += RecordedSide(covering).has_value() ? 1 : 0;
		    // What was made before the failure stays, within the zone's reach: coverings and their sides.
		    EXPECT_EQ(coverings, LinkedWith(add->record.header.guid, LinkZoneCovering));
		    EXPECT_EQ(coverings.size(), CallsThatSucceeded(run, "ACAPI_Element_Create") - after.size());
		    EXPECT_EQ(sidesRecorded, CallsThatSucceeded(run, "ACAPI_Element_SetUserData"));
		    EXPECT_TRUE(LinkedWith(add->record.header.guid, LinkZoneColumn).empty());
	    });
	EXPECT_GT(failed, 20u);
	add.reset();
}

// After the add, the covering of the corner column's side 0 lies on edge 4 and
// that of its side 3 on edge 3.
class ColumnCoveringsUpdate : public UndoScopeTest {
protected:
	const std::vector<API_Coord>& outline = cornerRoom;

	void SetUp() override
	{
		UndoScopeTest::SetUp();
		column = AddColumn({{6, 4}});
		zone = AddRoom(outline, {column});
		ZoneOnAdd add(zone);
		auto made = add.CoverColumns();
		ASSERT_TRUE(made.HasValue());
		ASSERT_EQ(made.Value().GetSize(), 2u);
		side0 = made.Value()[0];
		side3 = made.Value()[1];
		ASSERT_EQ(RecordedSide(side3), 3u);
	}

	CovResult<GS::Array<API_Guid>> Update(ZoneEdgeMap& edges, bool columnInZone = true)
	{
		GS::Array<API_Guid> zoneLinks;
		for (const HostControl::Link& link : HostControl::LinksFrom(zone))
			zoneLinks.Push(link.to);
		GS::Array<API_Guid> roomColumns;
		if (columnInZone)
			roomColumns.Push(column);
		return UpdateColumnCoverings(column, *HostControl::GetElement(zone), zoneLinks, roomColumns, edges, toDelete);
	}

	void AlterColumn(void (*alter)(API_Element&))
	{
		API_Element record = *HostControl::GetElement(column);
		alter(record);
		HostControl::SetElement(record);
	}

	void ReplaceSegments(const std::optional<API_ColumnSegmentType>& segment)
	{
		API_Element record = *HostControl::GetElement(column);
		API_ElementMemo memo = {};
		if (segment.has_value()) {
			memo.columnSegments =
			    reinterpret_cast<API_ColumnSegmentType*>(BMAllocatePtr(sizeof(*segment), ALLOCATE_CLEAR, 0));
			*memo.columnSegments = *segment;
		}
		EXPECT_EQ(ACAPI_Element_Change(&record, nullptr, &memo, APIMemoMask_ColumnSegment, true), NoError);
		ACAPI_DisposeElemMemoHdls(&memo);
	}

	void ExpectUnmoved()
	{
		ExpectSpans(side0, {5.5, 3.5}, {5.5, 4});
		ExpectSpans(side3, {6, 3.5}, {5.5, 3.5});
	}

	API_Guid column = APINULLGuid;
	API_Guid zone = APINULLGuid;
	API_Guid side0 = APINULLGuid;
	API_Guid side3 = APINULLGuid;
	GS::Array<API_Guid> toDelete;
};

TEST_F(ColumnCoveringsUpdate, AColumnStandingStillKeepsItsCoveringsInSideOrder)
{
	ZoneEdgeMap edges = OutlineEdges(outline);
	auto moved = Update(edges);
	ASSERT_TRUE(moved.HasValue());
	EXPECT_EQ(AsVector(moved.Value()), (std::vector<API_Guid>{side0, side3}));
	EXPECT_TRUE(toDelete.IsEmpty());
	ExpectUnmoved();
	EXPECT_EQ(Keys(edges), (std::vector<int>{1, 2, 5, 6}));
}

TEST_F(ColumnCoveringsUpdate, AMovedColumnTakesTheFittingCoveringAlong)
{
	// Moved to the top left corner: side 3 lies along edge 5, side 0 along no
	// edge, and side 2, which has no covering, along edge 4.
	const std::vector<API_Coord> moved = {{0, 0}, {6, 0}, {6, 4}, {0.5, 4}, {0.5, 3.5}, {0, 3.5}};
	AlterColumn([](API_Element& record) { record.column.origoPos = {0, 4}; });
	API_Element record = *HostControl::GetElement(zone);
	GS::UniString("7").CopyUStr(record.zone.roomNoStr, 32);
	HostControl::SetElement(record);
	ZoneEdgeMap edges = OutlineEdges(moved);
	auto result = Update(edges);
	ASSERT_TRUE(result.HasValue());
	EXPECT_EQ(AsVector(result.Value()), std::vector<API_Guid>{side3});
	ExpectSpans(side3, {0.5, 3.5}, {0, 3.5});
	EXPECT_EQ(ElementId(side3), "COV - Z7 - 3") << "the number stays, the zone's is refreshed";
	EXPECT_EQ(AsVector(toDelete), std::vector<API_Guid>{side0});
	EXPECT_EQ(Keys(edges), (std::vector<int>{1, 2, 3, 4, 6})) << "no covering is made on edge 4";
	EXPECT_EQ(HostControl::Elements(API_WallID).size(), 2u);
}

TEST_F(ColumnCoveringsUpdate, AfterAQuarterTurnCoveringsFollowTheColumnsOwnSides)
{
	AlterColumn([](API_Element& record) {
		record.column.axisRotationAngle = quarterTurn / 2;
		record.column.profileRotationAngle = quarterTurn / 2;
	});
	API_Element covering = *HostControl::GetElement(side0);
	covering.wall.angle = 0.3;
	covering.wall.flipped = true;
	covering.wall.height = 2.9;
	HostControl::SetElement(covering);
	ZoneEdgeMap edges = OutlineEdges(outline);
	auto moved = Update(edges);
	ASSERT_TRUE(moved.HasValue());
	EXPECT_EQ(AsVector(moved.Value()), std::vector<API_Guid>{side0});
	ExpectSpans(side0, {6, 3.5}, {5.5, 3.5});
	EXPECT_EQ(HostControl::GetElement(side0)->wall.height, 2.9) << "only the placement changes";
	EXPECT_EQ(RecordedSide(side0), 0u);
	EXPECT_EQ(ElementId(side0), "COV - Z1 - 4");
	EXPECT_EQ(AsVector(toDelete), std::vector<API_Guid>{side3});
	EXPECT_EQ(Keys(edges), (std::vector<int>{1, 2, 6, 4, 5}));
}

TEST_F(ColumnCoveringsUpdate, AColumnThatNoLongerQualifiesHandsOutAllItsCoverings)
{
	API_ColumnSegmentType round = Segment({{6, 4}});
	round.circleBased = true;
	API_ColumnSegmentType profile = Segment({{6, 4}});
	profile.structureType = 2;
	const struct {
		const char* name;
		void (*alterRecord)(API_Element&);
		std::optional<API_ColumnSegmentType> segment;
		bool inZone;
		bool emptyTable;
	} rows[] = {
	    {"left the zone", nullptr, std::nullopt, false, false},
	    {"slanted", [](API_Element& c) { c.column.isSlanted = true; }, std::nullopt, true, false},
	    {"two segments", [](API_Element& c) { c.column.nSegments = 2; }, std::nullopt, true, false},
	    {"no longer bounding zones", [](API_Element& c) { c.column.zoneRel = APIZRel_None; }, std::nullopt, true,
	     false},
	    {"round", nullptr, round, true, false},
	    {"profile", nullptr, profile, true, false},
	    {"no free edges", nullptr, std::nullopt, true, true},
	};
	for (const auto& row : rows) {
		SCOPED_TRACE(row.name);
		SetUp();
		if (row.alterRecord != nullptr)
			AlterColumn(row.alterRecord);
		if (row.segment.has_value())
			ReplaceSegments(row.segment);
		ZoneEdgeMap edges = row.emptyTable ? ZoneEdgeMap() : OutlineEdges(outline);
		auto moved = Update(edges, row.inZone);
		ASSERT_TRUE(moved.HasValue());
		EXPECT_TRUE(moved.Value().IsEmpty());
		EXPECT_EQ(AsVector(toDelete), (std::vector<API_Guid>{side0, side3}));
		EXPECT_EQ(Keys(edges).size(), row.emptyTable ? 0u : 6u);
		EXPECT_TRUE(HostControl::ReportLines().empty());
		EXPECT_EQ(LinkedWith(zone, LinkZoneColumn), std::vector<API_Guid>{column});
		ExpectUnmoved();
		toDelete.Clear();
	}
}

TEST_F(ColumnCoveringsUpdate, DamagedDataEndsTheUpdateWithItsCode)
{
	const struct {
		const char* name;
		std::function<void()> damage;
		ErrCode expected;
		bool side0Moved; // the Element ID is read only after the move
	} rows[] = {
	    {"a covering without a record", [this] { HostControl::RemoveUserData(side3); }, APIERR_NOUSERDATA, false},
	    {"two coverings on one side", [this] { StoreSide(side3, 0); }, COVERR_USERDATA, false},
	    {"a record of version 2",
	     [this] {
		     HostControl::SetUserData(side3, {2, 0x6D6D, 0, std::vector<char>(4)});
	     },
	     COVERR_USERDATA, false},
	    {"a record too short",
	     [this] {
		     HostControl::SetUserData(side3, {1, 0x6D6D, 0, std::vector<char>(2)});
	     },
	     COVERR_USERDATA, false},
	    {"no segment list", [this] { ReplaceSegments(std::nullopt); }, COVERR_GENERAL, false},
	    {"a malformed Element ID", [this] { SetCovElementId(side0, GS::UniString("1 - 2"), 4); }, COVERR_ID, true},
	};
	for (const auto& row : rows) {
		SCOPED_TRACE(row.name);
		SetUp();
		AlterColumn([](API_Element& record) { record.column.origoPos = {6, 3.9}; });
		row.damage();
		// Without damage both coverings would move onto edges 4 and 3.
		ZoneEdgeMap edges = OutlineEdges({{0, 0}, {6, 0}, {6, 3.4}, {5.5, 3.4}, {5.5, 4}, {0, 4}});
		EXPECT_EQ(Update(edges).Error(), row.expected);
		EXPECT_TRUE(toDelete.IsEmpty());
		if (row.side0Moved)
			ExpectSpans(side0, {5.5, 3.4}, {5.5, 4});
		else
			ExpectUnmoved();
	}
}

TEST_F(ColumnCoveringsUpdate, ACoveringLinkToAnotherKindOfElementIsRefused)
{
	// A damaged link makes a slab the covering of side 0.
	API_Guid slab = HostControl::AddElement(ModelBuilder::NewRecord(API_SlabID));
	ASSERT_EQ(ACAPI_ElementLink_Unlink(column, side0), NoError);
	HostControl::AddLink(column, slab, LinkElemCovering);
	HostControl::AddLink(zone, slab, LinkZoneCovering);
	StoreSide(slab, 0);
	API_Element before = *HostControl::GetElement(slab);
	ZoneEdgeMap edges = OutlineEdges(outline);
	EXPECT_EQ(Update(edges).Error(), APIERR_BADELEMENTTYPE);
	API_Element after = *HostControl::GetElement(slab);
	EXPECT_EQ(std::memcmp(&before, &after, sizeof(API_Element)), 0);
	EXPECT_TRUE(toDelete.IsEmpty());
}

TEST_F(ColumnCoveringsUpdate, ASideOutsideTheRectangleIsHandedOut)
{
	StoreSide(side3, 7);
	ZoneEdgeMap edges = OutlineEdges(outline);
	auto moved = Update(edges);
	ASSERT_TRUE(moved.HasValue());
	EXPECT_EQ(AsVector(moved.Value()), std::vector<API_Guid>{side0});
	EXPECT_EQ(AsVector(toDelete), std::vector<API_Guid>{side3});
}

TEST_F(ColumnCoveringsUpdate, OnlyCoveringLinksThatTheZoneSharesCount)
{
	// A covering the zone no longer links, and another element the column
	// links with another flag, are neither moved nor handed out.
	API_Guid other = ModelBuilder::AddWall({0, 0}, {1, 0});
	HostControl::AddLink(column, other, LinkCoveringHole);
	HostControl::AddLink(zone, other, LinkZoneWall);
	ASSERT_EQ(ACAPI_ElementLink_Unlink(zone, side3), NoError);
	ZoneEdgeMap edges = OutlineEdges(outline);
	auto moved = Update(edges);
	ASSERT_TRUE(moved.HasValue()) << moved.Error();
	EXPECT_EQ(AsVector(moved.Value()), std::vector<API_Guid>{side0});
	EXPECT_TRUE(toDelete.IsEmpty());
}

TEST(ColumnCoveringsUpdateFaults, AFailingCallEndsTheUpdateWithoutHandingOut)
{
	API_Guid column = APINULLGuid;
	API_Guid zone = APINULLGuid;
	GS::Array<API_Guid> toDelete;
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL,
	    [&] {
		    column = AddColumn({{6, 4}});
		    zone = AddRoom(cornerRoom, {column});
		    ZoneOnAdd add(zone);
		    ASSERT_EQ(add.CoverColumns().Value().GetSize(), 2u);
		    API_Element record = *HostControl::GetElement(column);
		    record.column.axisRotationAngle = quarterTurn;
		    HostControl::SetElement(record);
		    toDelete.Clear();
	    },
	    [&] {
		    GS::Array<API_Guid> zoneLinks;
		    for (const HostControl::Link& link : HostControl::LinksFrom(zone))
			    zoneLinks.Push(link.to);
		    ZoneEdgeMap edges = OutlineEdges(cornerRoom);
		    return UpdateColumnCoverings(column, *HostControl::GetElement(zone), zoneLinks, {column}, edges, toDelete)
		        .Error();
	    },
	    [&](const FaultRun& run, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    EXPECT_EQ(run.callsMade.back(), run.failedCall);
		    EXPECT_TRUE(toDelete.IsEmpty());
	    });
	EXPECT_GT(failed, 6u);
}

} // namespace
