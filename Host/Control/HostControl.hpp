// The stand-in host's control interface, for tests and the command-line runner.
// The add-on never includes this header.
#pragma once

#include <string>

#include "GS/Types.hpp"

namespace HostControl {

// Faults: the n-th call (counted from now, 1-based) of a host function, or of
// any host function, fails with the code; memory calls then give no memory.
void FailCall(const std::string& functionName, UInt32 nthCall, GSErrCode code);
void FailAnyCall(UInt32 nthCall, GSErrCode code);
void ClearFaults();
void ResetCallCounts();
UInt32 CallCount(const std::string& functionName);
UInt32 TotalCallCount();

// Memory handles and pointer blocks alive now.
Int32 LiveHandleCount();
Int32 LivePointerCount();

} // namespace HostControl
