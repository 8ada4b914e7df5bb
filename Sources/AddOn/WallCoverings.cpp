#include "WallCoverings.hpp"

#include <algorithm>
#include <cmath>

#include "API/Commands.hpp"
#include "API/Grouping.hpp"
#include "API/Relations.hpp"
#include "ColumnCoverings.hpp"
#include "CoveringElementSource.hpp"
#include "CoveringHoles.hpp"
#include "CoveringIdentity.hpp"
#include "ElementReading.hpp"
#include "GS/HashTable.hpp"
#include "ScopeGuards.hpp"
#include "WallCoveringGeometry.hpp"
#include "ZonePolygon.hpp"

namespace {

// The coverings of one wall in creation order, each with its zone edge.
struct CoveringsOfWall {
	GS::Array<API_Guid> coverings;
	GS::Array<int> edges;
};

// What one call has made so far, in the orders the later steps rely on.
struct MadeCoverings {
	// Walls in the order in which they received their first covering.
	GS::HashTable<API_Guid, CoveringsOfWall> perWall;
	GS::Array<int> usedEdges; // in first-use order
	GS::Array<API_Guid> coverings;
	GS::Array<API_Guid> doorHoles;
	GS::Array<API_Guid> windowHoles;

	void Add(const API_Guid& wall, const API_Guid& covering, int edge)
	{
		perWall.Add(wall, {});
		perWall.Get(wall).coverings.Push(covering);
		perWall.Get(wall).edges.Push(edge);
		coverings.Push(covering);
		if (!usedEdges.Contains(edge))
			usedEdges.Push(edge);
	}

	GS::Array<API_Guid> AllElements() const
	{
		GS::Array<API_Guid> all = coverings;
		all.Append(doorHoles);
		all.Append(windowHoles);
		return all;
	}
};

bool HasFinitePlacement(const API_WallType& covering)
{
	return std::isfinite(covering.begC.x) && std::isfinite(covering.begC.y) && std::isfinite(covering.endC.x) &&
	       std::isfinite(covering.endC.y) && std::isfinite(covering.angle);
}

// Covers the parts of the zone's boundary walls one by one.
class WallPartCoverer {
public:
	WallPartCoverer(const API_Element& zone, const ZonePolygon& polygon, const ZoneEdgeMap& edges,
	                const API_Element& coveringTemplate, const WallCovSettings& settings, MadeCoverings& made)
	    : zone(zone), polygon(polygon), edges(edges), coveringTemplate(coveringTemplate), settings(settings), made(made)
	{
	}

	ErrCode Cover(const API_WallPart& part)
	{
		const Sector* edge = edges.GetPtr(part.roomEdge);
		if (edge == nullptr)
			return NoError;
		double edgeArcAngle = GetZoneEdgeAngle(polygon, part.roomEdge);
		API_Element wall;
		if (ErrCode error = ReadElement(API_WallID, part.guid, wall); error != NoError)
			return error;
		if (wall.wall.zoneRel != APIZRel_Boundary)
			return NoError;
		API_Element covering = coveringTemplate;
		bool wholeEdge = CalcCoveringGeometry(covering, edgeArcAngle, edge->BegPoint(), edge->EndPoint(), wall, part);
		// A curved wall whose ends coincide has no radius to place the part by.
		if (!HasFinitePlacement(covering.wall))
			return COVERR_GENERAL;
		CovResult<API_Guid> madeCovering =
		    MakeCoveringWall(covering, zone, wall.header.guid, static_cast<UInt32>(part.roomEdge));
		if (!madeCovering.HasValue())
			return madeCovering.Error();
		covering.header.guid = madeCovering.Value();
		made.Add(wall.header.guid, covering.header.guid, part.roomEdge);
		if (wholeEdge)
			return NoError;
		if (ErrCode error = MakeHoles(API_DoorID, settings.doorHoles, wall, part, covering, made.doorHoles);
		    error != NoError)
			return error;
		return MakeHoles(API_WindowID, settings.windowHoles, wall, part, covering, made.windowHoles);
	}

private:
	ErrCode MakeHoles(API_ElemTypeID type, const ElementCovSettings& kind, const API_Element& wall,
	                  const API_WallPart& part, const API_Element& covering, GS::Array<API_Guid>& holes)
	{
		if (!kind.enabled)
			return NoError;
		return AddCoveringHoles(wall, part, covering, type, kind, zone.header.guid, holes);
	}

	const API_Element& zone;
	const ZonePolygon& polygon;
	const ZoneEdgeMap& edges;
	const API_Element& coveringTemplate;
	const WallCovSettings& settings;
	MadeCoverings& made;
};

ErrCode GiveCoveringsPCCAndGroup(const MadeCoverings& made, ElementSource& source)
{
	if (made.coverings.IsEmpty())
		return NoError;
	ClassificationList defaults;
	if (ErrCode error = GetDefaultClassificationItems(API_WallID, defaults); error != NoError)
		return error;
	if (ErrCode error = source.ApplyPCC(made.coverings, defaults); error != NoError)
		return error;
	return ACAPI_Grouping_CreateGroup(made.coverings, nullptr, nullptr);
}

ErrCode GiveHolesPCC(const WallCovSettings& settings, const GS::Array<API_Guid>& doorHoles,
                     const GS::Array<API_Guid>& windowHoles)
{
	if (ErrCode error = SetPCCForNewOpenings(API_DoorID, settings.doorHoles, doorHoles); error != NoError)
		return error;
	return SetPCCForNewOpenings(API_WindowID, settings.windowHoles, windowHoles);
}

// Each covering of the wall gets its rank along the zone polygon as its order
// number; then the zone is linked to the wall.
ErrCode NumberCoveringsAndLinkWall(const API_Guid& zone, const API_Guid& wall, const CoveringsOfWall& made)
{
	GS::Array<UInt32> order = SortIndices(made.edges);
	CoveringNumberWriter writer;
	if (ErrCode error = writer.Status(); error != NoError)
		return error;
	for (UInt32 k = 0; k < order.GetSize(); ++k) {
		if (ErrCode error = writer.Store(made.coverings[order[k]], k); error != NoError)
			return error;
	}
	return ACAPI_ElementLink_Link(zone, wall, LinkZoneWall);
}

ErrCode NumberAndLinkWalls(const API_Guid& zone, const MadeCoverings& made)
{
	for (const auto& entry : made.perWall) {
		if (ErrCode error = NumberCoveringsAndLinkWall(zone, entry.key, entry.value); error != NoError)
			return error;
	}
	return NoError;
}

ErrCode AddColumnCoverings(ZoneEdgeMap& edges, const API_Element& zone, const API_ElementMemo& zoneMemo,
                           const API_Element& coveringTemplate, MadeCoverings& made)
{
	// The edges that wall coverings took are no column's; the order of their
	// removal decides the order in which the columns meet the others.
	for (int edge : made.usedEdges)
		edges.Delete(edge);
	CovResult<GS::Array<API_Guid>> columnCoverings = CreateColumnCoverings(edges, zone, zoneMemo, coveringTemplate);
	if (!columnCoverings.HasValue())
		return columnCoverings.Error();
	made.coverings.Append(columnCoverings.Value());
	return NoError;
}

// The add numbers a wall's coverings along the zone's edges, and no wall
// bounds a zone in nearly this many parts: a larger number is damaged data and
// must not decide how long the slot list grows.
constexpr UInt32 orderNumberLimit = 0x10000;

// The coverings by order number, null where none has the number; at least
// partCount entries. Every number is checked before any slot is filled.
CovResult<GS::Array<API_Guid>> SlotsByOrderNumber(const GS::Array<API_Guid>& coverings, USize partCount)
{
	GS::Array<UInt32> numbers;
	USize slotCount = partCount;
	for (const API_Guid& covering : coverings) {
		UInt32 number = 0;
		if (ErrCode error = GetCoveringNumber(covering, number); error != NoError)
			return CovError{error};
		// Two coverings with one number would leave one of them neither re-fitted nor deleted.
		if (number >= orderNumberLimit || numbers.Contains(number))
			return CovError{COVERR_USERDATA};
		numbers.Push(number);
		slotCount = std::max<USize>(slotCount, number + 1);
	}
	GS::Array<API_Guid> slots;
	for (USize i = 0; i < slotCount; ++i)
		slots.Push(APINULLGuid);
	for (UIndex i = 0; i < numbers.GetSize(); ++i)
		slots[numbers[i]] = coverings[i];
	return slots;
}

bool IsZoneEdge(const ZonePolygon& polygon, Int32 edge)
{
	return edge >= 1 && edge < polygon.coordCount && !polygon.IsContourEnd(edge);
}

// Whether the wall still bounds zones and each of its parts names a record of
// this wall in the relation and an edge of the zone polygon.
bool PartsFitWall(const API_Element& wall, const GS::Array<unsigned int>& parts, const GS::Array<int>& edges,
                  const API_RoomRelation& relation, const ZonePolygon& polygon)
{
	if (wall.wall.zoneRel != APIZRel_Boundary || parts.GetSize() != edges.GetSize())
		return false;
	for (UIndex i = 0; i < parts.GetSize(); ++i) {
		if (parts[i] >= relation.wallPart.GetSize())
			return false;
		const API_WallPart& part = relation.wallPart[parts[i]];
		if (part.guid != wall.header.guid || part.roomEdge != edges[i] || !IsZoneEdge(polygon, part.roomEdge))
			return false;
	}
	return true;
}

// The targets of the element's links that carry the flag, in link order.
CovResult<GS::Array<API_Guid>> LinkedWithFlag(const API_Guid& element, CoveringsLinkFlags wanted)
{
	GS::Array<API_Guid> targets;
	ErrCode error = VisitLinks(element, [&](const API_Guid& target, UInt32 flag) -> CovResult<LinkWalk> {
		if (flag == wanted)
			targets.Push(target);
		return LinkWalk::Continue;
	});
	if (error != NoError)
		return CovError{error};
	return targets;
}

// Deletes the holes whose opening is gone (a hole without links) and returns
// the others; COVERR_HOLE_LINKS for a hole linked to several elements.
CovResult<GS::Array<API_Guid>> DropOrphanHoles(const GS::Array<API_Guid>& holes)
{
	GS::Array<API_Guid> linked;
	for (const API_Guid& hole : holes) {
		GS::Array<API_Guid> targets;
		if (ErrCode error = ACAPI_ElementLink_GetLinks(hole, &targets); error != NoError)
			return CovError{error};
		if (targets.GetSize() >= 2)
			return CovError{COVERR_HOLE_LINKS};
		if (!targets.IsEmpty()) {
			linked.Push(hole);
		} else if (ErrCode error = ACAPI_Element_Delete({hole}); error != NoError) {
			return CovError{error};
		}
	}
	return linked;
}

// Moves the coverings of one wall onto its parts and brings their holes in line.
class WallCoveringRefitter {
public:
	WallCoveringRefitter(const API_Element& zone, const ZonePolygon& polygon, const API_Element& wall,
	                     const WallCovSettings& settings, ZoneHoleKinds holeKinds)
	    : zone(zone), polygon(polygon), wall(wall), settings(settings), holeKinds(holeKinds)
	{
	}

	ErrCode Refit(const API_Guid& coveringGuid, const API_WallPart& part)
	{
		API_Element covering;
		if (ErrCode error = ReadElement(API_WallID, coveringGuid, covering); error != NoError)
			return error;
		Int32 edge = part.roomEdge;
		bool wholeEdge = CalcCoveringGeometry(covering, GetZoneEdgeAngle(polygon, edge), ToPoint(polygon.coords[edge]),
		                                      ToPoint(polygon.coords[edge + 1]), wall, part);
		// A curved wall whose ends coincide has no radius to place the part by.
		if (!HasFinitePlacement(covering.wall))
			return COVERR_GENERAL;
		API_Element mask = CoveringPlacementMask();
		if (ErrCode error = ACAPI_Element_Change(&covering, &mask, nullptr, 0, true); error != NoError)
			return error;
		result.Push(coveringGuid);
		UInt32 number = 0;
		if (ErrCode error = GetCovElementIdNr(coveringGuid, number); error != NoError)
			return error;
		if (ErrCode error = SetCovElementId(coveringGuid, ZoneNumberText(zone), number); error != NoError)
			return error;
		CovResult<GS::Array<API_Guid>> holes = LinkedWithFlag(coveringGuid, LinkCoveringHole);
		if (!holes.HasValue())
			return holes.Error();
		if (wholeEdge)
			return ACAPI_Element_Delete(holes.Value());
		CovResult<GS::Array<API_Guid>> linkedHoles = DropOrphanHoles(holes.Value());
		if (!linkedHoles.HasValue())
			return linkedHoles.Error();
		if (holeKinds.doorHoles) {
			ErrCode error =
			    UpdateHoles(API_DoorID, settings.doorHoles, part, covering, linkedHoles.Value(), newDoorHoles);
			if (error != NoError)
				return error;
		}
		if (!holeKinds.windowHoles)
			return NoError;
		return UpdateHoles(API_WindowID, settings.windowHoles, part, covering, linkedHoles.Value(), newWindowHoles);
	}

	ErrCode GiveNewHolesPCC() const { return GiveHolesPCC(settings, newDoorHoles, newWindowHoles); }

	const GS::Array<API_Guid>& Result() const { return result; }

private:
	ErrCode UpdateHoles(API_ElemTypeID type, const ElementCovSettings& kind, const API_WallPart& part,
	                    const API_Element& covering, const GS::Array<API_Guid>& holes, GS::Array<API_Guid>& newHoles)
	{
		CovResult<HoleUpdate> updated = UpdateCoveringHoles(
		    wall, part, covering, holes, {type, APIVarId_Generic, APINULLGuid}, kind, zone.header.guid);
		if (!updated.HasValue())
			return updated.Error();
		result.Append(updated.Value().keptHoles);
		result.Append(updated.Value().newHoles);
		newHoles.Append(updated.Value().newHoles);
		return NoError;
	}

	const API_Element& zone;
	const ZonePolygon& polygon;
	const API_Element& wall;
	const WallCovSettings& settings;
	ZoneHoleKinds holeKinds;
	GS::Array<API_Guid> result;
	GS::Array<API_Guid> newDoorHoles;
	GS::Array<API_Guid> newWindowHoles;
};

void HandOutSurplus(const GS::Array<API_Guid>& slots, USize partCount, GS::Array<API_Guid>& toDelete)
{
	for (UIndex k = partCount; k < slots.GetSize(); ++k) {
		if (slots[k] != APINULLGuid)
			toDelete.Push(slots[k]);
	}
}

} // namespace

CovResult<GS::Array<API_Guid>> CreateWallCoverings(const API_Element& zone, const API_ElementMemo& zoneMemo,
                                                   const WallCovSettings& settings)
{
	API_RoomRelation relation;
	// The relation hands over the niche outlines of the zone, which this step does not use.
	RoomRelationGuard releaseNiches(relation);
	if (ErrCode error =
	        ACAPI_Element_GetRelations(zone.header.guid, {API_WallID, APIVarId_Generic, APINULLGuid}, &relation, 0);
	    error != NoError) {
		DBPrintf("Get Room relations has an error. err code %d!\n", error);
		return CovError{error};
	}
	ElementSource source(settings, SourceElementAndPCC);
	if (ErrCode error = source.Fetch(); error != NoError)
		return CovError{error};
	// Coverings are placed through the wall fields of the template; any other
	// kind of record would have unrelated fields overwritten.
	if (source.Template().header.type.typeID != API_WallID)
		return CovError{COVERR_GENERAL};

	ZonePolygon polygon(zone, zoneMemo);
	ZoneEdgeMap edges = MakeZoneEdgeMapForAdd(polygon, settings.innerContours);
	MadeCoverings made;
	WallPartCoverer coverer(zone, polygon, edges, source.Template(), settings, made);
	for (const API_WallPart& part : relation.wallPart) {
		if (ErrCode error = coverer.Cover(part); error != NoError)
			return CovError{error};
	}
	if (settings.columnCoverings) {
		if (ErrCode error = AddColumnCoverings(edges, zone, zoneMemo, source.Template(), made); error != NoError)
			return CovError{error};
	}
	if (ErrCode error = GiveCoveringsPCCAndGroup(made, source); error != NoError)
		return CovError{error};
	if (ErrCode error = GiveHolesPCC(settings, made.doorHoles, made.windowHoles); error != NoError)
		return CovError{error};
	if (ErrCode error = NumberAndLinkWalls(zone.header.guid, made); error != NoError)
		return CovError{error};
	return made.AllElements();
}

CovResult<GS::Array<API_Guid>>
UpdateWallCoverings(const API_Guid& wall, const API_Element& zone, const API_ElementMemo& zoneMemo,
                    const GS::Array<API_Guid>& zoneLinks, const API_RoomRelation& wallRelation,
                    const WallPartIndices& wallPartIndices, const WallPartEdges& wallPartEdges,
                    const WallCovSettings& wallSettings, ZoneHoleKinds holeKinds, GS::Array<API_Guid>& toDelete)
{
	CovResult<GS::Array<API_Guid>> coverings = LinkTargetsAmong(wall, zoneLinks);
	if (!coverings.HasValue())
		return CovError{coverings.Error()};
	const GS::Array<unsigned int>* parts = wallPartIndices.GetPtr(wall);
	if (parts == nullptr) {
		toDelete.Append(coverings.Value());
		return GS::Array<API_Guid>();
	}
	const GS::Array<int>* partEdges = wallPartEdges.GetPtr(wall);
	GS::Array<int> edges = partEdges != nullptr ? *partEdges : GS::Array<int>();
	CovResult<GS::Array<API_Guid>> slots = SlotsByOrderNumber(coverings.Value(), edges.GetSize());
	if (!slots.HasValue())
		return CovError{slots.Error()};
	API_Element wallRecord;
	if (ErrCode error = ReadElement(API_WallID, wall, wallRecord); error != NoError)
		return CovError{error};
	ZonePolygon polygon(zone, zoneMemo);
	if (!PartsFitWall(wallRecord, *parts, edges, wallRelation, polygon))
		return CovError{COVERR_UPDATE_INCONSISTENCY};

	GS::Array<UInt32> order = SortIndices(edges);
	WallCoveringRefitter refitter(zone, polygon, wallRecord, wallSettings, holeKinds);
	for (UIndex k = 0; k < order.GetSize(); ++k) {
		const API_Guid& covering = slots.Value()[k];
		if (covering == APINULLGuid)
			continue;
		if (ErrCode error = refitter.Refit(covering, wallRelation.wallPart[(*parts)[order[k]]]); error != NoError)
			return CovError{error};
	}
	if (ErrCode error = refitter.GiveNewHolesPCC(); error != NoError)
		return CovError{error};
	HandOutSurplus(slots.Value(), edges.GetSize(), toDelete);
	return refitter.Result();
}
