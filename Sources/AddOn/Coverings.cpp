#include "Coverings.hpp"

#include "API/Commands.hpp"
#include "API/Grouping.hpp"
#include "API/Relations.hpp"
#include "ColumnCoverings.hpp"
#include "CoveringIdentity.hpp"
#include "ElementReading.hpp"
#include "PropertyHelpers.hpp"
#include "ScopeGuards.hpp"
#include "SlabCoverings.hpp"
#include "WallCoveringGeometry.hpp"
#include "WallCoverings.hpp"
#include "ZonePolygon.hpp"

namespace {

// Every memo part of the zone but those the engine never reads.
constexpr UInt64 zoneMemoMask = 0x3FFFFFFFBFFFFFFF;

// Keeps the first error of steps that all run whatever the others returned.
void KeepFirstError(ErrCode& first, ErrCode error)
{
	if (first == NoError)
		first = error;
}

ErrCode ToggleGroupSuspension()
{
	return ACAPI_Grouping_Tool(GS::Array<API_Guid>(), APITool_SuspendGroups, nullptr);
}

// Runs the changes with the host's group suspension on, so that deleting a
// covering does not take its whole group along, and leaves suspension as the
// user had it. A state that cannot be read counts as off. When suspension
// cannot be switched on, its state is unknown and nothing runs. Failing to
// switch it back off is reported before the changes' own error, which may be
// one that the command only skips the zone for.
template <typename Changes> ErrCode WithGroupsSuspended(Changes changes)
{
	bool on = false;
	if (ACAPI_View_IsSuspendGroupOn(&on) != NoError)
		on = false;
	if (on)
		return changes();
	if (ErrCode error = ToggleGroupSuspension(); error != NoError)
		return error;
	ErrCode result = changes();
	if (ErrCode error = ToggleGroupSuspension(); error != NoError)
		return error;
	return result;
}

// Whether the covering still has the link to the wall or column it covers.
ErrCode HasBaseLink(const API_Guid& covering, bool& hasBase)
{
	hasBase = false;
	return VisitLinks(covering, [&hasBase](const API_Guid&, UInt32 flag) -> CovResult<LinkWalk> {
		hasBase = flag == LinkCoveringElem;
		return hasBase ? LinkWalk::Stop : LinkWalk::Continue;
	});
}

ErrCode AddSlab(SlabCovType type, const SlabCovSettings& settings, const API_Element& zone, const API_ElementMemo& memo,
                GS::Array<API_Guid>& newElements, bool& created)
{
	if (!settings.enabled)
		return NoError;
	CovResult<API_Guid> slab = CreateSlabCovering(type, settings, zone, memo);
	if (!slab.HasValue())
		return slab.Error();
	newElements.Push(slab.Value());
	created = slab.Value() != APINULLGuid;
	return NoError;
}

const API_ElemType wallType = {API_WallID, APIVarId_Generic, APINULLGuid};
const API_ElemType columnType = {API_ColumnID, APIVarId_Generic, APINULLGuid};

// The columns that the zone's room relation lists; none when it lists no columns.
CovResult<GS::Array<API_Guid>> RoomColumns(const API_Guid& zone)
{
	API_RoomRelation relation;
	RoomRelationGuard releaseNiches(relation);
	if (ErrCode error = ACAPI_Element_GetRelations(zone, columnType, &relation, 0); error != NoError)
		return CovError{error};
	const GS::Array<API_Guid>* columns = relation.elementsGroupedByType.GetPtr(columnType);
	return columns == nullptr ? GS::Array<API_Guid>() : *columns;
}

// One update of one zone: what it reads once, hands to the update of each
// linked element, and collects from them.
class ZoneUpdate {
public:
	explicit ZoneUpdate(const WallCovSettings& wallSettings) : wallSettings(wallSettings) {}

	ErrCode Read(const API_Guid& zoneGuid)
	{
		if (ErrCode error = GetZone(zoneGuid, zone, memo); error != NoError)
			return error;
		if (ErrCode error = ACAPI_Element_GetRelations(zoneGuid, wallType, &wallRelation, 0); error != NoError) {
			DBPrintf("Get Room relations has an error. err code %d!\n", error);
			return error;
		}
		TabulateWallParts();
		if (ErrCode error = ACAPI_ElementLink_GetLinks(zoneGuid, &zoneLinks); error != NoError)
			return error;
		if (ErrCode error = GetZoneElementUserData(zone.header, holeKinds.doorHoles, holeKinds.windowHoles);
		    error != NoError)
			return error;
		CovResult<GS::Array<API_Guid>> columns = RoomColumns(zoneGuid);
		if (!columns.HasValue())
			return columns.Error();
		roomColumns = columns.Value();
		edges = MakeZoneEdgeMapForUpdate(ZonePolygon(zone, memo));
		return NoError;
	}

	// Hands each link of the zone to the update of its kind, in link order.
	ErrCode UpdateLinkedElements()
	{
		return VisitLinkFlags(zone.header.guid, zoneLinks,
		                      [this](const API_Guid& target, UInt32 flag) { return UpdateLinked(target, flag); });
	}

	// Deletes the coverings given up, then unlinks the walls that no longer
	// bound the zone: a failed run leaves those walls linked, so that the next
	// update finds their coverings again.
	ErrCode DeleteGivenUp()
	{
		if (ErrCode error = ACAPI_Element_Delete(toDelete); error != NoError)
			return error;
		for (const API_Guid& wall : unboundWalls) {
			if (ErrCode error = ACAPI_ElementLink_Unlink(zone.header.guid, wall); error != NoError)
				return error;
		}
		return NoError;
	}

	const GS::Array<API_Guid>& Updated() const { return updated; }

private:
	void TabulateWallParts()
	{
		for (unsigned int i = 0; i < wallRelation.wallPart.GetSize(); ++i) {
			const API_WallPart& part = wallRelation.wallPart[i];
			wallPartIndices.Add(part.guid, {});
			wallPartEdges.Add(part.guid, {});
			wallPartIndices.Get(part.guid).Push(i);
			wallPartEdges.Get(part.guid).Push(part.roomEdge);
		}
	}

	CovResult<LinkWalk> UpdateLinked(const API_Guid& target, UInt32 flag)
	{
		switch (flag) {
		case LinkZoneWall:
			return Collect(UpdateWall(target));
		case LinkZoneCeiling:
			return Collect(UpdateSlab(target, CeilingCovering));
		case LinkZoneFloor:
			return Collect(UpdateSlab(target, FloorCovering));
		case LinkZoneColumn:
			return Collect(UpdateColumnCoverings(target, zone, zoneLinks, roomColumns, edges, toDelete));
		default: // coverings are reached through their walls and columns
			return LinkWalk::Continue;
		}
	}

	CovResult<GS::Array<API_Guid>> UpdateWall(const API_Guid& wall)
	{
		if (!wallPartIndices.ContainsKey(wall))
			unboundWalls.Push(wall);
		return UpdateWallCoverings(wall, zone, memo, zoneLinks, wallRelation, wallPartIndices, wallPartEdges,
		                           wallSettings, holeKinds, toDelete);
	}

	CovResult<GS::Array<API_Guid>> UpdateSlab(const API_Guid& slab, SlabCovType type)
	{
		if (ErrCode error = UpdateSlabCovering(slab, type, zone, memo); error != NoError)
			return CovError{error};
		return GS::Array<API_Guid>{slab};
	}

	CovResult<LinkWalk> Collect(const CovResult<GS::Array<API_Guid>>& elements)
	{
		if (!elements.HasValue())
			return CovError{elements.Error()};
		updated.Append(elements.Value());
		return LinkWalk::Continue;
	}

	API_Element zone = {};
	API_ElementMemo memo = {};
	MemoGuard releaseMemo{memo};
	API_RoomRelation wallRelation;
	RoomRelationGuard releaseNiches{wallRelation};
	WallPartIndices wallPartIndices;
	WallPartEdges wallPartEdges;
	GS::Array<API_Guid> zoneLinks;
	// The run's hole settings, but the hole kinds of the add.
	const WallCovSettings& wallSettings;
	ZoneHoleKinds holeKinds;
	GS::Array<API_Guid> roomColumns;
	ZoneEdgeMap edges;
	GS::Array<API_Guid> toDelete;
	GS::Array<API_Guid> unboundWalls;
	GS::Array<API_Guid> updated;
};

} // namespace

ErrCode GetZone(const API_Guid& zone, API_Element& element, API_ElementMemo& memo)
{
	if (ErrCode error = ReadElement(API_ZoneID, zone, element); error != NoError) {
		DBPrintf("Can't get zone element. err code %d!\n", error);
		return error;
	}
	memo = {};
	if (ErrCode error = ACAPI_Element_GetMemo(zone, &memo, zoneMemoMask); error != NoError) {
		DBPrintf("Get Zone Memo has an error. err code %d!\n", error);
		return error;
	}
	return element.zone.relativeTopStory != 0 ? COVERR_ZONE_STORY : NoError;
}

CovResult<CoveringsCreated> AddCoveringsToRoom(const API_Guid& zone, const CoveringSettings& settings,
                                               const GS::UniString& timestamp)
{
	// Links that cannot be read may be coverings already made: adding a second
	// set would break the zone's next update.
	GS::Array<API_Guid> links;
	if (ErrCode error = ACAPI_ElementLink_GetLinks(zone, &links); error != NoError)
		return CovError{error};
	if (!links.IsEmpty())
		return CovError{COVERR_DOUBLE_ADD};

	API_Element element;
	API_ElementMemo memo = {};
	MemoGuard memoGuard(memo);
	if (ErrCode error = GetZone(zone, element, memo); error != NoError)
		return CovError{error};

	CoveringsCreated created;
	GS::Array<API_Guid> newElements;
	if (settings.wall.enabled) {
		CovResult<GS::Array<API_Guid>> walls = CreateWallCoverings(element, memo, settings.wall);
		if (!walls.HasValue())
			return CovError{walls.Error()};
		newElements.Append(walls.Value());
		created.wallsCreated = !walls.Value().IsEmpty();
		if (ErrCode error = SaveZoneElementUserData(element.header, settings.wall.doorHoles.enabled,
		                                            settings.wall.windowHoles.enabled);
		    error != NoError)
			return CovError{error};
	}
	if (ErrCode error = AddSlab(CeilingCovering, settings.ceiling, element, memo, newElements, created.ceilingCreated);
	    error != NoError)
		return CovError{error};
	if (ErrCode error = AddSlab(FloorCovering, settings.floor, element, memo, newElements, created.floorCreated);
	    error != NoError)
		return CovError{error};
	if (ErrCode error = SetTimestampProperty(newElements, settings.timestampProperty, timestamp); error != NoError)
		return CovError{error};
	return created;
}

ErrCode UpdateCoveringsOfRoom(const API_Guid& zone, const CoveringSettings& settings, const GS::UniString& timestamp)
{
	// The zone's memo goes with the update, before suspension is switched back.
	return WithGroupsSuspended([&] {
		ZoneUpdate update(settings.wall);
		if (ErrCode error = update.Read(zone); error != NoError)
			return error;
		if (ErrCode error = update.UpdateLinkedElements(); error != NoError)
			return error;
		if (ErrCode error = update.DeleteGivenUp(); error != NoError)
			return error;
		if (ErrCode error = RemoveLeftoverCoverings(zone); error != NoError)
			return error;
		return SetTimestampProperty(update.Updated(), settings.timestampProperty, timestamp);
	});
}

ErrCode RemoveCoveringsFromRoom(const API_Guid& zone)
{
	GS::Array<API_Guid> links;
	if (ErrCode error = ACAPI_ElementLink_GetLinks(zone, &links); error != NoError) {
		DBPrintf("Can't get linked covering elements. err code %d!\n", error);
		return error;
	}
	DBPrintf("Got so many links: %d\n", static_cast<int>(links.GetSize()));
	GS::Array<API_Guid> toDelete;
	// A wall or column left linked would make the next add refuse the zone, so
	// a failed unlink is reported once everything else is done.
	ErrCode result = NoError;
	ErrCode walkError = VisitLinkFlags(zone, links, [&](const API_Guid& target, UInt32 flag) -> CovResult<LinkWalk> {
		if (flag == LinkZoneCovering || flag == LinkZoneCeiling || flag == LinkZoneFloor)
			toDelete.Push(target);
		else if (flag == LinkZoneWall || flag == LinkZoneColumn)
			KeepFirstError(result, ACAPI_ElementLink_Unlink(zone, target));
		return LinkWalk::Continue;
	});
	if (walkError != NoError)
		return walkError;
	if (!toDelete.IsEmpty())
		KeepFirstError(result, WithGroupsSuspended([&] { return ACAPI_Element_Delete(toDelete); }));
	return result;
}

ErrCode RemoveLeftoverCoverings(const API_Guid& zone)
{
	return VisitLinks(zone, [](const API_Guid& target, UInt32 flag) -> CovResult<LinkWalk> {
		if (flag != LinkZoneCovering)
			return LinkWalk::Continue;
		bool hasBase = false;
		if (ErrCode error = HasBaseLink(target, hasBase); error != NoError)
			return CovError{error};
		if (!hasBase) {
			if (ErrCode error = ACAPI_Element_Delete({target}); error != NoError)
				return CovError{error};
		}
		return LinkWalk::Continue;
	});
}
