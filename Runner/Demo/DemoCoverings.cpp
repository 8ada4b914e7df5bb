#include "DemoCoverings.hpp"

#include <cstring>
#include <vector>

#include "CoveringIdentity.hpp"
#include "Coverings.hpp"
#include "ElementReading.hpp"
#include "ElementSettingsHelpers.hpp"
#include "ErrorNames.hpp"
#include "ScopeGuards.hpp"
#include "Wording.hpp"

namespace Demo {

namespace {

API_ElemType TypeOf(API_ElemTypeID type)
{
	return {type, APIVarId_Generic, APINULLGuid};
}

void FillFromToolDefaults(ElementCovSettings& kind, API_ElemTypeID type)
{
	std::memset(static_cast<void*>(&kind.toolElement), 0, sizeof(kind.toolElement));
	kind.toolElement.header.type = TypeOf(type);
	GS::Array<API_ElemCategory> categories;
	ACAPI_Category_GetElementCategories(&categories);
	GetCurrentToolDefaults(TypeOf(type), kind.toolElement, kind.memo, kind.properties, kind.classifications,
	                       kind.categoryValues, categories);
}

// Holes take the parameters of the tool's default library part.
void FillHoleSettings(ElementCovSettings& kind, API_ElemTypeID type)
{
	kind.enabled = true;
	kind.memo.New();
	FillFromToolDefaults(kind, type);
	API_ElementMemo partMemo = {};
	MemoGuard partMemoGuard(partMemo);
	int libInd = 0;
	if (GetDefaultLibPart(type, partMemo, libInd) != NoError)
		return;
	kind.toolElement.door.openingBase.libInd = libInd;
	kind.memo->Dispose();
	std::swap(kind.memo->elementMemo, partMemo);
}

// The elements that the element's links of the flag lead to; none when the
// links cannot be read.
std::vector<API_Guid> LinkedBy(const API_Guid& from, UInt32 flag)
{
	std::vector<API_Guid> linked;
	GS::Array<API_Guid> targets;
	if (ACAPI_ElementLink_GetLinks(from, &targets) != NoError)
		return linked;
	for (const API_Guid& target : targets) {
		UInt32 linkFlag = 0;
		if (ACAPI_ElementLink_GetLinkFlags(from, target, &linkFlag) == NoError && linkFlag == flag)
			linked.push_back(target);
	}
	return linked;
}

bool CoversAColumn(const API_Guid& covering)
{
	std::vector<API_Guid> covered = LinkedBy(covering, LinkCoveringElem);
	API_Element column;
	return !covered.empty() && ReadElement(API_ColumnID, covered.front(), column) == NoError;
}

} // namespace

Runner::ZoneOutcome DescribeZone(const Runner::LoadedZone& zone)
{
	std::size_t wallCoverings = 0;
	std::size_t columnCoverings = 0;
	std::size_t holes = 0;
	for (const API_Guid& covering : LinkedBy(zone.guid, LinkZoneCovering)) {
		++(CoversAColumn(covering) ? columnCoverings : wallCoverings);
		holes += LinkedBy(covering, LinkCoveringHole).size();
	}
	using Runner::Counted;
	std::string text = Counted(wallCoverings, "wall covering") + ", " + Counted(holes, "hole") + ", " +
	                   Counted(columnCoverings, "column covering");
	bool covered = wallCoverings + columnCoverings > 0;
	for (const auto& [flag, name] : {std::pair{LinkZoneCeiling, ", ceiling"}, std::pair{LinkZoneFloor, ", floor"}}) {
		if (!LinkedBy(zone.guid, flag).empty()) {
			text += name;
			covered = true;
		}
	}
	return {covered, covered ? text : "no coverings"};
}

CoveringSettings CoveringSettingsForRun(const std::string& wallFavorite, const API_Guid& timestampProperty)
{
	CoveringSettings settings;
	settings.wall.enabled = true;
	settings.wall.innerContours = true;
	settings.wall.columnCoverings = true;
	settings.wall.useFavorite = true;
	settings.wall.favoriteName = GS::UniString(wallFavorite);
	LoadFavoriteWithPCC(settings.wall);
	FillHoleSettings(settings.wall.doorHoles, API_DoorID);
	FillHoleSettings(settings.wall.windowHoles, API_WindowID);
	for (SlabCovSettings* slab : {&settings.ceiling, &settings.floor}) {
		slab->enabled = true;
		slab->insets = true;
		FillFromToolDefaults(*slab, API_SlabID);
	}
	settings.timestampProperty = timestampProperty;
	return settings;
}

Runner::ZoneOutcome CoverZone(const Runner::LoadedZone& zone, const CoveringSettings& settings,
                              const GS::UniString& timestamp)
{
	CovResult<CoveringsCreated> result = AddCoveringsToRoom(zone.guid, settings, timestamp);
	if (!result.HasValue())
		return {false, ErrCodeToUniString(result.Error()).ToCStr().Get()};
	return DescribeZone(zone);
}

} // namespace Demo
