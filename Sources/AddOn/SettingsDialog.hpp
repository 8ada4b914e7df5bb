// The dialog of the run-wide settings that the palette has no control for:
// the timestamp property and the summary switch.
#pragma once

#include "API/Guid.hpp"
#include "DG/Items.hpp"
#include "DG/Panels.hpp"

class SettingsDialog : public DG::ModalDialog,
                       public DG::ButtonItemObserver,
                       public DG::CheckItemObserver,
                       public DG::PanelObserver,
                       public DG::CompoundItemObserver {
public:
	SettingsDialog(const API_Guid& currentProperty, bool currentSummary);
	~SettingsDialog() override;

	void PanelResized(const DG::PanelResizeEvent& event) override;
	void ButtonClicked(const DG::ButtonClickEvent& event) override;
	void CheckItemChanged(const DG::CheckItemChangeEvent& event) override;
	void PanelCloseRequested(const DG::PanelCloseRequestEvent& event, bool* accepted) override;

	// What the user chose; the caller takes them after an accepting close.
	const API_Guid& GetTimestampProperty() const { return timestampProperty; }
	bool GetShowSummary() const { return showSummary; }

private:
	void ChooseTimestampProperty();

	DG::Button okButton;
	DG::Button cancelButton;
	DG::Button timestampPropertyButton;
	DG::CheckBox summaryCheck;
	API_Guid timestampProperty; // null: none
	bool showSummary;
};
