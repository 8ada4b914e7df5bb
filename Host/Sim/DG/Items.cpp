// Items of the headless panels: their state lives in the dialog manager, so
// that the control interface reads what the add-on set.
#include <algorithm>

#include "DG/Items.hpp"
#include "DG/Utils.hpp"
#include "Sim/DG/DialogManager.hpp"

using Sim::FindItem;
using Sim::ItemRecord;

namespace {

void Remove(std::vector<DG::ItemObserver*>& observers, const DG::ItemObserver* observer)
{
	observers.erase(std::remove(observers.begin(), observers.end(), observer), observers.end());
}

template <typename Observer, typename ItemKind>
void AttachIfObserver(ItemKind& item, DG::CompoundItemObserver& compound)
{
	if (auto* observer = dynamic_cast<Observer*>(&compound); observer != nullptr)
		item.Attach(*observer);
}

short RowIndex(const ItemRecord& record, short row)
{
	return row == DG::ListBox::BottomItem ? static_cast<short>(record.rows.size()) : row;
}

} // namespace

namespace DG {

ItemObserver::~ItemObserver()
{
	for (auto& [id, panel] : Sim::Dialogs().panels) {
		for (auto& [number, item] : panel.items)
			Remove(item.observers, this);
	}
}

Item::Item(const Panel& panel, short item) : panel(panel), item(item)
{
	if (ItemRecord* record = FindItem(*this); record != nullptr)
		record->object = this;
}

Item::~Item()
{
	ItemRecord* record = FindItem(*this);
	if (record != nullptr && record->object == this) {
		record->object = nullptr;
		record->observers.clear();
	}
}

void Item::SetStatus(bool enabled)
{
	if (ItemRecord* record = FindItem(*this); record != nullptr)
		record->enabled = enabled;
}

bool Item::IsEnabled() const
{
	ItemRecord* record = FindItem(*this);
	return record != nullptr && record->enabled;
}

void Item::Move(short dx, short dy)
{
	if (ItemRecord* record = FindItem(*this); record != nullptr) {
		record->rect.left = static_cast<short>(record->rect.left + dx);
		record->rect.top = static_cast<short>(record->rect.top + dy);
	}
}

void Item::Resize(short dx, short dy)
{
	if (ItemRecord* record = FindItem(*this); record != nullptr) {
		record->rect.width = static_cast<short>(record->rect.width + dx);
		record->rect.height = static_cast<short>(record->rect.height + dy);
	}
}

// A headless item has nothing to redraw.
void Item::Redraw() {}

void Item::Attach(ItemObserver& observer)
{
	ItemRecord* record = FindItem(*this);
	if (record != nullptr && record->object == this &&
	    std::find(record->observers.begin(), record->observers.end(), &observer) == record->observers.end())
		record->observers.push_back(&observer);
}

void Item::Detach(ItemObserver& observer)
{
	if (ItemRecord* record = FindItem(*this); record != nullptr)
		Remove(record->observers, &observer);
}

void ItemTextProperty::SetText(const GS::UniString& text)
{
	if (ItemRecord* record = FindItem(owner); record != nullptr)
		record->text = text;
}

GS::UniString ItemTextProperty::GetText() const
{
	ItemRecord* record = FindItem(owner);
	return record == nullptr ? GS::UniString() : record->text;
}

void Button::AttachCompound(CompoundItemObserver& observer)
{
	AttachIfObserver<ButtonItemObserver>(*this, observer);
}

void IconButton::AttachCompound(CompoundItemObserver& observer)
{
	AttachIfObserver<ButtonItemObserver>(*this, observer);
}

void CheckItem::SetState(bool checked)
{
	if (ItemRecord* record = FindItem(*this); record != nullptr)
		record->checked = checked;
}

bool CheckItem::IsChecked() const
{
	ItemRecord* record = FindItem(*this);
	return record != nullptr && record->checked;
}

void CheckItem::AttachCompound(CompoundItemObserver& observer)
{
	AttachIfObserver<CheckItemObserver>(*this, observer);
}

void ListBox::SetTabFieldCount(short count)
{
	if (ItemRecord* record = FindItem(*this); record != nullptr && count > 0)
		record->tabFieldCount = count;
}

// The headless list has no header or column geometry to keep.
void ListBox::SetHeaderItemCount(short) {}
void ListBox::SetTabFieldProperties(short, short, short, Justification, Truncation, bool, bool) {}

short ListBox::GetItemWidth() const
{
	ItemRecord* record = FindItem(*this);
	return record == nullptr ? 0 : record->rect.width;
}

void ListBox::DeleteItem(short row)
{
	ItemRecord* record = FindItem(*this);
	if (record == nullptr)
		return;
	if (row == AllItems) {
		record->rows.clear();
		record->selectedRow = 0;
		return;
	}
	row = RowIndex(*record, row);
	if (row < 1 || row > static_cast<short>(record->rows.size()))
		return;
	record->rows.erase(record->rows.begin() + (row - 1));
	if (record->selectedRow == row)
		record->selectedRow = 0;
	else if (record->selectedRow > row)
		--record->selectedRow;
}

void ListBox::AppendItem()
{
	if (ItemRecord* record = FindItem(*this); record != nullptr)
		record->rows.emplace_back(record->tabFieldCount);
}

short ListBox::GetItemCount() const
{
	ItemRecord* record = FindItem(*this);
	return record == nullptr ? 0 : static_cast<short>(record->rows.size());
}

void ListBox::SetTabItemText(short row, short tab, const GS::UniString& text)
{
	ItemRecord* record = FindItem(*this);
	if (record == nullptr)
		return;
	row = RowIndex(*record, row);
	if (row >= 1 && row <= static_cast<short>(record->rows.size()) && tab >= 1 && tab <= record->tabFieldCount)
		record->rows[row - 1][tab - 1] = text;
}

GS::UniString ListBox::GetTabItemText(short row, short tab) const
{
	ItemRecord* record = FindItem(*this);
	if (record == nullptr)
		return GS::UniString();
	row = RowIndex(*record, row);
	if (row < 1 || row > static_cast<short>(record->rows.size()) || tab < 1 || tab > record->tabFieldCount)
		return GS::UniString();
	return record->rows[row - 1][tab - 1];
}

short ListBox::GetSelectedItem(short from) const
{
	ItemRecord* record = FindItem(*this);
	return record != nullptr && record->selectedRow >= std::max<short>(from, 1) ? record->selectedRow : 0;
}

void ListBox::AttachCompound(CompoundItemObserver& observer)
{
	AttachIfObserver<ListBoxObserver>(*this, observer);
}

Int32 TreeView::AppendItem(Int32 parent)
{
	ItemRecord* record = FindItem(*this);
	if (record == nullptr || (parent != 0 && record->tree.count(parent) == 0))
		return 0;
	Int32 number = record->tree.empty() ? 1 : record->tree.rbegin()->first + 1;
	record->tree[number] = {parent, GS::UniString()};
	return number;
}

void TreeView::SetItemText(Int32 treeItem, const GS::UniString& text)
{
	ItemRecord* record = FindItem(*this);
	if (record != nullptr && record->tree.count(treeItem) != 0)
		record->tree[treeItem].text = text;
}

GS::UniString TreeView::GetItemText(Int32 treeItem) const
{
	ItemRecord* record = FindItem(*this);
	if (record == nullptr || record->tree.count(treeItem) == 0)
		return GS::UniString();
	return record->tree[treeItem].text;
}

void TreeView::SelectItem(Int32 treeItem)
{
	ItemRecord* record = FindItem(*this);
	if (record == nullptr || record->tree.count(treeItem) == 0)
		return;
	record->selectedTreeItem = treeItem;
	Sim::NotifyTreeSelection(*record);
}

Int32 TreeView::GetSelectedItem(Int32 from) const
{
	ItemRecord* record = FindItem(*this);
	return record != nullptr && record->selectedTreeItem > from ? record->selectedTreeItem : 0;
}

void TreeView::AttachCompound(CompoundItemObserver& observer)
{
	AttachIfObserver<TreeViewObserver>(*this, observer);
}

void CompoundItemObserver::AttachToAllItems(const Panel& panel)
{
	Sim::PanelRecord* record = Sim::FindPanel(panel.GetId());
	if (record == nullptr)
		return;
	for (auto& [number, item] : record->items) {
		if (item.object != nullptr)
			item.object->AttachCompound(*this);
	}
}

void CompoundItemObserver::DetachFromAllItems(const Panel& panel)
{
	Sim::PanelRecord* record = Sim::FindPanel(panel.GetId());
	auto* observer = dynamic_cast<ItemObserver*>(this);
	if (record == nullptr || observer == nullptr)
		return;
	for (auto& [number, item] : record->items)
		Remove(item.observers, observer);
}

namespace Utils {

void PlaceDialogNextToItem(const Dialog* dialog, const Item* item, short)
{
	Sim::PanelRecord* record = dialog == nullptr ? nullptr : Sim::FindPanel(dialog->GetId());
	if (record != nullptr && item != nullptr)
		record->placedNextTo = item->GetId();
}

} // namespace Utils

} // namespace DG
