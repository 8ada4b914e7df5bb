// Accounting of the live memory handles and pointer blocks.
#pragma once

#include "GS/Types.hpp"

namespace Sim {

Int32 LiveHandleCount();
Int32 LivePointerCount();

} // namespace Sim
