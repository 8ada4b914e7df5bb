#include "Coverings.hpp"

#include "API/Commands.hpp"
#include "API/Grouping.hpp"
#include "CoveringIdentity.hpp"
#include "ElementReading.hpp"
#include "PropertyHelpers.hpp"
#include "ScopeGuards.hpp"
#include "SlabCoverings.hpp"
#include "WallCoverings.hpp"

namespace {

// Every memo part of the zone but those the engine never reads.
constexpr UInt64 zoneMemoMask = 0x3FFFFFFFBFFFFFFF;

// Switches the host's group suspension on for the scope when it is off, so
// that deleting a covering does not take its whole group along.
class GroupSuspension {
public:
	GroupSuspension()
	{
		bool on = false;
		ACAPI_View_IsSuspendGroupOn(&on);
		switched = !on;
		if (switched)
			Toggle();
	}
	~GroupSuspension()
	{
		if (switched)
			Toggle();
	}
	GroupSuspension(const GroupSuspension&) = delete;
	GroupSuspension& operator=(const GroupSuspension&) = delete;

private:
	static void Toggle() { ACAPI_Grouping_Tool(GS::Array<API_Guid>(), APITool_SuspendGroups, nullptr); }

	bool switched;
};

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
	GS::Array<API_Guid> links;
	ACAPI_ElementLink_GetLinks(zone, &links);
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

ErrCode RemoveCoveringsFromRoom(const API_Guid& zone)
{
	GS::Array<API_Guid> links;
	if (ErrCode error = ACAPI_ElementLink_GetLinks(zone, &links); error != NoError) {
		DBPrintf("Can't get linked covering elements. err code %d!\n", error);
		return error;
	}
	DBPrintf("Got so many links: %d\n", static_cast<int>(links.GetSize()));
	GS::Array<API_Guid> toDelete;
	ErrCode walkError = VisitLinkFlags(zone, links, [&](const API_Guid& target, UInt32 flag) -> CovResult<LinkWalk> {
		if (flag == LinkZoneCovering || flag == LinkZoneCeiling || flag == LinkZoneFloor)
			toDelete.Push(target);
		else if (flag == LinkZoneWall || flag == LinkZoneColumn)
			ACAPI_ElementLink_Unlink(zone, target);
		return LinkWalk::Continue;
	});
	if (walkError != NoError)
		return walkError;
	if (toDelete.IsEmpty())
		return NoError;
	GroupSuspension suspension;
	return ACAPI_Element_Delete(toDelete);
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
