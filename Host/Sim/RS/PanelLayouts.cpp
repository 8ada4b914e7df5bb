#include "Sim/RS/PanelLayouts.hpp"

#include <sstream>
#include <vector>

namespace Sim {

namespace {

std::string Trim(const std::string& text)
{
	std::size_t begin = text.find_first_not_of(" \t");
	std::size_t end = text.find_last_not_of(" \t");
	return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

std::vector<std::string> SplitFields(const std::string& value)
{
	std::vector<std::string> fields;
	std::istringstream stream(value);
	for (std::string field; std::getline(stream, field, '|');)
		fields.push_back(Trim(field));
	return fields;
}

bool ParseItem(const std::string& value, LayoutItem& item)
{
	std::vector<std::string> fields = SplitFields(value);
	if (fields.size() < 2)
		return false;
	item.kind = fields[0];
	std::istringstream rect(fields[1]);
	if (!(rect >> item.rect.left >> item.rect.top >> item.rect.width >> item.rect.height))
		return false;
	item.text = fields.size() > 2 ? fields[2] : std::string();
	item.icon = fields.size() > 3 ? fields[3] : std::string();
	return true;
}

} // namespace

void AddLayoutEntry(PanelLayout& layout, const std::string& key, const std::string& value)
{
	if (key == "title") {
		layout.title = value;
	} else if (key == "size") {
		std::istringstream(value) >> layout.width >> layout.height;
	} else {
		LayoutItem item;
		short number = 0;
		if ((std::istringstream(key) >> number) && number > 0 && ParseItem(value, item))
			layout.items[number] = item;
	}
}

} // namespace Sim
