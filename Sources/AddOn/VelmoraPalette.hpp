// The add-on's palette: the covering kinds with their switches, settings and
// favorites, the settings dialog and the three room commands. It owns the
// settings of every covering run.
#pragma once

#include <array>

#include "API/Menus.hpp"
#include "API/ModelessWindows.hpp"
#include "ButtonWithDefaultText.hpp"
#include "CoveringSettings.hpp"
#include "DG/Items.hpp"
#include "DG/Panels.hpp"
#include "ErrorCodes.hpp"

class VelmoraPalette : public DG::Palette,
                       public DG::PanelObserver,
                       public DG::ButtonItemObserver,
                       public DG::CheckItemObserver,
                       public DG::CompoundItemObserver {
public:
	static const GS::Guid paletteGuid;
	static const Int32 refId;                 // the palette's reference number with the host
	static const API_MenuItemRef menuItemRef; // shows and hides the palette

	// The single palette, made on first use.
	static VelmoraPalette& GetInstance();
	static bool HasInstance();
	// At unload.
	static void DestroyInstance();

	~VelmoraPalette() override;

	// The host's palette messages; makes the palette for a message of its own
	// reference number only.
	static GSErrCode PaletteAPIControlCallBack(Int32 referenceID, API_PaletteMessageID messageID, Int64 param);

	void PanelCloseRequested(const DG::PanelCloseRequestEvent& event, bool* accepted) override;
	void PanelResized(const DG::PanelResizeEvent& event) override;
	void ButtonClicked(const DG::ButtonClickEvent& event) override;
	void CheckItemChanged(const DG::CheckItemChangeEvent& event) override;

	// Shows settings in the controls.
	void SyncPaletteToCovSettings();
	// Resets settings to the cleared state and shows it; stores nothing, and
	// refuses to store until a load reads the project's state.
	void ClearPaletteSettings();
	// A project was made or opened: its state is loaded, or, when the project's
	// own setup failed, what the palette holds (another project's state, or the
	// cleared one) is kept and every store is refused with that error.
	void ProjectOpened(ErrCode setupError);

	// Loads settings from the project, or the cleared state when it holds none,
	// and makes each covering kind hold usable element settings. A stored state
	// that is not taken is shown and changes nothing, but a palette that has
	// loaded none shows the cleared state.
	void InitPaletteSettings();
	// Writes settings into the project; refused until the palette has read the
	// state of the project now open, or found that it stores none.
	ErrCode StorePaletteSettings();
	// The settings button's flow: the kind edited in the host's tool settings
	// dialog, the host's tool defaults put back afterwards.
	ErrCode UpdateSettings(API_ElemTypeID type, ButtonWithDefaultText& settingsButton, ElementCovSettings& kind);
	// The favorite button's flow: a favorite picked in the popup becomes the kind's.
	ErrCode UpdateFavoriteInclSettings(API_ElemTypeID type, DG::Button& settingsButton, DG::Button& favoriteButton,
	                                   ElementCovSettings& kind);

private:
	// One covering kind with its controls and host element type.
	struct CoveringKind {
		short checkItem;
		ButtonWithDefaultText& settingsButton;
		DG::Button& favoriteButton;
		ElementCovSettings& settings;
		API_ElemTypeID type;
	};
	// A check box and the switch it shows.
	struct CheckField {
		DG::CheckBox& check;
		bool& field;
	};

	VelmoraPalette();

	std::array<CoveringKind, 5> Kinds();
	std::array<CheckField, 8> CheckFields();
	// Boxes 8, 9, 11 and 15 follow box 5, box 27 follows box 24.
	void EnableDependants();
	void InitKinds();
	void ShowClearedState();
	// Shows why the stored state was not taken; a palette without a whole state
	// of its own then shows the cleared one, and true is returned.
	bool ShowStateNotTaken(ErrCode error);
	// The project's state may be whole but was not taken: stores are refused
	// until a load succeeds, unless the palette holds what it read from this
	// project before.
	void LeaveStateUnread(ErrCode error);
	// Takes a state read from the project, or leaves it unread when its copy fails.
	void TakeState(const CoveringSettings& loaded);
	// Message 1 and 2: remember whether the palette was open, and hide it.
	void BeginHidePhase();
	// The settings dialog; false when it was not accepted.
	bool EditRunSettings();
	ErrCode RunButton(short item);

	DG::IconButton settingsIconButton;
	DG::Separator kindsSeparator;
	DG::CheckBox wallCheck;
	ButtonWithDefaultText wallSettingsButton;
	DG::Button wallFavoriteButton;
	DG::CheckBox innerContoursCheck;
	DG::CheckBox columnCoveringsCheck;
	DG::CheckBox doorHolesCheck;
	ButtonWithDefaultText doorSettingsButton;
	DG::Button doorFavoriteButton;
	DG::CheckBox windowHolesCheck;
	ButtonWithDefaultText windowSettingsButton;
	DG::Button windowFavoriteButton;
	DG::Separator slabsSeparator;
	DG::CheckBox ceilingCheck;
	ButtonWithDefaultText ceilingSettingsButton;
	DG::Button ceilingFavoriteButton;
	DG::CheckBox floorCheck;
	ButtonWithDefaultText floorSettingsButton;
	DG::Button floorFavoriteButton;
	DG::CheckBox floorInsetsCheck;
	DG::Separator commandsSeparator;
	DG::Button addButton;
	DG::Button removeButton;
	DG::Button updateButton;

public:
	CoveringSettings settings;

private:
	// The refusal of a palette that has not yet tried to read the open project's
	// state: a store before any load is the caller's fault.
	static constexpr ErrCode stateNotReadYet = COVERR_LOGIC;

	bool shouldBeVisible = false;  // show again when the host ends a phase in which it hid all palettes
	bool kindsInitialised = false; // every kind holds usable element settings
	// Why the palette holds no state read from the project now open; stores wait for a load.
	ErrCode unreadStateError = stateNotReadYet;
};

// Makes the kind hold usable element settings: its favorite, or else its
// stored tool settings of the type, or else the host's tool defaults of the
// type (with the default library part for door and window holes).
ErrCode InitElementSettings(API_ElemTypeID type, ElementCovSettings& kind, ButtonWithDefaultText& settingsButton);

// Shows the error of a palette action; nothing for 0 or an error already shown.
void ShowPaletteError(ErrCode error);
