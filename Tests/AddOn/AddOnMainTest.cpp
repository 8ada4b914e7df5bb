// The add-on's life in the host: load and unload, the palette's menu command
// and the project events, driven through the host as the host drives them.
#include <string>
#include <vector>

#include "AddOnMain.hpp"
#include "PaletteFixture.hpp"

using namespace HostControl;

namespace {

const AddOnEntryPoints velmora{CheckEnvironment, RegisterInterface, Initialize, FreeData};
const std::string addOnFile = "/Add-Ons/Velmora/Velmora.bundle";
const std::string libraryFolder = "/Add-Ons/Velmora/Lumeric Bibliothek";
const API_Guid paletteGuid = APIGuidFromString("49EC67EE-87EF-4775-A5EA-781240DA9846");

std::vector<bool> PaletteSwitches()
{
	return Switches(VelmoraPalette::GetInstance().settings);
}

class AddOnMain : public PaletteTest {
protected:
	void SetUp() override
	{
		PaletteTest::SetUp();
		SetAddOnLocation(addOnFile);
		AddFolder(libraryFolder);
	}

	void TearDown() override
	{
		UnloadAddOn();
		PaletteTest::TearDown();
	}

	static std::optional<std::vector<char>> StoredState()
	{
		std::optional<AddOnObject> object = FindAddOnObject("PaletteSettings");
		return object.has_value() ? object->content : std::nullopt;
	}

	static bool PaletteShown() { return ModelessPanel(ID_PALETTE).has_value(); }
	static bool MenuChecked() { return MenuItem(ID_MENU_PALETTE, 1)->flags == API_MenuItemChecked; }
};

TEST_F(AddOnMain, LoadRegistersMenuEventsAndPaletteAndUnloadUnregisters)
{
	// Looked at before the host forgets what the add-on left registered.
	static std::optional<std::size_t> windowsAfterFreeData;
	LoadResult load = LoadAddOn({CheckEnvironment, RegisterInterface, Initialize, [] {
		                             GSErrCode result = FreeData();
		                             windowsAfterFreeData = ModelessWindows().size();
		                             return result;
	                             }});
	EXPECT_TRUE(load.loaded);
	EXPECT_EQ(load.type, APIAddon_Normal);
	EXPECT_EQ(load.name, "Velmora");
	EXPECT_NE(load.description.find("0.17.0"), std::string::npos) << load.description;
	EXPECT_EQ(load.registerResult, NoError);
	EXPECT_EQ(load.initializeResult, NoError);
	EXPECT_TRUE(MenuItem(ID_MENU_PALETTE, 1).has_value());
	ASSERT_EQ(ModelessWindows().size(), 1u);
	EXPECT_EQ(ModelessWindows()[0].referenceID, VelmoraPalette::refId);
	EXPECT_EQ(ModelessWindows()[0].controlFlags, 1);
	EXPECT_EQ(ModelessWindows()[0].guid, paletteGuid);
	EXPECT_TRUE(DebugLines().empty());
	EXPECT_FALSE(VelmoraPalette::HasInstance()) << "the palette is made on first use";

	EXPECT_EQ(CloseProject(), NoError) << "project events reach the add-on";
	EXPECT_TRUE(VelmoraPalette::HasInstance());
	EXPECT_EQ(UnloadAddOn(), NoError);
	EXPECT_EQ(windowsAfterFreeData, 0u);
	EXPECT_FALSE(VelmoraPalette::HasInstance()) << "the palette lives until unload";
}

TEST_F(AddOnMain, RegistrationFailuresAreLoggedAndInitializeStillSucceeds)
{
	const std::string menuLine = "VM: RegisterInterface() ACAPI_Register_Menu ID_MENU_PALETTE failed.\n";
	const std::string handlerLine = "VM: Install_MenuHandler() ID_MENU_PALETTE failed.\n";
	const std::string eventsLine = "VM: ACAPI_Notify_CatchProjectEvent() failed.\n";
	const std::string windowLine = "VM: ACAPI_RegisterModelessWindow() failed.\n";
	struct Case {
		std::vector<const char*> failing;
		GSErrCode registerResult;
		std::vector<std::string> lines;
	};
	const Case cases[] = {
	    {{"ACAPI_MenuItem_RegisterMenu"}, APIERR_MEMFULL, {menuLine, handlerLine}},
	    {{"ACAPI_MenuItem_InstallMenuHandler", "ACAPI_ProjectOperation_CatchProjectEvent",
	      "ACAPI_RegisterModelessWindow"},
	     NoError,
	     {handlerLine, eventsLine, windowLine}},
	};
	for (const Case& test : cases) {
		ResetHost();
		for (const char* call : test.failing)
			FailCall(call, 1, APIERR_MEMFULL);
		LoadResult load = LoadAddOn(velmora);
		EXPECT_EQ(load.registerResult, test.registerResult);
		EXPECT_EQ(load.initializeResult, NoError);
		EXPECT_EQ(DebugLines(), test.lines);
		UnloadAddOn();
	}
}

TEST_F(AddOnMain, MenuItemShowsThePaletteWithItsStoredStateAndHidesIt)
{
	LoadAddOn(velmora);
	CoveringSettings stored = ClearedPaletteSettings();
	stored.floor.enabled = stored.showSummary = true;
	VelmoraPalette::GetInstance().InitPaletteSettings();
	VelmoraPalette::GetInstance().settings = stored;
	ASSERT_EQ(VelmoraPalette::GetInstance().StorePaletteSettings(), NoError);
	VelmoraPalette::GetInstance().ClearPaletteSettings();

	for (API_MenuItemRef other : {API_MenuItemRef{ID_MENU_PALETTE + 1, 1}, API_MenuItemRef{ID_MENU_PALETTE, 2}}) {
		API_MenuParams params{other};
		EXPECT_EQ(MenuCommandHandler(&params), NoError);
		EXPECT_FALSE(PaletteShown());
		EXPECT_FALSE(MenuChecked());
	}

	EXPECT_EQ(ChooseMenuItem(ID_MENU_PALETTE, 1), NoError);
	EXPECT_TRUE(PaletteShown());
	EXPECT_TRUE(MenuChecked());
	EXPECT_TRUE(VelmoraPalette::GetInstance().settings.floor.enabled) << "shown with the project's stored state";
	EXPECT_TRUE(VelmoraPalette::GetInstance().settings.showSummary);

	EXPECT_EQ(ChooseMenuItem(ID_MENU_PALETTE, 1), NoError);
	EXPECT_FALSE(PaletteShown());
	EXPECT_FALSE(MenuChecked());
}

TEST_F(AddOnMain, ProjectEventsAddTheLibraryFolderAndLoadOrClearTheState)
{
	LoadAddOn(velmora);
	VelmoraPalette& palette = VelmoraPalette::GetInstance();
	palette.InitPaletteSettings();
	palette.settings.ceiling.enabled = true;
	ASSERT_EQ(palette.StorePaletteSettings(), NoError);
	std::vector<bool> stored = PaletteSwitches();
	std::optional<std::vector<char>> bytes = StoredState();
	ASSERT_TRUE(bytes.has_value());

	EXPECT_EQ(CloseProject(), NoError);
	EXPECT_EQ(PaletteSwitches(), Switches(ClearedPaletteSettings())) << "a closed project leaves the cleared state";
	EXPECT_EQ(OpenProject(), NoError);
	EXPECT_EQ(ProjectLibraries(), std::vector<std::string>{libraryFolder});
	EXPECT_EQ(StoredState(), bytes) << "the stored state survives close and reopen byte for byte";
	EXPECT_EQ(PaletteSwitches(), stored);
	ASSERT_EQ(palette.StorePaletteSettings(), NoError);
	EXPECT_EQ(StoredState(), bytes) << "what was loaded stores the same bytes again";

	EXPECT_EQ(ProjectEventHandlerProc(static_cast<API_NotifyEventID>(8), 0), NoError);
	EXPECT_EQ(PaletteSwitches(), stored) << "another event changes nothing";

	for (bool withReset : {false, true}) {
		SCOPED_TRACE(withReset);
		palette.settings.ceiling.enabled = true;
		EXPECT_EQ(NewProject(withReset), NoError);
		EXPECT_EQ(PaletteSwitches(), Switches(ClearedPaletteSettings())) << "a new project holds no stored state";
		EXPECT_EQ(ProjectLibraries(), std::vector<std::string>{libraryFolder});
	}
}

TEST_F(AddOnMain, AFolderThatCannotBeAddedReturnsTheHostsErrorAndKeepsTheSettings)
{
	LoadAddOn(velmora);
	VelmoraPalette& palette = VelmoraPalette::GetInstance();
	palette.InitPaletteSettings();
	palette.settings.floor.enabled = true;
	ASSERT_EQ(palette.StorePaletteSettings(), NoError);
	const std::optional<std::vector<char>> stored = StoredState();
	CoveringSettings inMemory = ClearedPaletteSettings();
	inMemory.wall.columnCoverings = true;

	struct Case {
		const char* failing; // null: the folder does not exist
		GSErrCode expected;
		bool closedFirst; // the palette then shows the cleared state
	};
	for (const Case& test : {Case{"ACAPI_GetOwnLocation", APIERR_GENERAL, false},
	                         Case{"IO::Location::SetLastLocalName", APIERR_GENERAL, false},
	                         Case{"ACAPI_LibraryManagement_AddLibraries", APIERR_GENERAL, false},
	                         Case{nullptr, APIERR_BADPARS, false}, Case{nullptr, APIERR_BADPARS, true}}) {
		SCOPED_TRACE(test.failing == nullptr ? "no such folder" : test.failing);
		palette.settings = inMemory;
		if (test.closedFirst)
			CloseProject();
		if (test.failing != nullptr)
			FailCall(test.failing, 1, APIERR_GENERAL);
		else
			SetAddOnLocation("/Elsewhere/Velmora.bundle");
		EXPECT_EQ(OpenProject(), test.expected);
		EXPECT_EQ(PaletteSwitches(), Switches(test.closedFirst ? ClearedPaletteSettings() : inMemory));
		EXPECT_TRUE(ProjectLibraries().empty());
		EXPECT_EQ(palette.StorePaletteSettings(), test.expected) << "the project's state was not read";
		EXPECT_EQ(StoredState(), stored);
	}
}

TEST_F(AddOnMain, AProjectOpenedInPlaceOfAnotherIsNotStoredOverUntilItsStateIsRead)
{
	LoadAddOn(velmora);
	CoveringSettings previous = ClearedPaletteSettings();
	previous.ceiling.enabled = true;
	PutAddOnObject("PaletteSettings", StoredBytes(previous));
	ASSERT_EQ(ChooseMenuItem(ID_MENU_PALETTE, 1), NoError);

	ReplaceProject();
	PutAddOnObject("PaletteSettings", StoredBytes(PaletteDefaultSettings()));
	const std::optional<std::vector<char>> unread = StoredState();
	FailCall("ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName", 1, APIERR_GENERAL);
	EXPECT_EQ(OpenProject(), NoError);
	EXPECT_EQ(PaletteSwitches(), Switches(previous)) << "the palette keeps what it shows";
	ASSERT_TRUE(ToggleCheck(ID_PALETTE, 9));
	EXPECT_EQ(StoredState(), unread);
	EXPECT_EQ(PaletteAlertNames(), std::vector<std::string>(2, Name(APIERR_GENERAL))) << "the load's, the store's";
}

} // namespace
