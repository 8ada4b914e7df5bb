// The stand-in's side of one loaded add-on: what it registered (menus,
// project events, modeless windows), where its file lies, and what each
// project keeps for it beside the model (add-on objects, libraries).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "API/AddOnEnvironment.hpp"
#include "API/Menus.hpp"
#include "API/ModelessWindows.hpp"
#include "API/ProjectEvents.hpp"
#include "Sim/API/Project.hpp"

namespace Sim {

struct ClientObject {
	GS::UniString name;
	Part content; // absent: the object holds no content
};

// What a project keeps for add-ons outside its model, so that undo leaves it
// alone and closing the project keeps it.
struct AddOnStorage {
	std::unordered_map<API_Guid, ClientObject> objects;
	std::unordered_map<GS::UniString, API_Guid> objectsByName;
	std::vector<GS::UniString> libraries; // folders, in the order added
};

struct MenuItem {
	GS::UniString text;
	unsigned int flags = 0;
};

struct RegisteredMenu {
	std::vector<MenuItem> items; // item i at index i - 1
	APIMenuCommandProc* handler = nullptr;
};

struct ModelessWindow {
	Int32 referenceID;
	APIPaletteControlCallBackProc* callBack;
	GSFlags controlFlags;
	API_Guid guid;
};

// A scripted answer of the host's tool settings dialog.
struct ToolDialogAnswer {
	bool accept;
	std::function<void(API_Element&)> edit; // applied to the tool's defaults on accept
	std::optional<StoredPCC> pcc;           // replaces the tool's PCC on accept
};

struct ToolDialogShown {
	API_ElemType type;
	API_Element defaults; // the tool's defaults as the dialog opened
	StoredPCC pcc;
	bool accepted;
};

struct SavedProject {
	Project model;
	AddOnStorage storage;
};

struct AddOnHostState {
	GSErrCode (*freeData)() = nullptr; // of the loaded add-on
	bool registering = false;          // inside RegisterInterface
	std::map<short, RegisteredMenu> menus;
	GSFlags caughtEvents = 0;
	APIProjectEventHandlerProc* eventHandler = nullptr;
	std::map<Int32, ModelessWindow> windows; // by reference ID
	GS::UniString ownLocation;
	std::set<std::string> folders; // the folders that exist on disk, as UTF-8 paths
	AddOnStorage storage;          // of the open project
	std::optional<SavedProject> saved;
	std::deque<ToolDialogAnswer> toolDialogAnswers;
	std::vector<ToolDialogShown> toolDialogsShown;
	std::vector<std::string> complaints; // what the add-on did that a host does not let pass, in order
};

AddOnHostState& AddOnHost();
void ResetAddOnHost();
void Complain(const std::string& complaint);

// Makes the open project an empty one with one story and the default content.
void StartNewProject();

} // namespace Sim
