#include "DialogControl.hpp"

#include "Sim/DG/DialogManager.hpp"

namespace HostControl {

namespace {

// A modeless panel takes the user's actions only while it is shown and
// processes events, and no item while it greys them all out.
Sim::PanelRecord* ActivePalette(short resId)
{
	Sim::PanelRecord* panel = Sim::FindShownModeless(resId);
	return panel != nullptr && panel->processingEvents && !panel->itemsDisabled ? panel : nullptr;
}

} // namespace

const ItemState* PanelState::Item(short item) const
{
	for (const ItemState& state : items) {
		if (state.item == item)
			return &state;
	}
	return nullptr;
}

DialogAction ClickAction(short item)
{
	DialogAction action;
	action.kind = DialogAction::Click;
	action.item = item;
	return action;
}

DialogAction ToggleAction(short item)
{
	DialogAction action;
	action.kind = DialogAction::Toggle;
	action.item = item;
	return action;
}

DialogAction DoubleClickRowAction(short item, short row)
{
	DialogAction action;
	action.kind = DialogAction::DoubleClickRow;
	action.item = item;
	action.row = row;
	return action;
}

DialogAction SelectTreeItemAction(short item, const std::string& text)
{
	DialogAction action;
	action.kind = DialogAction::SelectTreeItem;
	action.item = item;
	action.text = text;
	return action;
}

DialogAction ResizeAction(short dx, short dy)
{
	DialogAction action;
	action.kind = DialogAction::Resize;
	action.dx = dx;
	action.dy = dy;
	return action;
}

DialogAction CloseAction(bool accept)
{
	DialogAction action;
	action.kind = DialogAction::Close;
	action.accept = accept;
	return action;
}

void ScriptDialog(short dialogId, const std::vector<DialogAction>& actions)
{
	Sim::Dialogs().scripts.emplace_back(dialogId, actions);
}

const std::vector<DialogRun>& DialogRuns()
{
	return Sim::Dialogs().runs;
}

void ResetDialogs()
{
	Sim::Dialogs().scripts.clear();
	Sim::Dialogs().runs.clear();
}

std::optional<PanelState> ModelessPanel(short resId)
{
	Sim::PanelRecord* panel = Sim::FindShownModeless(resId);
	return panel == nullptr ? std::nullopt : std::optional<PanelState>(Sim::Snapshot(*panel));
}

bool ClickItem(short resId, short item)
{
	Sim::PanelRecord* panel = ActivePalette(resId);
	return panel != nullptr && Sim::UserClick(*panel, item);
}

bool ToggleCheck(short resId, short item)
{
	Sim::PanelRecord* panel = ActivePalette(resId);
	return panel != nullptr && Sim::UserToggle(*panel, item);
}

bool ResizePanel(short resId, short dx, short dy)
{
	Sim::PanelRecord* panel = ActivePalette(resId);
	if (panel == nullptr)
		return false;
	Sim::UserResize(*panel, dx, dy);
	return true;
}

bool ClickCloseBox(short resId)
{
	Sim::PanelRecord* panel = Sim::FindShownModeless(resId);
	if (panel == nullptr || !panel->processingEvents)
		return false;
	Sim::RequestClose(*panel, false);
	return true;
}

} // namespace HostControl
