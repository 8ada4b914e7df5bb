#include "Wording.hpp"

namespace Runner {

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

} // namespace Runner
