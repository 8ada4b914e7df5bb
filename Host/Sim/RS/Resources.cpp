// The add-on's resources, read from the plain-text definitions in its
// resource folder: "[strings ID]" sections of "index = text" lines and
// "[alert ID]" sections with "text", "button1" .. "button3" lines, and the
// "[layout ID]" sections of panels. A text may hold \n, \t and \\ escapes;
// an alert text holds the places ^1 .. ^4.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "DG/Alerts.hpp"
#include "RS/Resources.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/Control/Faults.hpp"
#include "Sim/RS/PanelLayouts.hpp"

namespace {

constexpr GSResModule ownResModule = 1;

struct AlertResource {
	std::string text;
	std::string buttons[3];
};

struct ResourceSet {
	std::map<std::pair<int, int>, std::string> strings; // (list, index) -> text
	std::map<int, AlertResource> alerts;
	std::map<int, Sim::PanelLayout> layouts;
};

std::string Trim(const std::string& text)
{
	std::size_t begin = text.find_first_not_of(" \t\r");
	std::size_t end = text.find_last_not_of(" \t\r");
	return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

std::string Unescape(const std::string& text)
{
	std::string result;
	for (std::size_t i = 0; i < text.size(); ++i) {
		if (text[i] == '\\' && i + 1 < text.size()) {
			char next = text[++i];
			result.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : next);
		} else {
			result.push_back(text[i]);
		}
	}
	return result;
}

void ParseFile(const std::filesystem::path& path, ResourceSet& resources)
{
	std::ifstream file(path);
	std::string line;
	std::string kind;
	int id = 0;
	while (std::getline(file, line)) {
		std::string trimmed = Trim(line);
		if (trimmed.empty() || trimmed[0] == '#')
			continue;
		if (trimmed.front() == '[' && trimmed.back() == ']') {
			std::istringstream header(trimmed.substr(1, trimmed.size() - 2));
			header >> kind >> id;
			continue;
		}
		std::size_t equals = trimmed.find('=');
		if (equals == std::string::npos)
			continue;
		std::string key = Trim(trimmed.substr(0, equals));
		std::string value = Unescape(Trim(trimmed.substr(equals + 1)));
		if (kind == "strings") {
			resources.strings[{id, std::stoi(key)}] = value;
		} else if (kind == "alert") {
			AlertResource& alert = resources.alerts[id];
			if (key == "text")
				alert.text = value;
			else if (key.rfind("button", 0) == 0 && key.size() == 7 && key[6] >= '1' && key[6] <= '3')
				alert.buttons[key[6] - '1'] = value;
		} else if (kind == "layout") {
			Sim::AddLayoutEntry(resources.layouts[id], key, value);
		}
	}
}

const ResourceSet& Resources()
{
	static ResourceSet resources = [] {
		ResourceSet loaded;
		for (const auto& entry : std::filesystem::directory_iterator(VELMORA_RESOURCE_DIR)) {
			if (entry.path().extension() == ".txt")
				ParseFile(entry.path(), loaded);
		}
		return loaded;
	}();
	return resources;
}

std::string FillPlaces(std::string text, const GS::UniString* places[4])
{
	for (int i = 0; i < 4; ++i) {
		std::string mark = "^" + std::to_string(i + 1);
		std::string value = places[i]->ToCStr().Get();
		for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
			text.replace(at, mark.size(), value);
	}
	return text;
}

short Record(const char* kind, Int16 alertId, std::vector<GS::UniString> texts)
{
	short answer = Sim::NextAnswer();
	Sim::Host().alerts.push_back({kind, alertId, std::move(texts), answer});
	return answer;
}

} // namespace

GSResModule ACAPI_GetOwnResModule()
{
	return ownResModule;
}

GS::UniString RSGetIndString(GSResID listId, Int32 index, GSResModule module, Int32)
{
	if (module != ownResModule)
		return GS::UniString();
	auto found = Resources().strings.find({listId, index});
	return found == Resources().strings.end() ? GS::UniString() : GS::UniString(found->second);
}

const Sim::PanelLayout* Sim::FindPanelLayout(GSResModule module, short resId)
{
	auto found = Resources().layouts.find(resId);
	return module != ownResModule || found == Resources().layouts.end() ? nullptr : &found->second;
}

namespace DG {

short Alert(GSResModule module, short alertId, const GS::UniString& p1, const GS::UniString& p2,
            const GS::UniString& p3, const GS::UniString& p4)
{
	auto found = Resources().alerts.find(alertId);
	if (module != ownResModule || found == Resources().alerts.end())
		return 0;
	const GS::UniString* places[4] = {&p1, &p2, &p3, &p4};
	const AlertResource& alert = found->second;
	return Record("Alert", alertId,
	              {GS::UniString(FillPlaces(alert.text, places)), p1, p2, p3, p4, GS::UniString(alert.buttons[0]),
	               GS::UniString(alert.buttons[1]), GS::UniString(alert.buttons[2])});
}

short InformationAlert(const GS::UniString& largeText, const GS::UniString& smallText, const GS::UniString& button1,
                       const GS::UniString& button2, const GS::UniString& button3)
{
	return Record("InformationAlert", 0, {largeText, smallText, button1, button2, button3});
}

short ErrorAlert(const GS::UniString& largeText, const GS::UniString& smallText, const GS::UniString& button1,
                 const GS::UniString& button2, const GS::UniString& button3)
{
	return Record("ErrorAlert", 0, {largeText, smallText, button1, button2, button3});
}

} // namespace DG
