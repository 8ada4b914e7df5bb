#include "GS/PlatformSign.hpp"
#include "GS/ValueConversion.hpp"

#include <cstdio>

namespace {

bool IsBigEndian(GS::PlatformSign sign)
{
	return sign == GS::Mac_Platform_Sign;
}

} // namespace

void IVBool(GS::PlatformSign, bool* value)
{
	// A bool is one byte: only its truth has to be normalised.
	unsigned char byte = *reinterpret_cast<unsigned char*>(value);
	*value = byte != 0;
}

void IVShort(GS::PlatformSign sign, Int16* value)
{
	if (IsBigEndian(sign)) {
		UInt16 bits = static_cast<UInt16>(*value);
		*value = static_cast<Int16>(static_cast<UInt16>((bits >> 8) | (bits << 8)));
	}
}

void IVULong(GS::PlatformSign sign, UInt32* value)
{
	if (IsBigEndian(sign)) {
		UInt32 bits = *value;
		*value = (bits >> 24) | ((bits >> 8) & 0xFF00) | ((bits << 8) & 0xFF0000) | (bits << 24);
	}
}

namespace GS {

bool valuetostr(UInt32 value, char* buffer, USize bufferSize)
{
	int written = std::snprintf(buffer, bufferSize, "%u", value);
	return written > 0 && static_cast<USize>(written) < bufferSize;
}

bool strtovalue(const UniString& text, UInt32& value, Int32 conversionMode, Int32 whiteSpaceMode)
{
	USize from = 0;
	USize to = text.GetLength();
	if (whiteSpaceMode != WhiteSpaceForbidden) {
		while (from < to && (text[from] == u' ' || text[from] == u'\t'))
			++from;
		while (to > from && (text[to - 1] == u' ' || text[to - 1] == u'\t'))
			--to;
	}
	if (from == to)
		return false;
	UInt64 number = 0;
	USize i = from;
	for (; i < to && text[i] >= u'0' && text[i] <= u'9'; ++i) {
		number = number * 10 + static_cast<UInt64>(text[i] - u'0');
		if (number > 0xFFFFFFFFu)
			return false;
	}
	if (i == from || (conversionMode == ConvertWhole && i != to))
		return false;
	value = static_cast<UInt32>(number);
	return true;
}

} // namespace GS
