#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "../Host/GSPrinters.hpp"
#include "Alerts.hpp"
#include "ErrorNames.hpp"
#include "HostTest.hpp"
#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"

namespace {

class ErrorsAndAlertsTest : public HostTest {};

struct NamedCode {
	UInt32 code;
	const char* name;
};

const NamedCode namedCodes[] = {
    {0x800A0001, "COVERR_GENERAL"},
    {0x800A0002, "COVERR_LOGIC"},
    {0x800A0003, "COVERR_HANDLED"},
    {0x800A0004, "COVERR_SLAB_REF_PLANE_CORE"},
    {0x800A0009, "COVERR_FAV_UNAVAILABLE"},
    {0x800A000A, "COVERR_DOUBLE_ADD"},
    {0x800A000B, "COVERR_HOLE_LINKS"},
    {0x800A000C, "COVERR_PROPERTY_ELEMENTID"},
    {0x800A000D, "COVERR_ID"},
    {0x800A000E, "COVERR_USERDATA"},
    {0x800A000F, "COVERR_ZONE_STORY"},
    {0x800A0010, "COVERR_COVFAV_STORY"},
    {0x800A0011, "COVERR_UPDATE_INCONSISTENCY"},
    {0x800A0014, "COVERR_PARAM_WRITE"},
    {0x800A0015, "COVERR_PARAM_READ"},
    {0x800A001E, "COVERR_POLY_REGULARIZATION"},
    {0x800A0028, "COVERR_ROOMS_UNRESERVED"},
    {0x81060001, "APIERR_GENERAL"},
    {0x81060002, "APIERR_MEMFULL"},
    {0x81060003, "APIERR_CANCEL"},
    {0x81060065, "APIERR_BADID"},
    {0x81060066, "APIERR_BADINDEX"},
    {0x81060067, "APIERR_BADNAME"},
    {0x81060068, "APIERR_BADPARS"},
    {0x81060069, "APIERR_BADPOLY"},
    {0x8106006A, "APIERR_BADDATABASE"},
    {0x8106006B, "APIERR_BADWINDOW"},
    {0x8106006C, "APIERR_BADKEYCODE"},
    {0x8106006D, "APIERR_BADPLATFORMSIGN"},
    {0x8106006E, "APIERR_BADPLANE"},
    {0x8106006F, "APIERR_BADUSERID"},
    {0x81060070, "APIERR_BADVALUE"},
    {0x81060071, "APIERR_BADELEMENTTYPE"},
    {0x81060072, "APIERR_IRREGULARPOLY"},
    {0x810600C9, "APIERR_NO3D"},
    {0x810600CA, "APIERR_NOMORE"},
    {0x810600CB, "APIERR_NOPLAN"},
    {0x810600CC, "APIERR_NOLIB"},
    {0x810600CD, "APIERR_NOLIBSECT"},
    {0x810600CE, "APIERR_NOSEL"},
    {0x810600CF, "APIERR_NOTEDITABLE"},
    {0x810600D0, "APIERR_NOTSUBTYPEOF"},
    {0x810600D1, "APIERR_NOTEQUALMAIN"},
    {0x810600D2, "APIERR_NOTEQUALREVISION"},
    {0x810600D3, "APIERR_NOTEAMWORKPROJECT"},
    {0x810600DC, "APIERR_NOUSERDATA"},
    {0x810600DD, "APIERR_MOREUSER"},
    {0x810600DE, "APIERR_LINKEXIST"},
    {0x810600DF, "APIERR_LINKNOTEXIST"},
    {0x810600E0, "APIERR_WINDEXIST"},
    {0x810600E1, "APIERR_WINDNOTEXIST"},
    {0x810600E2, "APIERR_UNDOEMPTY"},
    {0x810600E3, "APIERR_REFERENCEEXIST"},
    {0x810600E4, "APIERR_NAMEALREADYUSED"},
    {0x8106012D, "APIERR_ATTREXIST"},
    {0x8106012E, "APIERR_DELETED"},
    {0x8106012F, "APIERR_LOCKEDLAY"},
    {0x81060130, "APIERR_HIDDENLAY"},
    {0x81060131, "APIERR_INVALFLOOR"},
    {0x81060132, "APIERR_NOTMINE"},
    {0x81060133, "APIERR_NOACCESSRIGHT"},
    {0x81060134, "APIERR_BADPROPERTY"},
    {0x81060135, "APIERR_BADCLASSIFICATION"},
    {0x81060191, "APIERR_MODULNOTINSTALLED"},
    {0x81060192, "APIERR_MODULCMDMINE"},
    {0x81060193, "APIERR_MODULCMDNOTSUPPORTED"},
    {0x81060194, "APIERR_MODULCMDVERSNOTSUPPORTED"},
    {0x81060195, "APIERR_NOMODULEDATA"},
    {0x810601F5, "APIERR_PAROVERLAP"},
    {0x810601F6, "APIERR_PARMISSING"},
    {0x810601F7, "APIERR_PAROVERFLOW"},
    {0x810601F8, "APIERR_PARIMPLICIT"},
    {0x810601FE, "APIERR_RUNOVERLAP"},
    {0x810601FF, "APIERR_RUNMISSING"},
    {0x81060200, "APIERR_RUNOVERFLOW"},
    {0x81060201, "APIERR_RUNIMPLICIT"},
    {0x81060202, "APIERR_RUNPROTECTED"},
    {0x81060208, "APIERR_EOLOVERLAP"},
    {0x81060212, "APIERR_TABOVERLAP"},
    {0x81060385, "APIERR_NOTINIT"},
    {0x81060386, "APIERR_NESTING"},
    {0x81060387, "APIERR_NOTSUPPORTED"},
    {0x81060388, "APIERR_REFUSEDCMD"},
    {0x81060389, "APIERR_REFUSEDPAR"},
    {0x8106038A, "APIERR_READONLY"},
    {0x8106038B, "APIERR_SERVICEFAILED"},
    {0x8106038C, "APIERR_COMMANDFAILED"},
    {0x8106038D, "APIERR_NEEDSUNDOSCOPE"},
    {0x810603E9, "APIERR_MISSINGCODE"},
    {0x810603EA, "APIERR_MISSINGDEF"},
};

TEST_F(ErrorsAndAlertsTest, EveryNamedCodeHasItsName)
{
	EXPECT_EQ(std::size(namedCodes), 17u + 73u);
	for (const NamedCode& named : namedCodes) {
		EXPECT_EQ(ErrCodeToUniString(static_cast<ErrCode>(named.code)), GS::UniString(named.name))
		    << std::hex << named.code;
	}
}

TEST_F(ErrorsAndAlertsTest, CodesWithoutANameAreUnknown)
{
	std::set<UInt32> named;
	for (const NamedCode& entry : namedCodes)
		named.insert(entry.code);
	// Every gap of both ranges, one beyond each end, and codes of other families.
	std::vector<UInt32> unnamed = {0, 1, 0x800A0000, 0x800A0029, 0x81060000, 0x810603EB, 0x81000000, 0xFFFFFFFF};
	for (UInt32 code = 0x800A0001; code <= 0x800A0028; ++code) {
		if (named.count(code) == 0)
			unnamed.push_back(code);
	}
	for (UInt32 code = 0x81060001; code <= 0x810603EA; ++code) {
		if (named.count(code) == 0)
			unnamed.push_back(code);
	}
	for (UInt32 code : unnamed)
		EXPECT_EQ(ErrCodeToUniString(static_cast<ErrCode>(code)), GS::UniString("Unknown Error")) << std::hex << code;
}

GS::UniString AlertText(Int32 index)
{
	return RSGetIndString(ID_STR_ALERTS, index, ACAPI_GetOwnResModule(), 0);
}

struct AlertCase {
	const char* name;
	void (*show)();
	const char* kind;
	Int32 mainIndex;
	std::vector<Int32> detailIndices; // joined by line breaks
};

TEST_F(ErrorsAndAlertsTest, EachAlertShowsItsTextsWithOneButton)
{
	const AlertCase cases[] = {
	    {"no rooms selected", AlertNoRoomsSelected, "InformationAlert", 1, {}},
	    {"favorite unavailable", ErrorFavUnavailable, "ErrorAlert", 6, {7, 4}},
	    {"story link in settings", ErrorStoryLinkSettings, "ErrorAlert", 8, {4}},
	    {"double add", ErrorDoubleAdd, "ErrorAlert", 9, {12}},
	    {"room story", ErrorRoomStory, "ErrorAlert", 10, {12}},
	    {"update inconsistency", ErrorUpdateInconsistency, "ErrorAlert", 11, {13}},
	};
	for (const AlertCase& c : cases) {
		SCOPED_TRACE(c.name);
		HostControl::ResetHost();
		c.show();
		std::vector<HostControl::Alert> alerts = HostControl::Alerts();
		ASSERT_EQ(alerts.size(), 1u);
		EXPECT_EQ(alerts[0].kind, c.kind);
		GS::UniString detail;
		for (std::size_t i = 0; i < c.detailIndices.size(); ++i)
			detail += (i == 0 ? GS::UniString() : GS::UniString("\n")) + AlertText(c.detailIndices[i]);
		ASSERT_FALSE(AlertText(c.mainIndex).IsEmpty()) << "the resources hold the text";
		const std::vector<GS::UniString> expected = {AlertText(c.mainIndex), detail, "OK", "", ""};
		EXPECT_EQ(alerts[0].texts, expected);
	}
}

TEST_F(ErrorsAndAlertsTest, EveryAlertTextExists)
{
	for (Int32 index : {1, 4, 6, 7, 8, 9, 10, 11, 12, 13})
		EXPECT_FALSE(AlertText(index).IsEmpty()) << index;
	for (Int32 index : {1, 2, 3})
		EXPECT_FALSE(RSGetIndString(ID_STR_UNDO_NAMES, index, ACAPI_GetOwnResModule(), 0).IsEmpty()) << index;
}

} // namespace
