// Basic integer, error and memory-handle types of the host's base library.
#pragma once

#include <cstddef>
#include <cstdint>

using Int8 = std::int8_t;
using UInt8 = std::uint8_t;
using Int16 = std::int16_t;
using UInt16 = std::uint16_t;
using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using UIndex = UInt32;
using USize = UInt32;

using GSErrCode = Int32;
using GSSize = Int32;
using GSFlags = Int32;
using GSPtr = char*;
using GSConstPtr = const char*;
using GSHandle = char**;
using GSConstHandle = const char* const*;
using GSResModule = Int32;
using GSResID = Int16;

constexpr GSErrCode NoError = 0;

// Host error codes of the base library's channels.
constexpr GSErrCode ErrIO = static_cast<GSErrCode>(0x81000000);
constexpr GSErrCode ErrRead = static_cast<GSErrCode>(0x81000001);
constexpr GSErrCode ErrWrite = static_cast<GSErrCode>(0x81000002);
constexpr GSErrCode ErrMemoryFull = static_cast<GSErrCode>(0x81000003);
