#include <cstring>

#include "API/Properties.hpp"
#include "CoveringIdentity.hpp"
#include "FaultSweep.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "UndoScope.hpp"

namespace {

class CoveringElementId : public UndoScopeTest {
protected:
	void SetUp() override
	{
		UndoScopeTest::SetUp();
		element = ModelBuilder::AddWall({0, 0}, {1, 0});
	}

	std::string Text() const
	{
		return SettingsBuilder::ElementText(element, HostControl::Defaults().elementIdProperty).value_or("");
	}

	void SetText(const std::string& text)
	{
		ASSERT_EQ(ACAPI_Element_SetProperty(
		              element, SettingsBuilder::StringValue(HostControl::Defaults().elementIdProperty, text)),
		          NoError);
	}

	API_Guid element = APINULLGuid;
};

TEST_F(CoveringElementId, WallAndColumnCoveringsCarryTheirNumber)
{
	struct Case {
		UInt32 number;
		const char* text;
	};
	for (const Case& c :
	     {Case{3, "COV - Z12 - 3"}, Case{0, "COV - Z12 - 0"}, Case{4294967295u, "COV - Z12 - 4294967295"}}) {
		ASSERT_EQ(SetCovElementId(element, "12", c.number), NoError);
		EXPECT_EQ(Text(), c.text);
	}
}

TEST_F(CoveringElementId, SlabsCarryTheirKind)
{
	struct Case {
		Int16 type;
		const char* text;
	};
	for (const Case& c : {Case{1, "COV - Z12 - Ceiling"}, Case{2, "COV - Z12 - Floor"}, Case{0, "COV - Z12 - Floor"},
	                      Case{3, "COV - Z12 - Floor"}}) {
		ASSERT_EQ(SetCovElementId(element, "12", static_cast<SlabCovType>(c.type)), NoError);
		EXPECT_EQ(Text(), c.text) << c.type;
	}
}

TEST_F(CoveringElementId, NumberIsReadBackFromTheThirdOfThreeParts)
{
	struct Case {
		const char* text;
		ErrCode result;
		UInt32 number;
	};
	const Case cases[] = {
	    {"COV - Z12 - 3", NoError, 3},
	    {"anything - else - 7", NoError, 7},
	    {"COV - Z12 - 4294967295", NoError, 4294967295u},
	    {"COV - Z12 - x", COVERR_ID, 99},
	    {"COV - Z12 - 4294967296", COVERR_ID, 99},
	    {"COV - Z12 - ", COVERR_ID, 99},
	    {"COV - Z12 -  3", COVERR_ID, 99},
	    {"COV - Z1 - 2 - 3", COVERR_ID, 99},
	    {"COV - Z12", COVERR_ID, 99},
	    {"", COVERR_ID, 99},
	};
	for (const Case& c : cases) {
		SetText(c.text);
		UInt32 number = 99;
		EXPECT_EQ(GetCovElementIdNr(element, number), c.result) << c.text;
		EXPECT_EQ(number, c.number) << c.text;
	}
}

TEST_F(CoveringElementId, ZoneNumberWithTheSeparatorMakesTheNumberUnreadable)
{
	ASSERT_EQ(SetCovElementId(element, "A - 1", 4u), NoError);
	UInt32 number = 0;
	EXPECT_EQ(GetCovElementIdNr(element, number), COVERR_ID);
}

TEST_F(CoveringElementId, WithoutTheElementIdPropertyNothingIsWritten)
{
	SetText("before");
	API_PropertyDefinition renamed =
	    HostControl::StringPropertyDefinition(HostControl::Defaults().generalGroup, "Other");
	renamed.guid = HostControl::Defaults().elementIdProperty;
	HostControl::DefineProperty(renamed);
	UInt32 number = 5;
	EXPECT_EQ(SetCovElementId(element, "1", 2u), COVERR_PROPERTY_ELEMENTID);
	EXPECT_EQ(SetCovElementId(element, "1", CeilingCovering), COVERR_PROPERTY_ELEMENTID);
	EXPECT_EQ(GetCovElementIdNr(element, number), COVERR_PROPERTY_ELEMENTID);
	EXPECT_EQ(number, 5u);
}

TEST_F(CoveringElementId, ZoneNumberTextStopsAtTheEndOfItsField)
{
	API_Element zone = ModelBuilder::NewRecord(API_ZoneID);
	GS::UniString("12a").CopyUStr(zone.zone.roomNoStr, 32);
	EXPECT_EQ(ZoneNumberText(zone), GS::UniString("12a"));
	std::fill(std::begin(zone.zone.roomNoStr), std::end(zone.zone.roomNoStr), u'7');
	EXPECT_EQ(ZoneNumberText(zone).GetLength(), 32u) << "an unterminated number is read no further";
}

TEST(CoveringElementIdFaults, HostFailuresArePassedOn)
{
	API_Guid element = APINULLGuid;
	auto setUp = [&] {
		element = ModelBuilder::AddWall({0, 0}, {1, 0});
		ACAPI_Element_SetProperty(
		    element, SettingsBuilder::StringValue(HostControl::Defaults().elementIdProperty, "COV - Z1 - 4"));
	};
	SweepFaults(
	    APIERR_GENERAL, setUp, [&] { return SetCovElementId(element, "2", 5u); },
	    [&](const FaultRun&, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    EXPECT_EQ(SettingsBuilder::ElementText(element, HostControl::Defaults().elementIdProperty), "COV - Z1 - 4");
	    });
	SweepFaults(
	    APIERR_GENERAL, setUp,
	    [&] {
		    UInt32 number = 0;
		    ErrCode result = GetCovElementIdNr(element, number);
		    return std::make_pair(result, number);
	    },
	    [&](const FaultRun&, std::pair<ErrCode, UInt32> result) {
		    EXPECT_EQ(result.first, APIERR_GENERAL);
		    EXPECT_EQ(result.second, 0u) << "the number is not touched";
	    });
}

} // namespace
