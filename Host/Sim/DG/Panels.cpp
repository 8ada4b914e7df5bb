// Panels of the headless dialog manager. A modal dialog runs the script of
// user actions that the control interface handed over for it.
#include <algorithm>
#include <string>

#include "DG/Panels.hpp"
#include "Sim/API/AddOnHost.hpp"
#include "Sim/DG/DialogManager.hpp"

using Sim::Dialogs;
using Sim::FindPanel;
using Sim::PanelRecord;

namespace {

std::vector<HostControl::DialogAction> TakeScript(short resId)
{
	auto& scripts = Dialogs().scripts;
	if (scripts.empty() || scripts.front().first != resId)
		return {};
	std::vector<HostControl::DialogAction> actions = std::move(scripts.front().second);
	scripts.pop_front();
	return actions;
}

void Close(PanelRecord& panel, DG::ModalDialog::ModalResponse response)
{
	if (Sim::RequestClose(panel, response == DG::ModalDialog::Accept))
		panel.closeResponse = response;
}

void Perform(PanelRecord& panel, const HostControl::DialogAction& action)
{
	using Action = HostControl::DialogAction;
	switch (action.kind) {
	case Action::Click:
		Sim::UserClick(panel, action.item);
		break;
	case Action::Toggle:
		Sim::UserToggle(panel, action.item);
		break;
	case Action::DoubleClickRow:
		Sim::UserDoubleClickRow(panel, action.item, action.row);
		break;
	case Action::SelectTreeItem:
		Sim::UserSelectTreeItem(panel, action.item, action.text);
		break;
	case Action::Resize:
		Sim::UserResize(panel, action.dx, action.dy);
		break;
	case Action::Close:
		Close(panel, action.accept ? DG::ModalDialog::Accept : DG::ModalDialog::Cancel);
		break;
	}
}

template <typename Observer> void DetachEverywhere(std::vector<Observer*>& observers, const Observer* observer)
{
	observers.erase(std::remove(observers.begin(), observers.end(), observer), observers.end());
}

} // namespace

namespace DG {

PanelObserver::~PanelObserver()
{
	for (auto& [id, panel] : Dialogs().panels)
		DetachEverywhere<PanelObserver>(panel.observers, this);
}

Panel::Panel(GSResModule resModule, short resId) : id(0)
{
	const Sim::PanelLayout* layout = Sim::FindPanelLayout(resModule, resId);
	if (layout == nullptr)
		return;
	id = ++Dialogs().lastId;
	PanelRecord& panel = Dialogs().panels[id];
	panel.id = id;
	panel.resId = resId;
	panel.object = this;
	panel.layout = layout;
	panel.width = layout->width;
	panel.height = layout->height;
	for (const auto& [number, item] : layout->items) {
		Sim::ItemRecord& record = panel.items[number];
		record.layout = item;
		record.text = GS::UniString(item.text);
		record.rect = item.rect;
	}
}

Panel::~Panel()
{
	Dialogs().panels.erase(id);
}

void Panel::Attach(PanelObserver& observer)
{
	if (PanelRecord* panel = FindPanel(id); panel != nullptr)
		panel->observers.push_back(&observer);
}

void Panel::Detach(PanelObserver& observer)
{
	if (PanelRecord* panel = FindPanel(id); panel != nullptr)
		DetachEverywhere<PanelObserver>(panel->observers, &observer);
}

void Panel::EnableItems()
{
	if (PanelRecord* panel = FindPanel(id); panel != nullptr)
		panel->itemsDisabled = false;
}

void Panel::DisableItems()
{
	if (PanelRecord* panel = FindPanel(id); panel != nullptr)
		panel->itemsDisabled = true;
}

// The headless panel draws nothing, so there is nothing to hold back.
void Panel::BeginMoveResizeItems() {}
void Panel::EndMoveResizeItems() {}

void Dialog::SetPopupStyle()
{
	if (PanelRecord* panel = FindPanel(GetId()); panel != nullptr)
		panel->popupStyle = true;
}

ModalDialog::ModalDialog(GSResModule resModule, short resId, GSResModule) : Dialog(resModule, resId) {}

bool ModalDialog::Invoke()
{
	PanelRecord* panel = FindPanel(GetId());
	if (panel == nullptr)
		return false;
	panel->visible = true;
	panel->closeResponse.reset();
	PanelOpenEvent openEvent(*this);
	std::vector<PanelObserver*> observers = panel->observers;
	for (PanelObserver* observer : observers)
		observer->PanelOpened(openEvent);
	HostControl::DialogRun run{panel->resId, Sim::Snapshot(*panel), {}, false};
	for (const HostControl::DialogAction& action : TakeScript(panel->resId)) {
		if (panel->closeResponse.has_value())
			break;
		Perform(*panel, action);
	}
	// No user is left to close it: a real host would wait for ever.
	if (!panel->closeResponse.has_value())
		Sim::Complain("The modal dialog " + std::to_string(panel->resId) + " was still open when its script ran out");
	run.accepted = panel->closeResponse == Accept;
	panel->visible = false;
	run.closed = Sim::Snapshot(*panel);
	Dialogs().runs.push_back(run);
	return run.accepted;
}

void ModalDialog::PostCloseRequest(ModalResponse response)
{
	if (PanelRecord* panel = FindPanel(GetId()); panel != nullptr)
		Close(*panel, response);
}

void ModelessBase::Show(short)
{
	if (PanelRecord* panel = FindPanel(GetId()); panel != nullptr)
		panel->visible = true;
}

void ModelessBase::Hide()
{
	if (PanelRecord* panel = FindPanel(GetId()); panel != nullptr)
		panel->visible = false;
}

bool ModelessBase::IsVisible() const
{
	PanelRecord* panel = FindPanel(GetId());
	return panel != nullptr && panel->visible;
}

void ModelessBase::BeginEventProcessing()
{
	if (PanelRecord* panel = FindPanel(GetId()); panel != nullptr)
		panel->processingEvents = true;
}

void ModelessBase::EndEventProcessing()
{
	if (PanelRecord* panel = FindPanel(GetId()); panel != nullptr)
		panel->processingEvents = false;
}

Palette::Palette(GSResModule resModule, short resId, GSResModule, const GS::Guid&) : ModelessBase(resModule, resId)
{
	if (PanelRecord* panel = FindPanel(GetId()); panel != nullptr)
		panel->modeless = true;
}

} // namespace DG
