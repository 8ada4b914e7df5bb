#include "FavoritesDialog.hpp"

#include "API/Favorites.hpp"
#include "DG/Utils.hpp"
#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"

FavoritesDialog::FavoritesDialog(API_ElemTypeID type, const DG::Item& anchor)
    : DG::ModalDialog(ACAPI_GetOwnResModule(), ID_DIALOG_FAVORITES, ACAPI_GetOwnResModule()), favoritesList(*this, 1),
      anchorItem(anchor)
{
	Attach(static_cast<DG::PanelObserver&>(*this));
	AttachToAllItems(*this);
	SetPopupStyle();
	favoritesList.SetTabFieldCount(1);
	favoritesList.SetHeaderItemCount(1);
	favoritesList.SetTabFieldProperties(1, 0, favoritesList.GetItemWidth(), DG::ListBox::Left, DG::ListBox::NoTruncate,
	                                    false, true);
	GetFavorites(type);
}

FavoritesDialog::~FavoritesDialog()
{
	DetachFromAllItems(*this);
	Detach(static_cast<DG::PanelObserver&>(*this));
}

void FavoritesDialog::GetFavorites(API_ElemTypeID type)
{
	favoritesList.DeleteItem(DG::ListBox::AllItems);
	short count = 0;
	GS::Array<GS::UniString> names;
	if (ACAPI_Favorite_GetNum(API_ElemType{type, APIVarId_Generic, APINULLGuid}, &count, &names) != NoError ||
	    count < 1)
		return;
	for (UIndex i = 0; i < static_cast<UIndex>(count) && i < names.GetSize(); ++i) {
		favoritesList.AppendItem();
		favoritesList.SetTabItemText(DG::ListBox::BottomItem, 1, names[i]);
	}
}

void FavoritesDialog::ItemDoubleClicked(const DG::ItemDoubleClickEvent& event)
{
	if (event.GetSource() != &favoritesList)
		return;
	short row = favoritesList.GetSelectedItem(1);
	// A double click below the names picks nothing.
	if (row == 0)
		return;
	chosenName = favoritesList.GetTabItemText(row, 1);
	PostCloseRequest(Accept);
}

void FavoritesDialog::PanelOpened(const DG::PanelOpenEvent& event)
{
	if (event.GetSource() == this)
		DG::Utils::PlaceDialogNextToItem(this, &anchorItem, 0);
}
