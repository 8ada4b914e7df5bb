// The add-on's palette: the covering kinds with their switches, settings and
// favorites, the settings dialog and the three room commands. It owns the
// settings of every covering run.
#pragma once

#include <array>

#include "ButtonWithDefaultText.hpp"
#include "CoveringSettings.hpp"
#include "DG/Items.hpp"
#include "DG/Panels.hpp"

class VelmoraPalette : public DG::Palette,
                       public DG::PanelObserver,
                       public DG::ButtonItemObserver,
                       public DG::CheckItemObserver,
                       public DG::CompoundItemObserver {
public:
	static const GS::Guid paletteGuid;
	static const Int32 refId; // the palette's reference number with the host

	// The single palette, made on first use.
	static VelmoraPalette& GetInstance();
	static bool HasInstance();
	// At unload.
	static void DestroyInstance();

	~VelmoraPalette() override;

	void PanelCloseRequested(const DG::PanelCloseRequestEvent& event, bool* accepted) override;
	void PanelResized(const DG::PanelResizeEvent& event) override;
	void ButtonClicked(const DG::ButtonClickEvent& event) override;
	void CheckItemChanged(const DG::CheckItemChangeEvent& event) override;

	// Shows settings in the controls.
	void SyncPaletteToCovSettings();
	// Resets settings to the cleared state and shows it; stores nothing.
	void ClearPaletteSettings();

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
	bool shouldBeVisible = false; // show again when the host ends a phase in which it hid all palettes
};
