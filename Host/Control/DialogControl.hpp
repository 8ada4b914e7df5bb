// The control interface of the stand-in's dialog manager: what the user does
// on the add-on's palette and modal dialogs, and what they show.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "GS/Types.hpp"

namespace HostControl {

struct TreeItemState {
	Int32 item;
	Int32 parent; // 0: a top-level item
	std::string text;
};

struct ItemState {
	short item;
	std::string kind; // the layout's class
	std::string text;
	bool checked;
	bool enabled; // its own status; the panel may grey every item out besides
	short left, top, width, height;
	std::vector<std::vector<std::string>> rows; // list box rows by tab field
	short selectedRow;                          // 0: none
	std::vector<TreeItemState> treeItems;       // in the order of appending
	Int32 selectedTreeItem;                     // 0: none
};

struct PanelState {
	short resId;
	std::string title;
	short width, height;
	bool visible;
	bool itemsDisabled; // every item greyed out by the panel
	bool popupStyle;
	short placedNextTo;           // the item of the opening panel that the dialog was placed beside; 0: none
	std::vector<ItemState> items; // by item number

	const ItemState* Item(short item) const;
};

// One action of a user in a modal dialog.
struct DialogAction {
	enum Kind { Click, Toggle, DoubleClickRow, SelectTreeItem, Resize, Close };
	Kind kind = Click;
	short item = 0;
	short row = 0;        // DoubleClickRow: the row, from 1; 0 clicks below the rows
	std::string text;     // SelectTreeItem: the text of the first tree item to select
	short dx = 0, dy = 0; // Resize
	bool accept = false;  // Close: OK rather than cancel
};
DialogAction ClickAction(short item);
DialogAction ToggleAction(short item);
DialogAction DoubleClickRowAction(short item, short row);
DialogAction SelectTreeItemAction(short item, const std::string& text);
DialogAction ResizeAction(short dx, short dy);
DialogAction CloseAction(bool accept);

// The next modal dialog of resource dialogId runs these actions. Scripts are
// taken in the order given, as dialogs open; a dialog that finds no script for
// itself at the front runs none. A dialog that its actions leave open is a
// complaint (see TakeComplaints), and its Invoke returns false.
void ScriptDialog(short dialogId, const std::vector<DialogAction>& actions);

// A modal dialog's run: its state just after it opened and when it closed.
struct DialogRun {
	short resId;
	PanelState opened;
	PanelState closed;
	bool accepted;
};
// In the order the dialogs closed (a nested dialog before the one it opened
// from); valid until the next dialog closes or the runs are forgotten.
const std::vector<DialogRun>& DialogRuns();
// Forgets the scripts and the runs; live panels stay.
void ResetDialogs();

// The shown modeless panel of the resource; absent when none is shown.
std::optional<PanelState> ModelessPanel(short resId);
// The user's actions on a shown modeless panel that processes events; false
// (and nothing happens) when there is no such panel, or the item is missing,
// of another kind or greyed out.
bool ClickItem(short resId, short item);
bool ToggleCheck(short resId, short item);
bool ResizePanel(short resId, short dx, short dy);
bool ClickCloseBox(short resId);

// An SVG picture of the panel as a user sees it: its items from their state,
// check marks set, greyed items grey.
std::string PanelPicture(const PanelState& panel);

} // namespace HostControl
