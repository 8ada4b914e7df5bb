#include <cstdarg>
#include <cstdio>
#include <vector>

#include "API/Commands.hpp"
#include "Faults.hpp"
#include "Project.hpp"

namespace {

std::string FormatV(const char* format, va_list args)
{
	va_list measure;
	va_copy(measure, args);
	int length = std::vsnprintf(nullptr, 0, format, measure);
	va_end(measure);
	if (length <= 0)
		return std::string();
	std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
	std::vsnprintf(buffer.data(), buffer.size(), format, args);
	return std::string(buffer.data(), static_cast<std::size_t>(length));
}

} // namespace

GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_CallUndoableCommand"); fault != NoError)
		return fault;
	Sim::HostState& host = Sim::Host();
	if (host.inUndoableCommand)
		return APIERR_NESTING;
	Sim::UndoStep step{undoString, host.project};
	host.inUndoableCommand = true;
	GSErrCode result = command();
	host.inUndoableCommand = false;
	host.undoSteps.push_back(std::move(step));
	return result;
}

namespace ReportWindow {

GSErrCode WriteFormatted(bool withDial, const char* format, ...)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_WriteReport"); fault != NoError)
		return fault;
	va_list args;
	va_start(args, format);
	std::string text = FormatV(format, args);
	va_end(args);
	Sim::Host().reportLines.push_back({GS::UniString(text), withDial});
	return NoError;
}

} // namespace ReportWindow

void DBPrintf(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	Sim::Host().debugLines.push_back(FormatV(format, args));
	va_end(args);
}
