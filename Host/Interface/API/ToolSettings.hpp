// The host's own settings dialog of a tool.
#pragma once

#include "API/Elements.hpp"
#include "API/Errors.hpp"

// A tool of the toolbox, named by the element type it makes.
struct API_ToolBoxItem {
	API_ElemType type;
};

// Shows the tool's settings dialog on the tool's defaults (elemGuid null) and,
// when the user accepts, keeps the defaults as edited; APIERR_CANCEL when the
// user cancels, which leaves them as they were.
GSErrCode ACAPI_Dialog_SettingsDialog(API_ToolBoxItem* toolBoxItem, API_Guid* elemGuid);
