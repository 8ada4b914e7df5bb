// Memory faults of the stand-in host, for tests: beside the single failed
// calls of HostControl.hpp, memory that runs out for good.
#pragma once

#include "GS/Types.hpp"

namespace HostControl {

// Every memory call from the n-th on (counted from now, 1-based) gives no
// memory, until the faults are cleared or the counts reset.
void FailMemoryFrom(UInt32 nthMemoryCall);
// The memory calls made since the counts were last reset.
UInt32 MemoryCallCount();

} // namespace HostControl
