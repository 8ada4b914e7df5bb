// The element settings of the palette's covering kinds: filled from a
// favorite or the host's tool defaults, edited in the host's tool settings
// dialog, or replaced by a favorite picked in the favorites popup.
#include <cstring>
#include <utility>

#include "API/ToolSettings.hpp"
#include "ElementSettingsHelpers.hpp"
#include "FavoritesDialog.hpp"
#include "VelmoraPalette.hpp"

namespace {

API_ElemType ElemTypeOf(API_ElemTypeID type)
{
	return API_ElemType{type, APIVarId_Generic, APINULLGuid};
}

void DropFavorite(ElementCovSettings& kind, ButtonWithDefaultText& settingsButton)
{
	kind.useFavorite = false;
	kind.favoriteName.Clear();
	settingsButton.ShowKind(kind);
}

ErrCode ReadToolDefaults(API_ElemTypeID type, const GS::Array<API_ElemCategory>& categories, ElementCovSettings& into)
{
	return GetCurrentToolDefaults(ElemTypeOf(type), into.toolElement, into.memo, into.properties, into.classifications,
	                              into.categoryValues, categories);
}

ErrCode WriteToolDefaults(API_ElemTypeID type, ElementCovSettings& from)
{
	return SetToolDefaults(ElemTypeOf(type), from.toolElement, from.memo, from.properties, from.classifications,
	                       from.categoryValues);
}

// The tool's saved defaults put back after a failure, which is returned.
ErrCode PutBackAfter(ErrCode error, API_ElemTypeID type, ElementCovSettings& saved)
{
	WriteToolDefaults(type, saved);
	return error;
}

// A kind never filled, or filled for another type, starts from the tool defaults.
ErrCode FillFromToolDefaults(API_ElemTypeID type, ElementCovSettings& kind)
{
	std::memset(static_cast<void*>(&kind.toolElement), 0, sizeof(kind.toolElement));
	kind.toolElement.header.type = ElemTypeOf(type);
	GS::Array<API_ElemCategory> categories;
	if (ErrCode error = ACAPI_Category_GetElementCategories(&categories); error != NoError)
		return error;
	return ReadToolDefaults(type, categories, kind);
}

// A hole makes its opening from the default library part, when the library has it.
ErrCode TakeDefaultLibPart(API_ElemTypeID type, ElementCovSettings& kind)
{
	if (!kind.memo.HasValue())
		return COVERR_LOGIC;
	ParamsMemo received;
	int libInd = 0;
	ErrCode error = GetDefaultLibPart(type, received.elementMemo, libInd);
	if (error == APIERR_BADID)
		return NoError;
	if (error != NoError)
		return error;
	kind.toolElement.door.openingBase.libInd = libInd;
	// The kind's old parameters leave with received.
	std::swap(kind.memo->elementMemo, received.elementMemo);
	return NoError;
}

} // namespace

ErrCode InitElementSettings(API_ElemTypeID type, ElementCovSettings& kind, ButtonWithDefaultText& settingsButton)
{
	if (kind.useFavorite && LoadFavoriteWithPCC(kind) == NoError) {
		settingsButton.ShowKind(kind);
		return NoError;
	}
	DropFavorite(kind, settingsButton);
	if (kind.toolElement.header.type.typeID == type)
		return NoError;
	if (ErrCode error = FillFromToolDefaults(type, kind); error != NoError)
		return error;
	if (type == API_DoorID || type == API_WindowID)
		return TakeDefaultLibPart(type, kind);
	return NoError;
}

ErrCode VelmoraPalette::UpdateSettings(API_ElemTypeID type, ButtonWithDefaultText& settingsButton,
                                       ElementCovSettings& kind)
{
	ElementCovSettings saved;
	saved.toolElement.header.type = ElemTypeOf(type);
	if (kind.memo.HasValue())
		saved.memo.New();
	GS::Array<API_ElemCategory> categories;
	if (ErrCode error = ACAPI_Category_GetElementCategories(&categories); error != NoError)
		return error;
	if (ErrCode error = ReadToolDefaults(type, categories, saved); error != NoError)
		return error;
	if (kind.useFavorite && LoadFavoriteWithPCC(kind) != NoError)
		DropFavorite(kind, settingsButton);
	// A write that failed part way may have changed the tool already.
	if (ErrCode error = WriteToolDefaults(type, kind); error != NoError)
		return PutBackAfter(error, type, saved);
	API_ToolBoxItem tool{ElemTypeOf(type)};
	if (ACAPI_Dialog_SettingsDialog(&tool, nullptr) != NoError)
		return WriteToolDefaults(type, saved);
	if (ErrCode error = ReadToolDefaults(type, categories, kind); error != NoError)
		return PutBackAfter(error, type, saved);
	DropFavorite(kind, settingsButton);
	return WriteToolDefaults(type, saved);
}

ErrCode VelmoraPalette::UpdateFavoriteInclSettings(API_ElemTypeID type, DG::Button& settingsButton,
                                                   DG::Button& favoriteButton, ElementCovSettings& kind)
{
	FavoritesDialog dialog(type, favoriteButton);
	if (dialog.GetId() == 0)
		return APIERR_GENERAL;
	if (!dialog.Invoke())
		return NoError;
	if (ErrCode error = LoadFavoriteWithPCC(kind, dialog.GetChosenName()); error != NoError)
		return error;
	kind.useFavorite = true;
	kind.favoriteName = dialog.GetChosenName();
	settingsButton.SetText(kind.favoriteName);
	return NoError;
}
