// The favorites popup, the settings dialog and its property popup, run with
// scripted user actions.
#include "FavoritesDialog.hpp"
#include "ModelBuilder.hpp"
#include "PaletteFixture.hpp"
#include "PropertySelectionPopup.hpp"
#include "RS/Resources.hpp"
#include "SettingsDialog.hpp"

using namespace HostControl;

namespace {

// A panel whose item 4 serves as the anchor of a popup.
struct AnchorPanel : DG::ModalDialog {
	AnchorPanel() : DG::ModalDialog(ACAPI_GetOwnResModule(), ID_DIALOG_SETTINGS, ACAPI_GetOwnResModule()) {}
	DG::Button anchor{*this, 4};
};

void DefineFavorites(API_ElemTypeID type, const std::vector<std::string>& names)
{
	for (const std::string& name : names)
		DefineFavorite({name, ModelBuilder::NewRecord(type), std::nullopt, std::nullopt, std::nullopt, std::nullopt});
}

std::vector<std::string> FirstFields(const ItemState& list)
{
	std::vector<std::string> names;
	for (const auto& row : list.rows)
		names.push_back(row.at(0));
	return names;
}

TEST_F(PaletteTest, TheFavoritesPopupListsTheHostsNamesAndAcceptsOnlyADoubleClickOnAName)
{
	DefineFavorites(API_WallID, {"Tiles", "Plaster", "Wood Panel"});
	DefineFavorites(API_SlabID, {"Screed"});
	struct Case {
		const char* name;
		API_ElemTypeID type;
		std::vector<DialogAction> script;
		bool failQuery;
		std::vector<std::string> listed;
		bool accepted;
		std::string chosen;
	};
	const Case cases[] = {
	    {"double click on the second name",
	     API_WallID,
	     {DoubleClickRowAction(1, 2)},
	     false,
	     {"Tiles", "Plaster", "Wood Panel"},
	     true,
	     "Plaster"},
	    {"only this type's names", API_SlabID, {DoubleClickRowAction(1, 1)}, false, {"Screed"}, true, "Screed"},
	    {"dismissed without a choice",
	     API_WallID,
	     {CloseAction(false)},
	     false,
	     {"Tiles", "Plaster", "Wood Panel"},
	     false,
	     ""},
	    {"double click below the names",
	     API_WallID,
	     {DoubleClickRowAction(1, 0), CloseAction(false)},
	     false,
	     {"Tiles", "Plaster", "Wood Panel"},
	     false,
	     ""},
	    {"no favorites of the type",
	     API_DoorID,
	     {DoubleClickRowAction(1, 1), CloseAction(false)},
	     false,
	     {},
	     false,
	     ""},
	    {"failing query", API_WallID, {DoubleClickRowAction(1, 1), CloseAction(false)}, true, {}, false, ""},
	};
	AnchorPanel anchorPanel;
	for (const Case& c : cases) {
		ResetDialogs();
		if (c.failQuery)
			FailCall("ACAPI_Favorite_GetNum", 1, APIERR_GENERAL);
		FavoritesDialog dialog(c.type, anchorPanel.anchor);
		ClearFaults();
		ScriptDialog(ID_DIALOG_FAVORITES, c.script);
		ASSERT_NE(dialog.GetId(), 0);
		EXPECT_EQ(dialog.Invoke(), c.accepted) << c.name;
		EXPECT_EQ(dialog.GetChosenName(), GS::UniString(c.chosen)) << c.name;
		ASSERT_EQ(DialogRuns().size(), 1u) << c.name;
		PanelState opened = DialogRuns()[0].opened;
		EXPECT_EQ(FirstFields(*opened.Item(1)), c.listed) << c.name;
		EXPECT_TRUE(opened.popupStyle) << c.name;
		EXPECT_EQ(opened.placedNextTo, 4) << c.name;
	}
	EXPECT_TRUE(Alerts().empty());
}

struct PropertyScene {
	API_Guid numbers = DefinePropertyGroup({API_PropertyCustomGroupType, APINULLGuid, "Numbers", ""});
	API_Guid count = DefineNumber();
	API_Guid tags = DefineListOfStrings();
	API_Guid note = DefineProperty(StringPropertyDefinition(numbers, "Note"));
	API_Guid builtIn = DefineBuiltInString();

	API_Guid DefineNumber()
	{
		API_PropertyDefinition definition = StringPropertyDefinition(numbers, "Count");
		definition.valueType = API_PropertyIntegerValueType;
		definition.defaultValue.basicValue.singleVariant.variant.type = API_PropertyIntegerValueType;
		return DefineProperty(definition);
	}

	API_Guid DefineBuiltInString()
	{
		API_PropertyDefinition definition = StringPropertyDefinition(numbers, "Built-in Note");
		definition.definitionType = API_PropertyStaticBuiltInDefinitionType;
		return DefineProperty(definition);
	}

	API_Guid DefineListOfStrings()
	{
		API_PropertyDefinition definition = StringPropertyDefinition(numbers, "Tags");
		definition.collectionType = API_PropertyListCollectionType;
		return DefineProperty(definition);
	}
};

// What the popup offers in the default project and the scene, group by group.
const std::vector<std::string> offered = {
    "Tracking", "  Last Covering Run", "  Checked By", "Finishes", "  Finish Code", "Numbers", "  Note"};

// Tree items as "text" for groups and "  text" for their properties, in order.
std::vector<std::string> TreeLines(const ItemState& tree)
{
	std::vector<std::string> lines;
	for (const TreeItemState& item : tree.treeItems)
		lines.push_back((item.parent == 0 ? "" : "  ") + item.text);
	return lines;
}

std::string SelectedText(const ItemState& tree)
{
	for (const TreeItemState& item : tree.treeItems) {
		if (item.item == tree.selectedTreeItem)
			return item.text;
	}
	return "";
}

const DialogRun* RunOf(short resId)
{
	for (const DialogRun& run : DialogRuns()) {
		if (run.resId == resId)
			return &run;
	}
	return nullptr;
}

TEST_F(PaletteTest, ThePropertyPopupOffersCustomSingleStringsAndClosesOnlyOnAProperty)
{
	PropertyScene scene;
	SettingsDialog dialog(Defaults().lastRunProperty, true);
	EXPECT_EQ(dialog.GetId() != 0, true);
	ScriptDialog(ID_DIALOG_SETTINGS, {ClickAction(4), ToggleAction(6), ClickAction(1)});
	ScriptDialog(ID_DIALOG_PROPERTY, {SelectTreeItemAction(1, "Finishes"), SelectTreeItemAction(1, "Note")});
	EXPECT_TRUE(dialog.Invoke());

	const DialogRun* popup = RunOf(ID_DIALOG_PROPERTY);
	ASSERT_NE(popup, nullptr);
	EXPECT_EQ(TreeLines(*popup->opened.Item(1)), offered);
	EXPECT_EQ(SelectedText(*popup->opened.Item(1)), "Last Covering Run") << "the current property preselected";
	EXPECT_TRUE(popup->accepted);
	EXPECT_EQ(SelectedText(*popup->closed.Item(1)), "Note") << "the group did not close the popup";
	EXPECT_EQ(popup->opened.placedNextTo, 4);
	EXPECT_TRUE(popup->opened.popupStyle);
	EXPECT_EQ(dialog.GetTimestampProperty(), scene.note);
	EXPECT_FALSE(dialog.GetShowSummary());
	const DialogRun* settings = RunOf(ID_DIALOG_SETTINGS);
	EXPECT_EQ(settings->opened.Item(4)->text, "Last Covering Run");
	EXPECT_TRUE(settings->opened.Item(6)->checked);
	EXPECT_EQ(settings->closed.Item(4)->text, "Note");
}

TEST_F(PaletteTest, TheSettingsDialogDropsAGoneProperty_AndACancelledPopupChangesNothing)
{
	PropertyScene scene;
	struct Case {
		const char* name;
		API_Guid current;
		bool dropCurrent;
		std::vector<DialogAction> settingsScript;
		std::vector<DialogAction> popupScript;
		const char* failingCall; // fails on its first call after the settings dialog is built
		bool accepted;
		API_Guid chosen;
		std::string buttonText;
		std::vector<std::string> tree; // of the popup, when it ran
	};
	const Case cases[] = {
	    {"no property", APINULLGuid, false, {ClickAction(1)}, {}, nullptr, true, APINULLGuid, "No property", {}},
	    {"cancelled popup",
	     scene.note,
	     false,
	     {ClickAction(4), ClickAction(1)},
	     {CloseAction(false)},
	     nullptr,
	     true,
	     scene.note,
	     "Note",
	     offered},
	    {"a group selected, then the popup dismissed",
	     scene.note,
	     false,
	     {ClickAction(4), ClickAction(1)},
	     {SelectTreeItemAction(1, "Tracking"), CloseAction(false)},
	     nullptr,
	     true,
	     scene.note,
	     "Note",
	     offered},
	    {"cancelled dialog", scene.note, false, {ClickAction(2)}, {}, nullptr, false, scene.note, "Note", {}},
	    {"groups cannot be read",
	     scene.note,
	     false,
	     {ClickAction(4), ClickAction(1)},
	     {CloseAction(false)},
	     "ACAPI_Property_GetPropertyGroups",
	     true,
	     scene.note,
	     "Note",
	     {}},
	    {"definitions cannot be read",
	     scene.note,
	     false,
	     {ClickAction(4), ClickAction(1)},
	     {CloseAction(false)},
	     "ACAPI_Property_GetPropertyDefinitions",
	     true,
	     scene.note,
	     "Note",
	     {"Tracking", "Finishes", "  Finish Code", "Numbers", "  Note"}},
	    {"deleted property", scene.note, true, {ClickAction(1)}, {}, nullptr, true, APINULLGuid, "No property", {}},
	};
	for (const Case& c : cases) {
		ResetDialogs();
		if (c.dropCurrent)
			DropProperty(c.current);
		SettingsDialog dialog(c.current, false);
		if (c.failingCall != nullptr)
			FailCall(c.failingCall, 1, APIERR_GENERAL);
		ScriptDialog(ID_DIALOG_SETTINGS, c.settingsScript);
		ScriptDialog(ID_DIALOG_PROPERTY, c.popupScript);
		EXPECT_EQ(dialog.Invoke(), c.accepted) << c.name;
		ClearFaults();
		EXPECT_EQ(dialog.GetTimestampProperty(), c.chosen) << c.name;
		EXPECT_EQ(RunOf(ID_DIALOG_SETTINGS)->closed.Item(4)->text, c.buttonText) << c.name;
		const DialogRun* popup = RunOf(ID_DIALOG_PROPERTY);
		EXPECT_EQ(popup == nullptr ? std::vector<std::string>() : TreeLines(*popup->opened.Item(1)), c.tree) << c.name;
		EXPECT_TRUE(popup == nullptr || !popup->accepted) << c.name;
	}
	EXPECT_TRUE(Alerts().empty());
}

TEST_F(PaletteTest, BothDialogsMoveAndWidenTheirItemsOnResize)
{
	SettingsDialog dialog(APINULLGuid, false);
	ScriptDialog(ID_DIALOG_SETTINGS, {ResizeAction(30, 10), ClickAction(4), ClickAction(2)});
	ScriptDialog(ID_DIALOG_PROPERTY, {ResizeAction(-20, 40), CloseAction(false)});
	EXPECT_FALSE(dialog.Invoke());
	// How far the item moved right and down and grew wider and taller.
	auto change = [](short resId, short item) {
		const ItemState& was = *RunOf(resId)->opened.Item(item);
		const ItemState& is = *RunOf(resId)->closed.Item(item);
		return std::vector<int>({is.left - was.left, is.top - was.top, is.width - was.width, is.height - was.height});
	};
	using Change = std::vector<int>;
	EXPECT_EQ(change(ID_DIALOG_SETTINGS, 1), Change({30, 0, 0, 0}));
	EXPECT_EQ(change(ID_DIALOG_SETTINGS, 2), Change({30, 0, 0, 0}));
	EXPECT_EQ(change(ID_DIALOG_SETTINGS, 4), Change({0, 0, 30, 0}));
	EXPECT_EQ(change(ID_DIALOG_SETTINGS, 6), Change({0, 0, 0, 0}));
	EXPECT_EQ(change(ID_DIALOG_PROPERTY, 1), Change({0, 0, -20, 40}));
}

TEST_F(PaletteTest, AChosenPropertyWhoseNameCannotBeReadIsKeptAndShownByItsGuid)
{
	PropertyScene scene;
	VelmoraPalette& palette = ShownPalette();
	palette.settings.timestampProperty = scene.note;
	auto guidText = [](const API_Guid& guid) { return std::string(APIGuidToString(guid).ToCStr().Get()); };

	ScriptDialog(ID_DIALOG_SETTINGS, {ClickAction(1)});
	FailCall("ACAPI_Property_GetPropertyDefinition", 1, APIERR_GENERAL);
	ASSERT_TRUE(ClickItem(ID_PALETTE, 2));
	EXPECT_EQ(palette.settings.timestampProperty, scene.note);
	EXPECT_EQ(RunOf(ID_DIALOG_SETTINGS)->opened.Item(4)->text, guidText(scene.note));

	ResetDialogs();
	ScriptDialog(ID_DIALOG_SETTINGS, {ClickAction(4), ClickAction(1)});
	ScriptDialog(ID_DIALOG_PROPERTY, {SelectTreeItemAction(1, "Finish Code")});
	FailCall("ACAPI_Property_GetPropertyDefinition", 2, APIERR_GENERAL);
	ASSERT_TRUE(ClickItem(ID_PALETTE, 2));
	EXPECT_EQ(palette.settings.timestampProperty, Defaults().finishCodeProperty);
	EXPECT_EQ(RunOf(ID_DIALOG_SETTINGS)->opened.Item(4)->text, "Note");
	EXPECT_EQ(RunOf(ID_DIALOG_SETTINGS)->closed.Item(4)->text, guidText(Defaults().finishCodeProperty));
	EXPECT_EQ(FindAddOnObject("PaletteSettings")->content, StoredBytes(palette.settings));
	EXPECT_TRUE(Alerts().empty());
}

} // namespace
