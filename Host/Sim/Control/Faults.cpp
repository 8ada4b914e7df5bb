#include "Sim/Control/Faults.hpp"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Sim {

FaultTable& Faults()
{
	static FaultTable table;
	return table;
}

GSErrCode EnterCall(const char* functionName)
{
	return Faults().Enter(functionName);
}

void FaultTable::FailCall(const std::string& functionName, UInt32 nthCall, GSErrCode code)
{
	faults.push_back({functionName, CallCount(functionName) + nthCall, code});
}

void FaultTable::FailAnyCall(UInt32 nthCall, GSErrCode code)
{
	faults.push_back({std::string(), totalCalls + nthCall, code});
}

void FaultTable::FailMemoryFrom(UInt32 nthMemoryCall)
{
	memoryFailsFrom = memoryCalls + nthMemoryCall;
}

void FaultTable::Clear()
{
	faults.clear();
	memoryFailsFrom = 0;
}

void FaultTable::ResetCounts()
{
	callsByName.clear();
	countByLiteral.clear();
	callLog.clear();
	totalCalls = 0;
	memoryCalls = 0;
	Clear();
}

UInt32 FaultTable::CallCount(const std::string& functionName) const
{
	auto found = callsByName.find(functionName);
	return found == callsByName.end() ? 0 : found->second;
}

GSErrCode FaultTable::Enter(const char* functionName)
{
	callLog.push_back(functionName);
	auto [counted, isNew] = countByLiteral.try_emplace(functionName, nullptr);
	if (isNew)
		counted->second = &callsByName[functionName];
	UInt32 byName = ++*counted->second;
	UInt32 total = ++totalCalls;
	// The host's memory calls all start so, and no other call does.
	if (std::strncmp(functionName, "BM", 2) == 0 && ++memoryCalls >= memoryFailsFrom && memoryFailsFrom != 0)
		return ErrMemoryFull;
	auto due = std::find_if(faults.begin(), faults.end(), [&](const Fault& fault) {
		return fault.functionName.empty() ? fault.nthCall == total
		                                  : fault.functionName == functionName && fault.nthCall == byName;
	});
	if (due == faults.end())
		return NoError;
	GSErrCode code = due->code;
	faults.erase(due);
	return code;
}

} // namespace Sim
