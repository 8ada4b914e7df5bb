#include "DemoCoverings.hpp"

#include <cstring>

#include "Coverings.hpp"
#include "ElementSettingsHelpers.hpp"
#include "ErrorNames.hpp"
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

std::string MadeText(const CoveringsCreated& created)
{
	std::string text;
	for (const auto& [made, name] :
	     {std::pair{created.wallsCreated, "wall coverings"}, std::pair{created.ceilingCreated, "ceiling"},
	      std::pair{created.floorCreated, "floor"}}) {
		if (made)
			text += (text.empty() ? "" : ", ") + std::string(name);
	}
	return text.empty() ? "nothing to cover" : text;
}

} // namespace

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
	return {true, MadeText(result.Value())};
}

} // namespace Demo
