// Platform signs name the byte order under which stored values were written;
// the IV functions convert a value read under another sign in place.
#pragma once

#include "GS/Types.hpp"

namespace GS {

using PlatformSign = UInt16;

constexpr PlatformSign Mac_Platform_Sign = 0x4D4D;    // "MM": big-endian
constexpr PlatformSign Win_Platform_Sign = 0x5757;    // "WW": little-endian
constexpr PlatformSign Mactel_Platform_Sign = 0x6D6D; // "mm": little-endian
constexpr PlatformSign Act_Platform_Sign = Mactel_Platform_Sign;

} // namespace GS

void IVBool(GS::PlatformSign sign, bool* value);
void IVShort(GS::PlatformSign sign, Int16* value);
void IVULong(GS::PlatformSign sign, UInt32* value);
