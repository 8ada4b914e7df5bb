#include "GS/UniString.hpp"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace GS {

namespace {

constexpr UInt32 MaxCodePoint = 0x10FFFF;

std::size_t SequenceLength(unsigned char lead)
{
	if (lead < 0x80)
		return 1;
	if ((lead & 0xE0) == 0xC0)
		return 2;
	if ((lead & 0xF0) == 0xE0)
		return 3;
	if ((lead & 0xF8) == 0xF0)
		return 4;
	return 0;
}

// Decodes the sequence starting at text[at]; answers its byte count, or 0
// when it is not valid (bad lead or continuation, cut off, overlong, too large).
// Encoded surrogates are accepted, so that any UTF-16 text survives a round trip.
std::size_t DecodeSequence(const std::string& text, std::size_t at, UInt32& codePoint)
{
	constexpr UInt32 shortestFrom[] = {0, 0, 0x80, 0x800, 0x10000};
	unsigned char lead = static_cast<unsigned char>(text[at]);
	std::size_t length = SequenceLength(lead);
	if (length == 0 || text.size() - at < length)
		return 0;
	codePoint = length == 1 ? lead : lead & (0xFFu >> (length + 1));
	for (std::size_t k = 1; k < length; ++k) {
		unsigned char next = static_cast<unsigned char>(text[at + k]);
		if ((next & 0xC0) != 0x80)
			return 0;
		codePoint = (codePoint << 6) | (next & 0x3Fu);
	}
	return codePoint >= shortestFrom[length] && codePoint <= MaxCodePoint ? length : 0;
}

void AppendUtf16(UInt32 codePoint, std::u16string& units)
{
	if (codePoint < 0x10000) {
		units.push_back(static_cast<UniChar>(codePoint));
		return;
	}
	codePoint -= 0x10000;
	units.push_back(static_cast<UniChar>(0xD800 + (codePoint >> 10)));
	units.push_back(static_cast<UniChar>(0xDC00 + (codePoint & 0x3FF)));
}

// A byte that starts no valid sequence becomes U+FFFD and decoding goes on
// with the next byte, so damaged text loses none of the valid text after it.
std::u16string FromUtf8(const std::string& text)
{
	std::u16string result;
	for (std::size_t at = 0; at < text.size();) {
		UInt32 codePoint = 0;
		std::size_t length = DecodeSequence(text, at, codePoint);
		AppendUtf16(length == 0 ? 0xFFFD : codePoint, result);
		at += length == 0 ? 1 : length;
	}
	return result;
}

std::string ToUtf8(const std::u16string& units)
{
	std::string result;
	for (std::size_t i = 0; i < units.size(); ++i) {
		UInt32 codePoint = units[i];
		if (codePoint >= 0xD800 && codePoint < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
		    units[i + 1] < 0xE000) {
			codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (units[i + 1] - 0xDC00);
			++i;
		}
		if (codePoint < 0x80) {
			result.push_back(static_cast<char>(codePoint));
		} else if (codePoint < 0x800) {
			result.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
			result.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
		} else if (codePoint < 0x10000) {
			result.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
			result.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
			result.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
		} else {
			result.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
			result.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
			result.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
			result.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
		}
	}
	return result;
}

} // namespace

UniString::UniString(const char* text, CharCode) : units(FromUtf8(text == nullptr ? "" : text)) {}

UniString::UniString(const std::string& text) : units(FromUtf8(text)) {}

UniString::UniString(const UniChar* text) : units(text == nullptr ? u"" : text) {}

UniString::UniString(const UniChar* text, USize length) : units(text, length) {}

UniString& UniString::operator+=(const UniString& other)
{
	units += other.units;
	return *this;
}

UniString UniString::operator+(const UniString& other) const
{
	UniString result = *this;
	result += other;
	return result;
}

USize UniString::Split(const UniString& separator, Array<UniString>* parts) const
{
	parts->Clear();
	if (separator.IsEmpty()) {
		parts->Push(*this);
		return 1;
	}
	std::size_t start = 0;
	for (;;) {
		std::size_t found = units.find(separator.units, start);
		UniString part;
		part.units = units.substr(start, found == std::u16string::npos ? std::u16string::npos : found - start);
		parts->Push(part);
		if (found == std::u16string::npos)
			break;
		start = found + separator.units.size();
	}
	return parts->GetSize();
}

UniString::CStr UniString::ToCStr(UIndex from, USize range, CharCode) const
{
	if (from >= units.size())
		return CStr(std::string());
	return CStr(ToUtf8(units.substr(from, range)));
}

void UniString::CopyUStr(UniChar* destination, USize maxUnits) const
{
	if (maxUnits == 0)
		return;
	std::size_t count = std::min<std::size_t>(units.size(), maxUnits - 1);
	std::copy(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(count), destination);
	destination[count] = 0;
}

UniString UniString::FormatUtf8(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	va_list measure;
	va_copy(measure, args);
	int length = std::vsnprintf(nullptr, 0, format, measure);
	va_end(measure);
	std::string text;
	if (length > 0) {
		std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
		std::vsnprintf(buffer.data(), buffer.size(), format, args);
		text.assign(buffer.data(), static_cast<std::size_t>(length));
	}
	va_end(args);
	return UniString(text);
}

UniString operator+(const char* left, const UniString& right)
{
	return UniString(left) + right;
}

} // namespace GS
