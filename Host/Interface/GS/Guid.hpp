// GS::Guid: a 128-bit identifier with the usual text form
// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", compared by value.
#pragma once

#include <functional>

#include "GS/UniString.hpp"

namespace GS {

class Guid {
public:
	Guid() = default;
	// Parses the text form; a malformed text gives the null GUID.
	explicit Guid(const char* text);
	explicit Guid(const UniString& text);

	bool IsNull() const;
	UniString ToUniString() const;
	// Parses the text form; false (and no change) when malformed.
	bool ConvertFromString(const UniString& text);

	bool operator==(const Guid& other) const;
	bool operator!=(const Guid& other) const { return !(*this == other); }
	bool operator<(const Guid& other) const;

	// The 16 bytes in memory order.
	UInt32 data1 = 0;
	UInt16 data2 = 0;
	UInt16 data3 = 0;
	UInt8 data4[8] = {};
};

static_assert(sizeof(Guid) == 16, "a GUID is 16 bytes");

extern const Guid NULLGuid;

} // namespace GS

template <> struct std::hash<GS::Guid> {
	// GUIDs that differ only in their last bytes, as those made one after another
	// do, hash one after another.
	std::size_t operator()(const GS::Guid& guid) const
	{
		std::size_t tail = 0;
		for (UInt8 byte : guid.data4)
			tail = tail << 8 | byte;
		std::size_t head = std::size_t(guid.data1) << 32 | std::size_t(guid.data2) << 16 | guid.data3;
		return tail + head * 0x9E3779B97F4A7C15ull;
	}
};
