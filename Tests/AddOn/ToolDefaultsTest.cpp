// Reading and writing the tools' defaults, and the default library parts of holes.
#include <cstring>
#include <memory>

#include "ElementSettingsHelpers.hpp"
#include "FaultSweep.hpp"
#include "GS/Memory.hpp"
#include "HostTest.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"

using namespace ModelBuilder;
using namespace SettingsBuilder;
using HostControl::Defaults;
using HostControl::ElemType;

namespace {

using Pairs = std::vector<GS::Pair<API_Guid, API_Guid>>;

// One set of tool settings, as the palette keeps it for a covering kind.
struct ToolSettings {
	API_Element element;
	GS::Optional<ParamsMemo> memo;
	GS::Array<API_Property> properties;
	ClassificationList classifications;
	GS::Array<API_ElemCategoryValue> categoryValues;

	ToolSettings(API_ElemTypeID type, bool withMemo) : element(NewRecord(type))
	{
		if (withMemo)
			memo.New();
	}

	ErrCode Read(const GS::Array<API_ElemCategory>& categories)
	{
		return GetCurrentToolDefaults(element.header.type, element, memo, properties, classifications, categoryValues,
		                              categories);
	}

	ErrCode Write()
	{
		return SetToolDefaults(element.header.type, element, memo, properties, classifications, categoryValues);
	}
};

GS::Array<API_ElemCategory> AllCategories()
{
	GS::Array<API_ElemCategory> categories;
	EXPECT_EQ(ACAPI_Category_GetElementCategories(&categories), NoError);
	return categories;
}

class ToolDefaults : public HostTest {};

TEST_F(ToolDefaults, ReadingGivesTheRecordMemoAndLists)
{
	ToolSettings door(API_DoorID, true);
	ASSERT_EQ(door.Read(AllCategories()), NoError);
	EXPECT_EQ(door.element.door.openingBase.libInd, HostControl::LibraryPartIndex(Defaults().doorPart));
	ASSERT_NE(door.memo->elementMemo.params, nullptr);
	EXPECT_EQ((*door.memo->elementMemo.params)[0].value.real, 0.9);
	EXPECT_EQ(door.properties.GetSize(), 3u) << "ElementID and the two tracking properties";
	EXPECT_EQ(Pairs(door.classifications.begin(), door.classifications.end()),
	          (Pairs{{Defaults().classificationSystem, Defaults().doorItem}}));
	ASSERT_EQ(door.categoryValues.GetSize(), 2u) << "structural function does not apply to doors";
	EXPECT_EQ(door.categoryValues[0].guid, Defaults().interior);
	EXPECT_EQ(door.categoryValues[1].guid, Defaults().newlyBuilt);

	Int32 handles = HostControl::LiveHandleCount();
	ASSERT_EQ(door.Read({}), NoError);
	EXPECT_TRUE(door.categoryValues.IsEmpty());
	EXPECT_NE(door.memo->elementMemo.params, nullptr);
	EXPECT_EQ(HostControl::LiveHandleCount(), handles) << "the memo's old handles were released first";
}

TEST_F(ToolDefaults, ReadingWithoutMemoAsksForNone)
{
	ToolSettings window(API_WindowID, false);
	Int32 handles = HostControl::LiveHandleCount();
	ASSERT_EQ(window.Read({}), NoError);
	EXPECT_FALSE(window.memo.HasValue());
	EXPECT_EQ(HostControl::LiveHandleCount(), handles);
	EXPECT_EQ(HostControl::CallLog().back(), "ACAPI_Element_GetClassificationItemsDefault");
}

TEST_F(ToolDefaults, AFailingReadStopsUnlessOnlyACategoryFails)
{
	const std::vector<std::string> steps{
	    "ACAPI_Element_GetDefaults", "ACAPI_Element_GetPropertyDefinitionsOfDefaultElem",
	    "ACAPI_Element_GetPropertyValuesOfDefaultElem", "ACAPI_Element_GetClassificationItemsDefault"};
	GS::Array<API_ElemCategory> categories;
	std::unique_ptr<ToolSettings> wall;
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL,
	    [&] {
		    categories = AllCategories();
		    wall = std::make_unique<ToolSettings>(API_WallID, true);
	    },
	    [&] { return wall->Read(categories); },
	    [&](const FaultRun& run, ErrCode result) {
		    if (run.failedCall == "ACAPI_Category_GetCategoryValueDefault") {
			    EXPECT_EQ(result, NoError);
			    EXPECT_EQ(wall->categoryValues.GetSize(), 2u) << "the failing category is left out";
			    EXPECT_EQ(run.callsMade.size(), steps.size() + 3);
		    } else {
			    EXPECT_EQ(result, APIERR_GENERAL);
			    EXPECT_EQ(run.callsMade.back(), run.failedCall) << "nothing runs after a failing step";
		    }
	    });
	EXPECT_EQ(failed, steps.size() + 3);
	wall.reset();
}

TEST_F(ToolDefaults, WritingMakesTheSettingsTheDefaults)
{
	API_Guid other = HostControl::AddClassificationSystem("Other");
	API_Guid otherItem = HostControl::AddClassificationItem(other, "O");
	ToolSettings wall(API_WallID, false);
	ASSERT_EQ(wall.Read(AllCategories()), NoError);
	wall.element.wall.thickness = 0.015;
	wall.element.header.floorInd = 1;
	wall.classifications = {{Defaults().classificationSystem, Defaults().finishItem}, {other, otherItem}};
	wall.properties.Push(StringValue(Defaults().finishCodeProperty, "F9"));
	wall.categoryValues = {CategoryValueRecord(Defaults().position, Defaults().interior)};
	ASSERT_EQ(wall.Write(), NoError);

	ToolSettings read(API_WallID, false);
	ASSERT_EQ(read.Read(AllCategories()), NoError);
	EXPECT_EQ(read.element.wall.thickness, 0.015);
	EXPECT_EQ(read.element.header.floorInd, 1);
	EXPECT_EQ(read.element.header.type.typeID, API_WallID);
	EXPECT_EQ(Pairs(read.classifications.begin(), read.classifications.end()),
	          Pairs(wall.classifications.begin(), wall.classifications.end()));
	EXPECT_EQ(read.properties.GetLast().value.singleVariant.variant.uniStringValue, GS::UniString("F9"));
	ASSERT_EQ(read.categoryValues.GetSize(), 3u);
	EXPECT_EQ(read.categoryValues[1].guid, Defaults().interior);
	EXPECT_EQ(read.categoryValues[0].guid, Defaults().loadBearing) << "values not given stay";
}

TEST_F(ToolDefaults, WritingNoClassificationsRemovesEveryDefaultItem)
{
	API_Guid other = HostControl::AddClassificationSystem("Other");
	ASSERT_EQ(ACAPI_Element_AddClassificationItemDefault(ElemType(API_SlabID),
	                                                     HostControl::AddClassificationItem(other, "O")),
	          NoError);
	ToolSettings slab(API_SlabID, false);
	ASSERT_EQ(slab.Read({}), NoError);
	ASSERT_EQ(slab.classifications.GetSize(), 2u);
	slab.classifications.Clear();
	ASSERT_EQ(slab.Write(), NoError);
	EXPECT_TRUE(HostControl::GetToolPCC(ElemType(API_SlabID)).classificationItems.empty());
}

TEST_F(ToolDefaults, WritingAMemoReplacesTheToolsParametersAndNoMemoKeepsThem)
{
	ToolSettings door(API_DoorID, true);
	ASSERT_EQ(door.Read({}), NoError);
	(*door.memo->elementMemo.params)[0].value.real = 1.1;
	ASSERT_EQ(door.Write(), NoError);
	ToolSettings withoutMemo(API_DoorID, false);
	ASSERT_EQ(withoutMemo.Read({}), NoError);
	ASSERT_EQ(withoutMemo.Write(), NoError);

	ToolSettings read(API_DoorID, true);
	ASSERT_EQ(read.Read({}), NoError);
	EXPECT_EQ((*read.memo->elementMemo.params)[0].value.real, 1.1);
}

TEST_F(ToolDefaults, AFailingWriteStopsAtThatCall)
{
	const std::vector<std::string> steps{"ACAPI_Element_ChangeDefaults",
	                                     "ACAPI_Element_GetClassificationItemsDefault",
	                                     "ACAPI_Element_RemoveClassificationItemDefault",
	                                     "ACAPI_Element_AddClassificationItemDefault",
	                                     "ACAPI_Element_AddClassificationItemDefault",
	                                     "ACAPI_Element_SetPropertiesOfDefaultElem",
	                                     "ACAPI_Category_SetCategoryValueDefault",
	                                     "ACAPI_Category_SetCategoryValueDefault"};
	std::unique_ptr<ToolSettings> column;
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL,
	    [&] {
		    column = std::make_unique<ToolSettings>(API_ColumnID, true);
		    EXPECT_EQ(column->Read(AllCategories()), NoError);
		    column->element.column.height = 4.5;
		    API_Guid other = HostControl::AddClassificationSystem("Other");
		    column->classifications.Push({other, HostControl::AddClassificationItem(other, "O")});
		    column->categoryValues.SetSize(2);
	    },
	    [&] { return column->Write(); },
	    [&](const FaultRun& run, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    EXPECT_EQ(run.callsMade, std::vector<std::string>(steps.begin(), steps.begin() + run.callsMade.size()));
		    API_Element current = NewRecord(API_ColumnID);
		    ASSERT_EQ(ACAPI_Element_GetDefaults(&current, nullptr), NoError);
		    EXPECT_EQ(current.column.height == 4.5, run.callsMade.size() > 1) << "earlier changes stay";
	    });
	EXPECT_EQ(failed, steps.size());
	column.reset();
}

// --- Default library parts of holes ---

struct LibPartCase {
	API_ElemTypeID type;
	API_Guid part;
	const char* firstParameter;
	USize parameterCount;
};

TEST_F(ToolDefaults, DoorsAndWindowsHaveADefaultPart)
{
	for (const LibPartCase& c : {LibPartCase{API_DoorID, Defaults().doorPart, "A", 3},
	                             LibPartCase{API_WindowID, Defaults().windowPart, "A", 3}}) {
		API_ElementMemo memo = {};
		memo.params = reinterpret_cast<API_AddParType**>(BMAllocateHandle(0, 0, 0));
		int libInd = 0;
		ASSERT_EQ(GetDefaultLibPart(c.type, memo, libInd), NoError);
		EXPECT_EQ(libInd, HostControl::LibraryPartIndex(c.part));
		ASSERT_NE(memo.params, nullptr);
		EXPECT_EQ(BMGetHandleSize(memo.params), GSSize(c.parameterCount * sizeof(API_AddParType)));
		EXPECT_STREQ((*memo.params)[0].name, c.firstParameter);
		ACAPI_DisposeElemMemoHdls(&memo);
	}
}

TEST_F(ToolDefaults, OtherTypesAndMissingPartsGiveNoPart)
{
	API_ElementMemo memo = {};
	int libInd = -1;
	EXPECT_EQ(GetDefaultLibPart(API_WallID, memo, libInd), COVERR_LOGIC);
	EXPECT_TRUE(HostControl::CallLog().empty()) << "no library search for a wall";
	HostControl::DropLibraryPart(Defaults().windowPart);
	EXPECT_EQ(GetDefaultLibPart(API_WindowID, memo, libInd), APIERR_BADID);
	EXPECT_EQ(libInd, -1);
	EXPECT_EQ(memo.params, nullptr);
}

TEST_F(ToolDefaults, AFailingLibraryCallLeavesTheMemo)
{
	API_ElementMemo memo = {};
	int libInd = -1;
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL, [] {}, [&] { return GetDefaultLibPart(API_DoorID, memo, libInd); },
	    [&](const FaultRun& run, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    EXPECT_EQ(memo.params, nullptr);
		    bool found = run.failedCall == "ACAPI_LibraryPart_GetParams";
		    EXPECT_EQ(libInd == HostControl::LibraryPartIndex(Defaults().doorPart), found);
		    libInd = -1;
	    });
	EXPECT_EQ(failed, 2u);
	ACAPI_DisposeElemMemoHdls(&memo);
}

} // namespace
