#include "Wording.hpp"

#include <cstdio>

namespace Runner {

namespace {

std::string Hex(unsigned char byte)
{
	char shown[8];
	std::snprintf(shown, sizeof(shown), "\\x%02X", byte);
	return shown;
}

// The C1 controls are U+0080 to U+009F, two bytes in UTF-8.
bool IsC1Control(const std::string& text, std::size_t lead)
{
	return lead + 1 < text.size() && static_cast<unsigned char>(text[lead]) == 0xC2 &&
	       (static_cast<unsigned char>(text[lead + 1]) & 0xE0) == 0x80;
}

bool IsControlByte(const std::string& text, std::size_t at)
{
	unsigned char byte = static_cast<unsigned char>(text[at]);
	return byte < 0x20 || byte == 0x7F || IsC1Control(text, at) || (at > 0 && IsC1Control(text, at - 1));
}

} // namespace

std::string Listed(const std::vector<std::string>& texts)
{
	std::string listed;
	for (const std::string& text : texts)
		listed += (listed.empty() ? "" : ", ") + text;
	return listed.empty() ? "nothing" : listed;
}

std::string Counted(std::size_t count, const std::string& one, const std::string& many)
{
	return std::to_string(count) + " " + (count == 1 ? one : many.empty() ? one + "s" : many);
}

std::string Printable(const std::string& text)
{
	std::string shown;
	for (std::size_t at = 0; at < text.size(); ++at)
		shown += IsControlByte(text, at) ? Hex(static_cast<unsigned char>(text[at])) : std::string(1, text[at]);
	return shown;
}

} // namespace Runner
