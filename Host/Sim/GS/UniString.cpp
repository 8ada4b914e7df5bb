#include "GS/UniString.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
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

// "%", flags, width and precision of a printf conversion, and its type.
struct Conversion {
	std::string prefix;
	char type = 0;
	std::size_t end = 0; // just after the conversion in the format
};

bool IsOneOf(char c, const char* set)
{
	return c != '\0' && std::strchr(set, c) != nullptr;
}

// Reads "%[flags][width][.precision][length]type" at format[at]; false when no
// known type ends it.
bool ReadConversion(const std::string& format, std::size_t at, Conversion& conversion)
{
	std::size_t i = at + 1;
	auto skip = [&](const char* set) {
		while (i < format.size() && IsOneOf(format[i], set))
			++i;
	};
	skip("-+ #0");
	skip("0123456789");
	if (i < format.size() && format[i] == '.') {
		++i;
		skip("0123456789");
	}
	std::size_t prefixEnd = i;
	skip("hljztL");
	if (i >= format.size() || !IsOneOf(format[i], "diouxXcfFeEgGaAs"))
		return false;
	conversion = {format.substr(at, prefixEnd - at), format[i], i + 1};
	return true;
}

// One value formatted by the C library, its type matching the format by construction.
template <typename T> std::string FormatValue(const std::string& format, T value)
{
	int length = std::snprintf(nullptr, 0, format.c_str(), value);
	if (length <= 0)
		return std::string();
	std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
	std::snprintf(buffer.data(), buffer.size(), format.c_str(), value);
	return std::string(buffer.data(), static_cast<std::size_t>(length));
}

// The whole number at its own size: as the unsigned value of its bits, or as
// the signed value that they stand for.
unsigned long long UnsignedValue(const PrintfArgument& argument)
{
	return argument.size >= 8 ? argument.bits : argument.bits & ((1ull << (8 * argument.size)) - 1);
}

long long SignedValue(const PrintfArgument& argument)
{
	unsigned long long value = UnsignedValue(argument);
	unsigned long long signBit = 1ull << (8 * std::min<USize>(argument.size, 8) - 1);
	return (value & signBit) == 0 ? static_cast<long long>(value) : -static_cast<long long>(~value & (signBit - 1)) - 1;
}

std::optional<std::string> Convert(const Conversion& conversion, const PrintfArgument& argument)
{
	switch (conversion.type) {
	case 'd':
	case 'i':
		if (argument.kind == PrintfArgument::Integer)
			return FormatValue(conversion.prefix + "lld", SignedValue(argument));
		break;
	case 'o':
	case 'u':
	case 'x':
	case 'X':
		if (argument.kind == PrintfArgument::Integer)
			return FormatValue(conversion.prefix + "ll" + conversion.type, UnsignedValue(argument));
		break;
	case 'c':
		if (argument.kind == PrintfArgument::Integer)
			return FormatValue(conversion.prefix + "c", static_cast<int>(SignedValue(argument)));
		break;
	case 's':
		if (argument.kind == PrintfArgument::Text && argument.text != nullptr)
			return FormatValue(conversion.prefix + "s", argument.text);
		break;
	default:
		if (argument.kind == PrintfArgument::Real)
			return FormatValue(conversion.prefix + conversion.type, argument.real);
		break;
	}
	return std::nullopt;
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

UniString UniString::Format(const UniString& format, std::initializer_list<PrintfArgument> arguments)
{
	std::string text = format.ToCStr().Get();
	std::string result;
	const PrintfArgument* next = arguments.begin();
	for (std::size_t at = 0; at < text.size();) {
		Conversion conversion;
		if (text.compare(at, 2, "%%") == 0) {
			result.push_back('%');
			at += 2;
		} else if (text[at] != '%' || !ReadConversion(text, at, conversion)) {
			result.push_back(text[at++]);
		} else {
			std::optional<std::string> converted;
			if (next != arguments.end())
				converted = Convert(conversion, *next++);
			result += converted.value_or(text.substr(at, conversion.end - at));
			at = conversion.end;
		}
	}
	return UniString(result);
}

UniString operator+(const char* left, const UniString& right)
{
	return UniString(left) + right;
}

} // namespace GS
