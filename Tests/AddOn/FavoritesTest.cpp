// Loading favorites and applying their lists to one element.
#include <cstring>
#include <memory>

#include "ElementSettingsHelpers.hpp"
#include "FaultSweep.hpp"
#include "GS/Memory.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "SettingsSamples.hpp"
#include "UndoScope.hpp"

using namespace ModelBuilder;
using namespace SettingsBuilder;
using HostControl::Defaults;

namespace {

using Pairs = std::vector<GS::Pair<API_Guid, API_Guid>>;

// The outputs of a load, pre-filled so that a change shows.
struct Loaded {
	API_Element element = NewRecord(API_SlabID);
	GS::Optional<ParamsMemo> memo;
	GS::Array<API_Property> properties{StringValue(Defaults().checkedByProperty, "old")};
	ClassificationList classifications{{Defaults().classificationSystem, Defaults().slabItem}};
	GS::Array<API_ElemCategoryValue> categoryValues{CategoryValueRecord(Defaults().position, Defaults().exterior)};

	explicit Loaded(bool withMemo)
	{
		if (withMemo)
			memo.New().elementMemo.params = reinterpret_cast<API_AddParType**>(BMAllocateHandle(0, 0, 0));
	}

	ErrCode Load(const char* name)
	{
		return LoadFavoriteWithPCC(name, element, memo, properties, classifications, categoryValues);
	}

	void ExpectUnchanged(API_AddParType** oldParams) const
	{
		EXPECT_EQ(element.header.type.typeID, API_SlabID);
		EXPECT_EQ(memo.HasValue() ? memo->elementMemo.params : nullptr, oldParams);
		ASSERT_EQ(properties.GetSize(), 1u);
		EXPECT_EQ(properties[0].definition.guid, Defaults().checkedByProperty);
		ASSERT_EQ(classifications.GetSize(), 1u);
		EXPECT_EQ(classifications[0].second, Defaults().slabItem);
		ASSERT_EQ(categoryValues.GetSize(), 1u);
		EXPECT_EQ(categoryValues[0].guid, Defaults().exterior);
	}
};

void DefineDoorFavorite(bool withMemo, bool withCategories)
{
	API_Element door = NewRecord(API_DoorID);
	door.door.openingBase.width = 0.75;
	HostControl::Favorite favorite{"Hole",
	                               door,
	                               std::nullopt,
	                               std::vector<API_Property>{StringValue(Defaults().lastRunProperty, "fav")},
	                               Pairs{{Defaults().classificationSystem, Defaults().finishItem}},
	                               std::nullopt};
	if (withMemo) {
		favorite.memo = HostControl::MemoParts();
		favorite.memo->params = std::vector<HostControl::Param>{SettingsSamples::RealParam(APIParT_Length, 0.75)};
	}
	if (withCategories)
		favorite.categoryValues = {CategoryValueRecord(Defaults().renovationStatus, Defaults().existing)};
	HostControl::DefineFavorite(favorite);
}

class Favorites : public UndoScopeTest {};

TEST_F(Favorites, LoadTakesTheFavoritesElementMemoAndLists)
{
	for (bool favoriteHasMemo : {true, false}) {
		HostControl::ResetHost();
		DefineDoorFavorite(favoriteHasMemo, true);
		Loaded loaded(true);
		ASSERT_EQ(loaded.Load("Hole"), NoError);
		EXPECT_EQ(loaded.element.door.openingBase.width, 0.75);
		ASSERT_TRUE(loaded.memo.HasValue()) << "a present memo stays present";
		API_AddParType** params = loaded.memo->elementMemo.params;
		if (favoriteHasMemo) {
			ASSERT_NE(params, nullptr);
			EXPECT_EQ((*params)[0].value.real, 0.75);
		} else {
			EXPECT_EQ(params, nullptr) << "the old parameters are gone, and none came";
		}
		ASSERT_EQ(loaded.properties.GetSize(), 1u);
		EXPECT_EQ(loaded.properties[0].value.singleVariant.variant.uniStringValue, GS::UniString("fav"));
		EXPECT_EQ(Pairs(loaded.classifications.begin(), loaded.classifications.end()),
		          (Pairs{{Defaults().classificationSystem, Defaults().finishItem}}));
		ASSERT_EQ(loaded.categoryValues.GetSize(), 1u);
		EXPECT_EQ(loaded.categoryValues[0].guid, Defaults().existing);
	}
}

TEST_F(Favorites, AnAbsentMemoAsksForNoneAndMissingCategoriesLoadEmpty)
{
	DefineDoorFavorite(true, false);
	Loaded loaded(false);
	ASSERT_EQ(loaded.Load("Hole"), NoError);
	EXPECT_FALSE(loaded.memo.HasValue());
	EXPECT_TRUE(loaded.categoryValues.IsEmpty());
	auto request = HostControl::LastFavoriteRequest();
	ASSERT_TRUE(request.has_value());
	EXPECT_FALSE(request->memo);
	EXPECT_TRUE(request->properties && request->classifications && request->categoryValues);

	Loaded withMemo(true);
	ASSERT_EQ(withMemo.Load("Hole"), NoError);
	EXPECT_TRUE(HostControl::LastFavoriteRequest()->memo);
}

TEST_F(Favorites, AFailedLoadLeavesEveryOutputAsItWas)
{
	DefineDoorFavorite(true, true);
	Loaded unknown(true);
	API_AddParType** oldParams = unknown.memo->elementMemo.params;
	EXPECT_EQ(unknown.Load("Nothing"), APIERR_BADNAME);
	unknown.ExpectUnchanged(oldParams);

	std::unique_ptr<Loaded> loaded;
	API_AddParType** before = nullptr;
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL,
	    [&] {
		    DefineDoorFavorite(true, true);
		    loaded = std::make_unique<Loaded>(true);
		    before = loaded->memo->elementMemo.params;
	    },
	    [&] { return loaded->Load("Hole"); },
	    [&](const FaultRun&, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    loaded->ExpectUnchanged(before);
	    });
	EXPECT_EQ(failed, 1u);
	loaded.reset();
}

TEST_F(Favorites, AKindsSettingsLoadFromItsOwnFavoriteOrANamedOne)
{
	HostControl::DefineFavorite(
	    {"Lining", NewRecord(API_WallID), std::nullopt, std::nullopt,
	     std::vector<GS::Pair<API_Guid, API_Guid>>{{Defaults().classificationSystem, Defaults().finishItem}},
	     std::nullopt});
	ElementCovSettings kind;
	kind.useFavorite = true;
	kind.favoriteName = "Lining";
	ASSERT_EQ(LoadFavoriteWithPCC(kind), NoError);
	EXPECT_EQ(kind.toolElement.header.type.typeID, API_WallID);
	ASSERT_EQ(kind.classifications.GetSize(), 1u);
	EXPECT_EQ(kind.classifications[0].second, Defaults().finishItem);
	EXPECT_FALSE(kind.memo.HasValue());

	ElementCovSettings other;
	other.favoriteName = "Kept";
	other.memo.New();
	ASSERT_EQ(LoadFavoriteWithPCC(other, "Lining"), NoError);
	EXPECT_EQ(other.favoriteName, GS::UniString("Kept"));
	EXPECT_TRUE(other.memo.HasValue());
	EXPECT_EQ(other.classifications, kind.classifications);

	ElementCovSettings before = other;
	EXPECT_EQ(LoadFavoriteWithPCC(other), APIERR_BADNAME);
	EXPECT_TRUE(other == before);
}

// --- Applying a favorite's lists to an element ---

struct Applied {
	API_Guid wall;
	API_Favorite favorite{"Wall"};
	ClassificationList oldItems;
};

// A new wall carries the tool's default item; the favorite brings another item
// of the same system, one of another system, a property and a category value.
Applied NewWallAndFavorite(bool withLists)
{
	Applied applied;
	API_Element wall = WallRecord({0, 0}, {1, 0});
	EXPECT_EQ(ACAPI_Element_Create(&wall, nullptr), NoError);
	applied.wall = wall.header.guid;
	EXPECT_EQ(ACAPI_Element_SetProperty(applied.wall, StringValue(Defaults().checkedByProperty, "kept")), NoError);
	EXPECT_EQ(ACAPI_Element_GetClassificationItemsDefault(HostControl::ElemType(API_WallID), applied.oldItems),
	          NoError);
	if (withLists) {
		API_Guid other = HostControl::AddClassificationSystem("Other");
		applied.favorite.classifications.New(
		    ClassificationList{{Defaults().classificationSystem, Defaults().finishItem},
		                       {other, HostControl::AddClassificationItem(other, "O")}});
		applied.favorite.properties.New(GS::Array<API_Property>{StringValue(Defaults().lastRunProperty, "fav"),
		                                                        StringValue(Defaults().finishCodeProperty, "F")});
		applied.favorite.elemCategoryValues.New(GS::Array<API_ElemCategoryValue>{
		    CategoryValueRecord(Defaults().position, Defaults().interior),
		    CategoryValueRecord(Defaults().renovationStatus, Defaults().toBeDemolished)});
	}
	return applied;
}

TEST_F(Favorites, ApplyingAFavoriteReplacesTheDefaultItemsAndSetsItsLists)
{
	Applied applied = NewWallAndFavorite(true);
	ASSERT_EQ(SetClassPropCatOfElement(applied.wall, applied.favorite, applied.oldItems), NoError);
	HostControl::PCC pcc = HostControl::GetElementPCC(applied.wall);
	EXPECT_EQ(pcc.classificationItems,
	          Pairs(applied.favorite.classifications->begin(), applied.favorite.classifications->end()));
	EXPECT_EQ(ElementText(applied.wall, Defaults().lastRunProperty), "fav");
	EXPECT_EQ(ElementText(applied.wall, Defaults().finishCodeProperty), "F");
	EXPECT_EQ(ElementText(applied.wall, Defaults().checkedByProperty), "kept");
	EXPECT_EQ(pcc.categoryValues,
	          (std::map<API_Guid, API_Guid>{{Defaults().position, Defaults().interior},
	                                        {Defaults().renovationStatus, Defaults().toBeDemolished}}));
}

TEST_F(Favorites, ListsThatTheFavoriteDoesNotCarryAreLeftAlone)
{
	Applied applied = NewWallAndFavorite(false);
	HostControl::PCC before = HostControl::GetElementPCC(applied.wall);
	HostControl::ResetCallCounts();
	ASSERT_EQ(SetClassPropCatOfElement(applied.wall, applied.favorite, applied.oldItems), NoError);
	EXPECT_TRUE(HostControl::CallLog().empty());
	EXPECT_EQ(HostControl::GetElementPCC(applied.wall).classificationItems, before.classificationItems);

	applied.favorite.classifications.New();
	ASSERT_EQ(SetClassPropCatOfElement(applied.wall, applied.favorite, applied.oldItems), NoError);
	EXPECT_TRUE(HostControl::GetElementPCC(applied.wall).classificationItems.empty())
	    << "an empty list takes the default items off";
}

TEST_F(Favorites, ApplyingStopsAtTheFirstFailingCall)
{
	std::vector<std::string> expectedCalls{
	    "ACAPI_Element_RemoveClassificationItem", "ACAPI_Element_AddClassificationItem",
	    "ACAPI_Element_AddClassificationItem",    "ACAPI_Element_SetProperties",
	    "ACAPI_Category_SetCategoryValue",        "ACAPI_Category_SetCategoryValue"};
	Applied applied;
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL, [&] { applied = NewWallAndFavorite(true); },
	    [&] { return SetClassPropCatOfElement(applied.wall, applied.favorite, applied.oldItems); },
	    [&](const FaultRun& run, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    EXPECT_EQ(run.callsMade,
		              std::vector<std::string>(expectedCalls.begin(), expectedCalls.begin() + run.callsMade.size()));
		    bool propertiesReached = run.callsMade.size() > 4;
		    EXPECT_EQ(ElementText(applied.wall, Defaults().lastRunProperty).has_value(), propertiesReached);
	    });
	EXPECT_EQ(failed, expectedCalls.size());
}

} // namespace
