// A test of the palette: it starts without a palette, and the palette that it
// made is gone again when it ends.
#pragma once

#include <vector>

#include "AddOnControl.hpp"
#include "DialogControl.hpp"
#include "ErrorNames.hpp"
#include "GS/Channel.hpp"
#include "HostTest.hpp"
#include "ResourceIDs.hpp"
#include "VelmoraPalette.hpp"

// The switches of the five kinds and the run, in a comparable form.
inline std::vector<bool> Switches(const CoveringSettings& s)
{
	return {s.wall.enabled,
	        s.wall.innerContours,
	        s.wall.columnCoverings,
	        s.wall.doorHoles.enabled,
	        s.wall.windowHoles.enabled,
	        s.ceiling.enabled,
	        s.ceiling.insets,
	        s.floor.enabled,
	        s.floor.insets,
	        s.showSummary,
	        s.wall.useFavorite,
	        s.wall.doorHoles.useFavorite,
	        s.wall.windowHoles.useFavorite,
	        s.ceiling.useFavorite,
	        s.floor.useFavorite};
}

class PaletteTest : public HostTest {
protected:
	void SetUp() override
	{
		VelmoraPalette::DestroyInstance();
		HostTest::SetUp();
	}

	void TearDown() override
	{
		VelmoraPalette::DestroyInstance();
		HostTest::TearDown();
	}

	// A host into which an add-on registered the palette's menu and window.
	static void RegisterPalette()
	{
		HostControl::LoadAddOn({[](API_EnvirParams*) { return APIAddon_Normal; },
		                        [] { return ACAPI_MenuItem_RegisterMenu(ID_MENU_PALETTE, 0, MenuCode_Palettes, 0); },
		                        [] {
			                        return ACAPI_RegisterModelessWindow(VelmoraPalette::refId,
			                                                            VelmoraPalette::PaletteAPIControlCallBack, 0,
			                                                            GSGuid2APIGuid(VelmoraPalette::paletteGuid));
		                        },
		                        [] { return ACAPI_UnregisterModelessWindow(VelmoraPalette::refId); }});
	}

	// Shown as the menu shows it, with the project's state.
	static VelmoraPalette& ShownPalette()
	{
		VelmoraPalette& palette = VelmoraPalette::GetInstance();
		palette.Show(-32768);
		palette.InitPaletteSettings();
		return palette;
	}

	static HostControl::PanelState PaletteState()
	{
		std::optional<HostControl::PanelState> state = HostControl::ModelessPanel(ID_PALETTE);
		EXPECT_TRUE(state.has_value()) << "the palette is not shown";
		return state.value_or(HostControl::PanelState{});
	}

	// The check boxes 5, 8, 9, 11, 15, 20, 24 and 27 in one line, each "X"
	// checked, "." clear, "x" and "-" the same greyed out.
	static std::string BoxCode(const HostControl::PanelState& state)
	{
		std::string code;
		for (short item : {5, 8, 9, 11, 15, 20, 24, 27}) {
			const HostControl::ItemState* box = state.Item(item);
			code += box == nullptr ? '?' : box->enabled ? (box->checked ? 'X' : '.') : (box->checked ? 'x' : '-');
		}
		return code;
	}

	static std::string Name(ErrCode error) { return ErrCodeToUniString(error).ToCStr().Get(); }

	// The errors named by the palette's alerts, from the alert of that index on.
	static std::vector<std::string> PaletteAlertNames(std::size_t from = 0)
	{
		std::vector<std::string> names;
		std::vector<HostControl::Alert> alerts = HostControl::Alerts();
		for (std::size_t i = from; i < alerts.size(); ++i) {
			if (alerts[i].alertId == ID_ALERT_PALETTE_FAILED)
				names.push_back(alerts[i].texts.at(1).ToCStr().Get());
		}
		return names;
	}

	static std::vector<char> StoredBytes(const CoveringSettings& settings)
	{
		PaletteSettings stored;
		stored.coveringSettings = settings;
		GS::MemoryOChannel32 channel;
		EXPECT_EQ(stored.Write(channel), NoError);
		return std::vector<char>(channel.GetDestination(), channel.GetDestination() + channel.GetDataSize());
	}
};
