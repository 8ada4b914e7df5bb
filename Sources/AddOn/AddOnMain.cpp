#include "AddOnMain.hpp"

#include "API/Commands.hpp"
#include "API/LibraryManagement.hpp"
#include "API/ModelessWindows.hpp"
#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"
#include "VelmoraPalette.hpp"

namespace {

const char* const addOnVersion = "0.17.0";
const char* const libraryFolderName = "Lumeric Bibliothek";
constexpr GSFlags caughtProjectEvents = APINotify_New | APINotify_NewAndReset | APINotify_Open | APINotify_Close;
constexpr GSFlags paletteControlFlags = 1;
constexpr short paletteShowPosition = -32768;

void SetPaletteMenuCheck(unsigned int flags)
{
	ACAPI_MenuItem_SetMenuItemFlags(&VelmoraPalette::menuItemRef, &flags, nullptr);
}

// The library folder that lies beside the add-on's own file.
GSErrCode AddLibraryFolder()
{
	IO::Location folder;
	if (GSErrCode err = ACAPI_GetOwnLocation(&folder); err != NoError)
		return err;
	if (GSErrCode err = folder.SetLastLocalName(IO::Name(libraryFolderName)); err != NoError)
		return err;
	return ACAPI_LibraryManagement_AddLibraries(&folder);
}

} // namespace

API_AddonType CheckEnvironment(API_EnvirParams* envir)
{
	envir->addOnInfo.name = RSGetIndString(ID_STR_ADDON_INFO, 1, ACAPI_GetOwnResModule(), 0);
	GS::UniString descriptionFormat = RSGetIndString(ID_STR_ADDON_INFO, 2, ACAPI_GetOwnResModule(), 0);
	envir->addOnInfo.description = GS::UniString::Printf(descriptionFormat, addOnVersion);
	return APIAddon_Normal;
}

GSErrCode RegisterInterface()
{
	GSErrCode err = ACAPI_MenuItem_RegisterMenu(ID_MENU_PALETTE, 0, MenuCode_Palettes, 0);
	if (err != NoError)
		DBPrintf("VM: RegisterInterface() ACAPI_Register_Menu ID_MENU_PALETTE failed.\n");
	return err;
}

GSErrCode Initialize()
{
	if (ACAPI_MenuItem_InstallMenuHandler(ID_MENU_PALETTE, MenuCommandHandler) != NoError)
		DBPrintf("VM: Install_MenuHandler() ID_MENU_PALETTE failed.\n");
	if (ACAPI_ProjectOperation_CatchProjectEvent(caughtProjectEvents, ProjectEventHandlerProc) != NoError)
		DBPrintf("VM: ACAPI_Notify_CatchProjectEvent() failed.\n");
	if (ACAPI_RegisterModelessWindow(VelmoraPalette::refId, VelmoraPalette::PaletteAPIControlCallBack,
	                                 paletteControlFlags, GSGuid2APIGuid(VelmoraPalette::paletteGuid)) != NoError)
		DBPrintf("VM: ACAPI_RegisterModelessWindow() failed.\n");
	return NoError;
}

GSErrCode FreeData()
{
	GSErrCode err = ACAPI_UnregisterModelessWindow(VelmoraPalette::refId);
	// The palette lives until the add-on is unloaded.
	VelmoraPalette::DestroyInstance();
	return err;
}

GSErrCode MenuCommandHandler(const API_MenuParams* menuParams)
{
	if (menuParams->menuItemRef.menuResID != ID_MENU_PALETTE || menuParams->menuItemRef.itemIndex != 1)
		return NoError;
	VelmoraPalette& palette = VelmoraPalette::GetInstance();
	if (palette.IsVisible()) {
		SetPaletteMenuCheck(0);
		palette.Hide();
	} else {
		SetPaletteMenuCheck(API_MenuItemChecked);
		palette.Show(paletteShowPosition);
		palette.InitPaletteSettings();
	}
	return NoError;
}

GSErrCode ProjectEventHandlerProc(API_NotifyEventID notifID, Int32)
{
	switch (notifID) {
	case APINotify_New:
	case APINotify_NewAndReset:
	case APINotify_Open: {
		GSErrCode err = AddLibraryFolder();
		VelmoraPalette::GetInstance().ProjectOpened(err);
		return err;
	}
	case APINotify_Close:
		VelmoraPalette::GetInstance().ClearPaletteSettings();
		return NoError;
	default:
		return NoError;
	}
}
