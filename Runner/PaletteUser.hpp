// A user at the add-on's palette, as the runner plays one: each action goes
// through the host as a user's would and is told as one line, with the alerts
// that it raised and how they were answered.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "GS/Types.hpp"
#include "Wording.hpp"

namespace Runner {

// The palette's items, as its layout numbers them.
namespace PaletteItem {
constexpr short settingsButton = 2;
constexpr short columnCoveringsCheck = 9;
constexpr short doorHolesCheck = 11;
constexpr short windowHolesCheck = 15;
constexpr short ceilingCheck = 20;
constexpr short floorCheck = 24;
constexpr short floorInsetsCheck = 27;
constexpr short addButton = 29;
constexpr short removeButton = 30;
constexpr short updateButton = 31;
} // namespace PaletteItem

// A covering kind's row of the palette.
struct PaletteKind {
	short check;
	short settingsButton;
	short favoriteButton;
	Int32 elementType;
};
constexpr PaletteKind wallCoverings{5, 6, 7, 1};

constexpr short paletteMenu = 32500;
constexpr short paletteResource = 31500;
constexpr short favoritesPopup = 31501;
constexpr short settingsDialog = 31502;
constexpr short summaryCheck = 6; // of the settings dialog

class PaletteUser {
public:
	explicit PaletteUser(std::ostream& out);

	// The palette's menu item, which shows or hides the palette.
	void ChooseMenuItem();
	void ToggleCheck(short item);
	// Clicks the favorite button and double-clicks the favorite in its popup,
	// or closes the popup when it does not list the favorite.
	void PickFavorite(const PaletteKind& kind, const std::string& favorite);
	// Clicks the palette's settings button, toggles the dialog's check box and clicks OK.
	void ToggleRunSetting(short dialogCheck);
	void ClickButton(short item, const std::string& what);
	// Tells the alerts raised since the last action, indented under it.
	void TellAlerts();

	// The texts of the palette's checked boxes; none when it is not shown.
	static std::vector<std::string> SwitchedOn();
	static std::string ItemText(short item);

private:
	std::ostream& out;
	std::size_t alertsTold;
};

} // namespace Runner
