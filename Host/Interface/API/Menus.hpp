// The add-on's menus: registered from a string list of its resources, whose
// index i is the text of item i.
#pragma once

#include "API/Errors.hpp"
#include "GS/UniString.hpp"

// Where in the host's menus a registered menu goes.
enum APIMenuCodeID : Int32 {
	MenuCode_Palettes = 12 // among the host's palette commands
};

// Item flags.
constexpr UInt32 API_MenuItemChecked = 2; // the check mark

struct API_MenuItemRef {
	short menuResID;
	Int32 itemIndex; // 1-based
};

// What the host tells the menu handler about the chosen item.
struct API_MenuParams {
	API_MenuItemRef menuItemRef;
};

using APIMenuCommandProc = GSErrCode(const API_MenuParams* menuParams);

// Only while the host registers the add-on (RegisterInterface); APIERR_BADID
// when the add-on's resources have no such string list.
GSErrCode ACAPI_MenuItem_RegisterMenu(short menuStrResID, short promptStrResID, APIMenuCodeID menuPosCode,
                                      GSFlags menuFlags);
// The handler of every item of a registered menu.
GSErrCode ACAPI_MenuItem_InstallMenuHandler(short menuStrResID, APIMenuCommandProc* handlerProc);
// Replaces the item's flags and, when itemText is given, its text.
GSErrCode ACAPI_MenuItem_SetMenuItemFlags(const API_MenuItemRef* menuItemRef, unsigned int* itemFlags,
                                          GS::UniString* itemText);
