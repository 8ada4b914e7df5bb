#include "VelmoraPalette.hpp"

#include <memory>

#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"

namespace {

// The four 32-bit words of the GUID's bytes, read little-endian in memory
// order, added with wrap-around.
Int32 ReferenceNumber(const GS::Guid& guid)
{
	const auto* bytes = reinterpret_cast<const UInt8*>(&guid);
	UInt32 sum = 0;
	for (int word = 0; word < 4; ++word) {
		const UInt8* at = bytes + 4 * word;
		sum += static_cast<UInt32>(at[0]) | static_cast<UInt32>(at[1]) << 8 | static_cast<UInt32>(at[2]) << 16 |
		       static_cast<UInt32>(at[3]) << 24;
	}
	return static_cast<Int32>(sum);
}

std::unique_ptr<VelmoraPalette>& Instance()
{
	static std::unique_ptr<VelmoraPalette> instance;
	return instance;
}

} // namespace

const GS::Guid VelmoraPalette::paletteGuid("49EC67EE-87EF-4775-A5EA-781240DA9846");
const Int32 VelmoraPalette::refId = ReferenceNumber(VelmoraPalette::paletteGuid);
const API_MenuItemRef VelmoraPalette::menuItemRef = {ID_MENU_PALETTE, 1};

VelmoraPalette& VelmoraPalette::GetInstance()
{
	if (Instance() == nullptr)
		Instance().reset(new VelmoraPalette());
	return *Instance();
}

bool VelmoraPalette::HasInstance()
{
	return Instance() != nullptr;
}

void VelmoraPalette::DestroyInstance()
{
	Instance().reset();
}

VelmoraPalette::VelmoraPalette()
    : DG::Palette(ACAPI_GetOwnResModule(), ID_PALETTE, ACAPI_GetOwnResModule(), paletteGuid),
      settingsIconButton(*this, 2), kindsSeparator(*this, 3), wallCheck(*this, 5), wallSettingsButton(*this, 6),
      wallFavoriteButton(*this, 7), innerContoursCheck(*this, 8), columnCoveringsCheck(*this, 9),
      doorHolesCheck(*this, 11), doorSettingsButton(*this, 12), doorFavoriteButton(*this, 13),
      windowHolesCheck(*this, 15), windowSettingsButton(*this, 16), windowFavoriteButton(*this, 17),
      slabsSeparator(*this, 18), ceilingCheck(*this, 20), ceilingSettingsButton(*this, 21),
      ceilingFavoriteButton(*this, 22), floorCheck(*this, 24), floorSettingsButton(*this, 25),
      floorFavoriteButton(*this, 26), floorInsetsCheck(*this, 27), commandsSeparator(*this, 28), addButton(*this, 29),
      removeButton(*this, 30), updateButton(*this, 31)
{
	Attach(static_cast<DG::PanelObserver&>(*this));
	AttachToAllItems(*this);
	BeginEventProcessing();
	ClearPaletteSettings();
}

VelmoraPalette::~VelmoraPalette()
{
	EndEventProcessing();
	DetachFromAllItems(*this);
	Detach(static_cast<DG::PanelObserver&>(*this));
}

std::array<VelmoraPalette::CoveringKind, 5> VelmoraPalette::Kinds()
{
	return {{{5, wallSettingsButton, wallFavoriteButton, settings.wall, API_WallID},
	         {11, doorSettingsButton, doorFavoriteButton, settings.wall.doorHoles, API_DoorID},
	         {15, windowSettingsButton, windowFavoriteButton, settings.wall.windowHoles, API_WindowID},
	         {20, ceilingSettingsButton, ceilingFavoriteButton, settings.ceiling, API_SlabID},
	         {24, floorSettingsButton, floorFavoriteButton, settings.floor, API_SlabID}}};
}

std::array<VelmoraPalette::CheckField, 8> VelmoraPalette::CheckFields()
{
	return {{{wallCheck, settings.wall.enabled},
	         {innerContoursCheck, settings.wall.innerContours},
	         {columnCoveringsCheck, settings.wall.columnCoverings},
	         {doorHolesCheck, settings.wall.doorHoles.enabled},
	         {windowHolesCheck, settings.wall.windowHoles.enabled},
	         {ceilingCheck, settings.ceiling.enabled},
	         {floorCheck, settings.floor.enabled},
	         {floorInsetsCheck, settings.floor.insets}}};
}

void VelmoraPalette::EnableDependants()
{
	bool wallOn = wallCheck.IsChecked();
	for (DG::CheckBox* dependant : {&innerContoursCheck, &columnCoveringsCheck, &doorHolesCheck, &windowHolesCheck})
		dependant->SetStatus(wallOn);
	floorInsetsCheck.SetStatus(floorCheck.IsChecked());
}

void VelmoraPalette::SyncPaletteToCovSettings()
{
	for (const CheckField& checkField : CheckFields())
		checkField.check.SetState(checkField.field);
	EnableDependants();
	for (const CoveringKind& kind : Kinds())
		kind.settingsButton.ShowKind(kind.settings);
}

void VelmoraPalette::ClearPaletteSettings()
{
	settings = ClearedPaletteSettings();
	kindsInitialised = false;
	// The cleared state is no project's: it is stored only where a load finds none.
	unreadStateError = stateNotReadYet;
	SyncPaletteToCovSettings();
}
