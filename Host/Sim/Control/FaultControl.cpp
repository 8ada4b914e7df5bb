#include "FaultControl.hpp"

#include "Sim/Control/Faults.hpp"

namespace HostControl {

void FailMemoryFrom(UInt32 nthMemoryCall)
{
	Sim::Faults().FailMemoryFrom(nthMemoryCall);
}

UInt32 MemoryCallCount()
{
	return Sim::Faults().MemoryCallCount();
}

} // namespace HostControl
