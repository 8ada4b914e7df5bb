// Items of a panel, bound by their item number in the panel's layout, and the
// observers of their events. An item notifies only the observers attached to it.
#pragma once

#include "DG/Panels.hpp"
#include "GS/UniString.hpp"

namespace DG {

class Item;
class CompoundItemObserver;

// The common base of the item observers, shared by an observer of several
// kinds; detaches itself from every item when destroyed.
class ItemObserver {
public:
	virtual ~ItemObserver();
};

class Item {
public:
	Item(const Panel& panel, short item);
	Item(const Item&) = delete;
	Item& operator=(const Item&) = delete;
	virtual ~Item();

	short GetId() const { return item; }
	const Panel* GetPanel() const { return &panel; }

	void SetStatus(bool enabled);
	void Enable() { SetStatus(true); }
	void Disable() { SetStatus(false); }
	bool IsEnabled() const;
	void Move(short dx, short dy);
	void Resize(short dx, short dy);
	void Redraw();

	// Attaches the compound observer when it observes this kind of item.
	virtual void AttachCompound(CompoundItemObserver& observer) = 0;
	void Detach(ItemObserver& observer);

protected:
	void Attach(ItemObserver& observer);

private:
	const Panel& panel;
	short item;
};

class ItemTextProperty {
public:
	explicit ItemTextProperty(const Item& owner) : owner(owner) {}
	void SetText(const GS::UniString& text);
	GS::UniString GetText() const;

private:
	const Item& owner;
};

class ButtonClickEvent {
public:
	explicit ButtonClickEvent(const Item& source) : source(source) {}
	const Item* GetSource() const { return &source; }

private:
	const Item& source;
};

class ButtonItemObserver : public virtual ItemObserver {
public:
	virtual void ButtonClicked(const ButtonClickEvent&) {}
};

class Button : public Item, public ItemTextProperty {
public:
	Button(const Panel& panel, short item) : Item(panel, item), ItemTextProperty(static_cast<const Item&>(*this)) {}
	void Attach(ButtonItemObserver& observer) { Item::Attach(observer); }
	void AttachCompound(CompoundItemObserver& observer) override;
};

class IconButton : public Item {
public:
	using Item::Item;
	void Attach(ButtonItemObserver& observer) { Item::Attach(observer); }
	void AttachCompound(CompoundItemObserver& observer) override;
};

class Separator : public Item {
public:
	using Item::Item;
	void AttachCompound(CompoundItemObserver&) override {}
};

class CheckItemChangeEvent {
public:
	explicit CheckItemChangeEvent(const Item& source) : source(source) {}
	const Item* GetSource() const { return &source; }

private:
	const Item& source;
};

class CheckItemObserver : public virtual ItemObserver {
public:
	virtual void CheckItemChanged(const CheckItemChangeEvent&) {}
};

class CheckItem : public Item, public ItemTextProperty {
public:
	CheckItem(const Panel& panel, short item) : Item(panel, item), ItemTextProperty(static_cast<const Item&>(*this)) {}
	void SetState(bool checked);
	bool IsChecked() const;
	void Attach(CheckItemObserver& observer) { Item::Attach(observer); }
	void AttachCompound(CompoundItemObserver& observer) override;
};

class CheckBox : public CheckItem {
public:
	using CheckItem::CheckItem;
};

class ItemDoubleClickEvent {
public:
	explicit ItemDoubleClickEvent(const Item& source) : source(source) {}
	const Item* GetSource() const { return &source; }

private:
	const Item& source;
};

class ListBoxObserver : public virtual ItemObserver {
public:
	virtual void ItemDoubleClicked(const ItemDoubleClickEvent&) {}
};

// Rows are numbered from 1.
class ListBox : public Item {
public:
	static constexpr short AllItems = 0;    // DeleteItem: every row
	static constexpr short BottomItem = -1; // the last row

	enum Justification { Left = 0, Center = 1, Right = 2 };
	enum Truncation { NoTruncate = 0, EndTruncate = 1 };

	using Item::Item;
	void SetTabFieldCount(short count);
	void SetHeaderItemCount(short count);
	short GetItemWidth() const;
	void SetTabFieldProperties(short tab, short begin, short end, Justification justification, Truncation truncation,
	                           bool hasSeparator, bool enabled);
	void DeleteItem(short row);
	void AppendItem();
	short GetItemCount() const;
	void SetTabItemText(short row, short tab, const GS::UniString& text);
	GS::UniString GetTabItemText(short row, short tab) const;
	// The first selected row from row `from` on; 0 when none.
	short GetSelectedItem(short from = 1) const;
	void Attach(ListBoxObserver& observer) { Item::Attach(observer); }
	void AttachCompound(CompoundItemObserver& observer) override;
};

class SingleSelListBox : public ListBox {
public:
	using ListBox::ListBox;
};

class TreeViewSelectionEvent {
public:
	explicit TreeViewSelectionEvent(const Item& source) : source(source) {}
	const Item* GetSource() const { return &source; }

private:
	const Item& source;
};

class TreeViewObserver : public virtual ItemObserver {
public:
	virtual void TreeViewSelectionChanged(const TreeViewSelectionEvent&) {}
};

// Tree items are numbered from 1 in the order they are appended; 0 is the root.
class TreeView : public Item {
public:
	using Item::Item;
	Int32 AppendItem(Int32 parent);
	void SetItemText(Int32 treeItem, const GS::UniString& text);
	GS::UniString GetItemText(Int32 treeItem) const;
	// Selecting notifies the observers as a user's selection does.
	void SelectItem(Int32 treeItem);
	// The first selected item after `from` in the order of appending; 0 when none.
	Int32 GetSelectedItem(Int32 from = 0) const;
	void Attach(TreeViewObserver& observer) { Item::Attach(observer); }
	void AttachCompound(CompoundItemObserver& observer) override;
};

class SingleSelTreeView : public TreeView {
public:
	using TreeView::TreeView;
};

// An observer of several item kinds that attaches itself to every item of a
// panel whose kind it observes.
class CompoundItemObserver {
public:
	virtual ~CompoundItemObserver() = default;
	void AttachToAllItems(const Panel& panel);
	void DetachFromAllItems(const Panel& panel);
};

} // namespace DG
