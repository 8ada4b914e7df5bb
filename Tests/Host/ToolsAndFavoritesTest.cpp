#include <algorithm>
#include <cstring>
#include <memory>

#include "API/Favorites.hpp"
#include "API/LibraryParts.hpp"
#include "GS/Memory.hpp"
#include "GSPrinters.hpp"
#include "HostTest.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"

using namespace ModelBuilder;
using namespace SettingsBuilder;
using HostControl::Defaults;
using HostControl::ElemType;

namespace {

class ToolsAndFavorites : public HostTest {};

API_Element ToolDefaults(API_ElemTypeID type, API_ElementMemo* memo = nullptr)
{
	API_Element element = NewRecord(type);
	EXPECT_EQ(ACAPI_Element_GetDefaults(&element, memo), NoError);
	return element;
}

std::string UniqueId(const API_Guid& main, const char* revision = "00000000-0000-0000-0000-000000000000")
{
	return "{" + std::string(APIGuidToString(main).ToCStr().Get()) + "}-{" + revision + "}";
}

API_LibPart SearchRequest(const std::string& uniqueId)
{
	API_LibPart part;
	std::memset(static_cast<void*>(&part), 0, sizeof(part));
	// A text as long as the field fills it without a terminating zero.
	std::memcpy(part.ownUnID, uniqueId.c_str(), std::min(uniqueId.size(), sizeof(part.ownUnID)));
	return part;
}

USize ParameterCount(API_AddParType** params)
{
	return static_cast<USize>(BMGetHandleSize(params) / GSSize(sizeof(API_AddParType)));
}

TEST_F(ToolsAndFavorites, DefaultToolsAreUsable)
{
	EXPECT_GT(ToolDefaults(API_WallID).wall.thickness, 0.0);
	EXPECT_GT(ToolDefaults(API_WallID).wall.height, 0.0);
	EXPECT_GT(ToolDefaults(API_SlabID).slab.thickness, 0.0);
	API_ElementMemo columnMemo = {};
	EXPECT_GT(ToolDefaults(API_ColumnID, &columnMemo).column.height, 0.0);
	EXPECT_EQ(BMGetPtrSize(reinterpret_cast<GSConstPtr>(columnMemo.columnSegments)),
	          GSSize(sizeof(API_ColumnSegmentType)));
	ACAPI_DisposeElemMemoHdls(&columnMemo);
	for (auto [type, part] :
	     {std::pair{API_DoorID, Defaults().doorPart}, std::pair{API_WindowID, Defaults().windowPart}}) {
		API_ElementMemo memo = {};
		API_Element opening = ToolDefaults(type, &memo);
		EXPECT_EQ(opening.header.type.typeID, type);
		EXPECT_GT(opening.door.openingBase.width, 0.0);
		EXPECT_EQ(opening.door.openingBase.libInd, HostControl::LibraryPartIndex(part));
		ASSERT_NE(memo.params, nullptr);
		EXPECT_EQ(ParameterCount(memo.params), 3u);
		EXPECT_EQ(memo.coords, nullptr);
		ACAPI_DisposeElemMemoHdls(&memo);
	}
	API_Element zone = NewRecord(API_ZoneID);
	EXPECT_EQ(ACAPI_Element_GetDefaults(&zone, nullptr), APIERR_BADELEMENTTYPE);
	EXPECT_EQ(ACAPI_Element_GetDefaults(nullptr, nullptr), APIERR_BADPARS);
}

TEST_F(ToolsAndFavorites, ChangingDefaultsTakesTheMarkedBytesButNeverTheType)
{
	API_Element wall = ToolDefaults(API_WallID);
	API_Element request = wall;
	request.wall.thickness = 0.5;
	request.wall.height = 9.0;
	API_Element mask = NewRecord(API_ZombieElemID);
	API_MASK_SET(mask, wall.thickness);
	ASSERT_EQ(ACAPI_Element_ChangeDefaults(&request, nullptr, &mask), NoError);
	EXPECT_EQ(ToolDefaults(API_WallID).wall.thickness, 0.5);
	EXPECT_EQ(ToolDefaults(API_WallID).wall.height, wall.wall.height);

	std::memset(static_cast<void*>(&mask), 0xFF, sizeof(mask));
	request.header.floorInd = 2;
	request.header.guid = Defaults().wallItem;
	ASSERT_EQ(ACAPI_Element_ChangeDefaults(&request, nullptr, &mask), NoError);
	API_Element changed = ToolDefaults(API_WallID);
	EXPECT_EQ(changed.wall.height, 9.0);
	EXPECT_EQ(changed.header.floorInd, 2);
	EXPECT_EQ(changed.header.type.typeID, API_WallID);
	EXPECT_EQ(changed.header.guid, APINULLGuid);

	request.header.type = ElemType(API_ZoneID);
	EXPECT_EQ(ACAPI_Element_ChangeDefaults(&request, nullptr, &mask), APIERR_BADELEMENTTYPE);
}

TEST_F(ToolsAndFavorites, ChangingDefaultsWithAMemoReplacesTheToolsMemo)
{
	API_ElementMemo memo = {};
	API_Element door = ToolDefaults(API_DoorID, &memo);
	(*memo.params)[0].value.real = 1.25;
	ASSERT_EQ(ACAPI_Element_ChangeDefaults(&door, &memo, nullptr), NoError);
	ACAPI_DisposeElemMemoHdls(&memo);

	ToolDefaults(API_DoorID, &memo);
	ASSERT_EQ(ParameterCount(memo.params), 3u);
	EXPECT_EQ((*memo.params)[0].value.real, 1.25);
	ASSERT_NE((*memo.params)[2].value.array, nullptr) << "array values come in handles of their own";
	EXPECT_EQ(BMGetHandleSize((*memo.params)[2].value.array), GSSize(2 * sizeof(double)));
	ACAPI_DisposeElemMemoHdls(&memo);
}

HostControl::Favorite WallFavorite(const std::string& name, double thickness)
{
	API_Element wall = NewRecord(API_WallID);
	wall.wall.thickness = thickness;
	return {name,
	        wall,
	        std::nullopt,
	        std::vector<API_Property>{StringValue(Defaults().lastRunProperty, "fav")},
	        std::vector<GS::Pair<API_Guid, API_Guid>>{{Defaults().classificationSystem, Defaults().finishItem}},
	        std::nullopt};
}

TEST_F(ToolsAndFavorites, AFavoriteFillsOnlyTheRequestedParts)
{
	HostControl::DefineFavorite(WallFavorite("Plaster", 0.02));
	API_Favorite favorite("Plaster");
	favorite.classifications.New();
	favorite.elemCategoryValues.New();
	favorite.elemCategoryValues->Push(CategoryValueRecord(Defaults().position, Defaults().interior));
	ASSERT_EQ(ACAPI_Favorite_Get(&favorite), NoError);
	EXPECT_EQ(favorite.element.wall.thickness, 0.02);
	EXPECT_FALSE(favorite.memo.HasValue());
	EXPECT_FALSE(favorite.properties.HasValue());
	ASSERT_TRUE(favorite.classifications.HasValue());
	EXPECT_EQ(favorite.classifications->GetSize(), 1u);
	ASSERT_TRUE(favorite.elemCategoryValues.HasValue());
	EXPECT_TRUE(favorite.elemCategoryValues->IsEmpty()) << "a list the favorite lacks comes back empty";

	auto request = HostControl::LastFavoriteRequest();
	ASSERT_TRUE(request.has_value());
	EXPECT_EQ(request->name, "Plaster");
	EXPECT_FALSE(request->memo);
	EXPECT_FALSE(request->properties);
	EXPECT_TRUE(request->classifications);
	EXPECT_TRUE(request->categoryValues);
}

TEST_F(ToolsAndFavorites, AFavoriteMemoIsHandedOverOrLeftEmpty)
{
	API_Element door = ToolDefaults(API_DoorID);
	API_AddParType width = {};
	width.typeID = APIParT_Length;
	width.value.real = 0.8;
	HostControl::MemoParts memo;
	memo.params = std::vector<HostControl::Param>{{width, std::nullopt}};
	HostControl::DefineFavorite({"Door", door, memo, {}, {}, {}});
	HostControl::DefineFavorite(WallFavorite("Bare", 0.01));
	API_Favorite withMemo("Door");
	withMemo.memo.New(API_ElementMemo{});
	ASSERT_EQ(ACAPI_Favorite_Get(&withMemo), NoError);
	ASSERT_EQ(ParameterCount(withMemo.memo->params), 1u);
	EXPECT_EQ((*withMemo.memo->params)[0].value.real, 0.8);
	ACAPI_DisposeElemMemoHdls(&withMemo.memo.Get());

	API_Favorite without("Bare");
	without.memo.New(API_ElementMemo{});
	ASSERT_EQ(ACAPI_Favorite_Get(&without), NoError);
	EXPECT_EQ(without.memo->params, nullptr);
}

TEST_F(ToolsAndFavorites, UnknownFavoritesFailAndNamesComeByTypeInOrder)
{
	HostControl::DefineFavorite(WallFavorite("B wall", 0.1));
	HostControl::DefineFavorite({"Slab", NewRecord(API_SlabID), {}, {}, {}, {}});
	HostControl::DefineFavorite(WallFavorite("A wall", 0.1));
	HostControl::DefineFavorite(WallFavorite("B wall", 0.3));
	API_Favorite unknown("C wall");
	EXPECT_EQ(ACAPI_Favorite_Get(&unknown), APIERR_BADNAME);

	short count = 0;
	GS::Array<GS::UniString> names;
	ASSERT_EQ(ACAPI_Favorite_GetNum(ElemType(API_WallID), &count, &names), NoError);
	EXPECT_EQ(count, 2);
	EXPECT_EQ(names, (GS::Array<GS::UniString>{"B wall", "A wall"}));
	API_Favorite replaced("B wall");
	ASSERT_EQ(ACAPI_Favorite_Get(&replaced), NoError);
	EXPECT_EQ(replaced.element.wall.thickness, 0.3);

	HostControl::DropFavorite("B wall");
	ASSERT_EQ(ACAPI_Favorite_GetNum(ElemType(API_WallID), nullptr, &names), NoError);
	EXPECT_EQ(names, (GS::Array<GS::UniString>{"A wall"}));
	ASSERT_EQ(ACAPI_Favorite_GetNum(ElemType(API_ColumnID), &count, nullptr), NoError);
	EXPECT_EQ(count, 0);
}

TEST_F(ToolsAndFavorites, LibraryPartsAreFoundByTheirUniqueId)
{
	const char* revisionOfDoor = "D0D0D0D0-0000-0000-0000-000000000065";
	struct Case {
		std::string uniqueId;
		GSErrCode expected;
	};
	for (const Case& c :
	     {Case{UniqueId(Defaults().doorPart), NoError}, Case{UniqueId(Defaults().doorPart, revisionOfDoor), NoError},
	      Case{UniqueId(Defaults().doorPart, "D0D0D0D0-0000-0000-0000-000000000066"), APIERR_BADID},
	      Case{UniqueId(Defaults().wallItem), APIERR_BADID},
	      Case{"{7B8B96D6-E5D0-4A81-A769-476EC2EE00F4}", APIERR_BADPARS},
	      Case{std::string(128, '{'), APIERR_BADPARS}}) {
		API_LibPart part = SearchRequest(c.uniqueId);
		EXPECT_EQ(ACAPI_LibraryPart_Search(&part, false, true), c.expected) << c.uniqueId;
		std::unique_ptr<IO::Location> location(part.location);
		EXPECT_EQ(location != nullptr, c.expected == NoError);
		if (c.expected == NoError) {
			EXPECT_EQ(part.index, HostControl::LibraryPartIndex(Defaults().doorPart));
			EXPECT_EQ(std::string(part.ownUnID), UniqueId(Defaults().doorPart, revisionOfDoor));
			EXPECT_EQ(GS::UniString(part.docu_UName), GS::UniString("Door"));
		}
	}
}

TEST_F(ToolsAndFavorites, TheLibraryHoldsTheNichePartsAndReadsByIndex)
{
	ASSERT_EQ(Defaults().nichePart.size(), 7u);
	for (const API_Guid& niche : Defaults().nichePart) {
		std::optional<Int32> index = HostControl::LibraryPartIndex(niche);
		ASSERT_TRUE(index.has_value());
		API_LibPart part;
		std::memset(static_cast<void*>(&part), 0, sizeof(part));
		part.index = *index;
		ASSERT_EQ(ACAPI_LibraryPart_Get(&part), NoError);
		std::unique_ptr<IO::Location> location(part.location);
		EXPECT_EQ(GS::Guid(std::string(part.ownUnID + 1, 36).c_str()), APIGuid2GSGuid(niche));
	}
	API_LibPart missing;
	std::memset(static_cast<void*>(&missing), 0, sizeof(missing));
	missing.index = 99;
	EXPECT_EQ(ACAPI_LibraryPart_Get(&missing), APIERR_BADINDEX);
	EXPECT_EQ(missing.location, nullptr);
}

TEST_F(ToolsAndFavorites, PartParametersComeInANewHandle)
{
	Int32 window = *HostControl::LibraryPartIndex(Defaults().windowPart);
	double a = 0.0;
	double b = 0.0;
	Int32 count = 0;
	API_AddParType** params = nullptr;
	ASSERT_EQ(ACAPI_LibraryPart_GetParams(window, &a, &b, &count, &params), NoError);
	EXPECT_EQ(a, 1.2);
	EXPECT_EQ(b, 1.5);
	ASSERT_EQ(count, 3);
	EXPECT_EQ(ParameterCount(params), 3u);
	EXPECT_STREQ((*params)[2].name, "sillDepth");
	EXPECT_EQ((*params)[2].index, 2);
	API_ElementMemo memo = {};
	memo.params = params;
	ACAPI_DisposeElemMemoHdls(&memo);

	HostControl::DropLibraryPart(Defaults().windowPart);
	EXPECT_EQ(HostControl::LibraryPartIndex(Defaults().windowPart), std::nullopt);
	EXPECT_EQ(ACAPI_LibraryPart_GetParams(window, &a, &b, &count, &params), APIERR_BADINDEX);
	EXPECT_EQ(ACAPI_LibraryPart_GetParams(1, &a, &b, &count, nullptr), APIERR_BADPARS);
}

} // namespace
