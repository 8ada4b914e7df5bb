// The headless dialog manager: layouts, events to attached observers only,
// modal scripts, the palette's user actions and its picture.
#include <memory>

#include "AddOnControl.hpp"
#include "DG/Items.hpp"
#include "DialogControl.hpp"
#include "HostTest.hpp"
#include "RS/Resources.hpp"

using namespace HostControl;

namespace {

constexpr short paletteId = 31500;

struct TestPalette : DG::Palette {
	TestPalette() : DG::Palette(ACAPI_GetOwnResModule(), paletteId, ACAPI_GetOwnResModule(), GS::Guid()) {}
	DG::Button add{*this, 29};
	DG::CheckBox wall{*this, 5};
};

struct Clicks : DG::ButtonItemObserver, DG::CheckItemObserver, DG::CompoundItemObserver {
	std::vector<short> heard;
	void ButtonClicked(const DG::ButtonClickEvent& event) override { heard.push_back(event.GetSource()->GetId()); }
	void CheckItemChanged(const DG::CheckItemChangeEvent& event) override
	{
		heard.push_back(event.GetSource()->GetId());
	}
};

TEST_F(HostTest, LayoutsHoldEveryItemThatTheAddOnBindsWithItsClass)
{
	struct Expected {
		short resId;
		std::vector<short> items;
		const char* kind;
	};
	const Expected expected[] = {
	    {31500, {2}, "IconButton"},
	    {31500, {3, 18, 28}, "Separator"},
	    {31500, {5, 8, 9, 11, 15, 20, 24, 27}, "CheckBox"},
	    {31500, {6, 7, 12, 13, 16, 17, 21, 22, 25, 26, 29, 30, 31}, "Button"},
	    {31501, {1}, "ListBox"},
	    {31502, {1, 2, 4}, "Button"},
	    {31502, {6}, "CheckBox"},
	    {31503, {1}, "TreeView"},
	};
	for (const Expected& e : expected) {
		DG::ModalDialog dialog(ACAPI_GetOwnResModule(), e.resId, ACAPI_GetOwnResModule());
		ASSERT_NE(dialog.GetId(), 0) << e.resId;
		ResetDialogs();
		ScriptDialog(e.resId, {CloseAction(false)});
		EXPECT_FALSE(dialog.Invoke()) << e.resId;
		for (short item : e.items) {
			const ItemState* state = DialogRuns().at(0).opened.Item(item);
			ASSERT_NE(state, nullptr) << e.resId << " item " << item;
			EXPECT_EQ(state->kind, e.kind) << e.resId << " item " << item;
		}
	}
	DG::ModalDialog missing(ACAPI_GetOwnResModule(), 31599, ACAPI_GetOwnResModule());
	DG::ModalDialog otherModule(ACAPI_GetOwnResModule() + 1, 31502, ACAPI_GetOwnResModule());
	ResetDialogs();
	EXPECT_EQ(missing.GetId(), 0);
	EXPECT_EQ(otherModule.GetId(), 0);
	EXPECT_FALSE(missing.Invoke());
	EXPECT_TRUE(DialogRuns().empty());
}

TEST_F(HostTest, AModalDialogThatItsScriptLeavesOpenIsAComplaintNotACancel)
{
	DG::ModalDialog dialog(ACAPI_GetOwnResModule(), 31502, ACAPI_GetOwnResModule());
	ScriptDialog(31502, {ToggleAction(6)});
	EXPECT_FALSE(dialog.Invoke());
	EXPECT_FALSE(dialog.Invoke()) << "no script";
	EXPECT_EQ(TakeComplaints(),
	          std::vector<std::string>(2, "The modal dialog 31502 was still open when its script ran out"));
}

TEST_F(HostTest, APaletteTellsOnlyAttachedObserversAndOnlyWhileItTakesEvents)
{
	TestPalette palette;
	auto clicks = std::make_unique<Clicks>();
	clicks->AttachToAllItems(palette);
	// Clicks item 29 and toggles box 5; returns which of the two the host took.
	auto act = [&]() {
		bool clicked = ClickItem(paletteId, 29);
		return std::make_pair(clicked, ToggleCheck(paletteId, 5));
	};
	using Taken = std::pair<bool, bool>;

	EXPECT_EQ(act(), Taken(false, false)) << "hidden";
	palette.Show(-32768);
	EXPECT_EQ(act(), Taken(false, false)) << "shown, not processing events";
	palette.BeginEventProcessing();
	EXPECT_EQ(act(), Taken(true, true));
	EXPECT_EQ(clicks->heard, std::vector<short>({29, 5}));
	EXPECT_TRUE(palette.wall.IsChecked());

	palette.DisableItems();
	palette.add.Disable();
	EXPECT_EQ(act(), Taken(false, false)) << "every item greyed";
	EXPECT_TRUE(ModelessPanel(paletteId)->itemsDisabled);
	palette.EnableItems();
	EXPECT_EQ(act(), Taken(false, true)) << "the button keeps its own status";
	EXPECT_FALSE(ModelessPanel(paletteId)->Item(29)->enabled);
	EXPECT_TRUE(ModelessPanel(paletteId)->Item(5)->enabled);

	palette.add.Enable();
	clicks->DetachFromAllItems(palette);
	clicks->heard.clear();
	EXPECT_EQ(act(), Taken(true, true)) << "detached";
	EXPECT_TRUE(clicks->heard.empty());
	clicks->AttachToAllItems(palette);
	clicks.reset();
	EXPECT_EQ(act(), Taken(true, true)) << "a destroyed observer is no longer told";

	palette.Hide();
	EXPECT_FALSE(ModelessPanel(paletteId).has_value());
	EXPECT_FALSE(palette.wall.IsChecked());
}

TEST_F(HostTest, APictureOfAPanelShowsTextsMarksAndGreyedItems)
{
	TestPalette palette;
	palette.Show(-32768);
	palette.wall.SetState(true);
	palette.add.SetText("Add <all> & more");
	palette.add.Disable();
	std::string picture = PanelPicture(*ModelessPanel(paletteId));
	EXPECT_EQ(picture.rfind("<svg ", 0), 0u);
	EXPECT_NE(picture.find(">Add &lt;all&gt; &amp; more</text>"), std::string::npos);
	EXPECT_NE(picture.find("fill=\"#a0a0a0\">Add"), std::string::npos) << "greyed";
	EXPECT_NE(picture.find("fill=\"#000000\">Wall coverings"), std::string::npos);
	EXPECT_EQ(picture.find("<path"), picture.rfind("<path")) << "one check mark";
	EXPECT_NE(picture.find("<path"), std::string::npos);
}

} // namespace
