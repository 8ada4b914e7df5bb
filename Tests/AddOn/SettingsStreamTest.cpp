#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "CoveringSettings.hpp"
#include "ErrorCodes.hpp"
#include "GS/Memory.hpp"
#include "HostRecordStream.hpp"
#include "HostTest.hpp"
#include "ModelBuilder.hpp"
#include "SettingsEquality.hpp"
#include "SettingsSamples.hpp"

namespace {

using SettingsSamples::Bytes;
using SettingsSamples::ParamRecord;

class SettingsStreamTest : public HostTest {};

std::vector<char> Written(const CoveringSettings& settings, GSErrCode expected = NoError)
{
	PaletteSettings palette;
	palette.coveringSettings = settings;
	GS::MemoryOChannel32 channel;
	EXPECT_EQ(palette.Write(channel), expected);
	return Bytes(channel);
}

GSErrCode ReadInto(PaletteSettings& palette, const std::vector<char>& bytes)
{
	GS::MemoryIChannel32 channel(bytes.data(), static_cast<USize>(bytes.size()));
	return palette.Read(channel);
}

TEST_F(SettingsStreamTest, WrittenSettingsReadBackEqual)
{
	const std::pair<const char*, std::function<CoveringSettings()>> cases[] = {
	    {"plain", [] { return CoveringSettings(); }},
	    {"palette defaults", PaletteDefaultSettings},
	    {"cleared palette", ClearedPaletteSettings},
	    {"every field set", SettingsSamples::RichSettings},
	};
	for (const auto& [name, make] : cases) {
		SCOPED_TRACE(name);
		CoveringSettings settings = make();
		std::vector<char> bytes = Written(settings);
		Int16 version = 0;
		std::memcpy(&version, bytes.data(), sizeof(version));
		EXPECT_EQ(version, 6);

		PaletteSettings read;
		ASSERT_EQ(ReadInto(read, bytes), NoError);
		EXPECT_TRUE(read.coveringSettings == settings);
		EXPECT_EQ(Written(read.coveringSettings), bytes);
	}
}

TEST_F(SettingsStreamTest, ReadingReplacesHandlesWithoutLeaking)
{
	std::vector<char> bytes = Written(SettingsSamples::RichSettings());
	PaletteSettings palette;
	ASSERT_EQ(ReadInto(palette, bytes), NoError);
	Int32 handles = HostControl::LiveHandleCount();
	ASSERT_EQ(ReadInto(palette, bytes), NoError);
	EXPECT_EQ(HostControl::LiveHandleCount(), handles);
}

// --- Older versions ---------------------------------------------------------------

const GS::UniString storedWall = "stored wall";
const GS::UniString storedDoor = "stored door";
const GS::UniString storedWindow = "stored window";
const GS::UniString storedCeiling = "stored ceiling";
const GS::UniString storedFloor = "stored floor";
const API_Guid storedTimestamp = APIGuidFromString("93F3A667-C2B5-43EE-87BA-05A6BED3D2E9");

API_Element StoredElement(API_ElemTypeID type, double thickness)
{
	API_Element element = ModelBuilder::NewRecord(type);
	if (type == API_WallID)
		element.wall.thickness = thickness;
	else
		element.slab.thickness = thickness;
	return element;
}

const API_Element storedWallElement = StoredElement(API_WallID, 0.3);
const API_Element storedCeilingElement = StoredElement(API_SlabID, 0.02);
const API_Element storedFloorElement = StoredElement(API_SlabID, 0.04);

void SetStoredLists(ElementCovSettings& settings)
{
	settings.properties = {API_Property()};
	settings.classifications = {{storedTimestamp, storedTimestamp}};
	settings.categoryValues.Clear();
}

// A wall, ceiling or floor of versions 4 and 5.
void WriteOlderElement(GS::OChannel& out, bool enabled, const API_Element& element, bool withLists,
                       const GS::UniString& name)
{
	out.Write(enabled);
	out.WriteBin(reinterpret_cast<const char*>(&element), sizeof(element));
	if (withLists) {
		ElementCovSettings lists;
		SetStoredLists(lists);
		Write(out, lists.properties);
		Write(out, lists.classifications);
		Write(out, lists.categoryValues);
	}
	out.Write(true); // use the favorite
	out.Write(name);
}

// The stored fields of each older version, in their order.
std::vector<char> OlderStream(Int16 version)
{
	GS::MemoryOChannel32 out;
	out.Write(version);
	if (version <= 3) {
		if (version == 3)
			out.Write(false); // wall.enabled
		out.Write(storedWall);
		out.Write(storedDoor);
		out.Write(storedWindow);
		out.Write(false); // ceiling.enabled
		out.Write(storedCeiling);
		out.Write(true); // floor.enabled
		out.Write(storedFloor);
		if (version == 3)
			out.Write(true); // floor.insets
		return Bytes(out);
	}
	bool withLists = version == 5;
	WriteOlderElement(out, false, storedWallElement, withLists, storedWall);
	if (withLists)
		out.Write(false); // innerContours
	out.Write(false);     // columnCoverings
	out.Write(true);      // doorHoles.enabled
	out.Write(storedDoor);
	out.Write(true); // windowHoles.enabled
	out.Write(storedWindow);
	WriteOlderElement(out, false, storedCeilingElement, withLists, storedCeiling);
	WriteOlderElement(out, true, storedFloorElement, withLists, storedFloor);
	out.Write(true); // floor.insets
	out.Write(APIGuid2GSGuid(storedTimestamp));
	if (withLists)
		out.Write(false); // showSummary
	return Bytes(out);
}

// A target whose switches differ from what the older versions store or set where they can.
CoveringSettings OlderTarget()
{
	CoveringSettings target = SettingsSamples::RichSettings();
	target.wall.innerContours = false;
	target.wall.doorHoles.useFavorite = false;
	target.wall.windowHoles.enabled = false;
	target.wall.doorHoles.enabled = false;
	target.showSummary = false;
	return target;
}

void SetStoredNames(CoveringSettings& settings)
{
	settings.wall.favoriteName = storedWall;
	settings.wall.doorHoles.favoriteName = storedDoor;
	settings.wall.windowHoles.favoriteName = storedWindow;
	settings.ceiling.favoriteName = storedCeiling;
	settings.floor.favoriteName = storedFloor;
	settings.ceiling.enabled = false;
	settings.floor.enabled = true;
}

void SetStoredElements(CoveringSettings& settings)
{
	settings.wall.toolElement = storedWallElement;
	settings.ceiling.toolElement = storedCeilingElement;
	settings.floor.toolElement = storedFloorElement;
}

// Version 2 and 3 imply favorites, both hole kinds, inner contours, the
// summary and no timestamp; version 2 also floor insets.
void SetVersion2Or3Values(CoveringSettings& settings)
{
	settings.wall.useFavorite = true;
	settings.ceiling.useFavorite = true;
	settings.floor.useFavorite = true;
	settings.wall.doorHoles.useFavorite = true;
	settings.wall.windowHoles.useFavorite = true;
	settings.wall.columnCoverings = false;
	settings.wall.doorHoles.enabled = true;
	settings.wall.windowHoles.enabled = true;
	settings.wall.innerContours = true;
	settings.timestampProperty = APINULLGuid;
	settings.showSummary = true;
}

struct OlderVersionCase {
	Int16 version;
	std::function<void(CoveringSettings&)> expect; // applied to OlderTarget()
};

const OlderVersionCase olderVersionCases[] = {
    {2,
     [](CoveringSettings& s) {
	     SetStoredNames(s);
	     SetVersion2Or3Values(s);
	     s.floor.insets = true;
     }},
    {3,
     [](CoveringSettings& s) {
	     SetStoredNames(s);
	     SetVersion2Or3Values(s);
	     s.wall.enabled = false;
	     s.floor.insets = true;
     }},
    {4,
     [](CoveringSettings& s) {
	     SetStoredNames(s);
	     SetStoredElements(s);
	     s.wall.enabled = false;
	     s.wall.useFavorite = true;
	     s.ceiling.useFavorite = true;
	     s.floor.useFavorite = true;
	     s.wall.doorHoles.useFavorite = true;
	     s.wall.windowHoles.useFavorite = true;
	     s.wall.columnCoverings = false;
	     s.wall.doorHoles.enabled = true;
	     s.wall.windowHoles.enabled = true;
	     s.floor.insets = true;
	     s.timestampProperty = storedTimestamp;
	     s.wall.innerContours = true;
	     s.showSummary = true;
     }},
    {5,
     [](CoveringSettings& s) {
	     SetStoredNames(s);
	     SetStoredElements(s);
	     SetStoredLists(s.wall);
	     SetStoredLists(s.ceiling);
	     SetStoredLists(s.floor);
	     s.wall.enabled = false;
	     s.wall.useFavorite = true;
	     s.ceiling.useFavorite = true;
	     s.floor.useFavorite = true;
	     s.wall.doorHoles.useFavorite = true;
	     s.wall.windowHoles.useFavorite = true;
	     s.wall.columnCoverings = false;
	     s.wall.doorHoles.enabled = true;
	     s.wall.windowHoles.enabled = true;
	     s.floor.insets = true;
	     s.timestampProperty = storedTimestamp;
	     s.wall.innerContours = false;
	     s.showSummary = false;
     }},
};

TEST_F(SettingsStreamTest, OlderVersionsReadTheirFieldsAndImplyTheRest)
{
	for (const OlderVersionCase& c : olderVersionCases) {
		SCOPED_TRACE(c.version);
		PaletteSettings palette;
		palette.coveringSettings = OlderTarget();
		CoveringSettings expected = OlderTarget();
		c.expect(expected);

		EXPECT_EQ(ReadInto(palette, OlderStream(c.version)), NoError);
		EXPECT_TRUE(palette.coveringSettings == expected);
		EXPECT_EQ(palette.coveringSettings.wall.favoriteName, storedWall);
		EXPECT_EQ(palette.coveringSettings.wall.innerContours, c.version < 5);
	}
}

TEST_F(SettingsStreamTest, OlderVersionsCutShortFail)
{
	for (Int16 version = 2; version <= 5; ++version) {
		std::vector<char> bytes = OlderStream(version);
		bytes.pop_back();
		PaletteSettings palette;
		EXPECT_NE(ReadInto(palette, bytes), NoError) << version;
	}
}

TEST_F(SettingsStreamTest, UnknownVersionsReadNothingMore)
{
	const Int16 versions[] = {1, 7, 0, -1, std::numeric_limits<Int16>::max()};
	const Int16 marker = 0x1234;
	for (Int16 version : versions) {
		SCOPED_TRACE(version);
		GS::MemoryOChannel32 out;
		out.Write(version);
		out.Write(marker);
		std::vector<char> bytes = Bytes(out);
		std::vector<char> body = Written(SettingsSamples::RichSettings());
		bytes.insert(bytes.end(), body.begin() + 2, body.end());

		PaletteSettings palette;
		GS::MemoryIChannel32 channel(bytes.data(), static_cast<USize>(bytes.size()));
		EXPECT_EQ(palette.Read(channel), static_cast<GSErrCode>(0x81000000));
		EXPECT_TRUE(palette.coveringSettings == PaletteDefaultSettings());
		Int16 next = 0;
		EXPECT_EQ(channel.Read(next), NoError);
		EXPECT_EQ(next, marker);
	}
}

TEST_F(SettingsStreamTest, AnEmptyStreamFails)
{
	PaletteSettings palette;
	EXPECT_NE(ReadInto(palette, {}), NoError);
	EXPECT_TRUE(palette.coveringSettings == PaletteDefaultSettings());
}

// --- Parameter records -----------------------------------------------------------

// The stored value kinds: 0 single values of codes 1 to 18, 2 arrays of codes 1 to 13 and 15 to 17.
bool IsStorable(Int32 typeID, Int16 typeMod)
{
	if (typeMod == API_ParSimple)
		return typeID >= 1 && typeID <= 18;
	if (typeMod == API_ParArray)
		return typeID >= 1 && typeID <= 17 && typeID != 14;
	return false;
}

void WriteRecordHeader(GS::OChannel& out, Int32 typeID, Int16 typeMod)
{
	out.Write(typeID);
	out.Write(Int16(7));
	out.Write(typeMod);
	out.Write(Int32(3));
	out.Write(Int32(-4));
	out.Write(UInt16(0xBEEF));
}

TEST_F(SettingsStreamTest, OnlyStorableParameterKindsAreWrittenAndRead)
{
	const Int16 typeMods[] = {API_ParSimple, API_ParArray, 1, 3, -1};
	for (Int16 typeMod : typeMods) {
		for (Int32 typeID = -1; typeID <= 20; ++typeID) {
			SCOPED_TRACE("type " + std::to_string(typeID) + ", modifier " + std::to_string(typeMod));
			API_AddParType record = ParamRecord(typeID, typeMod);
			record.value.real = typeMod == API_ParArray ? 0.0 : 4.75;
			bool storable = IsStorable(typeID, typeMod);

			GS::MemoryOChannel32 out;
			EXPECT_EQ(Write(out, record), storable ? NoError : COVERR_PARAM_WRITE);
			GS::MemoryOChannel32 handMade;
			WriteRecordHeader(handMade, typeID, typeMod);
			handMade.Write(4.75);
			std::vector<char> bytes = Bytes(storable ? out : handMade);

			API_AddParType read = ParamRecord(APIParT_Boolean, API_ParSimple);
			API_AddParType before;
			std::memcpy(static_cast<void*>(&before), &read, sizeof(read));
			GS::MemoryIChannel32 in(bytes.data(), static_cast<USize>(bytes.size()));
			if (storable) {
				EXPECT_EQ(Read(in, read), NoError);
				EXPECT_TRUE(read == record);
				EXPECT_EQ(read.valueCache, 0u);
				EXPECT_EQ(read.name[0], 0) << "names are not stored";
				if (typeMod == API_ParArray) {
					EXPECT_EQ(read.value.array, nullptr) << "a missing value handle is stored as size 0";
				}
			} else {
				EXPECT_EQ(Read(in, read), COVERR_PARAM_READ);
				EXPECT_EQ(std::memcmp(&read, &before, sizeof(read)), 0) << "a failed read changes nothing";
			}
		}
	}
}

TEST_F(SettingsStreamTest, AnUnsupportedParameterStopsTheSettingsWrite)
{
	CoveringSettings settings;
	std::vector<HostControl::Param> params = SettingsSamples::MixedParams();
	params.insert(params.begin() + 1, HostControl::Param{ParamRecord(APIParT_Separator, API_ParArray), std::nullopt});
	SettingsSamples::FillParams(settings.wall.windowHoles.memo.New(), params);
	std::vector<char> bytes = Written(settings, COVERR_PARAM_WRITE);

	// The stream ends in the unsupported record.
	PaletteSettings palette;
	EXPECT_EQ(ReadInto(palette, bytes), COVERR_PARAM_READ);
}

TEST_F(SettingsStreamTest, AStoredUnsupportedParameterStopsTheSettingsRead)
{
	GS::MemoryOChannel32 out;
	out.Write(Int32(1));
	WriteRecordHeader(out, 0, API_ParSimple);
	out.Write(1.0);
	std::vector<char> bytes = Bytes(out);
	ParamsMemo memo;
	GS::MemoryIChannel32 in(bytes.data(), static_cast<USize>(bytes.size()));
	EXPECT_EQ(memo.ReadParams(in), COVERR_PARAM_READ);
	EXPECT_EQ(memo.GetParamCount(), 0u);
}

TEST_F(SettingsStreamTest, ParameterListsOfEverySizeRoundTrip)
{
	const std::vector<HostControl::Param> all = SettingsSamples::MixedParams();
	for (std::size_t count = 0; count <= all.size(); ++count) {
		SCOPED_TRACE(count);
		ParamsMemo written;
		SettingsSamples::FillParams(written, std::vector<HostControl::Param>(all.begin(), all.begin() + count));
		GS::MemoryOChannel32 out;
		ASSERT_EQ(written.WriteParams(out), NoError);
		ParamsMemo read;
		SettingsSamples::FillParams(read, all);
		GS::MemoryIChannel32 in(out.GetDestination(), out.GetDataSize());
		ASSERT_EQ(read.ReadParams(in), NoError);
		EXPECT_TRUE(read == written);
		EXPECT_EQ(read.elementMemo.params == nullptr, count == 0);
	}
}

TEST_F(SettingsStreamTest, AShortParameterHandleIsStoredAsNoParameters)
{
	ElementCovSettings settings;
	ParamsMemo& memo = settings.memo.New();
	memo.elementMemo.params = reinterpret_cast<API_AddParType**>(BMAllocateHandle(100, ALLOCATE_CLEAR, 0));
	GS::MemoryOChannel32 out;
	ASSERT_EQ(settings.Write(out), NoError);

	ElementCovSettings read;
	GS::MemoryIChannel32 in(out.GetDestination(), out.GetDataSize());
	ASSERT_EQ(read.Read(in), NoError);
	ASSERT_TRUE(read.memo.HasValue());
	EXPECT_EQ(read.memo->elementMemo.params, nullptr);
}

TEST_F(SettingsStreamTest, ABlockWithoutMemoLeavesAPresentMemoAlone)
{
	ElementCovSettings stored;
	stored.favoriteName = "no memo";
	GS::MemoryOChannel32 out;
	ASSERT_EQ(stored.Write(out), NoError);

	ElementCovSettings target;
	SettingsSamples::FillParams(target.memo.New(), SettingsSamples::MixedParams());
	API_AddParType** params = target.memo->elementMemo.params;
	GS::MemoryIChannel32 in(out.GetDestination(), out.GetDataSize());
	ASSERT_EQ(target.Read(in), NoError);
	ASSERT_TRUE(target.memo.HasValue());
	EXPECT_EQ(target.memo->elementMemo.params, params);
	EXPECT_EQ(target.memo->GetParamCount(), SettingsSamples::MixedParams().size());
	EXPECT_EQ(target.favoriteName, GS::UniString("no memo"));
}

// --- Damaged counts and sizes ----------------------------------------------------

// A version 6 stream whose wall block claims a memo with `count` parameters,
// followed by one real parameter record.
std::vector<char> StreamWithParamCount(Int32 count)
{
	GS::MemoryOChannel32 out;
	out.Write(Int16(6));
	out.Write(true);
	API_Element element = ModelBuilder::NewRecord(API_ZombieElemID);
	out.WriteBin(reinterpret_cast<const char*>(&element), sizeof(element));
	out.Write(true);
	out.Write(count);
	WriteRecordHeader(out, APIParT_Length, API_ParSimple);
	out.Write(1.5);
	return Bytes(out);
}

// One array parameter record that claims `size` bytes and holds three.
std::vector<char> RecordWithArraySize(Int32 size)
{
	GS::MemoryOChannel32 out;
	out.Write(Int32(1));
	WriteRecordHeader(out, APIParT_RealNum, API_ParArray);
	out.Write(size);
	out.WriteBin("abc", 3);
	return Bytes(out);
}

struct DamagedCase {
	const char* name;
	std::vector<char> bytes;
	bool paramsOnly;    // the bytes are a memo's parameter part, not a whole stream
	GSErrCode expected; // 0: any error
};

TEST_F(SettingsStreamTest, DamagedCountsAndSizesFailWithoutClaimingMemory)
{
	GS::MemoryOChannel32 hugeList;
	hugeList.Write(Int16(6));
	hugeList.Write(false);
	API_Element element = ModelBuilder::NewRecord(API_ZombieElemID);
	hugeList.WriteBin(reinterpret_cast<const char*>(&element), sizeof(element));
	hugeList.Write(false);
	GS::OutputFrame frame(hugeList, GS::ArrayPrivate::classInfo);
	hugeList.Write(std::numeric_limits<UInt32>::max());

	const DamagedCase cases[] = {
	    {"count beyond any handle", StreamWithParamCount(std::numeric_limits<Int32>::max()), false, COVERR_PARAM_READ},
	    {"count just beyond a handle",
	     StreamWithParamCount(std::numeric_limits<Int32>::max() / static_cast<Int32>(sizeof(API_AddParType)) + 1),
	     false, COVERR_PARAM_READ},
	    {"count of millions", StreamWithParamCount(3'000'000), false, NoError},
	    {"array size of two gigabytes", RecordWithArraySize(std::numeric_limits<Int32>::max()), true, NoError},
	    {"array size of a megabyte", RecordWithArraySize(1 << 20), true, NoError},
	    {"negative array size", RecordWithArraySize(-1), true, COVERR_PARAM_READ},
	    {"property count of four billion", Bytes(hugeList), false, NoError},
	};
	for (const DamagedCase& c : cases) {
		SCOPED_TRACE(c.name);
		HostControl::ResetHost();
		GS::MemoryIChannel32 in(c.bytes.data(), static_cast<USize>(c.bytes.size()));
		GSErrCode result = NoError;
		if (c.paramsOnly) {
			ParamsMemo memo;
			result = memo.ReadParams(in);
		} else {
			PaletteSettings palette;
			result = palette.Read(in);
		}
		EXPECT_NE(result, NoError);
		if (c.expected != NoError) {
			EXPECT_EQ(result, c.expected);
		}
		EXPECT_LE(HostControl::LargestHandleSize(), 8192) << "memory claimed beyond what the stream holds";
	}
}

// --- Host record codecs ------------------------------------------------------------

template <typename T> std::vector<char> WrittenRecord(const T& record)
{
	GS::MemoryOChannel32 out;
	EXPECT_EQ(Write(out, record), NoError);
	return Bytes(out);
}

template <typename T> GSErrCode ReadRecord(const std::vector<char>& bytes, T& record)
{
	GS::MemoryIChannel32 in(bytes.data(), static_cast<USize>(bytes.size()));
	return Read(in, record);
}

TEST_F(SettingsStreamTest, EnumerationEntriesKeepTheirOptionalText)
{
	API_SingleEnumerationVariant withText = SettingsSamples::SampleProperty().definition.possibleEnumValues[0];
	API_SingleEnumerationVariant withoutText = SettingsSamples::SampleProperty().definition.possibleEnumValues[1];
	ASSERT_TRUE(withText.nonLocalizedValue.HasValue());
	ASSERT_FALSE(withoutText.nonLocalizedValue.HasValue());

	const std::pair<const API_SingleEnumerationVariant*, const API_SingleEnumerationVariant*> cases[] = {
	    {&withText, &withoutText}, {&withoutText, &withText}, {&withText, &withText}};
	for (const auto& [stored, target] : cases) {
		API_SingleEnumerationVariant read = *target;
		ASSERT_EQ(ReadRecord(WrittenRecord(*stored), read), NoError);
		EXPECT_TRUE(read == *stored);
	}
}

TEST_F(SettingsStreamTest, HostRecordsRoundTrip)
{
	API_Property property = SettingsSamples::SampleProperty();
	API_Property readProperty;
	ASSERT_EQ(ReadRecord(WrittenRecord(property), readProperty), NoError);
	EXPECT_TRUE(readProperty.definition == property.definition);
	EXPECT_TRUE(readProperty.value == property.value);
	EXPECT_EQ(readProperty.status, property.status);
	EXPECT_EQ(readProperty.isDefault, property.isDefault);

	API_ElemCategoryValue value = SettingsSamples::SampleCategoryValue();
	API_ElemCategoryValue readValue = {};
	ASSERT_EQ(ReadRecord(WrittenRecord(value), readValue), NoError);
	EXPECT_EQ(std::memcmp(&readValue.category, &value.category, sizeof(value.category)), 0);
	EXPECT_EQ(std::memcmp(readValue.name, value.name, sizeof(value.name)), 0);
	EXPECT_EQ(readValue.guid, value.guid);
	EXPECT_EQ(readValue.usableAsCriteria, value.usableAsCriteria);
	EXPECT_EQ(readValue.usableAsPropertyFilter, value.usableAsPropertyFilter);
}

TEST_F(SettingsStreamTest, ReadingAListReplacesIt)
{
	GS::Array<API_Guid> stored = {storedTimestamp, APINULLGuid, storedTimestamp};
	GS::Array<API_Guid> read = {APINULLGuid};
	ASSERT_EQ(ReadRecord(WrittenRecord(stored), read), NoError);
	EXPECT_EQ(read, stored);

	std::vector<char> cut = WrittenRecord(stored);
	cut.resize(cut.size() - 1);
	EXPECT_NE(ReadRecord(cut, read), NoError);
	EXPECT_EQ(read.GetSize(), 2u) << "the items read before the damage";
}

} // namespace
