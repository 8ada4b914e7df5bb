#include "Sim/DG/DialogManager.hpp"

#include <algorithm>

namespace Sim {

namespace {

std::string Utf8(const GS::UniString& text)
{
	return text.ToCStr().Get();
}

ItemRecord* FindKind(PanelRecord& panel, short item, const char* kind)
{
	auto found = panel.items.find(item);
	if (found == panel.items.end() || found->second.layout.kind != kind || found->second.object == nullptr)
		return nullptr;
	return &found->second;
}

// Each observer attached when the event starts hears of it once, unless an
// earlier one detached it.
template <typename Observer, typename Notify>
void NotifyEach(const std::vector<DG::ItemObserver*>& attached, ItemRecord& item, Notify notify)
{
	std::vector<DG::ItemObserver*> observers = attached;
	for (DG::ItemObserver* observer : observers) {
		auto* typed = dynamic_cast<Observer*>(observer);
		bool stillAttached = std::find(item.observers.begin(), item.observers.end(), observer) != item.observers.end();
		if (typed != nullptr && stillAttached)
			notify(*typed);
	}
}

HostControl::ItemState SnapshotItem(short number, const ItemRecord& item)
{
	HostControl::ItemState state{number,
	                             item.layout.kind,
	                             Utf8(item.text),
	                             item.checked,
	                             item.enabled,
	                             item.rect.left,
	                             item.rect.top,
	                             item.rect.width,
	                             item.rect.height,
	                             {},
	                             item.selectedRow,
	                             {},
	                             item.selectedTreeItem};
	for (const auto& row : item.rows) {
		state.rows.emplace_back();
		for (const GS::UniString& text : row)
			state.rows.back().push_back(Utf8(text));
	}
	for (const auto& [number, node] : item.tree)
		state.treeItems.push_back({number, node.parent, Utf8(node.text)});
	return state;
}

} // namespace

DialogManager& Dialogs()
{
	static DialogManager manager;
	return manager;
}

PanelRecord* FindPanel(Int32 id)
{
	auto found = Dialogs().panels.find(id);
	return found == Dialogs().panels.end() ? nullptr : &found->second;
}

ItemRecord* FindItem(const DG::Item& item)
{
	PanelRecord* panel = FindPanel(item.GetPanel()->GetId());
	if (panel == nullptr)
		return nullptr;
	auto found = panel->items.find(item.GetId());
	return found == panel->items.end() ? nullptr : &found->second;
}

PanelRecord* FindShownModeless(short resId)
{
	for (auto& [id, panel] : Dialogs().panels) {
		if (panel.modeless && panel.resId == resId && panel.visible)
			return &panel;
	}
	return nullptr;
}

bool UserClick(PanelRecord& panel, short item)
{
	ItemRecord* record = FindKind(panel, item, "Button");
	if (record == nullptr)
		record = FindKind(panel, item, "IconButton");
	if (record == nullptr || !record->enabled)
		return false;
	DG::ButtonClickEvent event(*record->object);
	NotifyEach<DG::ButtonItemObserver>(record->observers, *record,
	                                   [&](DG::ButtonItemObserver& observer) { observer.ButtonClicked(event); });
	return true;
}

bool UserToggle(PanelRecord& panel, short item)
{
	ItemRecord* record = FindKind(panel, item, "CheckBox");
	if (record == nullptr || !record->enabled)
		return false;
	record->checked = !record->checked;
	DG::CheckItemChangeEvent event(*record->object);
	NotifyEach<DG::CheckItemObserver>(record->observers, *record,
	                                  [&](DG::CheckItemObserver& observer) { observer.CheckItemChanged(event); });
	return true;
}

bool UserDoubleClickRow(PanelRecord& panel, short item, short row)
{
	ItemRecord* record = FindKind(panel, item, "ListBox");
	if (record == nullptr || !record->enabled || row < 0 || row > static_cast<short>(record->rows.size()))
		return false;
	record->selectedRow = row;
	DG::ItemDoubleClickEvent event(*record->object);
	NotifyEach<DG::ListBoxObserver>(record->observers, *record,
	                                [&](DG::ListBoxObserver& observer) { observer.ItemDoubleClicked(event); });
	return true;
}

bool UserSelectTreeItem(PanelRecord& panel, short item, const std::string& text)
{
	ItemRecord* record = FindKind(panel, item, "TreeView");
	if (record == nullptr || !record->enabled)
		return false;
	auto found = std::find_if(record->tree.begin(), record->tree.end(),
	                          [&](const auto& entry) { return Utf8(entry.second.text) == text; });
	if (found == record->tree.end())
		return false;
	record->selectedTreeItem = found->first;
	NotifyTreeSelection(*record);
	return true;
}

void NotifyTreeSelection(ItemRecord& item)
{
	if (item.object == nullptr)
		return;
	DG::TreeViewSelectionEvent event(*item.object);
	NotifyEach<DG::TreeViewObserver>(item.observers, item,
	                                 [&](DG::TreeViewObserver& observer) { observer.TreeViewSelectionChanged(event); });
}

void UserResize(PanelRecord& panel, short dx, short dy)
{
	panel.width = static_cast<short>(panel.width + dx);
	panel.height = static_cast<short>(panel.height + dy);
	DG::PanelResizeEvent event(*panel.object, dx, dy);
	std::vector<DG::PanelObserver*> observers = panel.observers;
	for (DG::PanelObserver* observer : observers)
		observer->PanelResized(event);
}

bool RequestClose(PanelRecord& panel, bool accepting)
{
	bool accepted = true;
	DG::PanelCloseRequestEvent event(*panel.object, accepting);
	std::vector<DG::PanelObserver*> observers = panel.observers;
	for (DG::PanelObserver* observer : observers)
		observer->PanelCloseRequested(event, &accepted);
	return accepted;
}

HostControl::PanelState Snapshot(const PanelRecord& panel)
{
	HostControl::PanelState state{panel.resId,      panel.layout->title, panel.width,
	                              panel.height,     panel.visible,       panel.itemsDisabled,
	                              panel.popupStyle, panel.placedNextTo,  {}};
	for (const auto& [number, item] : panel.items)
		state.items.push_back(SnapshotItem(number, item));
	return state;
}

} // namespace Sim
