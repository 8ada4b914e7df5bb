// The add-on's frame: its entry functions (declared by the host's interface),
// the handler of its menu and the handler of project events.
#pragma once

#include "API/AddOnEnvironment.hpp"
#include "API/Menus.hpp"
#include "API/ProjectEvents.hpp"

// The palette command shows or hides the palette; any other item does nothing.
GSErrCode MenuCommandHandler(const API_MenuParams* menuParams);
// New, new-with-reset and open add the library folder beside the add-on file
// and load the palette's stored state; close clears it.
GSErrCode ProjectEventHandlerProc(API_NotifyEventID notifID, Int32 param);
