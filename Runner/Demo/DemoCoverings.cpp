#include "DemoCoverings.hpp"

#include <cstring>

#include "CoveringIdentity.hpp"
#include "Coverings.hpp"
#include "ElementSettingsHelpers.hpp"
#include "ErrorNames.hpp"
#include "HostControl.hpp"
#include "ScopeGuards.hpp"

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

std::string Counted(std::size_t count, const char* what)
{
	return std::to_string(count) + " " + what;
}

bool CoversAColumn(const API_Guid& covering)
{
	for (const HostControl::Link& link : HostControl::LinksFrom(covering)) {
		if (link.flags == LinkCoveringElem)
			return HostControl::GetElement(link.to)->header.type.typeID == API_ColumnID;
	}
	return false;
}

// What the zone's links show that the add made.
std::string MadeText(const API_Guid& zone, const CoveringsCreated& created)
{
	std::size_t wallCoverings = 0;
	std::size_t columnCoverings = 0;
	std::size_t holes = 0;
	for (const HostControl::Link& link : HostControl::LinksFrom(zone)) {
		if (link.flags != LinkZoneCovering)
			continue;
		++(CoversAColumn(link.to) ? columnCoverings : wallCoverings);
		for (const HostControl::Link& covering : HostControl::LinksFrom(link.to))
			holes += covering.flags == LinkCoveringHole ? 1 : 0;
	}
	std::string text = Counted(wallCoverings, "wall coverings, ") + Counted(holes, "holes, ") +
	                   Counted(columnCoverings, "column coverings");
	for (const auto& [made, name] :
	     {std::pair{created.ceilingCreated, ", ceiling"}, std::pair{created.floorCreated, ", floor"}}) {
		if (made)
			text += name;
	}
	return text;
}

} // namespace

std::optional<Int32> LibraryIndexInProject(const Runner::LibraryPartRef& part)
{
	if (part.unID.size() < 38 || part.unID.front() != '{')
		return std::nullopt;
	return HostControl::LibraryPartIndex(APIGuidFromString(part.unID.substr(1, 36).c_str()));
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
	return {true, MadeText(zone.guid, result.Value())};
}

} // namespace Demo
