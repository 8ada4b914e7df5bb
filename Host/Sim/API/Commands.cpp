#include <cstdarg>
#include <cstdio>
#include <vector>

#include "API/Commands.hpp"
#include "Sim/API/ModelChangeRules.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/Control/Faults.hpp"

GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_CallUndoableCommand"); fault != NoError)
		return fault;
	return Sim::RunUndoStep(undoString, command);
}

namespace ReportWindow {

GSErrCode WriteLine(bool withDial, const GS::UniString& line)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_WriteReport"); fault != NoError)
		return fault;
	Sim::Host().reportLines.push_back({line, withDial});
	return NoError;
}

} // namespace ReportWindow

void DBPrintf(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	va_list measure;
	va_copy(measure, args);
	int length = std::vsnprintf(nullptr, 0, format, measure);
	va_end(measure);
	std::string line;
	if (length > 0) {
		std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
		std::vsnprintf(buffer.data(), buffer.size(), format, args);
		line.assign(buffer.data(), static_cast<std::size_t>(length));
	}
	va_end(args);
	Sim::Host().debugLines.push_back(line);
}
