// Modeless windows (palettes) that an add-on registers, so that the host can
// show, hide, disable and ask after them through their callback.
#pragma once

#include "API/Errors.hpp"
#include "API/Guid.hpp"

enum API_PaletteMessageID : Int32 {
	APIPalMsg_ClosePalette = 1,
	APIPalMsg_HidePalette_Begin = 2,
	APIPalMsg_HidePalette_End = 3,
	APIPalMsg_DisableItems_Begin = 4,
	APIPalMsg_DisableItems_End = 5,
	APIPalMsg_OpenPalette = 6,
	APIPalMsg_IsPaletteVisible = 7 // the parameter holds the address of a bool to fill
};

using APIPaletteControlCallBackProc = GSErrCode(Int32 referenceID, API_PaletteMessageID messageID, Int64 param);

// APIERR_REFERENCEEXIST when the reference ID or the GUID is registered already.
GSErrCode ACAPI_RegisterModelessWindow(Int32 referenceID, APIPaletteControlCallBackProc* callBackProc,
                                       GSFlags controlFlags, const API_Guid& paletteGuid);
// APIERR_BADID when nothing is registered under the reference ID.
GSErrCode ACAPI_UnregisterModelessWindow(Int32 referenceID);
