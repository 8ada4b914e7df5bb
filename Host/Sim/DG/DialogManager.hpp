// The headless dialog manager: the live panels with their items' states and
// observers, the user's actions on them, and the scripts that modal dialogs run.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "DG/Items.hpp"
#include "DialogControl.hpp"
#include "Sim/RS/PanelLayouts.hpp"

namespace Sim {

struct TreeNode {
	Int32 parent;
	GS::UniString text;
};

struct ItemRecord {
	LayoutItem layout;
	GS::UniString text;
	bool checked = false;
	bool enabled = true;
	Rect rect;
	std::vector<std::vector<GS::UniString>> rows; // list box rows, one text per tab field
	short tabFieldCount = 1;
	short selectedRow = 0;
	std::map<Int32, TreeNode> tree; // by tree item number, in the order of appending
	Int32 selectedTreeItem = 0;
	DG::Item* object = nullptr; // the add-on's item bound to this number, if any
	std::vector<DG::ItemObserver*> observers;
};

struct PanelRecord {
	Int32 id = 0;
	short resId = 0;
	bool modeless = false;
	const DG::Panel* object = nullptr;
	const PanelLayout* layout = nullptr;
	short width = 0;
	short height = 0;
	bool visible = false;
	bool processingEvents = false;
	bool itemsDisabled = false;
	bool popupStyle = false;
	short placedNextTo = 0;
	std::optional<DG::ModalDialog::ModalResponse> closeResponse;
	std::map<short, ItemRecord> items;
	std::vector<DG::PanelObserver*> observers;
};

struct DialogManager {
	std::unordered_map<Int32, PanelRecord> panels;
	Int32 lastId = 0;
	std::deque<std::pair<short, std::vector<HostControl::DialogAction>>> scripts; // by dialog resource
	std::vector<HostControl::DialogRun> runs;
};

DialogManager& Dialogs();

// Null when the panel's layout was not loaded or the panel is gone.
PanelRecord* FindPanel(Int32 id);
// Null when the item's panel has no such item.
ItemRecord* FindItem(const DG::Item& item);
PanelRecord* FindShownModeless(short resId);

// The user's actions; each tells the attached observers. False when the panel
// has no such item of that kind or the item cannot take the action.
bool UserClick(PanelRecord& panel, short item);
bool UserToggle(PanelRecord& panel, short item);
bool UserDoubleClickRow(PanelRecord& panel, short item, short row);
bool UserSelectTreeItem(PanelRecord& panel, short item, const std::string& text);
void UserResize(PanelRecord& panel, short dx, short dy);
// The close request goes to the panel observers; returns whether they accepted it.
bool RequestClose(PanelRecord& panel, bool accepting);

void NotifyTreeSelection(ItemRecord& item);

HostControl::PanelState Snapshot(const PanelRecord& panel);

} // namespace Sim
