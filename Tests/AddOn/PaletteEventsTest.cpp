// The palette on the host's messages and the user's actions on its controls.
#include "ModelBuilder.hpp"
#include "PaletteFixture.hpp"

using namespace HostControl;

namespace {

// Read when the tests run, after the palette's constants are made.
API_Guid PaletteGuid()
{
	return GSGuid2APIGuid(VelmoraPalette::paletteGuid);
}

bool Shown()
{
	return ModelessPanel(ID_PALETTE).has_value();
}

unsigned int MenuFlags()
{
	return MenuItem(ID_MENU_PALETTE, 1)->flags;
}

TEST_F(PaletteTest, TheHostsMessagesShowHideAndGreyThePaletteAndAnotherNumberMakesNone)
{
	RegisterPalette();
	bool visible = true;
	EXPECT_EQ(VelmoraPalette::PaletteAPIControlCallBack(VelmoraPalette::refId + 1, APIPalMsg_OpenPalette,
	                                                    reinterpret_cast<Int64>(&visible)),
	          NoError);
	EXPECT_FALSE(VelmoraPalette::HasInstance());
	EXPECT_EQ(MenuFlags(), 0u);

	struct Step {
		const char* name;
		API_PaletteMessageID message; // 0: the close box
		bool shownAfter;
		unsigned int flagsAfter;
	};
	const Step steps[] = {
	    {"open", APIPalMsg_OpenPalette, true, API_MenuItemChecked},
	    {"hide phase ends on an open palette", APIPalMsg_HidePalette_End, true, API_MenuItemChecked},
	    {"host closes", APIPalMsg_ClosePalette, false, 0},
	    {"hide phase ends: it was open", APIPalMsg_HidePalette_End, true, 0},
	    {"hide phase on a shown palette", APIPalMsg_HidePalette_Begin, false, 0},
	    {"hide phase ends", APIPalMsg_HidePalette_End, true, 0},
	    {"open again", APIPalMsg_OpenPalette, true, API_MenuItemChecked},
	    {"close box", API_PaletteMessageID(0), false, 0},
	    {"hide phase on a hidden palette", APIPalMsg_HidePalette_Begin, false, 0},
	    {"does not bring it back", APIPalMsg_HidePalette_End, false, 0},
	    {"a message of no meaning", API_PaletteMessageID(8), false, 0},
	};
	for (const Step& step : steps) {
		if (step.message == 0)
			EXPECT_TRUE(ClickCloseBox(ID_PALETTE)) << step.name;
		else
			EXPECT_EQ(SendPaletteMessage(PaletteGuid(), step.message), NoError) << step.name;
		EXPECT_EQ(Shown(), step.shownAfter) << step.name;
		EXPECT_EQ(IsPaletteVisible(PaletteGuid()), std::optional<bool>(step.shownAfter)) << step.name;
		EXPECT_EQ(MenuFlags(), step.flagsAfter) << step.name;
	}
	EXPECT_EQ(SendPaletteMessage(PaletteGuid(), APIPalMsg_IsPaletteVisible, 0), NoError) << "no address: no answer";

	// Loading on the end of a hide phase even while the palette stays hidden.
	CoveringSettings stored = ClearedPaletteSettings();
	stored.ceiling.enabled = true;
	PutAddOnObject("PaletteSettings", StoredBytes(stored));
	SendPaletteMessage(PaletteGuid(), APIPalMsg_HidePalette_End);
	EXPECT_TRUE(VelmoraPalette::GetInstance().settings.ceiling.enabled);
	EXPECT_FALSE(Shown());

	SendPaletteMessage(PaletteGuid(), APIPalMsg_OpenPalette);
	SendPaletteMessage(PaletteGuid(), APIPalMsg_DisableItems_Begin);
	EXPECT_TRUE(ModelessPanel(ID_PALETTE)->itemsDisabled);
	EXPECT_FALSE(ToggleCheck(ID_PALETTE, 5));
	SendPaletteMessage(PaletteGuid(), APIPalMsg_DisableItems_End);
	EXPECT_FALSE(ModelessPanel(ID_PALETTE)->itemsDisabled);
	EXPECT_TRUE(ToggleCheck(ID_PALETTE, 5));
	EXPECT_TRUE(Alerts().empty());
}

TEST_F(PaletteTest, AResizeMovesAndWidensExactlyTheListedItems)
{
	RegisterPalette();
	SendPaletteMessage(PaletteGuid(), APIPalMsg_OpenPalette);
	const std::vector<short> moved = {2, 7, 13, 17, 22, 26};
	const std::vector<short> widened = {3, 6, 12, 16, 18, 21, 25, 28, 29, 30, 31};
	struct Case {
		short dx, dy;
	};
	for (Case c : {Case{30, 12}, Case{0, 20}, Case{-10, 0}}) {
		PanelState before = *ModelessPanel(ID_PALETTE);
		ASSERT_TRUE(ResizePanel(ID_PALETTE, c.dx, c.dy));
		PanelState after = *ModelessPanel(ID_PALETTE);
		for (const ItemState& item : before.items) {
			bool moves = std::count(moved.begin(), moved.end(), item.item) != 0;
			bool widens = std::count(widened.begin(), widened.end(), item.item) != 0;
			const ItemState& now = *after.Item(item.item);
			EXPECT_EQ(now.left, item.left + (moves ? c.dx : 0)) << "item " << item.item << ", dx " << c.dx;
			EXPECT_EQ(now.width, item.width + (widens ? c.dx : 0)) << "item " << item.item << ", dx " << c.dx;
			EXPECT_EQ(now.top, item.top) << "item " << item.item;
			EXPECT_EQ(now.height, item.height) << "item " << item.item;
		}
	}
}

TEST_F(PaletteTest, CheckBoxesSetTheirFieldsGreyTheirDependantsAndStoreEachChange)
{
	RegisterPalette();
	SendPaletteMessage(PaletteGuid(), APIPalMsg_OpenPalette);
	VelmoraPalette& palette = VelmoraPalette::GetInstance();
	// Boxes 5, 8, 9, 11, 15, 20, 24, 27 after each toggle: X checked, . clear, x and - greyed.
	const std::pair<short, std::string> steps[] = {{9, "XXX....-"},  {5, ".xx--..-"},  {24, ".xx--.X."},
	                                               {27, ".xx--.XX"}, {24, ".xx--..x"}, {5, "XXX....x"}};
	for (const auto& [toggled, boxes] : steps) {
		ResetCallCounts();
		ASSERT_TRUE(ToggleCheck(ID_PALETTE, toggled));
		PanelState state = *ModelessPanel(ID_PALETTE);
		EXPECT_EQ(BoxCode(state), boxes) << "after box " << toggled;
		for (short button : {6, 7, 12, 13, 16, 17, 21, 22, 25, 26})
			EXPECT_TRUE(state.Item(button)->enabled) << "button " << button;
		const CoveringSettings& s = palette.settings;
		std::map<short, bool> fields = {{5, s.wall.enabled},
		                                {8, s.wall.innerContours},
		                                {9, s.wall.columnCoverings},
		                                {11, s.wall.doorHoles.enabled},
		                                {15, s.wall.windowHoles.enabled},
		                                {20, s.ceiling.enabled},
		                                {24, s.floor.enabled},
		                                {27, s.floor.insets}};
		for (const auto& [box, field] : fields)
			EXPECT_EQ(field, state.Item(box)->checked) << "field of box " << box << " after box " << toggled;
		EXPECT_EQ(CallCount("ACAPI_AddOnObject_ModifyObject") + CallCount("ACAPI_AddOnObject_CreateClientOnlyObject"),
		          1u);
	}
}

TEST_F(PaletteTest, TheSettingsDialogChangesAndStoresTheRunSettingsOnlyWhenAccepted)
{
	RegisterPalette();
	SendPaletteMessage(PaletteGuid(), APIPalMsg_OpenPalette);
	VelmoraPalette& palette = VelmoraPalette::GetInstance();
	struct Case {
		std::vector<DialogAction> script;
		bool summaryAfter;
		UInt32 stores;
	};
	const Case cases[] = {
	    {{ToggleAction(6), ClickAction(2)}, false, 0},
	    {{ToggleAction(6), CloseAction(false)}, false, 0},
	    {{ToggleAction(6), ClickAction(1)}, true, 1},
	    {{ClickAction(1)}, true, 1},
	};
	for (const Case& c : cases) {
		ResetCallCounts();
		ScriptDialog(ID_DIALOG_SETTINGS, c.script);
		ASSERT_TRUE(ClickItem(ID_PALETTE, 2));
		EXPECT_EQ(palette.settings.showSummary, c.summaryAfter);
		EXPECT_EQ(CallCount("ACAPI_AddOnObject_ModifyObject") + CallCount("ACAPI_AddOnObject_CreateClientOnlyObject"),
		          c.stores);
	}
}

} // namespace

TEST_F(PaletteTest, TheCommandButtonsRunTheirCommandStoreAfterwardsAndOnlyRemoveFailsThroughThePalette)
{
	RegisterPalette();
	SendPaletteMessage(PaletteGuid(), APIPalMsg_OpenPalette);
	Select({ModelBuilder::AddZone("01", {{{{0, 0}, {4, 0}, {4, 3}, {0, 3}}}})});
	struct Case {
		short button;
		bool failCommand;
		std::string undoStep; // empty: none made
		std::vector<Int16> alerts;
	};
	const Case cases[] = {
	    {29, false, "Add Coverings", {}},         {31, false, "Update Coverings", {}},
	    {30, false, "Remove Coverings", {}},      {29, true, "", {ID_ALERT_ADD_FAILED}},
	    {31, true, "", {ID_ALERT_UPDATE_FAILED}}, {30, true, "", {ID_ALERT_PALETTE_FAILED}},
	};
	for (const Case& c : cases) {
		size_t stepsBefore = UndoStepNames().size();
		size_t alertsBefore = Alerts().size();
		ResetCallCounts();
		if (c.failCommand)
			FailCall("ACAPI_CallUndoableCommand", 1, APIERR_GENERAL);
		ASSERT_TRUE(ClickItem(ID_PALETTE, c.button));
		ClearFaults();
		std::vector<std::string> steps = UndoStepNames();
		EXPECT_EQ(steps.size() == stepsBefore ? "" : steps.back(), c.undoStep) << "button " << c.button;
		std::vector<Int16> alerts;
		for (size_t i = alertsBefore; i < Alerts().size(); ++i)
			alerts.push_back(Alerts()[i].alertId);
		EXPECT_EQ(alerts, c.alerts) << "button " << c.button;
		EXPECT_EQ(CallCount("ACAPI_AddOnObject_ModifyObject") + CallCount("ACAPI_AddOnObject_CreateClientOnlyObject"),
		          1u)
		    << "button " << c.button;
	}

	FailCall("ACAPI_CallUndoableCommand", 1, APIERR_GENERAL);
	FailCall("ACAPI_AddOnObject_ModifyObject", 1, APIERR_NOACCESSRIGHT);
	size_t alertsBefore = Alerts().size();
	ASSERT_TRUE(ClickItem(ID_PALETTE, 30));
	EXPECT_EQ(PaletteAlertNames(alertsBefore),
	          (std::vector<std::string>{Name(APIERR_GENERAL), Name(APIERR_NOACCESSRIGHT)}))
	    << "the command's failure, then the store's";
}

TEST_F(PaletteTest, EachKindsSettingsAndFavoriteButtonsActOnThatKindAlone)
{
	struct Kind {
		short settingsButton, favoriteButton;
		API_ElemTypeID type;
		std::string favorite; // the first of the type
	};
	const Kind kinds[] = {{6, 7, API_WallID, "Wall Favorite"},
	                      {12, 13, API_DoorID, "Door Favorite"},
	                      {16, 17, API_WindowID, "Window Favorite"},
	                      {21, 22, API_SlabID, "Slab Favorite"},
	                      {25, 26, API_SlabID, "Slab Favorite"}};
	for (const Kind& kind : kinds)
		DefineFavorite({kind.favorite, ModelBuilder::NewRecord(kind.type), std::nullopt, std::nullopt, std::nullopt,
		                std::nullopt});
	VelmoraPalette& palette = ShownPalette();
	palette.InitPaletteSettings();
	// Which of the five kinds use a favorite, in the order of the table.
	auto favoritesUsed = [&] {
		std::vector<bool> switches = Switches(palette.settings);
		return std::vector<bool>(switches.end() - 5, switches.end());
	};
	for (std::size_t k = 0; k < std::size(kinds); ++k) {
		const Kind& kind = kinds[k];
		ScriptDialog(ID_DIALOG_FAVORITES, {DoubleClickRowAction(1, 1)});
		ASSERT_TRUE(ClickItem(ID_PALETTE, kind.favoriteButton));
		std::vector<bool> onlyThisKind(5, false);
		onlyThisKind[k] = true;
		EXPECT_EQ(favoritesUsed(), onlyThisKind) << "button " << kind.favoriteButton;
		EXPECT_EQ(PaletteState().Item(kind.settingsButton)->text, kind.favorite) << "button " << kind.favoriteButton;
		ASSERT_TRUE(ClickItem(ID_PALETTE, kind.settingsButton));
		EXPECT_EQ(ToolSettingsDialogs().back().type.typeID, kind.type) << "button " << kind.settingsButton;
		EXPECT_EQ(favoritesUsed(), std::vector<bool>(5, false)) << "button " << kind.settingsButton;
	}
	EXPECT_TRUE(Alerts().empty());
}
