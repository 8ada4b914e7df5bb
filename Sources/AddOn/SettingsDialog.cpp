#include "SettingsDialog.hpp"

#include "API/Properties.hpp"
#include "PropertySelectionPopup.hpp"
#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"

namespace {

// The property's name for its button, or its GUID when the host cannot give the name.
GS::UniString PropertyButtonText(const API_Guid& property, GSErrCode& error)
{
	API_PropertyDefinition definition;
	definition.guid = property;
	error = ACAPI_Property_GetPropertyDefinition(definition);
	return error == NoError ? definition.name : APIGuidToString(property);
}

} // namespace

SettingsDialog::SettingsDialog(const API_Guid& currentProperty, bool currentSummary)
    : DG::ModalDialog(ACAPI_GetOwnResModule(), ID_DIALOG_SETTINGS, ACAPI_GetOwnResModule()), okButton(*this, 1),
      cancelButton(*this, 2), timestampPropertyButton(*this, 4), summaryCheck(*this, 6),
      timestampProperty(currentProperty), showSummary(currentSummary)
{
	Attach(static_cast<DG::PanelObserver&>(*this));
	AttachToAllItems(*this);
	if (timestampProperty != APINULLGuid) {
		GSErrCode error = NoError;
		GS::UniString text = PropertyButtonText(timestampProperty, error);
		// A property deleted since it was chosen is dropped; one that cannot be read now is kept.
		if (error == APIERR_BADID)
			timestampProperty = APINULLGuid;
		else
			timestampPropertyButton.SetText(text);
	}
	summaryCheck.SetState(showSummary);
}

SettingsDialog::~SettingsDialog()
{
	DetachFromAllItems(*this);
	Detach(static_cast<DG::PanelObserver&>(*this));
}

void SettingsDialog::ChooseTimestampProperty()
{
	PropertySelectionPopup popup(timestampProperty, timestampPropertyButton);
	if (popup.GetId() == 0 || !popup.Invoke())
		return;
	timestampProperty = popup.GetChosenPropertyGuid();
	GSErrCode ignored = NoError;
	timestampPropertyButton.SetText(PropertyButtonText(timestampProperty, ignored));
}

void SettingsDialog::ButtonClicked(const DG::ButtonClickEvent& event)
{
	switch (event.GetSource()->GetId()) {
	case 1:
		PostCloseRequest(Accept);
		break;
	case 2:
		PostCloseRequest(Cancel);
		break;
	case 4:
		ChooseTimestampProperty();
		break;
	default:
		break;
	}
}

void SettingsDialog::CheckItemChanged(const DG::CheckItemChangeEvent& event)
{
	if (event.GetSource() == &summaryCheck)
		showSummary = summaryCheck.IsChecked();
}

void SettingsDialog::PanelCloseRequested(const DG::PanelCloseRequestEvent& event, bool* accepted)
{
	if (event.IsAccepted())
		*accepted = true;
}

void SettingsDialog::PanelResized(const DG::PanelResizeEvent& event)
{
	short dx = event.GetHorizontalChange();
	if (dx == 0 && event.GetVerticalChange() == 0)
		return;
	BeginMoveResizeItems();
	okButton.Move(dx, 0);
	cancelButton.Move(dx, 0);
	timestampPropertyButton.Resize(dx, 0);
	EndMoveResizeItems();
}
