// The host's side of an add-on's life: load and unload, menus, project events,
// palettes, add-on objects, libraries and the tool settings dialog, as a small
// add-on of the test's own uses them.
#include <cstring>
#include <string>
#include <vector>

#include "API/AddOnObjects.hpp"
#include "API/Commands.hpp"
#include "API/Favorites.hpp"
#include "API/LibraryManagement.hpp"
#include "API/ProjectEvents.hpp"
#include "API/ToolSettings.hpp"
#include "AddOnControl.hpp"
#include "DG/Items.hpp"
#include "DG/Panels.hpp"
#include "GS/Memory.hpp"
#include "HostTest.hpp"
#include "RS/Resources.hpp"

using namespace HostControl;

namespace {

constexpr short menuId = 32500;
const API_Guid paletteGuid = APIGuidFromString("49EC67EE-87EF-4775-A5EA-781240DA9846");

// What the test's add-on saw of the host.
struct Journal {
	std::vector<std::string> calls;
	GSErrCode lateMenuResult = NoError;
	std::vector<API_NotifyEventID> events;
	std::vector<std::pair<Int32, Int64>> paletteMessages;
};
Journal journal;

API_AddonType TestCheckEnvironment(API_EnvirParams* envir)
{
	journal.calls.push_back("CheckEnvironment");
	envir->addOnInfo.name = "Test";
	envir->addOnInfo.description = "A test add-on";
	return APIAddon_Normal;
}

GSErrCode TestRegisterInterface()
{
	journal.calls.push_back("RegisterInterface");
	return ACAPI_MenuItem_RegisterMenu(menuId, 0, MenuCode_Palettes, 0);
}

GSErrCode TestMenuHandler(const API_MenuParams* params)
{
	journal.calls.push_back("Menu " + std::to_string(params->menuItemRef.itemIndex));
	unsigned int flags = API_MenuItemChecked;
	return ACAPI_MenuItem_SetMenuItemFlags(&params->menuItemRef, &flags, nullptr);
}

GSErrCode TestProjectEvent(API_NotifyEventID event, Int32)
{
	journal.events.push_back(event);
	return event == APINotify_Open ? APIERR_GENERAL : NoError;
}

GSErrCode TestPaletteCallBack(Int32 referenceID, API_PaletteMessageID message, Int64 param)
{
	journal.paletteMessages.push_back({referenceID, message});
	if (message == APIPalMsg_IsPaletteVisible)
		*reinterpret_cast<bool*>(param) = true;
	return NoError;
}

GSErrCode TestInitialize()
{
	journal.calls.push_back("Initialize");
	journal.lateMenuResult = ACAPI_MenuItem_RegisterMenu(menuId + 1, 0, MenuCode_Palettes, 0);
	ACAPI_MenuItem_InstallMenuHandler(menuId, TestMenuHandler);
	ACAPI_ProjectOperation_CatchProjectEvent(APINotify_Open | APINotify_Close, TestProjectEvent);
	return ACAPI_RegisterModelessWindow(7, TestPaletteCallBack, 1, paletteGuid);
}

GSErrCode TestFreeData()
{
	journal.calls.push_back("FreeData");
	return ACAPI_UnregisterModelessWindow(7);
}

const AddOnEntryPoints testAddOn{TestCheckEnvironment, TestRegisterInterface, TestInitialize, TestFreeData};

class AddOnLife : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		journal = Journal();
	}
};

std::vector<char> Bytes(const std::string& text)
{
	return std::vector<char>(text.begin(), text.end());
}

TEST_F(AddOnLife, LoadRegistersThenUnloadForgets)
{
	LoadResult load = LoadAddOn(testAddOn);
	EXPECT_TRUE(load.loaded);
	EXPECT_EQ(load.name, "Test");
	EXPECT_EQ(load.description, "A test add-on");
	EXPECT_EQ(journal.lateMenuResult, APIERR_REFUSEDCMD) << "menus are registered at RegisterInterface only";
	ASSERT_EQ(ModelessWindows().size(), 1u);
	EXPECT_EQ(ModelessWindows()[0].referenceID, 7);
	EXPECT_EQ(ModelessWindows()[0].controlFlags, 1);

	EXPECT_EQ(MenuItem(menuId, 1)->flags, 0u);
	EXPECT_EQ(ChooseMenuItem(menuId, 1), NoError);
	EXPECT_EQ(MenuItem(menuId, 1)->flags, API_MenuItemChecked);
	EXPECT_FALSE(MenuItem(menuId, 2).has_value());
	EXPECT_EQ(ChooseMenuItem(menuId, 2), APIERR_BADID);
	API_MenuItemRef otherItem{menuId, 2};
	unsigned int flags = 0;
	EXPECT_EQ(ACAPI_MenuItem_SetMenuItemFlags(&otherItem, &flags, nullptr), APIERR_BADID);

	EXPECT_EQ(SendPaletteMessage(paletteGuid, APIPalMsg_HidePalette_Begin), NoError);
	EXPECT_EQ(IsPaletteVisible(paletteGuid), std::optional<bool>(true));
	ASSERT_EQ(journal.paletteMessages.size(), 2u);
	EXPECT_EQ(journal.paletteMessages[0], (std::pair<Int32, Int64>{7, APIPalMsg_HidePalette_Begin}));
	EXPECT_EQ(ACAPI_RegisterModelessWindow(8, TestPaletteCallBack, 1, paletteGuid), APIERR_REFERENCEEXIST);

	EXPECT_EQ(UnloadAddOn(), NoError);
	EXPECT_EQ(journal.calls,
	          (std::vector<std::string>{"CheckEnvironment", "RegisterInterface", "Initialize", "Menu 1", "FreeData"}));
	EXPECT_TRUE(ModelessWindows().empty());
	EXPECT_EQ(ChooseMenuItem(menuId, 1), APIERR_BADID);
	EXPECT_EQ(OpenProject(), NoError) << "an unloaded add-on hears no project events";
	EXPECT_EQ(ACAPI_UnregisterModelessWindow(7), APIERR_BADID);
}

TEST_F(AddOnLife, WhatAnAddOnLeavesAtUnloadIsAComplaintAndStays)
{
	LoadAddOn(testAddOn);
	const API_Guid otherGuid = APIGuidFromString("11111111-2222-3333-4444-555555555555");
	ASSERT_EQ(ACAPI_RegisterModelessWindow(8, TestPaletteCallBack, 1, otherGuid), NoError);
	DG::Palette palette(ACAPI_GetOwnResModule(), 31500, ACAPI_GetOwnResModule(), GS::Guid());
	DG::CheckBox wallCheck(palette, 5);
	struct Watcher : DG::PanelObserver, DG::CheckItemObserver, DG::CompoundItemObserver {
	} watcher;
	palette.Attach(watcher);
	watcher.AttachToAllItems(palette);
	EXPECT_EQ(UnloadAddOn(), NoError);
	EXPECT_EQ(TakeComplaints(),
	          (std::vector<std::string>{"The add-on left its window 8 registered at unload",
	                                    "The add-on left 2 observers attached to the panel 31500 at unload"}));
	EXPECT_EQ(ModelessWindows().size(), 1u) << "not tidied away";
	EXPECT_EQ(ACAPI_UnregisterModelessWindow(8), NoError);
}

TEST_F(AddOnLife, ClosedProjectKeepsItsObjectsAndLibrariesAndANewOneHasNone)
{
	LoadAddOn(testAddOn);
	AddFolder("/Host/Add-Ons/Velmora/Library");
	IO::Location folder;
	ASSERT_EQ(ACAPI_GetOwnLocation(&folder), NoError);
	ASSERT_EQ(folder.SetLastLocalName(IO::Name("Library")), NoError);
	EXPECT_EQ(std::string(folder.ToDisplayText().ToCStr().Get()), "/Host/Add-Ons/Velmora/Library");
	ASSERT_EQ(ACAPI_LibraryManagement_AddLibraries(&folder), NoError);
	ASSERT_EQ(ACAPI_LibraryManagement_AddLibraries(&folder), NoError);
	IO::Location missing(GS::UniString("/Host/Add-Ons/Velmora/Missing"));
	EXPECT_EQ(ACAPI_LibraryManagement_AddLibraries(&missing), APIERR_BADPARS);

	PutAddOnObject("State", Bytes("saved"));
	std::size_t elements = Elements().size();
	ACAPI_CallUndoableCommand("Step", [] { return NoError; });

	EXPECT_EQ(CloseProject(), NoError);
	EXPECT_FALSE(FindAddOnObject("State").has_value());
	EXPECT_TRUE(Elements().empty());
	EXPECT_EQ(OpenProject(), APIERR_GENERAL) << "the handler's code comes back";
	EXPECT_EQ(FindAddOnObject("State")->content, Bytes("saved"));
	EXPECT_EQ(ProjectLibraries(), std::vector<std::string>{"/Host/Add-Ons/Velmora/Library"});
	EXPECT_EQ(Elements().size(), elements);
	EXPECT_TRUE(UndoStepNames().empty()) << "an opened project has no undo history";

	EXPECT_EQ(NewProject(true), NoError);
	EXPECT_FALSE(FindAddOnObject("State").has_value());
	EXPECT_TRUE(ProjectLibraries().empty());
	EXPECT_EQ(journal.events, (std::vector<API_NotifyEventID>{APINotify_Close, APINotify_Open}))
	    << "only the caught events are delivered";
	UnloadAddOn();
}

TEST_F(AddOnLife, AddOnObjectsKeepTheirBytesOutsideUndo)
{
	GSHandle content = nullptr;
	ASSERT_EQ(BMPtrToHandle("abc", &content, 3), NoError);
	API_Guid guid = APINULLGuid;
	EXPECT_EQ(ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName("State", &guid), APIERR_BADNAME);
	EXPECT_EQ(guid, APINULLGuid);
	EXPECT_EQ(ACAPI_AddOnObject_CreateClientOnlyObject("State", nullptr, &guid), APIERR_BADPARS);
	ASSERT_EQ(ACAPI_AddOnObject_CreateClientOnlyObject("State", content, &guid), NoError);
	EXPECT_EQ(ACAPI_AddOnObject_CreateClientOnlyObject("State", content, nullptr), APIERR_NAMEALREADYUSED);
	API_Guid found = APINULLGuid;
	ASSERT_EQ(ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName("State", &found), NoError);
	EXPECT_EQ(found, guid);

	BMKillHandle(&content);
	ASSERT_EQ(BMPtrToHandle("changed", &content, 7), NoError);
	ACAPI_CallUndoableCommand("Store", [&] { return ACAPI_AddOnObject_ModifyObject(guid, nullptr, content); });
	BMKillHandle(&content);
	ASSERT_TRUE(UndoLastCommand());
	GS::UniString name;
	ASSERT_EQ(ACAPI_AddOnObject_GetObjectContent(guid, &name, &content), NoError);
	EXPECT_EQ(std::string(*content, static_cast<std::size_t>(BMGetHandleSize(content))), "changed");
	EXPECT_EQ(name, GS::UniString("State"));
	BMKillHandle(&content);
	EXPECT_EQ(ACAPI_AddOnObject_ModifyObject(guid, nullptr, nullptr), APIERR_BADPARS);

	PutAddOnObject("State", std::nullopt);
	ASSERT_EQ(ACAPI_AddOnObject_GetObjectContent(guid, nullptr, &content), NoError);
	EXPECT_EQ(content, nullptr) << "damaged storage can leave an object without content";
	RemoveAddOnObject("State");
	EXPECT_EQ(ACAPI_AddOnObject_GetObjectContent(guid, nullptr, &content), APIERR_BADID);
}

TEST_F(AddOnLife, ToolSettingsDialogKeepsTheDefaultsOnlyWhenAccepted)
{
	API_Element before;
	std::memset(static_cast<void*>(&before), 0, sizeof(before));
	before.header.type = ElemType(API_WallID);
	ASSERT_EQ(ACAPI_Element_GetDefaults(&before, nullptr), NoError);
	PCC pccBefore = GetToolPCC(ElemType(API_WallID));
	ScriptToolSettingsDialog({{false, [](API_Element& wall) { wall.wall.thickness = 9.0; }, PCC()},
	                          {true,
	                           [](API_Element& wall) {
		                           wall.wall.thickness = 0.5;
		                           wall.header.type = ElemType(API_SlabID);
	                           },
	                           PCC()}});
	API_ToolBoxItem wallTool{ElemType(API_WallID)};
	EXPECT_EQ(ACAPI_Dialog_SettingsDialog(&wallTool, nullptr), APIERR_CANCEL);
	API_Element after = before;
	ACAPI_Element_GetDefaults(&after, nullptr);
	EXPECT_EQ(after.wall.thickness, before.wall.thickness);
	EXPECT_EQ(GetToolPCC(ElemType(API_WallID)).classificationItems, pccBefore.classificationItems);

	EXPECT_EQ(ACAPI_Dialog_SettingsDialog(&wallTool, nullptr), NoError);
	ACAPI_Element_GetDefaults(&after, nullptr);
	EXPECT_EQ(after.wall.thickness, 0.5);
	EXPECT_EQ(after.header.type, ElemType(API_WallID)) << "the dialog never changes which tool it is";
	EXPECT_TRUE(GetToolPCC(ElemType(API_WallID)).classificationItems.empty());

	std::vector<ToolSettingsShown> shown = ToolSettingsDialogs();
	ASSERT_EQ(shown.size(), 2u);
	EXPECT_FALSE(shown[0].accepted);
	EXPECT_TRUE(shown[1].accepted);
	EXPECT_EQ(shown[1].defaults.wall.thickness, before.wall.thickness) << "the cancelled edit was never kept";
	API_Guid element = APINULLGuid;
	EXPECT_EQ(ACAPI_Dialog_SettingsDialog(&wallTool, &element), APIERR_BADPARS);
}

TEST_F(AddOnLife, EveryCallFailsWhenTold)
{
	LoadAddOn(testAddOn);
	AddFolder("/Host/Add-Ons/Velmora/Library");
	PutAddOnObject("State", Bytes("x"));
	GSHandle content = nullptr;
	BMPtrToHandle("y", &content, 1);
	API_Guid guid = FindAddOnObject("State")->guid;
	IO::Location location(GS::UniString("/Host/Add-Ons/Velmora/Library"));
	API_MenuItemRef item{menuId, 1};
	unsigned int flags = 0;
	API_ToolBoxItem wallTool{ElemType(API_WallID)};
	const std::vector<std::pair<std::string, std::function<GSErrCode()>>> calls = {
	    {"ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName",
	     [&] { return ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName("State", &guid); }},
	    {"ACAPI_AddOnObject_GetObjectContent",
	     [&] { return ACAPI_AddOnObject_GetObjectContent(guid, nullptr, nullptr); }},
	    {"ACAPI_AddOnObject_CreateClientOnlyObject",
	     [&] { return ACAPI_AddOnObject_CreateClientOnlyObject("Other", content, nullptr); }},
	    {"ACAPI_AddOnObject_ModifyObject", [&] { return ACAPI_AddOnObject_ModifyObject(guid, nullptr, content); }},
	    {"ACAPI_Dialog_SettingsDialog", [&] { return ACAPI_Dialog_SettingsDialog(&wallTool, nullptr); }},
	    {"ACAPI_MenuItem_InstallMenuHandler",
	     [] { return ACAPI_MenuItem_InstallMenuHandler(menuId, TestMenuHandler); }},
	    {"ACAPI_MenuItem_SetMenuItemFlags", [&] { return ACAPI_MenuItem_SetMenuItemFlags(&item, &flags, nullptr); }},
	    {"ACAPI_ProjectOperation_CatchProjectEvent",
	     [] { return ACAPI_ProjectOperation_CatchProjectEvent(APINotify_Close, TestProjectEvent); }},
	    {"ACAPI_UnregisterModelessWindow", [] { return ACAPI_UnregisterModelessWindow(7); }},
	    {"ACAPI_RegisterModelessWindow",
	     [] {
		     return ACAPI_RegisterModelessWindow(9, TestPaletteCallBack, 1,
		                                         APIGuidFromString("11111111-2222-3333-4444-555555555555"));
	     }},
	    {"ACAPI_GetOwnLocation", [&] { return ACAPI_GetOwnLocation(&location); }},
	    {"IO::Location::SetLastLocalName", [&] { return location.SetLastLocalName(IO::Name("Library")); }},
	    {"ACAPI_LibraryManagement_AddLibraries", [&] { return ACAPI_LibraryManagement_AddLibraries(&location); }},
	};
	for (const auto& [name, call] : calls) {
		SCOPED_TRACE(name);
		FailCall(name, 1, APIERR_MEMFULL);
		EXPECT_EQ(call(), APIERR_MEMFULL);
		EXPECT_EQ(call(), NoError) << "only the chosen call fails";
	}
	EXPECT_EQ(FindAddOnObject("State")->content, Bytes("y"));
	BMKillHandle(&content);
	ACAPI_UnregisterModelessWindow(9);
	UnloadAddOn();
}

} // namespace
