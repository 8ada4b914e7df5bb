// The popup beside the settings dialog's property button that offers the
// project's custom single-value string properties by custom group; selecting
// a property picks it.
#pragma once

#include "API/Guid.hpp"
#include "DG/Items.hpp"
#include "DG/Panels.hpp"
#include "GS/HashTable.hpp"

class PropertySelectionPopup : public DG::ModalDialog,
                               public DG::PanelObserver,
                               public DG::TreeViewObserver,
                               public DG::CompoundItemObserver {
public:
	PropertySelectionPopup(const API_Guid& currentProperty, const DG::Item& anchor);
	~PropertySelectionPopup() override;

	void PanelOpened(const DG::PanelOpenEvent& event) override;
	void PanelResized(const DG::PanelResizeEvent& event) override;
	void TreeViewSelectionChanged(const DG::TreeViewSelectionEvent& event) override;

	void InitPropertyTreeView();
	// The current property, or the one picked by an accepting close.
	const API_Guid& GetChosenPropertyGuid() const { return chosenPropertyGuid; }

private:
	DG::SingleSelTreeView propertyTree;
	GS::HashTable<int, API_Guid> itemToProperty; // property items only
	const DG::Item& anchorItem;
	API_Guid chosenPropertyGuid;
};
