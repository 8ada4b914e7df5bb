// Call counting and fault injection: every host call enters here first.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "GS/Types.hpp"

namespace Sim {

// Counts the call and answers the error injected for it, or NoError.
GSErrCode EnterCall(const char* functionName);

class FaultTable {
public:
	void FailCall(const std::string& functionName, UInt32 nthCall, GSErrCode code);
	void FailAnyCall(UInt32 nthCall, GSErrCode code);
	// Every memory call from the n-th on, counted from now, gives no memory.
	void FailMemoryFrom(UInt32 nthMemoryCall);
	UInt32 MemoryCallCount() const { return memoryCalls; }
	void Clear();
	void ResetCounts();
	UInt32 CallCount(const std::string& functionName) const;
	UInt32 TotalCallCount() const { return totalCalls; }
	std::vector<std::string> CallLog() const { return {callLog.begin(), callLog.end()}; }
	// The name is one of the host's own literals, which the log keeps without a copy.
	GSErrCode Enter(const char* functionName);

private:
	struct Fault {
		std::string functionName; // empty: any host function
		UInt32 nthCall;
		GSErrCode code;
	};

	std::vector<Fault> faults;
	std::unordered_map<std::string_view, UInt32> callsByName; // keys are the host's literals
	// Each literal's count in callsByName, found without reading the name again.
	std::unordered_map<const char*, UInt32*> countByLiteral;
	std::vector<const char*> callLog; // every call since the counts were reset, in order
	UInt32 totalCalls = 0;
	UInt32 memoryCalls = 0;
	UInt32 memoryFailsFrom = 0; // 0: memory calls do not fail
};

FaultTable& Faults();

} // namespace Sim
