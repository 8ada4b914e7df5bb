// How the host identifies, loads and unloads an add-on: the add-on defines the
// four entry functions; the host calls CheckEnvironment, RegisterInterface and
// Initialize in this order at load, and FreeData at unload.
#pragma once

#include "API/Errors.hpp"
#include "GS/UniString.hpp"
#include "IO/Location.hpp"

// What CheckEnvironment says the add-on is.
enum API_AddonType : Int32 {
	APIAddon_DontRegister = 0, // not loaded
	APIAddon_Normal = 2        // loaded, registered and initialised
};

// The add-on's name and description as the host lists them.
struct API_AddOnInfo {
	GS::UniString name;
	GS::UniString description;
};

struct API_EnvirParams {
	API_AddOnInfo addOnInfo; // filled by the add-on
};

API_AddonType CheckEnvironment(API_EnvirParams* envir);
// Menus are registered here and nowhere else.
GSErrCode RegisterInterface();
GSErrCode Initialize();
GSErrCode FreeData();

// The location of the add-on's own file.
GSErrCode ACAPI_GetOwnLocation(IO::Location* ownFileLoc);
