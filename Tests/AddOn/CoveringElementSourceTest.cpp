#include "CoveringElementSource.hpp"
#include "CoveringIdentity.hpp"
#include "FaultSweep.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "SettingsSamples.hpp"
#include "UndoScope.hpp"

using HostControl::Defaults;
using ModelBuilder::NewRecord;

namespace {

using Pairs = std::vector<GS::Pair<API_Guid, API_Guid>>;

void DefineWallFavorite(const char* name, double thickness)
{
	API_Element wall = NewRecord(API_WallID);
	wall.wall.thickness = thickness;
	HostControl::DefineFavorite(
	    {name, wall, std::nullopt,
	     std::vector<API_Property>{SettingsBuilder::StringValue(Defaults().lastRunProperty, "favorite")},
	     Pairs{{Defaults().classificationSystem, Defaults().finishItem}}, std::nullopt});
}

ElementCovSettings StoredWallSettings()
{
	ElementCovSettings settings;
	settings.toolElement = NewRecord(API_WallID);
	settings.toolElement.wall.thickness = 0.015;
	settings.properties.Push(SettingsBuilder::StringValue(Defaults().lastRunProperty, "stored"));
	settings.classifications.Push({Defaults().classificationSystem, Defaults().wallItem});
	settings.favoriteName = "Cladding";
	return settings;
}

class CoveringElementSource : public UndoScopeTest {};

TEST_F(CoveringElementSource, FavoriteSuppliesTheTemplateAndTheLists)
{
	DefineWallFavorite("Cladding", 0.03);
	ElementCovSettings settings = StoredWallSettings();
	settings.useFavorite = true;
	ElementSource source(settings, SourceElementAndPCC);
	ASSERT_EQ(source.Fetch(), NoError);
	EXPECT_EQ(source.Template().wall.thickness, 0.03);
	EXPECT_EQ(source.Memo(), nullptr);
	ASSERT_TRUE(source.PCC().properties.HasValue());
	EXPECT_EQ(source.PCC().properties->GetSize(), 1u);
	auto request = HostControl::LastFavoriteRequest();
	ASSERT_TRUE(request.has_value());
	EXPECT_EQ(request->name, "Cladding");
	EXPECT_FALSE(request->memo);
	EXPECT_TRUE(request->properties && request->classifications && request->categoryValues);
}

TEST_F(CoveringElementSource, StoredSettingsAreUsedWithoutAskingForTheFavorite)
{
	DefineWallFavorite("Cladding", 0.03);
	ElementCovSettings settings = StoredWallSettings();
	ElementSource source(settings, SourceElementAndPCC);
	ASSERT_EQ(source.Fetch(), NoError);
	EXPECT_EQ(source.Template().wall.thickness, 0.015);
	EXPECT_EQ(source.PCC().classifications->GetFirst().second, Defaults().wallItem);
	EXPECT_FALSE(HostControl::LastFavoriteRequest().has_value());
}

TEST_F(CoveringElementSource, HoleSourcesNeedAMemo)
{
	HostControl::MemoParts holeMemo;
	holeMemo.params = std::vector<HostControl::Param>{SettingsSamples::RealParam(APIParT_Length, 1.0)};
	HostControl::DefineFavorite({"Hole", NewRecord(API_DoorID), holeMemo, std::nullopt, std::nullopt, std::nullopt});
	ElementCovSettings settings;
	settings.toolElement = NewRecord(API_DoorID);
	settings.favoriteName = "Hole";
	{
		ElementSource source(settings, SourceElementAndMemo);
		EXPECT_EQ(source.Fetch(), COVERR_GENERAL) << "stored settings without a memo";
	}
	settings.memo.New();
	{
		ElementSource source(settings, SourceElementAndMemo);
		ASSERT_EQ(source.Fetch(), NoError);
		EXPECT_EQ(source.Memo(), &settings.memo->elementMemo);
	}
	settings.useFavorite = true;
	ElementSource source(settings, SourceElementAndMemo);
	ASSERT_EQ(source.Fetch(), NoError);
	ASSERT_NE(source.Memo(), nullptr);
	EXPECT_NE(source.Memo()->params, nullptr) << "the favorite's memo, released with the source";
	EXPECT_FALSE(source.PCC().properties.HasValue());
}

TEST_F(CoveringElementSource, AMissingFavoriteGivesTheKindsFailureCode)
{
	ElementCovSettings settings = StoredWallSettings();
	settings.useFavorite = true;
	const struct {
		SourceParts parts;
		ErrCode expected;
	} rows[] = {{SourceElementAndPCC, COVERR_FAV_UNAVAILABLE},
	            {SourceElementAndMemo, COVERR_FAV_UNAVAILABLE},
	            {SourcePCC, APIERR_BADNAME}};
	for (const auto& row : rows) {
		SCOPED_TRACE(row.parts);
		ElementSource source(settings, row.parts);
		EXPECT_EQ(source.Fetch(), row.expected);
	}
}

TEST_F(CoveringElementSource, PCCGoesOverTheTypesDefaultItems)
{
	API_Guid wall = ModelBuilder::AddWall({0, 0}, {1, 0});
	ElementCovSettings settings = StoredWallSettings();
	settings.classifications.Clear();
	settings.classifications.Push({Defaults().classificationSystem, Defaults().finishItem});
	ElementSource source(settings, SourceElementAndPCC);
	ASSERT_EQ(source.Fetch(), NoError);
	ClassificationList defaults;
	ASSERT_EQ(GetDefaultClassificationItems(API_WallID, defaults), NoError);
	ASSERT_EQ(source.ApplyPCC({wall}, defaults), NoError);
	HostControl::PCC pcc = HostControl::GetElementPCC(wall);
	ASSERT_EQ(pcc.classificationItems.size(), 1u);
	EXPECT_EQ(pcc.classificationItems[0].second, Defaults().finishItem);
	EXPECT_EQ(SettingsBuilder::ElementText(wall, Defaults().lastRunProperty), "stored");
}

// A covering's Element ID is the add-on's, whatever its template's lists
// carry; a hole takes the template's.
TEST_F(CoveringElementSource, OnlyHolesTakeTheElementIdOfTheirTemplate)
{
	const API_Property templateId = SettingsBuilder::StringValue(Defaults().elementIdProperty, "W-01");
	HostControl::DefineFavorite({"Cladding", NewRecord(API_WallID), std::nullopt, std::vector<API_Property>{templateId},
	                             Pairs{}, std::nullopt});
	ElementCovSettings settings = StoredWallSettings();
	settings.properties.Push(templateId);
	for (bool useFavorite : {false, true}) {
		for (SourceParts parts : {SourceElementAndPCC, SourcePCC}) {
			SCOPED_TRACE(std::to_string(useFavorite) + ", parts " + std::to_string(parts));
			settings.useFavorite = useFavorite;
			API_Guid element = ModelBuilder::AddWall({0, 0}, {1, 0});
			ASSERT_EQ(SetCovElementId(element, "12", 1u), NoError);
			ElementSource source(settings, parts);
			ASSERT_EQ(source.Fetch(), NoError);
			ASSERT_EQ(source.ApplyPCC({element}, {}), NoError);
			EXPECT_EQ(SettingsBuilder::ElementText(element, Defaults().elementIdProperty),
			          parts == SourcePCC ? "W-01" : "COV - Z12 - 1");
		}
	}
}

API_Element Placed(Int16 topLinkedStories)
{
	API_Element covering = NewRecord(API_WallID);
	covering.wall.zoneRel = APIZRel_Boundary;
	covering.wall.bottomOffset = 0.1;
	covering.wall.height = 2.7;
	covering.wall.thickness = 0.015;
	covering.wall.topOffset = -0.4;
	covering.wall.relativeTopStory = topLinkedStories;
	covering.wall.begC = {1, 0.1};
	covering.wall.endC = {4, 0.1};
	return covering;
}

class CoveringWall : public UndoScopeTest {
protected:
	void SetUp() override
	{
		UndoScopeTest::SetUp();
		base = ModelBuilder::AddWall({0, 0}, {5, 0});
		API_Element record = NewRecord(API_ZoneID);
		record.header.floorInd = 2;
		GS::UniString("12").CopyUStr(record.zone.roomNoStr, 32);
		zone = HostControl::AddElement(record);
		this->record = *HostControl::GetElement(zone);
	}

	API_Guid base = APINULLGuid;
	API_Guid zone = APINULLGuid;
	API_Element record = {};
};

TEST_F(CoveringWall, IsMadeOnTheZonesStoryNumberedAndLinked)
{
	CovResult<API_Guid> made = MakeCoveringWall(Placed(0), record, base, 7);
	ASSERT_TRUE(made.HasValue());
	API_Element covering = *HostControl::GetElement(made.Value());
	EXPECT_EQ(covering.wall.zoneRel, APIZRel_None);
	EXPECT_EQ(covering.header.floorInd, 2);
	EXPECT_EQ(covering.wall.topOffset, -0.4) << "a top not linked keeps its offset";
	EXPECT_EQ(covering.wall.begC.x, 1.0);
	EXPECT_EQ(SettingsBuilder::ElementText(made.Value(), Defaults().elementIdProperty), "COV - Z12 - 7");
	auto links = HostControl::Links();
	ASSERT_EQ(links.size(), 3u);
	EXPECT_TRUE(links[0].from == zone && links[0].to == made.Value() && links[0].flags == LinkZoneCovering);
	EXPECT_TRUE(links[1].from == base && links[1].to == made.Value() && links[1].flags == LinkElemCovering);
	EXPECT_TRUE(links[2].from == made.Value() && links[2].to == base && links[2].flags == LinkCoveringElem);
}

TEST_F(CoveringWall, TopLinkedTwoStoriesUpKeepsItsHeight)
{
	CovResult<API_Guid> made = MakeCoveringWall(Placed(2), record, base, 1);
	ASSERT_TRUE(made.HasValue());
	API_Element covering = *HostControl::GetElement(made.Value());
	EXPECT_DOUBLE_EQ(covering.wall.topOffset, 0.1 + 2.7 - 6.0);
	EXPECT_EQ(covering.wall.relativeTopStory, 2);
}

TEST(CoveringWallFaults, AFailingStepKeepsTheCoveringOnlyOnceItsZoneLinksIt)
{
	API_Guid base = APINULLGuid;
	API_Element zone = {};
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL,
	    [&] {
		    base = ModelBuilder::AddWall({0, 0}, {5, 0});
		    zone = *HostControl::GetElement(HostControl::AddElement(NewRecord(API_ZoneID)));
	    },
	    [&] { return MakeCoveringWall(Placed(0), zone, base, 1).Error(); },
	    [&](const FaultRun& run, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    std::size_t linksMade = 0;
		    for (const std::string& call : run.callsMade)
			    linksMade += call == "ACAPI_ElementLink_Link" ? 1 : 0;
		    if (run.failedCall == "ACAPI_ElementLink_Link")
			    --linksMade;
		    EXPECT_EQ(HostControl::Elements(API_WallID).size(), linksMade > 0 ? 2u : 1u);
		    EXPECT_EQ(HostControl::Links().size(), linksMade);
	    });
	EXPECT_EQ(failed, 7u) << "creation, three calls of the Element ID and three links";
}

} // namespace
