// Undoable commands, the report window and the debug log.
#pragma once

#include <functional>

#include "API/Errors.hpp"
#include "GS/UniString.hpp"

// Runs the body once as one undo step named undoString and returns its code.
GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command);

// Writes one printf-style line into the report window; withDial also shows it.
GSErrCode ACAPI_WriteReport(const GS::UniString& format, bool withDial, ...);

// The host's debug log.
void DBPrintf(const char* format, ...);
