#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "GS/Guid.hpp"
#include "GS/HashTable.hpp"
#include "GS/PlatformSign.hpp"
#include "GS/UniString.hpp"
#include "GS/ValueConversion.hpp"
#include "GSPrinters.hpp"

namespace {

using GS::Guid;
using GS::UniString;
using Table = GS::HashTable<int, int>;

Table TableOfKeys(std::initializer_list<int> keys)
{
	Table table;
	for (int key : keys)
		table.Add(key, key * 10);
	return table;
}

std::vector<int> KeysInOrder(const Table& table)
{
	std::vector<int> keys;
	for (const auto& entry : table)
		keys.push_back(entry.key);
	return keys;
}

TEST(HashTable, DeletionMovesTheLastEntryIntoTheFreedSlot)
{
	struct Step {
		const char* what;
		std::function<bool(Table&)> apply;
		bool result;
		std::vector<int> order;
	};
	const Step steps[] = {
	    {"delete 2", [](Table& table) { return table.Delete(2); }, true, {1, 5, 3, 4}},
	    {"delete 1", [](Table& table) { return table.Delete(1); }, true, {4, 5, 3}},
	    {"delete the last", [](Table& table) { return table.Delete(3); }, true, {4, 5}},
	    {"delete a missing key", [](Table& table) { return table.Delete(2); }, false, {4, 5}},
	    {"add 6", [](Table& table) { return table.Add(6, 60); }, true, {4, 5, 6}},
	    {"delete the first", [](Table& table) { return table.Delete(4); }, true, {6, 5}},
	};
	Table table = TableOfKeys({1, 2, 3, 4, 5});
	ASSERT_EQ(KeysInOrder(table), std::vector<int>({1, 2, 3, 4, 5}));
	for (const Step& step : steps) {
		EXPECT_EQ(step.apply(table), step.result) << step.what;
		EXPECT_EQ(KeysInOrder(table), step.order) << step.what;
		EXPECT_EQ(table.GetSize(), step.order.size()) << step.what;
		for (int key = 1; key <= 6; ++key) {
			const bool present = std::find(step.order.begin(), step.order.end(), key) != step.order.end();
			EXPECT_EQ(table.ContainsKey(key), present) << step.what << ", key " << key;
			if (present) {
				EXPECT_EQ(table.Get(key), key * 10) << step.what << ", key " << key;
			}
		}
	}
}

TEST(HashTable, AddRefusesAnExistingKeyAndPutReplacesInPlace)
{
	Table table = TableOfKeys({1, 2, 3});
	EXPECT_FALSE(table.Add(2, 99));
	EXPECT_EQ(table.Get(2), 20);

	table.Put(2, 99);
	EXPECT_EQ(table.Get(2), 99);
	EXPECT_EQ(KeysInOrder(table), std::vector<int>({1, 2, 3}));

	table.Put(4, 40);
	EXPECT_EQ(KeysInOrder(table), std::vector<int>({1, 2, 3, 4}));
	EXPECT_EQ(table.GetPtr(7), nullptr);
}

std::vector<UniString> PartsOf(const UniString& text, const UniString& separator)
{
	GS::Array<UniString> parts;
	USize count = text.Split(separator, &parts);
	EXPECT_EQ(count, parts.GetSize());
	return std::vector<UniString>(parts.begin(), parts.end());
}

TEST(UniString, SplitKeepsEmptyParts)
{
	struct Case {
		const char* text;
		const char* separator;
		std::vector<UniString> parts;
	};
	const Case cases[] = {
	    {"COV - Z12 - 3", " - ", {"COV", "Z12", "3"}},
	    {" - Z12 - ", " - ", {"", "Z12", ""}},
	    {"COV", " - ", {"COV"}},
	    {"", " - ", {""}},
	    {"a--b", "-", {"a", "", "b"}},
	    {"aaa", "aa", {"", "a"}},
	    {"Küche|Bad", "|", {"Küche", "Bad"}},
	};
	for (const Case& test : cases)
		EXPECT_EQ(PartsOf(test.text, test.separator), test.parts) << test.text;
}

enum class Side { Left = 2 };

TEST(UniString, PrintfFormatsUtf8Arguments)
{
	const std::string longText(5000, 'x');
	struct Case {
		UniString formatted;
		UniString expected;
	};
	const Case cases[] = {
	    {UniString::Printf("%s-%d", "COV", 12), u"COV-12"},
	    {UniString::Printf("%s: %d m²", "Küche", -3), u"Küche: -3 m²"},
	    {UniString::Printf("%d%%", 50), u"50%"},
	    {UniString::Printf("%s", longText.c_str()), UniString(longText)},
	    {UniString::Printf(""), UniString()},
	    {UniString::Printf("%5.2f|%-4d|%03x|%c", 3.14159, 7, 255, 'A'), u" 3.14|7   |0ff|A"},
	    {UniString::Printf("%u %d %ld %d", -1, UInt32(0xFFFFFFFF), Int64(-5), Side::Left), u"4294967295 -1 -5 2"},
	    {UniString::Printf("%d and %s", 1), u"1 and %s"},
	    {UniString::Printf("%s|%d|%f", 12, "text", 3), u"%s|%d|%f"},
	    {UniString::Printf("%s", static_cast<const char*>(nullptr)), u"%s"},
	    {UniString::Printf("%q %d 100%", 1), u"%q 1 100%"},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.formatted, test.expected);
}

TEST(UniString, Utf8RoundTrip)
{
	struct Case {
		const char* utf8;
		std::u16string units;
	};
	const Case cases[] = {
	    {"", u""},
	    {"Zone", u"Zone"},
	    {"Küche", u"K\u00FCche"},
	    {"€", u"\u20AC"},
	    {"\xF0\x9F\x98\x80", u"\U0001F600"},
	    {"a\xF0\x9F\x98\x80z", u"a\U0001F600z"},
	    {"\xED\xA0\x80", std::u16string(1, char16_t(0xD800))}, // a lone surrogate survives
	};
	for (const Case& test : cases) {
		UniString text(test.utf8);
		EXPECT_EQ(text, UniString(test.units.data(), static_cast<USize>(test.units.size()))) << test.utf8;
		EXPECT_STREQ(text.ToCStr().Get(), test.utf8);
	}
}

TEST(UniString, MalformedUtf8KeepsTheValidText)
{
	struct Case {
		const char* utf8;
		const char16_t* units;
	};
	const Case cases[] = {
	    {"a\xC3(b", u"a\uFFFD(b"},                         // bad continuation byte
	    {"x\xE2\x82", u"x\uFFFD\uFFFD"},                   // cut off at the end
	    {"\x80z", u"\uFFFDz"},                             // stray continuation byte
	    {"\xC0\x80", u"\uFFFD\uFFFD"},                     // overlong
	    {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
	    {"\xFF!", u"\uFFFD!"},
	};
	for (const Case& test : cases)
		EXPECT_EQ(UniString(test.utf8), UniString(test.units)) << test.utf8;
}

TEST(UniString, CopyUStrTruncatesAndTerminates)
{
	struct Case {
		USize maxUnits;
		std::u16string copied;
	};
	const Case cases[] = {{1, u""}, {3, u"K\u00FC"}, {6, u"K\u00FCche"}, {8, u"K\u00FCche"}};
	const UniString text("Küche");
	for (const Case& test : cases) {
		std::u16string buffer(8, u'#');
		text.CopyUStr(buffer.data(), test.maxUnits);
		EXPECT_EQ(buffer.substr(0, test.copied.size()), test.copied) << test.maxUnits;
		EXPECT_EQ(buffer[test.copied.size()], u'\0') << test.maxUnits;
		EXPECT_EQ(buffer.substr(test.copied.size() + 1), std::u16string(8 - test.copied.size() - 1, u'#'))
		    << "nothing written after the terminator, limit " << test.maxUnits;
	}
	std::u16string untouched(4, u'#');
	text.CopyUStr(untouched.data(), 0);
	EXPECT_EQ(untouched, u"####");
}

TEST(Guid, TextRoundTripInUpperCase)
{
	const char* texts[] = {"6F9619FF-8B86-D011-B42D-00C04FC964FF", "00000000-0000-0000-0000-000000000001",
	                       "FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF"};
	for (const char* text : texts)
		EXPECT_EQ(Guid(text).ToUniString(), UniString(text));
	EXPECT_EQ(Guid("6f9619ff-8b86-d011-b42d-00c04fc964ff").ToUniString(),
	          UniString("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
}

TEST(Guid, FieldsFollowTheText)
{
	Guid guid("00112233-4455-6677-8899-AABBCCDDEEFF");
	EXPECT_EQ(guid.data1, 0x00112233u);
	EXPECT_EQ(guid.data2, 0x4455u);
	EXPECT_EQ(guid.data3, 0x6677u);
	const UInt8 tail[8] = {0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
	EXPECT_EQ(std::memcmp(guid.data4, tail, 8), 0);
}

TEST(Guid, MalformedTextGivesTheNullGuid)
{
	const char* texts[] = {
	    "",
	    "6F9619FF-8B86-D011-B42D-00C04FC964F",
	    "6F9619FF-8B86-D011-B42D-00C04FC964FF0",
	    "{6F9619FF-8B86-D011-B42D-00C04FC964FF}",
	    "6F9619FF8-B86-D011-B42D-00C04FC964FF",
	    "6F9619FG-8B86-D011-B42D-00C04FC964FF",
	    " 6F9619FF-8B86-D011-B42D-00C04FC964F",
	    "6F9619FF-8B86-D011-B42D-00C04FC964Fü",
	};
	const Guid previous("6F9619FF-8B86-D011-B42D-00C04FC964FF");
	for (const char* text : texts) {
		EXPECT_TRUE(Guid(text).IsNull()) << text;
		EXPECT_TRUE(Guid(UniString(text)).IsNull()) << text;
		Guid target = previous;
		EXPECT_FALSE(target.ConvertFromString(text)) << text;
		EXPECT_EQ(target, previous) << text;
	}
}

TEST(Guid, ComparesByValue)
{
	const Guid first("6F9619FF-8B86-D011-B42D-00C04FC964FF");
	const Guid same(UniString("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
	const Guid lastByteHigher("6F9619FF-8B86-D011-B42D-00C04FC96500");
	const Guid firstFieldLower("6F9619FE-FFFF-FFFF-FFFF-FFFFFFFFFFFF");
	EXPECT_EQ(first, same);
	EXPECT_FALSE(first < same || same < first);
	EXPECT_EQ(std::hash<Guid>()(first), std::hash<Guid>()(same));
	EXPECT_NE(first, lastByteHigher);
	EXPECT_TRUE(first < lastByteHigher);
	EXPECT_TRUE(firstFieldLower < first);
	EXPECT_FALSE(first.IsNull());
}

TEST(ValueConversion, StrToValueTakesOnlyAWholeUnsignedNumber)
{
	struct Case {
		const char* text;
		bool accepted;
		UInt32 value;
	};
	const Case cases[] = {
	    {"0", true, 0},           {"4294967295", true, 4294967295u},
	    {"4294967296", false, 0}, {"99999999999999999999", false, 0},
	    {"", false, 0},           {"12x", false, 0},
	    {" 12", false, 0},        {"12 ", false, 0},
	    {"-1", false, 0},         {"+1", false, 0},
	};
	for (const Case& test : cases) {
		UInt32 value = 77;
		EXPECT_EQ(GS::strtovalue(test.text, value, GS::ConvertWhole, GS::WhiteSpaceForbidden), test.accepted)
		    << test.text;
		EXPECT_EQ(value, test.accepted ? test.value : 77u) << test.text;
	}
}

TEST(ValueConversion, ValueToStrNeedsRoomForTheTerminator)
{
	struct Case {
		UInt32 value;
		USize bufferSize;
		const char* text; // null: does not fit
	};
	const Case cases[] = {
	    {0, 2, "0"},
	    {4294967295u, 11, "4294967295"},
	    {4294967295u, 10, nullptr},
	    {12, 1, nullptr},
	};
	for (const Case& test : cases) {
		char buffer[16] = {};
		EXPECT_EQ(GS::valuetostr(test.value, buffer, test.bufferSize), test.text != nullptr) << test.value;
		if (test.text != nullptr) {
			EXPECT_STREQ(buffer, test.text);
		}
	}
}

TEST(PlatformSign, BigEndianValuesAreSwapped)
{
	struct Case {
		GS::PlatformSign sign;
		UInt32 longValue;
		Int16 shortValue;
	};
	const Case cases[] = {
	    {GS::Mac_Platform_Sign, 0x04030201u, Int16(0x0201)},
	    {GS::Win_Platform_Sign, 0x01020304u, Int16(0x0102)},
	    {GS::Act_Platform_Sign, 0x01020304u, Int16(0x0102)},
	};
	for (const Case& test : cases) {
		UInt32 longValue = 0x01020304u;
		Int16 shortValue = 0x0102;
		IVULong(test.sign, &longValue);
		IVShort(test.sign, &shortValue);
		EXPECT_EQ(longValue, test.longValue) << std::hex << test.sign;
		EXPECT_EQ(shortValue, test.shortValue) << std::hex << test.sign;
	}
}

TEST(PlatformSign, StoredBoolBecomesAValidBool)
{
	const GS::PlatformSign signs[] = {GS::Mac_Platform_Sign, GS::Win_Platform_Sign, GS::Act_Platform_Sign};
	const unsigned char storedBytes[] = {0x00, 0x01, 0x02, 0xFF};
	for (GS::PlatformSign sign : signs) {
		for (unsigned char stored : storedBytes) {
			bool value;
			std::memcpy(&value, &stored, 1);
			IVBool(sign, &value);
			unsigned char normalised = 0;
			std::memcpy(&normalised, &value, 1);
			EXPECT_EQ(normalised, stored != 0 ? 1 : 0) << std::hex << sign << ", byte " << int(stored);
		}
	}
}

} // namespace
