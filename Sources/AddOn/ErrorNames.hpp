// Printable names of error codes, as the failure alerts show them.
#pragma once

#include "ErrorCodes.hpp"
#include "GS/UniString.hpp"

// The name of an own COVERR_ or a host APIERR_ code; "Unknown Error" for any
// code without a name, 0 included.
GS::UniString ErrCodeToUniString(ErrCode code);
