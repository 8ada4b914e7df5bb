#include "GS/Guid.hpp"

#include <cstdio>
#include <cstring>

namespace GS {

const Guid NULLGuid;

namespace {

int HexDigit(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

bool Parse(const char* text, Guid& guid)
{
	if (text == nullptr || std::strlen(text) != 36)
		return false;
	UInt8 bytes[16];
	int byteIndex = 0;
	for (int i = 0; i < 36;) {
		if (i == 8 || i == 13 || i == 18 || i == 23) {
			if (text[i] != '-')
				return false;
			++i;
			continue;
		}
		int high = HexDigit(text[i]);
		int low = HexDigit(text[i + 1]);
		if (high < 0 || low < 0)
			return false;
		bytes[byteIndex++] = static_cast<UInt8>(high * 16 + low);
		i += 2;
	}
	guid.data1 = (UInt32(bytes[0]) << 24) | (UInt32(bytes[1]) << 16) | (UInt32(bytes[2]) << 8) | bytes[3];
	guid.data2 = static_cast<UInt16>((bytes[4] << 8) | bytes[5]);
	guid.data3 = static_cast<UInt16>((bytes[6] << 8) | bytes[7]);
	std::memcpy(guid.data4, bytes + 8, 8);
	return true;
}

} // namespace

Guid::Guid(const char* text)
{
	Parse(text, *this);
}

Guid::Guid(const UniString& text) : Guid(text.ToCStr().Get()) {}

bool Guid::IsNull() const
{
	return *this == NULLGuid;
}

bool Guid::ConvertFromString(const UniString& text)
{
	Guid parsed;
	if (!Parse(text.ToCStr().Get(), parsed))
		return false;
	*this = parsed;
	return true;
}

UniString Guid::ToUniString() const
{
	char text[40];
	std::snprintf(text, sizeof(text), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", data1, data2, data3, data4[0],
	              data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
	return UniString(text);
}

bool Guid::operator==(const Guid& other) const
{
	return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
	       std::memcmp(data4, other.data4, 8) == 0;
}

bool Guid::operator<(const Guid& other) const
{
	if (data1 != other.data1)
		return data1 < other.data1;
	if (data2 != other.data2)
		return data2 < other.data2;
	if (data3 != other.data3)
		return data3 < other.data3;
	return std::memcmp(data4, other.data4, 8) < 0;
}

} // namespace GS
