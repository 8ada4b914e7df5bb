#include <cstring>

#include "CoveringIdentity.hpp"
#include "GS/PlatformSign.hpp"
#include "ModelBuilder.hpp"
#include "UndoScope.hpp"

namespace {

class CoveringUserData : public UndoScopeTest {
protected:
	void SetUp() override
	{
		UndoScopeTest::SetUp();
		element = ModelBuilder::AddWall({0, 0}, {1, 0});
	}

	API_Guid element = APINULLGuid;

	API_Elem_Head Head() const
	{
		API_Elem_Head head = {};
		head.guid = element;
		return head;
	}

	void Store(Int16 version, UInt16 sign, std::optional<std::vector<char>> payload)
	{
		HostControl::SetUserData(element, {version, sign, 0, std::move(payload)});
	}
};

TEST_F(CoveringUserData, RecordsAreStoredAsVersionOneUnderTheMmSign)
{
	API_Elem_Head head = Head();
	ASSERT_EQ(SaveZoneElementUserData(head, true, false), NoError);
	auto stored = HostControl::GetUserData(element);
	ASSERT_TRUE(stored.has_value());
	EXPECT_EQ(stored->version, 1);
	EXPECT_EQ(stored->platformSign, 0x6D6D);
	EXPECT_EQ(stored->flags, 0u);
	EXPECT_EQ(stored->payload, (std::vector<char>{1, 0}));

	ASSERT_EQ(SaveSlabElementUserData(head, true), NoError);
	EXPECT_EQ(HostControl::GetUserData(element)->payload, (std::vector<char>{1}));

	CoveringNumberWriter writer;
	ASSERT_EQ(writer.Store(element, 0x01020304), NoError);
	EXPECT_EQ(HostControl::GetUserData(element)->payload, (std::vector<char>{4, 3, 2, 1}));
}

TEST_F(CoveringUserData, RecordsReadBackWhatWasSaved)
{
	API_Elem_Head head = Head();
	for (bool door : {false, true}) {
		for (bool window : {false, true}) {
			ASSERT_EQ(SaveZoneElementUserData(head, door, window), NoError);
			bool readDoor = !door;
			bool readWindow = !window;
			ASSERT_EQ(GetZoneElementUserData(head, readDoor, readWindow), NoError);
			EXPECT_EQ(readDoor, door);
			EXPECT_EQ(readWindow, window);
		}
	}
	for (bool insets : {false, true}) {
		ASSERT_EQ(SaveSlabElementUserData(head, insets), NoError);
		bool read = !insets;
		ASSERT_EQ(GetSlabElementUserData(head, read), NoError);
		EXPECT_EQ(read, insets);
	}
	for (UInt32 number : {0u, 7u, 4294967295u}) {
		CoveringNumberWriter writer;
		ASSERT_EQ(writer.Store(element, number), NoError);
		UInt32 read = 0;
		ASSERT_EQ(GetCoveringNumber(element, read), NoError);
		EXPECT_EQ(read, number);
	}
}

TEST_F(CoveringUserData, MissingRecordsReadAsTheirDefaults)
{
	API_Elem_Head head = Head();
	bool door = false;
	bool window = false;
	EXPECT_EQ(GetZoneElementUserData(head, door, window), NoError);
	EXPECT_TRUE(door);
	EXPECT_TRUE(window);
	bool insets = true;
	EXPECT_EQ(GetSlabElementUserData(head, insets), NoError);
	EXPECT_FALSE(insets);
	UInt32 number = 5;
	EXPECT_EQ(GetCoveringNumber(element, number), APIERR_NOUSERDATA);
	EXPECT_EQ(number, 5u);
}

TEST_F(CoveringUserData, MalformedRecordsAreRefusedWithOutputsUntouched)
{
	struct Case {
		const char* what;
		Int16 version;
		std::optional<std::vector<char>> payload;
		bool zoneRefused;
		bool slabRefused;
		bool numberRefused;
	};
	const Case cases[] = {
	    {"no data handle", 1, std::nullopt, true, true, true},
	    {"version 2", 2, std::vector<char>{1, 1, 1, 1}, true, true, true},
	    {"one byte", 1, std::vector<char>{1}, true, false, true},
	    {"three bytes", 1, std::vector<char>{1, 1, 1}, false, false, true},
	    {"empty", 1, std::vector<char>{}, true, true, true},
	};
	for (const Case& c : cases) {
		Store(c.version, 0x6D6D, c.payload);
		API_Elem_Head head = Head();
		bool door = false;
		bool window = false;
		EXPECT_EQ(GetZoneElementUserData(head, door, window), c.zoneRefused ? COVERR_USERDATA : NoError) << c.what;
		if (c.zoneRefused) {
			EXPECT_FALSE(door || window) << c.what;
		}
		bool insets = false;
		EXPECT_EQ(GetSlabElementUserData(head, insets), c.slabRefused ? COVERR_USERDATA : NoError) << c.what;
		UInt32 number = 99;
		EXPECT_EQ(GetCoveringNumber(element, number), c.numberRefused ? COVERR_USERDATA : NoError) << c.what;
		if (c.numberRefused) {
			EXPECT_EQ(number, 99u) << c.what;
		}
	}
}

TEST_F(CoveringUserData, RecordsOfAnotherPlatformAreConverted)
{
	Store(1, GS::Mac_Platform_Sign, std::vector<char>{0, 0, 0, 3});
	UInt32 number = 0;
	ASSERT_EQ(GetCoveringNumber(element, number), NoError);
	EXPECT_EQ(number, 3u);

	Store(1, GS::Win_Platform_Sign, std::vector<char>{3, 0, 0, 0});
	ASSERT_EQ(GetCoveringNumber(element, number), NoError);
	EXPECT_EQ(number, 3u);

	Store(1, GS::Mac_Platform_Sign, std::vector<char>{2, 0});
	API_Elem_Head head = Head();
	bool door = false;
	bool window = true;
	ASSERT_EQ(GetZoneElementUserData(head, door, window), NoError);
	EXPECT_TRUE(door);
	EXPECT_FALSE(window);
}

TEST_F(CoveringUserData, HostFailuresArePassedOnAndReleaseEverything)
{
	API_Elem_Head head = Head();
	HostControl::FailCall("BMAllocateHandle", 1, APIERR_MEMFULL);
	EXPECT_EQ(SaveZoneElementUserData(head, true, true), APIERR_MEMFULL);
	EXPECT_FALSE(HostControl::GetUserData(element).has_value());

	HostControl::FailCall("ACAPI_Element_SetUserData", 1, APIERR_NOTEDITABLE);
	EXPECT_EQ(SaveSlabElementUserData(head, true), APIERR_NOTEDITABLE);

	ASSERT_EQ(SaveZoneElementUserData(head, false, false), NoError);
	HostControl::FailCall("ACAPI_Element_GetUserData", 1, APIERR_GENERAL);
	bool door = true;
	bool window = true;
	EXPECT_EQ(GetZoneElementUserData(head, door, window), APIERR_GENERAL);
	EXPECT_TRUE(door && window);

	HostControl::FailCall("BMAllocateHandle", 1, APIERR_MEMFULL);
	CoveringNumberWriter writer;
	EXPECT_EQ(writer.Status(), APIERR_MEMFULL);
	EXPECT_EQ(writer.Store(element, 1), APIERR_MEMFULL);
}

TEST_F(CoveringUserData, OneHandleServesABatchOfCoverings)
{
	API_Guid other = ModelBuilder::AddWall({1, 0}, {2, 0});
	HostControl::ResetCallCounts();
	CoveringNumberWriter writer;
	ASSERT_EQ(writer.Store(element, 0), NoError);
	ASSERT_EQ(writer.Store(other, 1), NoError);
	EXPECT_EQ(HostControl::CallCount("BMAllocateHandle"), 1u);
	UInt32 first = 9;
	UInt32 second = 9;
	GetCoveringNumber(element, first);
	GetCoveringNumber(other, second);
	EXPECT_EQ(first, 0u);
	EXPECT_EQ(second, 1u);
}

} // namespace
