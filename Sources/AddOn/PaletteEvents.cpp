// What the palette does on the host's palette messages, its close box, its
// resizing, and the user's clicks and check-box changes.
#include "DG/Alerts.hpp"
#include "ErrorNames.hpp"
#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"
#include "RoomCommands.hpp"
#include "SettingsDialog.hpp"
#include "VelmoraPalette.hpp"

namespace {

constexpr short showOnTop = -32768;

void SetMenuCheck(bool checked)
{
	unsigned int flags = checked ? API_MenuItemChecked : 0;
	ACAPI_MenuItem_SetMenuItemFlags(&VelmoraPalette::menuItemRef, &flags, nullptr);
}

} // namespace

void ShowPaletteError(ErrCode error)
{
	if (error != NoError && error != COVERR_HANDLED)
		DG::Alert(ACAPI_GetOwnResModule(), ID_ALERT_PALETTE_FAILED, ErrCodeToUniString(error), GS::UniString(),
		          GS::UniString(), GS::UniString());
}

GSErrCode VelmoraPalette::PaletteAPIControlCallBack(Int32 referenceID, API_PaletteMessageID messageID, Int64 param)
{
	if (referenceID != refId)
		return NoError;
	VelmoraPalette& palette = GetInstance();
	switch (messageID) {
	case APIPalMsg_ClosePalette:
		SetMenuCheck(false);
		palette.BeginHidePhase();
		break;
	case APIPalMsg_HidePalette_Begin:
		palette.BeginHidePhase();
		break;
	case APIPalMsg_HidePalette_End:
		if (palette.shouldBeVisible && !palette.IsVisible())
			palette.Show(showOnTop);
		palette.InitPaletteSettings();
		break;
	case APIPalMsg_DisableItems_Begin:
		palette.DisableItems();
		break;
	case APIPalMsg_DisableItems_End:
		palette.EnableItems();
		break;
	case APIPalMsg_OpenPalette:
		SetMenuCheck(true);
		palette.shouldBeVisible = true;
		if (!palette.IsVisible())
			palette.Show(showOnTop);
		palette.InitPaletteSettings();
		break;
	case APIPalMsg_IsPaletteVisible:
		// The answer goes to the address the parameter holds; there is none to write to without one.
		if (param != 0)
			*reinterpret_cast<bool*>(param) = palette.IsVisible();
		break;
	default:
		break;
	}
	return NoError;
}

void VelmoraPalette::BeginHidePhase()
{
	shouldBeVisible = IsVisible();
	if (shouldBeVisible)
		Hide();
}

void VelmoraPalette::PanelCloseRequested(const DG::PanelCloseRequestEvent&, bool* accepted)
{
	if (IsVisible()) {
		SetMenuCheck(false);
		Hide();
	}
	*accepted = true;
}

void VelmoraPalette::PanelResized(const DG::PanelResizeEvent& event)
{
	short dx = event.GetHorizontalChange();
	if (dx == 0 && event.GetVerticalChange() == 0)
		return;
	BeginMoveResizeItems();
	// The settings icon and the favorite buttons keep to the right edge.
	for (DG::Item* right :
	     std::initializer_list<DG::Item*>{&settingsIconButton, &wallFavoriteButton, &doorFavoriteButton,
	                                      &windowFavoriteButton, &ceilingFavoriteButton, &floorFavoriteButton})
		right->Move(dx, 0);
	for (DG::Item* wide : std::initializer_list<DG::Item*>{
	         &kindsSeparator, &wallSettingsButton, &doorSettingsButton, &windowSettingsButton, &slabsSeparator,
	         &ceilingSettingsButton, &floorSettingsButton, &commandsSeparator, &addButton, &removeButton,
	         &updateButton})
		wide->Resize(dx, 0);
	EndMoveResizeItems();
}

bool VelmoraPalette::EditRunSettings()
{
	SettingsDialog dialog(settings.timestampProperty, settings.showSummary);
	if (dialog.GetId() == 0 || !dialog.Invoke())
		return false;
	settings.timestampProperty = dialog.GetTimestampProperty();
	settings.showSummary = dialog.GetShowSummary();
	return true;
}

ErrCode VelmoraPalette::RunButton(short item)
{
	for (const CoveringKind& kind : Kinds()) {
		if (item == kind.settingsButton.GetId())
			return UpdateSettings(kind.type, kind.settingsButton, kind.settings);
		if (item == kind.favoriteButton.GetId())
			return UpdateFavoriteInclSettings(kind.type, kind.settingsButton, kind.favoriteButton, kind.settings);
	}
	// Add and Update show their own failures.
	if (item == addButton.GetId())
		AddVelmora(settings);
	else if (item == updateButton.GetId())
		UpdateVelmora(settings);
	else if (item == removeButton.GetId())
		return RemoveCoveringsFromSelectedRooms();
	return NoError;
}

void VelmoraPalette::ButtonClicked(const DG::ButtonClickEvent& event)
{
	short item = event.GetSource()->GetId();
	if (item == settingsIconButton.GetId()) {
		if (!EditRunSettings())
			return;
	} else {
		ShowPaletteError(RunButton(item));
	}
	ShowPaletteError(StorePaletteSettings());
}

void VelmoraPalette::CheckItemChanged(const DG::CheckItemChangeEvent& event)
{
	for (const CheckField& checkField : CheckFields()) {
		if (event.GetSource() == &checkField.check)
			checkField.field = checkField.check.IsChecked();
	}
	EnableDependants();
	ShowPaletteError(StorePaletteSettings());
}
