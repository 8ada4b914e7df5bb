// Project events: the host tells a caught handler when a project is made,
// opened or closed.
#pragma once

#include "API/Errors.hpp"

// Each event is one bit, so that a set of events is their sum.
enum API_NotifyEventID : Int32 {
	APINotify_New = 1,
	APINotify_NewAndReset = 2,
	APINotify_Open = 4,
	APINotify_Close = 32
};

using APIProjectEventHandlerProc = GSErrCode(API_NotifyEventID notifID, Int32 param);

// Catches the events whose bits are set (0: none) with the handler.
GSErrCode ACAPI_ProjectOperation_CatchProjectEvent(GSFlags eventTypes, APIProjectEventHandlerProc* handlerProc);
