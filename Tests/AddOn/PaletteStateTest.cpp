// The palette's state loaded from and stored into the project, and the flows
// of its settings and favorite buttons.
#include <algorithm>
#include <cstring>

#include "API/Favorites.hpp"
#include "FaultSweep.hpp"
#include "ModelBuilder.hpp"
#include "PaletteFixture.hpp"
#include "SettingsBuilder.hpp"
#include "SettingsEquality.hpp"
#include "SettingsSamples.hpp"

using namespace HostControl;
using SettingsSamples::FillParams;
using SettingsSamples::MixedParams;

namespace {

const std::string objectName = "PaletteSettings";

CoveringSettings WithFloorAndColumns()
{
	CoveringSettings settings = ClearedPaletteSettings();
	settings.floor.enabled = settings.wall.columnCoverings = settings.showSummary = true;
	return settings;
}

API_Element ToolDefaults(API_ElemTypeID type)
{
	API_Element element = ModelBuilder::NewRecord(type);
	API_ElementMemo memo = {};
	EXPECT_EQ(ACAPI_Element_GetDefaults(&element, &memo), NoError);
	ACAPI_DisposeElemMemoHdls(&memo);
	return element;
}

bool SameBytes(const API_Element& left, const API_Element& right)
{
	return std::memcmp(&left, &right, sizeof(API_Element)) == 0;
}

TEST_F(PaletteTest, LoadingTakesTheStoredStateOrTheClearedOneAndAStateNotReadIsShownAndChangesNothing)
{
	std::vector<char> damaged = StoredBytes(WithFloorAndColumns());
	damaged.resize(damaged.size() / 2);
	std::vector<char> version7 = StoredBytes(WithFloorAndColumns());
	Int16 version = 7; // leads the bytes
	GS::MemoryOChannel32 versionChannel;
	versionChannel.Write(version);
	std::memcpy(version7.data(), versionChannel.GetDestination(), sizeof(Int16));

	CoveringSettings previous = ClearedPaletteSettings();
	previous.ceiling.enabled = true;
	struct Case {
		const char* name;
		void (*store)(const std::vector<char>& damaged, const std::vector<char>& version7);
		std::optional<CoveringSettings> loaded; // absent: unchanged, with the alert
	};
	const Case cases[] = {
	    {"no object", [](const auto&, const auto&) { RemoveAddOnObject(objectName); }, ClearedPaletteSettings()},
	    {"object not looked up",
	     [](const auto&, const auto&) {
		     PutAddOnObject(objectName, StoredBytes(WithFloorAndColumns()));
		     FailCall("ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName", 1, APIERR_GENERAL);
	     },
	     std::nullopt},
	    {"content not fetched",
	     [](const auto&, const auto&) { FailCall("ACAPI_AddOnObject_GetObjectContent", 1, APIERR_NOACCESSRIGHT); },
	     std::nullopt},
	    {"no content", [](const auto&, const auto&) { PutAddOnObject(objectName, std::nullopt); },
	     PaletteDefaultSettings()},
	    {"stored state",
	     [](const auto&, const auto&) { PutAddOnObject(objectName, StoredBytes(WithFloorAndColumns())); },
	     WithFloorAndColumns()},
	    {"version 7", [](const auto&, const auto& v7) { PutAddOnObject(objectName, v7); }, std::nullopt},
	    {"damaged bytes", [](const auto& d, const auto&) { PutAddOnObject(objectName, d); }, std::nullopt},
	};
	VelmoraPalette& palette = ShownPalette();
	for (const Case& c : cases) {
		palette.settings = previous;
		palette.SyncPaletteToCovSettings();
		Int32 alertsBefore = static_cast<Int32>(Alerts().size());
		c.store(damaged, version7);
		palette.InitPaletteSettings();
		ClearFaults();
		const CoveringSettings& expected = c.loaded.value_or(previous);
		EXPECT_EQ(Switches(palette.settings), Switches(expected)) << c.name;
		EXPECT_EQ(PaletteState().Item(20)->checked, expected.ceiling.enabled) << c.name;
		EXPECT_EQ(PaletteState().Item(24)->checked, expected.floor.enabled) << c.name;
		EXPECT_EQ(static_cast<Int32>(Alerts().size()) - alertsBefore, c.loaded.has_value() ? 0 : 1) << c.name;
		if (c.loaded.has_value()) {
			EXPECT_TRUE(palette.settings.wall.doorHoles.memo.HasValue()) << c.name;
			EXPECT_TRUE(palette.settings.wall.windowHoles.memo.HasValue()) << c.name;
			EXPECT_EQ(palette.settings.floor.toolElement.header.type.typeID, API_SlabID) << c.name;
		}
	}
	EXPECT_EQ(PaletteAlertNames(),
	          (std::vector<std::string>{Name(APIERR_GENERAL), Name(APIERR_NOACCESSRIGHT), Name(ErrIO), Name(ErrIO)}));
	EXPECT_EQ(FindAddOnObject(objectName)->content, damaged) << "an unreadable state is left for the next store";
}

TEST_F(PaletteTest, APaletteThatLoadedNoStateShowsTheClearedOneAndStoresOverOnlyAStateItCouldRead)
{
	CoveringSettings withHoleParams = WithFloorAndColumns();
	FillParams(withHoleParams.wall.doorHoles.memo.New(), MixedParams());
	const std::vector<char> state = StoredBytes(withHoleParams);
	std::vector<char> damaged = state;
	damaged.resize(damaged.size() / 2);
	struct Case {
		const char* failingCall; // null: none
		GSErrCode error;
		const std::vector<char>& stored;
		bool overwritten; // by the next click
	};
	const Case cases[] = {
	    {"ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName", APIERR_GENERAL, state, false},
	    {"ACAPI_AddOnObject_GetObjectContent", APIERR_GENERAL, state, false},
	    {"BMHandleToHandle", ErrMemoryFull, state, false},
	    {nullptr, ErrIO, damaged, true},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.failingCall == nullptr ? "damaged" : c.failingCall);
		VelmoraPalette::DestroyInstance();
		PutAddOnObject(objectName, c.stored);
		if (c.failingCall != nullptr)
			FailCall(c.failingCall, 1, c.error);
		std::size_t alertsBefore = Alerts().size();
		VelmoraPalette& palette = ShownPalette();
		ClearFaults();
		EXPECT_EQ(Switches(palette.settings), Switches(ClearedPaletteSettings()));
		const CoveringSettings& s = palette.settings;
		EXPECT_EQ(std::vector<API_ElemTypeID>(
		              {s.wall.toolElement.header.type.typeID, s.wall.doorHoles.toolElement.header.type.typeID,
		               s.wall.windowHoles.toolElement.header.type.typeID, s.ceiling.toolElement.header.type.typeID,
		               s.floor.toolElement.header.type.typeID}),
		          std::vector<API_ElemTypeID>({API_WallID, API_DoorID, API_WindowID, API_SlabID, API_SlabID}));
		EXPECT_TRUE(s.wall.doorHoles.memo.HasValue() && s.wall.windowHoles.memo.HasValue());

		ASSERT_TRUE(ToggleCheck(ID_PALETTE, 20));
		EXPECT_EQ(FindAddOnObject(objectName)->content, c.overwritten ? StoredBytes(s) : c.stored);
		EXPECT_EQ(PaletteAlertNames(alertsBefore), std::vector<std::string>(c.overwritten ? 1 : 2, Name(c.error)))
		    << "the load's, the store's";
		if (c.overwritten)
			continue;
		palette.InitPaletteSettings();
		EXPECT_EQ(Switches(palette.settings), Switches(withHoleParams)) << "a load that succeeds lifts the hold";
		ASSERT_TRUE(ToggleCheck(ID_PALETTE, 20));
		EXPECT_EQ(FindAddOnObject(objectName)->content, StoredBytes(palette.settings));
	}
}

TEST_F(PaletteTest, AStoreWhoseSettingsCopyRunsOutOfMemoryReturnsTheErrorAndWritesNothing)
{
	VelmoraPalette& palette = ShownPalette();
	FillParams(palette.settings.wall.doorHoles.memo.New(), MixedParams());
	ResetCallCounts();
	ASSERT_EQ(palette.StorePaletteSettings(), NoError);
	UInt32 copies = CallCount("BMHandleToHandle");
	ASSERT_GT(copies, 1u) << "the parameters and their array values";
	const std::vector<char> stored = *FindAddOnObject(objectName)->content;
	palette.settings.ceiling.enabled = true;
	for (UInt32 failing = 1; failing <= copies; ++failing) {
		FailCall("BMHandleToHandle", failing, ErrMemoryFull);
		EXPECT_EQ(palette.StorePaletteSettings(), ErrMemoryFull) << failing;
		ClearFaults();
		EXPECT_EQ(FindAddOnObject(objectName)->content, stored) << failing;
	}
}

TEST_F(PaletteTest, AFavoriteGoneFromTheProjectIsDroppedAtLoadAndAtAClick)
{
	API_Element tiles = ModelBuilder::NewRecord(API_WallID);
	tiles.wall.thickness = 0.015;
	DefineFavorite({"Tiles", tiles, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
	CoveringSettings stored = ClearedPaletteSettings();
	stored.wall.useFavorite = stored.ceiling.useFavorite = true;
	stored.wall.favoriteName = "Tiles";
	stored.ceiling.favoriteName = "Never There";
	PutAddOnObject(objectName, StoredBytes(stored));
	VelmoraPalette& palette = ShownPalette();
	palette.InitPaletteSettings();
	EXPECT_TRUE(palette.settings.wall.useFavorite);
	EXPECT_EQ(palette.settings.wall.toolElement.wall.thickness, 0.015);
	EXPECT_EQ(PaletteState().Item(6)->text, "Tiles");
	EXPECT_FALSE(palette.settings.ceiling.useFavorite);
	EXPECT_TRUE(palette.settings.ceiling.favoriteName.IsEmpty());
	EXPECT_EQ(PaletteState().Item(21)->text, "Tool settings");

	HostControl::DropFavorite("Tiles");
	API_Element wallDefaults = ToolDefaults(API_WallID);
	ScriptToolSettingsDialog({{false, nullptr, std::nullopt}});
	ASSERT_TRUE(ClickItem(ID_PALETTE, 6));
	EXPECT_FALSE(palette.settings.wall.useFavorite);
	EXPECT_EQ(palette.settings.wall.toolElement.wall.thickness, 0.015) << "kept: the element type matches";
	EXPECT_EQ(PaletteState().Item(6)->text, "Tool settings");
	EXPECT_TRUE(SameBytes(wallDefaults, ToolDefaults(API_WallID)));
	EXPECT_TRUE(PaletteAlertNames().empty());
}

TEST_F(PaletteTest, TheToolSettingsDialogEditsTheKindAndPutsTheHostsDefaultsBack)
{
	DefineFavorite(
	    {"Oak", ModelBuilder::NewRecord(API_SlabID), std::nullopt, std::nullopt, std::nullopt, std::nullopt});
	struct Case {
		const char* name;
		bool accept;
		const char* favorite;   // the kind's favorite before the click; null: none
		double dialogThickness; // as the dialog opened: the favorite's, or the kind's own
		double thicknessAfter;
		bool usesFavoriteAfter;
	};
	const Case cases[] = {
	    {"cancelled with a favorite", false, "Oak", 0.0, 0.0, true},
	    {"accepted with a favorite", true, "Oak", 0.0, 0.25, false},
	    {"cancelled without a favorite", false, nullptr, 0.04, 0.04, false},
	    {"accepted, favorite gone", true, "Gone", 0.04, 0.25, false},
	};
	VelmoraPalette& palette = ShownPalette();
	palette.InitPaletteSettings();
	for (const Case& c : cases) {
		palette.settings.floor.toolElement.slab.thickness = 0.04;
		palette.settings.floor.useFavorite = c.favorite != nullptr;
		palette.settings.floor.favoriteName = c.favorite != nullptr ? c.favorite : "";
		palette.SyncPaletteToCovSettings();
		API_Element before = ToolDefaults(API_SlabID);
		PCC pccBefore = GetToolPCC(ElemType(API_SlabID));
		ScriptToolSettingsDialog({{c.accept, [](API_Element& slab) { slab.slab.thickness = 0.25; }, std::nullopt}});
		ASSERT_TRUE(ClickItem(ID_PALETTE, 25)) << c.name;
		EXPECT_EQ(palette.settings.floor.toolElement.slab.thickness, c.thicknessAfter) << c.name;
		EXPECT_EQ(palette.settings.floor.useFavorite, c.usesFavoriteAfter) << c.name;
		EXPECT_EQ(PaletteState().Item(25)->text, c.usesFavoriteAfter ? "Oak" : "Tool settings") << c.name;
		EXPECT_TRUE(SameBytes(before, ToolDefaults(API_SlabID))) << c.name;
		PCC pccAfter = GetToolPCC(ElemType(API_SlabID));
		EXPECT_EQ(pccAfter.propertyValues.count(Defaults().lastRunProperty),
		          pccBefore.propertyValues.count(Defaults().lastRunProperty))
		    << c.name;
		EXPECT_EQ(pccAfter.classificationItems, pccBefore.classificationItems) << c.name;
		EXPECT_EQ(ToolSettingsDialogs().back().defaults.slab.thickness, c.dialogThickness)
		    << c.name << ": the dialog opens on the kind's settings";
		EXPECT_EQ(FindAddOnObject(objectName)->content, StoredBytes(palette.settings)) << c.name;
	}
	EXPECT_TRUE(PaletteAlertNames().empty());
}

TEST_F(PaletteTest, APickedFavoriteIsTakenOnlyWhenItLoadsAndAFailedStoreKeepsTheNewValue)
{
	DefineFavorite(
	    {"Plaster", ModelBuilder::NewRecord(API_WallID), std::nullopt, std::nullopt, std::nullopt, std::nullopt});
	VelmoraPalette& palette = ShownPalette();
	palette.InitPaletteSettings();

	ScriptDialog(ID_DIALOG_FAVORITES, {DoubleClickRowAction(1, 1)});
	FailCall("ACAPI_Favorite_Get", 1, APIERR_BADNAME);
	ASSERT_TRUE(ClickItem(ID_PALETTE, 7));
	EXPECT_FALSE(palette.settings.wall.useFavorite);
	EXPECT_EQ(PaletteState().Item(6)->text, "Tool settings");

	ScriptDialog(ID_DIALOG_FAVORITES, {DoubleClickRowAction(1, 1)});
	ASSERT_TRUE(ClickItem(ID_PALETTE, 7));
	EXPECT_TRUE(palette.settings.wall.useFavorite);
	EXPECT_EQ(palette.settings.wall.favoriteName, GS::UniString("Plaster"));
	EXPECT_EQ(PaletteState().Item(6)->text, "Plaster");
	EXPECT_EQ(FindAddOnObject(objectName)->content, StoredBytes(palette.settings));

	std::vector<char> lastStored = *FindAddOnObject(objectName)->content;
	FailCall("ACAPI_AddOnObject_ModifyObject", 1, APIERR_GENERAL);
	ASSERT_TRUE(ToggleCheck(ID_PALETTE, 20));
	EXPECT_TRUE(palette.settings.ceiling.enabled) << "kept in memory";
	EXPECT_EQ(FindAddOnObject(objectName)->content, lastStored);
	EXPECT_EQ(PaletteAlertNames(), (std::vector<std::string>{Name(APIERR_BADNAME), Name(APIERR_GENERAL)}));
	ASSERT_TRUE(ToggleCheck(ID_PALETTE, 9));
	EXPECT_EQ(FindAddOnObject(objectName)->content, StoredBytes(palette.settings)) << "written with the next store";
}

TEST_F(PaletteTest, HoleKindsNeverFilledTakeTheDefaultLibraryPartWhenTheLibraryHasIt)
{
	Int32 doorPart = *LibraryPartIndex(Defaults().doorPart);
	Int32 windowPart = *LibraryPartIndex(Defaults().windowPart);
	API_Element door = ToolDefaults(API_DoorID);
	door.door.openingBase.libInd = windowPart;
	DefineTool(door);
	VelmoraPalette& palette = ShownPalette();
	for (bool partInLibrary : {true, false}) {
		if (!partInLibrary)
			DropLibraryPart(Defaults().doorPart);
		palette.InitPaletteSettings();
		const ElementCovSettings& holes = palette.settings.wall.doorHoles;
		EXPECT_EQ(holes.toolElement.door.openingBase.libInd, partInLibrary ? doorPart : windowPart);
		EXPECT_EQ(holes.memo->GetParamCount() > 0, partInLibrary) << "the part's parameters, or the tool's none";
	}
}

TEST_F(PaletteTest, EveryFailingHostCallOfAToolSettingsEditLeaksNothingAndASilentOneRestoresTheTool)
{
	API_Element before;
	UInt32 swept = SweepFaults(
	    APIERR_GENERAL,
	    [&] {
		    VelmoraPalette& palette = ShownPalette();
		    palette.InitPaletteSettings();
		    palette.settings.wall.toolElement.wall.thickness = 0.123; // not the tool's
		    before = ToolDefaults(API_WallID);
		    ScriptToolSettingsDialog({{true, [](API_Element& wall) { wall.wall.thickness = 0.3; }, std::nullopt}});
	    },
	    [] {
		    ClickItem(ID_PALETTE, 6);
		    return Alerts().size();
	    },
	    [&](const FaultRun& run, size_t alerts) {
		    ClearFaults();
		    auto failed = run.callsMade.begin() + run.nth - 1;
		    bool dialogClosed = std::find(run.callsMade.begin(), failed, "ACAPI_Dialog_SettingsDialog") != failed;
		    EXPECT_TRUE((alerts != 0 && dialogClosed) || SameBytes(before, ToolDefaults(API_WallID)))
		        << "the tool's defaults are put back whenever the failure came before the dialog closed";
	    });
	EXPECT_GT(swept, 10u);
}

} // namespace
