// Undoable commands, the report window and the debug log.
#pragma once

#include <functional>

#include "API/Errors.hpp"
#include "GS/UniString.hpp"

// Runs the body once as one undo step named undoString and returns its code.
GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command);

namespace ReportWindow {
// The C-style formatting behind ACAPI_WriteReport.
GSErrCode WriteFormatted(bool withDial, const char* format, ...);
} // namespace ReportWindow

// Writes one printf-style line into the report window; withDial also shows it.
template <typename... Args> GSErrCode ACAPI_WriteReport(const GS::UniString& format, bool withDial, Args... args)
{
	return ReportWindow::WriteFormatted(withDial, format.ToCStr().Get(), args...);
}

// The host's debug log.
void DBPrintf(const char* format, ...);
