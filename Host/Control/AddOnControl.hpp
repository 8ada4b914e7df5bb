// The control interface's side of the add-on's life in the host: loading and
// unloading it, choosing its menu items, opening and closing projects, sending
// palette messages, its stored add-on objects and the host's tool settings dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "API/AddOnEnvironment.hpp"
#include "API/Menus.hpp"
#include "API/ModelessWindows.hpp"
#include "HostControl.hpp"

namespace HostControl {

// --- Load and unload ----------------------------------------------------------

struct AddOnEntryPoints {
	API_AddonType (*checkEnvironment)(API_EnvirParams*);
	GSErrCode (*registerInterface)();
	GSErrCode (*initialize)();
	GSErrCode (*freeData)();
};

struct LoadResult {
	API_AddonType type;
	std::string name;         // as CheckEnvironment gave it
	std::string description;  // as CheckEnvironment gave it
	GSErrCode registerResult; // not run: NoError
	GSErrCode initializeResult;
	bool loaded; // registered and initialised: the add-on's type is normal and its registration succeeded
};
// Calls CheckEnvironment, then RegisterInterface and Initialize for a normal add-on.
LoadResult LoadAddOn(const AddOnEntryPoints& entryPoints);
// Calls FreeData, then forgets every menu and event handler of the add-on. A
// window that it left registered, or an observer that it left attached to a
// panel, stays and is a complaint. NoError without a loaded add-on.
GSErrCode UnloadAddOn();

// What the host found the add-on doing that a host does not let pass (a modal
// dialog still open when its script ran out, leftovers at unload), in order,
// each one line; taking them forgets them.
std::vector<std::string> TakeComplaints();

// The add-on's file; by default "/Host/Add-Ons/Velmora/Velmora.bundle".
void SetAddOnLocation(const std::string& path);
// A folder that exists on disk, so that the host can add it as a library.
void AddFolder(const std::string& path);
// The project's library folders, in the order added.
std::vector<std::string> ProjectLibraries();

// --- Menus ----------------------------------------------------------------------

struct MenuItemState {
	std::string text;
	unsigned int flags;
};
// Absent: no such menu or item registered.
std::optional<MenuItemState> MenuItem(short menuResID, Int32 itemIndex);
// Calls the menu's handler as the user's choice of the item; APIERR_BADID when
// the item or its handler does not exist.
GSErrCode ChooseMenuItem(short menuResID, Int32 itemIndex);

// --- Projects -------------------------------------------------------------------

// Puts a new empty project in the place of the open one without telling the
// add-on, as the host does before it reads a project file; OpenProject then tells it.
void ReplaceProject();
// Each delivers its event to the caught handler and returns its code (NoError
// when the event is not caught).
// A new empty project with one story and the default content.
GSErrCode NewProject(bool withReset = false);
// Tells the add-on that the project in the host was opened; after a close,
// the closed project comes back first, with its add-on objects and libraries.
GSErrCode OpenProject();
// Closes the project, keeping it as a saved project keeps it; the host then
// holds an empty project without stories until the next New or Open.
GSErrCode CloseProject();

// --- Modeless windows -------------------------------------------------------------

struct ModelessWindowRecord {
	Int32 referenceID;
	GSFlags controlFlags;
	API_Guid guid;
};
std::vector<ModelessWindowRecord> ModelessWindows();
// Sends the message to the window registered under the GUID, with its
// reference ID; APIERR_BADID when none is.
GSErrCode SendPaletteMessage(const API_Guid& palette, API_PaletteMessageID message, Int64 param = 0);
// Asks the window whether it is visible (message 7); absent when none is registered.
std::optional<bool> IsPaletteVisible(const API_Guid& palette);

// --- Add-on objects ---------------------------------------------------------------

struct AddOnObject {
	API_Guid guid;
	std::optional<std::vector<char>> content; // absent: the object holds no content
};
std::optional<AddOnObject> FindAddOnObject(const std::string& name);
// Creates the object or replaces its content, as damaged storage would leave it.
void PutAddOnObject(const std::string& name, const std::optional<std::vector<char>>& content);
void RemoveAddOnObject(const std::string& name);

// --- The tool settings dialog -------------------------------------------------------

struct ToolSettingsAnswer {
	bool accept = true;
	std::function<void(API_Element& defaults)> edit; // on accept: the user's edits (type and GUID stay)
	std::optional<PCC> pcc;                          // on accept: the tool's new PCC
};
// Answers of the next dialogs, in order; without a script the user accepts the
// dialog as it opened.
void ScriptToolSettingsDialog(const std::vector<ToolSettingsAnswer>& answers);

struct ToolSettingsShown {
	API_ElemType type;
	API_Element defaults; // the tool's defaults as the dialog opened
	PCC pcc;
	bool accepted;
};
std::vector<ToolSettingsShown> ToolSettingsDialogs();

} // namespace HostControl
