// Undoable commands, the report window and the debug log.
#pragma once

#include <functional>

#include "API/Errors.hpp"
#include "GS/UniString.hpp"

// Runs the body once as one undo step named undoString and returns its code.
GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command);

namespace ReportWindow {
// Adds a line to the report window behind ACAPI_WriteReport.
GSErrCode WriteLine(bool withDial, const GS::UniString& line);
} // namespace ReportWindow

// Writes one line, formatted as GS::UniString::Printf does, into the report
// window; withDial also shows it.
template <typename... Args> GSErrCode ACAPI_WriteReport(const GS::UniString& format, bool withDial, Args... args)
{
	return ReportWindow::WriteLine(withDial, GS::UniString::Printf(format, args...));
}

// The host's debug log; the compiler checks the arguments against the format.
void DBPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
