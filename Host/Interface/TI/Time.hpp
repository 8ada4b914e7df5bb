// The host's time utility.
#pragma once

#include "GS/UniString.hpp"

using GSTime = UInt64; // seconds since 1970-01-01 00:00 UTC

enum TITimeFormat : Int32 { TI_Date = 1, TI_DateAndTime = 2 };

// The moment as text in the given format; time 0 is now.
GS::UniString TIGetTimeString(GSTime time, Int32 format);
