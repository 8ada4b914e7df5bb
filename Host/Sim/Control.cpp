#include "HostControl.hpp"

#include "Faults.hpp"
#include "Memory.hpp"

namespace HostControl {

void FailCall(const std::string& functionName, UInt32 nthCall, GSErrCode code)
{
	Sim::Faults().FailCall(functionName, nthCall, code);
}

void FailAnyCall(UInt32 nthCall, GSErrCode code)
{
	Sim::Faults().FailAnyCall(nthCall, code);
}

void ClearFaults()
{
	Sim::Faults().Clear();
}

void ResetCallCounts()
{
	Sim::Faults().ResetCounts();
}

UInt32 CallCount(const std::string& functionName)
{
	return Sim::Faults().CallCount(functionName);
}

UInt32 TotalCallCount()
{
	return Sim::Faults().TotalCallCount();
}

Int32 LiveHandleCount()
{
	return Sim::LiveHandleCount();
}

Int32 LivePointerCount()
{
	return Sim::LivePointerCount();
}

} // namespace HostControl
