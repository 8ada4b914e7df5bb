#include "AddOnControl.hpp"

#include <utility>

#include "Sim/API/AddOnHost.hpp"
#include "Sim/Control/ControlRecords.hpp"
#include "Sim/DG/DialogManager.hpp"

using Sim::AddOnHost;

namespace HostControl {

namespace {

GSErrCode Deliver(API_NotifyEventID event)
{
	const Sim::AddOnHostState& host = AddOnHost();
	if ((host.caughtEvents & event) == 0 || host.eventHandler == nullptr)
		return NoError;
	return host.eventHandler(event, 0);
}

const Sim::ModelessWindow* FindWindow(const API_Guid& palette)
{
	for (const auto& entry : AddOnHost().windows) {
		if (entry.second.guid == palette)
			return &entry.second;
	}
	return nullptr;
}

// A window left registered would be called into code that is gone, an observer
// left attached would be told of events: the host lets neither pass, and
// leaves both as the add-on left them.
void ComplainOfLeftovers()
{
	for (const auto& [referenceID, window] : AddOnHost().windows)
		Sim::Complain("The add-on left its window " + std::to_string(referenceID) + " registered at unload");
	for (const auto& [id, panel] : Sim::Dialogs().panels) {
		std::size_t observers = panel.observers.size();
		for (const auto& [number, item] : panel.items)
			observers += item.observers.size();
		if (observers != 0)
			Sim::Complain("The add-on left " + std::to_string(observers) + " observers attached to the panel " +
			              std::to_string(panel.resId) + " at unload");
	}
}

} // namespace

LoadResult LoadAddOn(const AddOnEntryPoints& entryPoints)
{
	API_EnvirParams envir;
	LoadResult result{entryPoints.checkEnvironment(&envir), "", "", NoError, NoError, false};
	result.name = envir.addOnInfo.name.ToCStr().Get();
	result.description = envir.addOnInfo.description.ToCStr().Get();
	if (result.type != APIAddon_Normal)
		return result;
	AddOnHost().registering = true;
	result.registerResult = entryPoints.registerInterface();
	AddOnHost().registering = false;
	result.initializeResult = entryPoints.initialize();
	AddOnHost().freeData = entryPoints.freeData;
	result.loaded = result.registerResult == NoError;
	return result;
}

GSErrCode UnloadAddOn()
{
	Sim::AddOnHostState& host = AddOnHost();
	if (host.freeData == nullptr)
		return NoError;
	GSErrCode result = host.freeData();
	host.freeData = nullptr;
	host.menus.clear();
	host.caughtEvents = 0;
	host.eventHandler = nullptr;
	ComplainOfLeftovers();
	return result;
}

void SetAddOnLocation(const std::string& path)
{
	AddOnHost().ownLocation = path;
}

std::vector<std::string> TakeComplaints()
{
	return std::exchange(AddOnHost().complaints, {});
}

void AddFolder(const std::string& path)
{
	AddOnHost().folders.insert(path);
}

std::vector<std::string> ProjectLibraries()
{
	std::vector<std::string> libraries;
	for (const GS::UniString& folder : AddOnHost().storage.libraries)
		libraries.push_back(folder.ToCStr().Get());
	return libraries;
}

std::optional<MenuItemState> MenuItem(short menuResID, Int32 itemIndex)
{
	auto menu = AddOnHost().menus.find(menuResID);
	if (menu == AddOnHost().menus.end() || itemIndex < 1 ||
	    static_cast<std::size_t>(itemIndex) > menu->second.items.size())
		return std::nullopt;
	const Sim::MenuItem& item = menu->second.items[static_cast<std::size_t>(itemIndex) - 1];
	return MenuItemState{item.text.ToCStr().Get(), item.flags};
}

GSErrCode ChooseMenuItem(short menuResID, Int32 itemIndex)
{
	auto menu = AddOnHost().menus.find(menuResID);
	if (!MenuItem(menuResID, itemIndex).has_value() || menu->second.handler == nullptr)
		return APIERR_BADID;
	API_MenuParams params{{menuResID, itemIndex}};
	return menu->second.handler(&params);
}

void ReplaceProject()
{
	Sim::StartNewProject();
}

GSErrCode NewProject(bool withReset)
{
	Sim::StartNewProject();
	return Deliver(withReset ? APINotify_NewAndReset : APINotify_New);
}

GSErrCode OpenProject()
{
	Sim::AddOnHostState& host = AddOnHost();
	if (host.saved.has_value()) {
		Sim::Host().project = std::move(host.saved->model);
		host.storage = std::move(host.saved->storage);
		host.saved.reset();
		Sim::Host().undoSteps.clear();
	}
	return Deliver(APINotify_Open);
}

GSErrCode CloseProject()
{
	GSErrCode result = Deliver(APINotify_Close);
	Sim::AddOnHostState& host = AddOnHost();
	host.saved = Sim::SavedProject{std::move(Sim::Host().project), std::move(host.storage)};
	Sim::Host().project = Sim::Project();
	Sim::Host().undoSteps.clear();
	host.storage = Sim::AddOnStorage();
	return result;
}

std::vector<ModelessWindowRecord> ModelessWindows()
{
	std::vector<ModelessWindowRecord> windows;
	for (const auto& entry : AddOnHost().windows)
		windows.push_back({entry.second.referenceID, entry.second.controlFlags, entry.second.guid});
	return windows;
}

GSErrCode SendPaletteMessage(const API_Guid& palette, API_PaletteMessageID message, Int64 param)
{
	const Sim::ModelessWindow* window = FindWindow(palette);
	if (window == nullptr)
		return APIERR_BADID;
	return window->callBack(window->referenceID, message, param);
}

std::optional<bool> IsPaletteVisible(const API_Guid& palette)
{
	if (FindWindow(palette) == nullptr)
		return std::nullopt;
	bool visible = false;
	SendPaletteMessage(palette, APIPalMsg_IsPaletteVisible, reinterpret_cast<Int64>(&visible));
	return visible;
}

std::optional<AddOnObject> FindAddOnObject(const std::string& name)
{
	const Sim::AddOnStorage& storage = AddOnHost().storage;
	auto found = storage.objectsByName.find(GS::UniString(name));
	if (found == storage.objectsByName.end())
		return std::nullopt;
	return AddOnObject{found->second, storage.objects.at(found->second).content};
}

void PutAddOnObject(const std::string& name, const std::optional<std::vector<char>>& content)
{
	Sim::AddOnStorage& storage = AddOnHost().storage;
	GS::UniString key(name);
	auto found = storage.objectsByName.find(key);
	API_Guid guid = found != storage.objectsByName.end() ? found->second : Sim::TheProject().NewGuid();
	storage.objectsByName[key] = guid;
	storage.objects[guid] = {key, content};
}

void RemoveAddOnObject(const std::string& name)
{
	Sim::AddOnStorage& storage = AddOnHost().storage;
	auto found = storage.objectsByName.find(GS::UniString(name));
	if (found == storage.objectsByName.end())
		return;
	storage.objects.erase(found->second);
	storage.objectsByName.erase(found);
}

void ScriptToolSettingsDialog(const std::vector<ToolSettingsAnswer>& answers)
{
	auto& script = AddOnHost().toolDialogAnswers;
	script.clear();
	for (const ToolSettingsAnswer& answer : answers) {
		std::optional<Sim::StoredPCC> pcc;
		if (answer.pcc.has_value())
			pcc = ToStored(*answer.pcc);
		script.push_back({answer.accept, answer.edit, pcc});
	}
}

std::vector<ToolSettingsShown> ToolSettingsDialogs()
{
	std::vector<ToolSettingsShown> shown;
	for (const Sim::ToolDialogShown& dialog : AddOnHost().toolDialogsShown)
		shown.push_back({dialog.type, dialog.defaults, ToControl(dialog.pcc), dialog.accepted});
	return shown;
}

} // namespace HostControl
