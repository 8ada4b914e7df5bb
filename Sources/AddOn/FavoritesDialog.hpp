// The popup beside a favorite button that lists the favorites of one element
// type; a double click on a name picks it.
#pragma once

#include "API/Elements.hpp"
#include "DG/Items.hpp"
#include "DG/Panels.hpp"

class FavoritesDialog : public DG::ModalDialog,
                        public DG::PanelObserver,
                        public DG::ListBoxObserver,
                        public DG::CompoundItemObserver {
public:
	FavoritesDialog(API_ElemTypeID type, const DG::Item& anchor);
	~FavoritesDialog() override;

	void ItemDoubleClicked(const DG::ItemDoubleClickEvent& event) override;
	void PanelOpened(const DG::PanelOpenEvent& event) override;

	// Refills the list with the names in the host's order.
	void GetFavorites(API_ElemTypeID type);
	// Empty unless a double click accepted the dialog.
	const GS::UniString& GetChosenName() const { return chosenName; }

private:
	DG::SingleSelListBox favoritesList;
	const DG::Item& anchorItem;
	GS::UniString chosenName;
};
