// The palette's controls as they show its settings.
#include "PaletteFixture.hpp"

namespace {

const std::string clearedBoxes = "XX.....-";

TEST_F(PaletteTest, AMadePaletteIsHiddenAndShowsTheClearedStateWithTheLayoutTexts)
{
	VelmoraPalette& palette = VelmoraPalette::GetInstance();
	EXPECT_FALSE(palette.IsVisible());
	EXPECT_FALSE(HostControl::ModelessPanel(ID_PALETTE).has_value());
	palette.Show(-32768);
	HostControl::PanelState state = PaletteState();
	EXPECT_EQ(BoxCode(state), clearedBoxes);
	for (short button : {6, 12, 16, 21, 25})
		EXPECT_EQ(state.Item(button)->text, "Tool settings") << "button " << button;
	for (short button : {7, 13, 17, 22, 26})
		EXPECT_EQ(state.Item(button)->text, "Fav.") << "button " << button;
	for (const HostControl::ItemState& item : state.items) {
		if (item.kind == "Button" || item.kind == "IconButton") {
			EXPECT_TRUE(item.enabled) << "item " << item.item;
		}
	}
	EXPECT_EQ(&VelmoraPalette::GetInstance(), &palette);
}

TEST_F(PaletteTest, EachFieldShowsInItsControlAndAFavoriteNameWhetherOrNotTheKindIsOn)
{
	struct Case {
		const char* name;
		void (*change)(CoveringSettings&);
		std::string boxes;                        // as BoxCode gives them
		std::map<short, std::string> buttonTexts; // the settings buttons that do not show "Tool settings"
	};
	const Case cases[] = {
	    {"wall off keeps its dependants' marks, greyed",
	     [](CoveringSettings& s) {
		     s.wall.enabled = false;
		     s.wall.columnCoverings = s.wall.doorHoles.enabled = s.wall.windowHoles.enabled = true;
	     },
	     ".xxxx..-",
	     {}},
	    {"floor on enables its insets; ceiling insets have no control",
	     [](CoveringSettings& s) {
		     s.ceiling.enabled = s.floor.enabled = s.floor.insets = s.ceiling.insets = true;
		     s.wall.innerContours = false;
	     },
	     "X....XXX",
	     {}},
	    {"favorites named on switched-off kinds, a name without its switch ignored",
	     [](CoveringSettings& s) {
		     s.floor.useFavorite = s.ceiling.useFavorite = s.wall.windowHoles.useFavorite = true;
		     s.floor.favoriteName = "Oak Floor";
		     s.ceiling.favoriteName = "Plaster";
		     s.wall.windowHoles.favoriteName = "Window Hole";
		     s.wall.doorHoles.favoriteName = "Unused";
		     s.floor.insets = true;
	     },
	     "XX.....x",
	     {{16, "Window Hole"}, {21, "Plaster"}, {25, "Oak Floor"}}},
	};
	VelmoraPalette& palette = ShownPalette();
	for (const Case& c : cases) {
		palette.settings = ClearedPaletteSettings();
		c.change(palette.settings);
		palette.SyncPaletteToCovSettings();
		HostControl::PanelState state = PaletteState();
		EXPECT_EQ(BoxCode(state), c.boxes) << c.name;
		for (short button : {6, 12, 16, 21, 25}) {
			auto named = c.buttonTexts.find(button);
			EXPECT_EQ(state.Item(button)->text, named == c.buttonTexts.end() ? "Tool settings" : named->second)
			    << c.name << ", button " << button;
		}
		for (short other : {7, 13, 17, 22, 26, 29, 30, 31})
			EXPECT_TRUE(state.Item(other)->enabled) << c.name << ", item " << other;
	}

	palette.ClearPaletteSettings();
	EXPECT_EQ(BoxCode(PaletteState()), clearedBoxes);
	EXPECT_EQ(PaletteState().Item(25)->text, "Tool settings");
	EXPECT_FALSE(palette.settings.floor.useFavorite);
	EXPECT_FALSE(palette.settings.ceiling.insets);
}

TEST_F(PaletteTest, TheReferenceNumberAddsTheGuidsFourLittleEndianWords)
{
	// EE67EC49 EF877547 A5EA7812 40DA9846 read as little-endian words:
	// 0x49EC67EE + 0x477587EF + 0x1278EAA5 + 0x4698DA40 = 0xEA73B4C2.
	EXPECT_EQ(static_cast<UInt32>(VelmoraPalette::refId), 0xEA73B4C2u);
	EXPECT_EQ(VelmoraPalette::paletteGuid.ToUniString(), GS::UniString("49EC67EE-87EF-4775-A5EA-781240DA9846"));
}

} // namespace
