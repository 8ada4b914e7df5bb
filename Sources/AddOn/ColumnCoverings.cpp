#include "ColumnCoverings.hpp"

#include <cmath>
#include <optional>

#include "API/Commands.hpp"
#include "CoveringElementSource.hpp"
#include "CoveringIdentity.hpp"
#include "ElementReading.hpp"
#include "GS/Memory.hpp"
#include "ScopeGuards.hpp"

using Geometry::Point2d;
using Geometry::Vector2d;

namespace {

constexpr Int32 profileStructure = 2;
constexpr UInt32 sideCount = 4;

const API_ElemType columnType = {API_ColumnID, APIVarId_Generic, APINULLGuid};

// Why a column gets no coverings, or that it may get them.
enum class ColumnVerdict { Coverable, NotBounding, Slanted, MultiSegment, Round, Profile };

// A column as the coverings see it: the verdict of the column test and, for a
// coverable column, the four sides of its rectangle, indexed by side number.
struct TestedColumn {
	ColumnVerdict verdict;
	GS::Array<Sector> sides;
};

// A covering made during the add, with the side it lies on.
struct LocalCovering {
	API_Guid coveringGuid;
	Int32 side;
};

// Per column, in the order of each column's first covering.
using CoveringsByColumn = GS::HashTable<API_Guid, GS::Array<LocalCovering>>;

// Sides 0 to 3 at local x = -a/2, y = +b/2, x = +a/2, y = -b/2: the outline
// runs clockwise, each side from its first corner to its second.
GS::Array<Sector> ColumnSides(const API_ColumnType& column, const API_ColumnSegmentType& segment)
{
	Point2d centre = ToPoint(column.origoPos);
	double turn = column.axisRotationAngle + column.profileRotationAngle;
	Vector2d u = Vector2d(std::cos(turn), std::sin(turn)) * (segment.nominalWidth / 2.0);
	Vector2d v = Vector2d(-std::sin(turn), std::cos(turn)) * (segment.nominalDepth / 2.0);
	Point2d p0 = centre - u - v;
	Point2d p1 = centre + u - v;
	Point2d p2 = centre + u + v;
	Point2d p3 = centre - u + v;
	return {Sector(p0, p3), Sector(p3, p2), Sector(p2, p1), Sector(p1, p0)};
}

// The checks in the order in which the first failing one decides.
CovResult<TestedColumn> TestColumn(const API_Guid& guid)
{
	API_Element record;
	if (ErrCode error = ReadElement(API_ZombieElemID, guid, record); error != NoError)
		return CovError{error};
	const API_ColumnType& column = record.column;
	if (column.zoneRel != APIZRel_Boundary)
		return TestedColumn{ColumnVerdict::NotBounding, {}};
	if (column.isSlanted)
		return TestedColumn{ColumnVerdict::Slanted, {}};
	if (column.nSegments != 1)
		return TestedColumn{ColumnVerdict::MultiSegment, {}};
	API_ElementMemo memo = {};
	MemoGuard memoGuard(memo);
	if (ErrCode error = ACAPI_Element_GetMemo(guid, &memo, APIMemoMask_ColumnSegment); error != NoError)
		return CovError{error};
	// A column that claims one segment but whose memo holds none is damaged.
	GSSize segmentBytes = BMGetPtrSize(reinterpret_cast<GSConstPtr>(memo.columnSegments));
	if (segmentBytes < static_cast<GSSize>(sizeof(API_ColumnSegmentType)))
		return CovError{COVERR_GENERAL};
	const API_ColumnSegmentType& segment = memo.columnSegments[0];
	if (segment.circleBased)
		return TestedColumn{ColumnVerdict::Round, {}};
	if (segment.structureType == profileStructure)
		return TestedColumn{ColumnVerdict::Profile, {}};
	return TestedColumn{ColumnVerdict::Coverable, ColumnSides(column, segment)};
}

// The report line of a column that the add ignores; none for one that does not bound zones.
const char* IgnoredColumnLine(ColumnVerdict verdict)
{
	switch (verdict) {
	case ColumnVerdict::Slanted:
		return "Slanted column ignored.";
	case ColumnVerdict::MultiSegment:
		return "Column with more than 1 segment ignored.";
	case ColumnVerdict::Round:
		return "Round column ignored.";
	case ColumnVerdict::Profile:
		return "Profile column ignored.";
	default:
		return nullptr;
	}
}

ErrCode ReportIgnoredColumn(ColumnVerdict verdict)
{
	const char* line = IgnoredColumnLine(verdict);
	return line == nullptr ? NoError : ACAPI_WriteReport(GS::UniString(line), false);
}

// Only a shared stretch counts: sectors that merely touch or cross do not.
bool RunsAlong(const Sector& side, const Sector& edge)
{
	Geometry::Tolerance tolerance{Geometry::AngleTolerance(), Geometry::DistanceTolerance()};
	return std::holds_alternative<Sector>(Geometry::Intersect(side, edge, tolerance));
}

// The first edge along the side in the table's walk order.
std::optional<ZoneEdgeMap::Entry> EdgeAlong(const ZoneEdgeMap& edges, const Sector& side)
{
	for (const ZoneEdgeMap::Entry& entry : edges) {
		if (RunsAlong(side, entry.value))
			return entry;
	}
	return std::nullopt;
}

// A column covering always spans its whole zone edge, straight.
void PlaceOnWholeEdge(API_Element& covering, const Sector& edge)
{
	covering.wall.begC = ToCoord(edge.BegPoint());
	covering.wall.endC = ToCoord(edge.EndPoint());
	covering.wall.angle = 0.0;
	covering.wall.flipped = false;
}

// Removed one after the other in arc order: the walk order left behind depends on it.
void DropCurvedEdges(ZoneEdgeMap& edges, const ZonePolygon& polygon)
{
	for (Int32 i = 0; i < polygon.arcCount; ++i)
		edges.Delete(polygon.arcs[i].begIndex);
}

ErrCode CoverColumn(const API_Guid& column, const GS::Array<Sector>& sides, ZoneEdgeMap& edges, const API_Element& zone,
                    const API_Element& coveringTemplate, CoveringsByColumn& byColumn, GS::Array<API_Guid>& made)
{
	for (UInt32 side = 0; side < sideCount; ++side) {
		std::optional<ZoneEdgeMap::Entry> edge = EdgeAlong(edges, sides[side]);
		if (!edge.has_value())
			continue;
		API_Element covering = coveringTemplate;
		PlaceOnWholeEdge(covering, edge->value);
		CovResult<API_Guid> guid = MakeCoveringWall(covering, zone, column, static_cast<UInt32>(edge->key));
		if (!guid.HasValue())
			return guid.Error();
		if (!byColumn.ContainsKey(column))
			byColumn.Add(column, {});
		byColumn.Get(column).Push({guid.Value(), static_cast<Int32>(side)});
		made.Push(guid.Value());
		edges.Delete(edge->key);
	}
	return NoError;
}

// Each covering's side through one payload handle, then each column's link from the zone.
ErrCode RecordSidesAndLinkColumns(const API_Guid& zone, const CoveringsByColumn& byColumn)
{
	CoveringNumberWriter writer;
	if (ErrCode error = writer.Status(); error != NoError)
		return error;
	for (const CoveringsByColumn::Entry& column : byColumn) {
		for (const LocalCovering& covering : column.value) {
			ErrCode error = writer.Store(covering.coveringGuid, static_cast<UInt32>(covering.side));
			if (error != NoError)
				return error;
		}
		if (ErrCode error = ACAPI_ElementLink_Link(zone, column.key, LinkZoneColumn); error != NoError)
			return error;
	}
	return NoError;
}

// The coverings of a column that the update found, with the side each records.
struct FoundCoverings {
	GS::Array<API_Guid> remaining; // in link order; a moved covering leaves the list
	GS::HashTable<UInt32, API_Guid> bySide;
};

// The column's coverings are its covering links that the zone links too.
CovResult<FoundCoverings> FindCoverings(const API_Guid& column, const GS::Array<API_Guid>& zoneLinks)
{
	FoundCoverings found;
	ErrCode walkError = VisitLinks(column, [&](const API_Guid& target, UInt32 flag) -> CovResult<LinkWalk> {
		if (flag != LinkElemCovering || !zoneLinks.Contains(target))
			return LinkWalk::Continue;
		UInt32 side = 0;
		if (ErrCode error = GetCoveringNumber(target, side); error != NoError)
			return CovError{error};
		found.remaining.Push(target);
		if (!found.bySide.Add(side, target))
			return CovError{COVERR_USERDATA};
		return LinkWalk::Continue;
	});
	if (walkError != NoError)
		return CovError{walkError};
	return found;
}

// Only the placement changes; the covering's number stays and the zone's
// current number is written with it.
ErrCode MoveOntoEdge(const API_Guid& covering, const Sector& edge, const API_Element& zone)
{
	API_Element record;
	if (ErrCode error = ReadElement(API_ZombieElemID, covering, record); error != NoError)
		return error;
	// A damaged link may point at another kind of element, which must not
	// receive a wall's fields.
	if (record.header.type.typeID != API_WallID)
		return APIERR_BADELEMENTTYPE;
	PlaceOnWholeEdge(record, edge);
	API_Element mask = CoveringPlacementMask();
	if (ErrCode error = ACAPI_Element_Change(&record, &mask, nullptr, 0, true); error != NoError)
		return error;
	UInt32 number = 0;
	if (ErrCode error = GetCovElementIdNr(covering, number); error != NoError)
		return error;
	return SetCovElementId(covering, ZoneNumberText(zone), number);
}

CovResult<GS::Array<API_Guid>> HandOutForDeletion(const GS::Array<API_Guid>& coverings, GS::Array<API_Guid>& toDelete)
{
	toDelete.Append(coverings);
	return GS::Array<API_Guid>();
}

} // namespace

CovResult<GS::Array<API_Guid>> CreateColumnCoverings(ZoneEdgeMap& edges, const API_Element& zone,
                                                     const API_ElementMemo& zoneMemo,
                                                     const API_Element& coveringTemplate)
{
	API_RoomRelation relation;
	RoomRelationGuard releaseNiches(relation);
	if (ErrCode error = ACAPI_Element_GetRelations(zone.header.guid, columnType, &relation, 0); error != NoError)
		return CovError{error};
	const GS::Array<API_Guid>* columns = relation.elementsGroupedByType.GetPtr(columnType);
	if (columns == nullptr)
		return GS::Array<API_Guid>();
	DropCurvedEdges(edges, ZonePolygon(zone, zoneMemo));
	GS::Array<API_Guid> made;
	CoveringsByColumn byColumn;
	for (const API_Guid& column : *columns) {
		CovResult<TestedColumn> tested = TestColumn(column);
		if (!tested.HasValue())
			return CovError{tested.Error()};
		const TestedColumn& outline = tested.Value();
		if (outline.verdict != ColumnVerdict::Coverable) {
			if (ErrCode error = ReportIgnoredColumn(outline.verdict); error != NoError)
				return CovError{error};
			continue;
		}
		ErrCode error = CoverColumn(column, outline.sides, edges, zone, coveringTemplate, byColumn, made);
		if (error != NoError)
			return CovError{error};
	}
	if (ErrCode error = RecordSidesAndLinkColumns(zone.header.guid, byColumn); error != NoError)
		return CovError{error};
	return made;
}

CovResult<GS::Array<API_Guid>> UpdateColumnCoverings(const API_Guid& column, const API_Element& zone,
                                                     const GS::Array<API_Guid>& zoneLinks,
                                                     const GS::Array<API_Guid>& roomColumns, ZoneEdgeMap& edges,
                                                     GS::Array<API_Guid>& toDelete)
{
	CovResult<FoundCoverings> found = FindCoverings(column, zoneLinks);
	if (!found.HasValue())
		return CovError{found.Error()};
	GS::Array<API_Guid>& remaining = found.Value().remaining;
	if (!roomColumns.Contains(column))
		return HandOutForDeletion(remaining, toDelete);
	CovResult<TestedColumn> tested = TestColumn(column);
	if (!tested.HasValue())
		return CovError{tested.Error()};
	const TestedColumn& outline = tested.Value();
	if (outline.verdict != ColumnVerdict::Coverable || edges.IsEmpty())
		return HandOutForDeletion(remaining, toDelete);
	GS::Array<API_Guid> moved;
	for (UInt32 side = 0; side < sideCount && !remaining.IsEmpty(); ++side) {
		std::optional<ZoneEdgeMap::Entry> edge = EdgeAlong(edges, outline.sides[side]);
		const API_Guid* covering = found.Value().bySide.GetPtr(side);
		if (!edge.has_value() || covering == nullptr)
			continue;
		if (!remaining.DeleteFirst(*covering))
			return CovError{COVERR_UPDATE_INCONSISTENCY};
		if (ErrCode error = MoveOntoEdge(*covering, edge->value, zone); error != NoError)
			return CovError{error};
		moved.Push(*covering);
		edges.Delete(edge->key);
	}
	toDelete.Append(remaining);
	return moved;
}
