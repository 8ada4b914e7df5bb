// How the runner words counts and lists in its lines, and shows the texts of
// a sample in them.
#pragma once

#include <string>
#include <vector>

namespace Runner {

// "a, b, c", or "nothing".
std::string Listed(const std::vector<std::string>& texts);

// "1 hole", "2 holes"; "1 entry", "2 entries" with the plural given.
std::string Counted(std::size_t count, const std::string& one, const std::string& many = "");

// The text with every byte of its control characters shown as \xHH: the C0
// controls, DEL, and the C1 controls as UTF-8 encodes them. A name from a
// sample goes through it on its way to a line, so that it can neither break
// the line nor reach a terminal as a command.
std::string Printable(const std::string& text);

} // namespace Runner
