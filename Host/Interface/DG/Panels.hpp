// Panels of the host's dialog library: modal dialogs and modeless palettes
// built from a layout resource, and the observers of their events.
#pragma once

#include "GS/Guid.hpp"
#include "GS/Types.hpp"

namespace DG {

class Panel;

class PanelOpenEvent {
public:
	explicit PanelOpenEvent(const Panel& source) : source(source) {}
	const Panel* GetSource() const { return &source; }

private:
	const Panel& source;
};

class PanelCloseRequestEvent {
public:
	PanelCloseRequestEvent(const Panel& source, bool accepting) : source(source), accepting(accepting) {}
	const Panel* GetSource() const { return &source; }
	// True when the close would accept the dialog (OK rather than cancel).
	bool IsAccepted() const { return accepting; }

private:
	const Panel& source;
	bool accepting;
};

class PanelResizeEvent {
public:
	PanelResizeEvent(const Panel& source, short dx, short dy) : source(source), dx(dx), dy(dy) {}
	const Panel* GetSource() const { return &source; }
	short GetHorizontalChange() const { return dx; }
	short GetVerticalChange() const { return dy; }

private:
	const Panel& source;
	short dx;
	short dy;
};

// Detaches itself from every panel when destroyed.
class PanelObserver {
public:
	virtual ~PanelObserver();
	virtual void PanelOpened(const PanelOpenEvent&) {}
	// accepted comes in true; an observer that clears it keeps the panel open.
	virtual void PanelCloseRequested(const PanelCloseRequestEvent&, bool*) {}
	virtual void PanelResized(const PanelResizeEvent&) {}
};

class Panel {
public:
	Panel(const Panel&) = delete;
	Panel& operator=(const Panel&) = delete;
	virtual ~Panel();

	// 0 when the layout resource could not be loaded.
	Int32 GetId() const { return id; }

	void Attach(PanelObserver& observer);
	void Detach(PanelObserver& observer);

	// Greys every item out, or lifts that again; each item keeps its own status.
	void EnableItems();
	void DisableItems();
	void BeginMoveResizeItems();
	void EndMoveResizeItems();

protected:
	Panel(GSResModule resModule, short resId);

private:
	Int32 id;
};

class Dialog : public Panel {
public:
	void SetPopupStyle();

protected:
	using Panel::Panel;
};

class ModalDialog : public Dialog {
public:
	enum ModalResponse { Accept = 1, Cancel = 2 };

	ModalDialog(GSResModule resModule, short resId, GSResModule dialogIconResModule);

	// Runs the dialog until it closes; true when it closed with accept.
	bool Invoke();
	void PostCloseRequest(ModalResponse response);
};

class ModelessBase : public Dialog {
public:
	void Show(short position);
	void Hide();
	bool IsVisible() const;
	// A modeless panel receives user events only in between.
	void BeginEventProcessing();
	void EndEventProcessing();

protected:
	using Dialog::Dialog;
};

class Palette : public ModelessBase {
public:
	Palette(GSResModule resModule, short resId, GSResModule dialogIconResModule, const GS::Guid& guid);
};

} // namespace DG
