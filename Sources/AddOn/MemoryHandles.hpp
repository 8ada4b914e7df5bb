// Memory handles that readers of stored data grow step by step.
#pragma once

#include "GS/Types.hpp"

// Makes the handle (allocated when null) hold at least `needed` bytes, at
// least doubling it but never beyond `limit`; new bytes are zero. Readers grow
// their handles as the stream delivers data, so that a damaged size or count
// costs no more memory than the stream really holds. Needs needed <= limit.
GSErrCode ReserveHandleSize(GSHandle& handle, GSSize needed, GSSize limit);
