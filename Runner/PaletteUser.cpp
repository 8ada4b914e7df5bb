#include "PaletteUser.hpp"

#include <ostream>
#include <sstream>

#include "API/Favorites.hpp"
#include "AddOnControl.hpp"
#include "DialogControl.hpp"

namespace Runner {

namespace {

constexpr short favoritesList = 1;
constexpr short settingsDialogOk = 1;

// On one line: a text's line breaks shown as " / ".
std::string Quoted(const std::string& text)
{
	std::string oneLine;
	for (char c : text)
		oneLine += c == '\n' ? std::string(" / ") : std::string(1, c);
	return "\"" + Printable(oneLine) + "\"";
}

// The favorite's row in the popup, which lists the type's favorites in the host's order; 0: none.
short FavoriteRow(const std::string& favorite, Int32 elementType)
{
	API_ElemType type{static_cast<API_ElemTypeID>(elementType), APIVarId_Generic, APINULLGuid};
	short count = 0;
	GS::Array<GS::UniString> names;
	if (ACAPI_Favorite_GetNum(type, &count, &names) != NoError)
		return 0;
	for (UIndex i = 0; i < names.GetSize(); ++i) {
		if (names[i] == GS::UniString(favorite))
			return static_cast<short>(i + 1);
	}
	return 0;
}

// A text's lines without the blank ones, each tab widened to the next column of four.
std::vector<std::string> Lines(const std::string& text)
{
	std::vector<std::string> lines;
	std::istringstream stream(text);
	for (std::string line; std::getline(stream, line);) {
		std::string spaced;
		for (char c : line)
			spaced += c == '\t' ? std::string(4 - spaced.size() % 4, ' ') : std::string(1, c);
		if (spaced.find_first_not_of(' ') != std::string::npos)
			lines.push_back(spaced);
	}
	return lines.empty() ? std::vector<std::string>{""} : lines;
}

// The first line of a text quoted, with the count of lines that follow.
std::string FirstLineQuoted(const std::string& text)
{
	std::vector<std::string> lines = Lines(text);
	return Quoted(lines.front()) + (lines.size() > 1 ? " (+" + Counted(lines.size() - 1, "line") + ")" : "");
}

// The alert on one line, and the further lines of its text indented under it.
std::string AlertLine(const HostControl::Alert& alert)
{
	std::string line = "Alert";
	if (alert.alertId != 0)
		line += " " + std::to_string(alert.alertId);
	std::vector<std::string> lines = Lines(alert.texts.at(0).ToCStr().Get());
	line += ": " + Quoted(lines.front());
	if (alert.kind == "Alert") {
		std::vector<std::string> parameters;
		for (std::size_t place = 1; place <= 4; ++place)
			parameters.push_back(FirstLineQuoted(alert.texts.at(place).ToCStr().Get()));
		line += " with " + Listed(parameters);
	}
	std::size_t firstButton = alert.kind == "Alert" ? 5 : 2;
	std::size_t answered = firstButton + static_cast<std::size_t>(alert.answer) - 1;
	if (alert.answer >= 1 && answered < alert.texts.size())
		line += "; answered " + Quoted(alert.texts[answered].ToCStr().Get());
	for (std::size_t i = 1; i < lines.size(); ++i)
		line += "\n    " + Printable(lines[i]);
	return line;
}

} // namespace

PaletteUser::PaletteUser(std::ostream& out) : out(out), alertsTold(HostControl::Alerts().size()) {}

std::vector<std::string> PaletteUser::SwitchedOn()
{
	std::vector<std::string> texts;
	std::optional<HostControl::PanelState> palette = HostControl::ModelessPanel(paletteResource);
	if (!palette.has_value())
		return texts;
	for (const HostControl::ItemState& item : palette->items) {
		if (item.kind == "CheckBox" && item.checked)
			texts.push_back(item.text);
	}
	return texts;
}

std::string PaletteUser::ItemText(short item)
{
	std::optional<HostControl::PanelState> palette = HostControl::ModelessPanel(paletteResource);
	const HostControl::ItemState* state = palette.has_value() ? palette->Item(item) : nullptr;
	return state != nullptr ? state->text : std::string();
}

void PaletteUser::ChooseMenuItem()
{
	std::optional<HostControl::MenuItemState> menuItem = HostControl::MenuItem(paletteMenu, 1);
	if (!menuItem.has_value()) {
		out << "The palette's menu item is missing\n";
		return;
	}
	HostControl::ChooseMenuItem(paletteMenu, 1);
	bool checked = HostControl::MenuItem(paletteMenu, 1)->flags == API_MenuItemChecked;
	out << "Chose the menu item " << Quoted(menuItem->text) << ": ";
	if (HostControl::ModelessPanel(paletteResource).has_value())
		out << "the palette shows with " << Listed(SwitchedOn()) << " on";
	else
		out << "the palette is hidden";
	out << ", check mark " << (checked ? "on" : "off") << "\n";
	TellAlerts();
}

void PaletteUser::ToggleCheck(short item)
{
	bool done = HostControl::ToggleCheck(paletteResource, item);
	std::optional<HostControl::PanelState> palette = HostControl::ModelessPanel(paletteResource);
	const HostControl::ItemState* state = palette.has_value() ? palette->Item(item) : nullptr;
	if (!done || state == nullptr) {
		out << "Could not toggle item " << item << " of the palette\n";
		return;
	}
	out << (state->checked ? "Checked " : "Unchecked ") << Quoted(state->text) << " on the palette\n";
	TellAlerts();
}

void PaletteUser::PickFavorite(const PaletteKind& kind, const std::string& favorite)
{
	short row = FavoriteRow(favorite, kind.elementType);
	// A popup that does not list the favorite is closed without a choice, as a user would.
	HostControl::ScriptDialog(favoritesPopup, {row != 0 ? HostControl::DoubleClickRowAction(favoritesList, row)
	                                                    : HostControl::CloseAction(false)});
	HostControl::ClickItem(paletteResource, kind.favoriteButton);
	out << "Clicked the favorite button of " << Quoted(ItemText(kind.check));
	if (row != 0)
		out << " and double-clicked " << Quoted(favorite) << " in its popup: the settings button shows ";
	else
		out << ": its popup does not list " << Quoted(favorite) << ", so it was closed; the settings button stays on ";
	out << Quoted(ItemText(kind.settingsButton)) << "\n";
	TellAlerts();
}

void PaletteUser::ToggleRunSetting(short dialogCheck)
{
	HostControl::ScriptDialog(settingsDialog,
	                          {HostControl::ToggleAction(dialogCheck), HostControl::ClickAction(settingsDialogOk)});
	HostControl::ClickItem(paletteResource, PaletteItem::settingsButton);
	const std::vector<HostControl::DialogRun>& runs = HostControl::DialogRuns();
	const HostControl::ItemState* check = runs.empty() ? nullptr : runs.back().closed.Item(dialogCheck);
	const HostControl::ItemState* ok = runs.empty() ? nullptr : runs.back().closed.Item(settingsDialogOk);
	if (check == nullptr || ok == nullptr || !runs.back().accepted) {
		out << "Clicked the palette's settings button: no settings dialog was accepted\n";
		return;
	}
	out << "Clicked the palette's settings button, " << (check->checked ? "checked " : "unchecked ")
	    << Quoted(check->text) << " and clicked " << Quoted(ok->text) << "\n";
	TellAlerts();
}

void PaletteUser::ClickButton(short item, const std::string& what)
{
	out << what << " and clicked " << Quoted(ItemText(item)) << "\n";
	HostControl::ClickItem(paletteResource, item);
	TellAlerts();
}

void PaletteUser::TellAlerts()
{
	std::vector<HostControl::Alert> alerts = HostControl::Alerts();
	for (; alertsTold < alerts.size(); ++alertsTold)
		out << "  " << AlertLine(alerts[alertsTold]) << "\n";
}

} // namespace Runner
