// Number to text and back, as the host's base library does it.
#pragma once

#include "GS/UniString.hpp"

namespace GS {

// Conversion modes of strtovalue.
constexpr Int32 ConvertWhole = 1;        // the whole text must be the number
constexpr Int32 WhiteSpaceForbidden = 0; // no blanks around the number

// Writes the decimal text of value with a terminating zero; false when it does not fit.
bool valuetostr(UInt32 value, char* buffer, USize bufferSize);
// Reads a decimal unsigned 32-bit number; false (value unchanged) when the text is not one.
bool strtovalue(const UniString& text, UInt32& value, Int32 conversionMode, Int32 whiteSpaceMode);

} // namespace GS
