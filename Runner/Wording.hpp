// How the runner words counts and lists in its lines.
#pragma once

#include <string>
#include <vector>

namespace Runner {

// "a, b, c", or "nothing".
std::string Listed(const std::vector<std::string>& texts);

// "1 hole", "2 holes"; "1 entry", "2 entries" with the plural given.
std::string Counted(std::size_t count, const std::string& one, const std::string& many = "");

} // namespace Runner
