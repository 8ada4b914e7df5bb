// What an add-on registers with the host: menus, project events and modeless
// windows; and where its file and the project's libraries lie.
#include "API/AddOnEnvironment.hpp"
#include "API/LibraryManagement.hpp"
#include "RS/Resources.hpp"
#include "Sim/API/AddOnHost.hpp"
#include "Sim/Control/Faults.hpp"
#include "Sim/GS/Memory.hpp"

#include <algorithm>

using Sim::AddOnHost;

namespace {

std::vector<Sim::MenuItem> MenuItemsFromResources(short menuStrResID)
{
	std::vector<Sim::MenuItem> items;
	for (Int32 index = 1;; ++index) {
		GS::UniString text = RSGetIndString(menuStrResID, index, ACAPI_GetOwnResModule());
		if (text.IsEmpty())
			return items;
		items.push_back({text, 0});
	}
}

Sim::MenuItem* FindMenuItem(const API_MenuItemRef& ref)
{
	auto menu = AddOnHost().menus.find(ref.menuResID);
	if (menu == AddOnHost().menus.end() || ref.itemIndex < 1 ||
	    static_cast<std::size_t>(ref.itemIndex) > menu->second.items.size())
		return nullptr;
	return &menu->second.items[static_cast<std::size_t>(ref.itemIndex) - 1];
}

bool GuidRegistered(const API_Guid& guid)
{
	const auto& windows = AddOnHost().windows;
	return std::any_of(windows.begin(), windows.end(), [&](const auto& entry) { return entry.second.guid == guid; });
}

} // namespace

GSErrCode ACAPI_MenuItem_RegisterMenu(short menuStrResID, short, APIMenuCodeID, GSFlags)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_MenuItem_RegisterMenu"); fault != NoError)
		return fault;
	if (!AddOnHost().registering)
		return APIERR_REFUSEDCMD;
	if (AddOnHost().menus.count(menuStrResID) != 0)
		return APIERR_REFERENCEEXIST;
	std::vector<Sim::MenuItem> items = MenuItemsFromResources(menuStrResID);
	if (items.empty())
		return APIERR_BADID;
	AddOnHost().menus[menuStrResID] = {std::move(items), nullptr};
	return NoError;
}

GSErrCode ACAPI_MenuItem_InstallMenuHandler(short menuStrResID, APIMenuCommandProc* handlerProc)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_MenuItem_InstallMenuHandler"); fault != NoError)
		return fault;
	auto menu = AddOnHost().menus.find(menuStrResID);
	if (menu == AddOnHost().menus.end())
		return APIERR_BADID;
	if (handlerProc == nullptr)
		return APIERR_BADPARS;
	menu->second.handler = handlerProc;
	return NoError;
}

GSErrCode ACAPI_MenuItem_SetMenuItemFlags(const API_MenuItemRef* menuItemRef, unsigned int* itemFlags,
                                          GS::UniString* itemText)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_MenuItem_SetMenuItemFlags"); fault != NoError)
		return fault;
	if (menuItemRef == nullptr || itemFlags == nullptr)
		return APIERR_BADPARS;
	Sim::MenuItem* item = FindMenuItem(*menuItemRef);
	if (item == nullptr)
		return APIERR_BADID;
	item->flags = *itemFlags;
	if (itemText != nullptr)
		item->text = *itemText;
	return NoError;
}

GSErrCode ACAPI_ProjectOperation_CatchProjectEvent(GSFlags eventTypes, APIProjectEventHandlerProc* handlerProc)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_ProjectOperation_CatchProjectEvent"); fault != NoError)
		return fault;
	if (eventTypes != 0 && handlerProc == nullptr)
		return APIERR_BADPARS;
	AddOnHost().caughtEvents = eventTypes;
	AddOnHost().eventHandler = eventTypes != 0 ? handlerProc : nullptr;
	return NoError;
}

GSErrCode ACAPI_RegisterModelessWindow(Int32 referenceID, APIPaletteControlCallBackProc* callBackProc,
                                       GSFlags controlFlags, const API_Guid& paletteGuid)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_RegisterModelessWindow"); fault != NoError)
		return fault;
	if (callBackProc == nullptr || paletteGuid == APINULLGuid)
		return APIERR_BADPARS;
	if (AddOnHost().windows.count(referenceID) != 0 || GuidRegistered(paletteGuid))
		return APIERR_REFERENCEEXIST;
	AddOnHost().windows[referenceID] = {referenceID, callBackProc, controlFlags, paletteGuid};
	return NoError;
}

GSErrCode ACAPI_UnregisterModelessWindow(Int32 referenceID)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_UnregisterModelessWindow"); fault != NoError)
		return fault;
	return AddOnHost().windows.erase(referenceID) != 0 ? NoError : APIERR_BADID;
}

GSErrCode ACAPI_GetOwnLocation(IO::Location* ownFileLoc)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_GetOwnLocation"); fault != NoError)
		return fault;
	if (ownFileLoc == nullptr)
		return APIERR_BADPARS;
	*ownFileLoc = IO::Location(AddOnHost().ownLocation);
	return NoError;
}

GSErrCode ACAPI_LibraryManagement_AddLibraries(IO::Location* folder)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_LibraryManagement_AddLibraries"); fault != NoError)
		return fault;
	if (folder == nullptr)
		return APIERR_BADPARS;
	GS::UniString path = folder->ToDisplayText();
	if (AddOnHost().folders.count(path.ToCStr().Get()) == 0)
		return APIERR_BADPARS;
	auto& libraries = AddOnHost().storage.libraries;
	if (std::find(libraries.begin(), libraries.end(), path) == libraries.end())
		libraries.push_back(path);
	return NoError;
}
