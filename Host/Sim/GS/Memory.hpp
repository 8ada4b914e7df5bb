// Accounting of the live memory handles and pointer blocks.
#pragma once

#include "GS/Types.hpp"

namespace Sim {

Int32 LiveHandleCount();
Int32 LivePointerCount();
// The largest size any handle has had since the last reset.
GSSize LargestHandleSize();
void ResetLargestHandleSize();

} // namespace Sim

namespace Sim {

// The host's own allocations for what it hands out (memo parts, user data):
// not host calls of the add-on, so never failed by fault injection.
GSHandle NewHandle(GSSize size);
GSHandle NewHandle(const void* bytes, GSSize size);
GSPtr NewPointer(const void* bytes, GSSize size);

// Objects handed out by pointer for the receiver to delete (library-part
// locations) count as live pointers until they are deleted.
void CountHandedOut(const void* object);
void ForgetHandedOut(const void* object);

} // namespace Sim
