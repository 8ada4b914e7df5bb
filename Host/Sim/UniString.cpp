#include "GS/UniString.hpp"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace GS {

namespace {

std::u16string FromUtf8(const std::string& text)
{
	std::u16string result;
	for (std::size_t i = 0; i < text.size();) {
		unsigned char lead = static_cast<unsigned char>(text[i]);
		UInt32 codePoint = lead;
		std::size_t extra = 0;
		if (lead >= 0xF0) {
			codePoint = lead & 0x07;
			extra = 3;
		} else if (lead >= 0xE0) {
			codePoint = lead & 0x0F;
			extra = 2;
		} else if (lead >= 0xC0) {
			codePoint = lead & 0x1F;
			extra = 1;
		}
		if (i + extra >= text.size() && extra > 0) { // truncated sequence
			result.push_back(u'\uFFFD');
			break;
		}
		for (std::size_t k = 1; k <= extra; ++k)
			codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
		i += extra + 1;
		if (codePoint >= 0x10000) {
			codePoint -= 0x10000;
			result.push_back(static_cast<UniChar>(0xD800 + (codePoint >> 10)));
			result.push_back(static_cast<UniChar>(0xDC00 + (codePoint & 0x3FF)));
		} else {
			result.push_back(static_cast<UniChar>(codePoint));
		}
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

UniString UniString::GetSubstring(UIndex from, USize length) const
{
	if (from >= units.size())
		return UniString();
	UniString result;
	result.units = units.substr(from, length);
	return result;
}

bool UniString::Contains(const UniString& part) const
{
	return units.find(part.units) != std::u16string::npos;
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

UniString UniString::Printf(const UniString& format, ...)
{
	std::string narrowFormat = ToUtf8(format.units);
	va_list args;
	va_start(args, format);
	va_list measure;
	va_copy(measure, args);
	int length = std::vsnprintf(nullptr, 0, narrowFormat.c_str(), measure);
	va_end(measure);
	std::string text;
	if (length > 0) {
		std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
		std::vsnprintf(buffer.data(), buffer.size(), narrowFormat.c_str(), args);
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
