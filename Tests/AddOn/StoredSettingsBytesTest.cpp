// The stored palette state pinned from the outside: a version-6 stream put
// together value by value in the stored field order, independently of the
// writer, must read into the expected settings and be written back to the
// same bytes.
#include <cstring>
#include <string>
#include <vector>

#include "CoveringSettings.hpp"
#include "GS/Channel.hpp"
#include "GS/Memory.hpp"
#include "HostTest.hpp"

namespace {

constexpr std::size_t elementImageSize = 5272;
constexpr std::size_t textBlockUnits = 256;
const char* const timestampGuid = "0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F9";
const char* const propertyGuid = "11111111-2222-4333-8444-555555555555";
const char* const groupGuid = "66666666-7777-4888-9999-AAAAAAAAAAAA";
const char* const systemGuid = "12345678-9ABC-4DEF-8123-456789ABCDEF";
const char* const itemGuid = "FEDCBA98-7654-4321-8FED-CBA987654321";
const char* const categoryGuid = "0F0E0D0C-0B0A-4908-8706-050403020100";
const char* const valueGuid = "A0A1A2A3-B0B1-4C0C-8D0D-E0E1E2E3E4E5";

// Little-endian values in the channel's encoding.
class StreamBytes {
public:
	StreamBytes& Bool(bool value) { return Unsigned(value ? 1 : 0, 1); }
	StreamBytes& I16(Int16 value) { return Unsigned(static_cast<UInt16>(value), 2); }
	StreamBytes& U16(UInt16 value) { return Unsigned(value, 2); }
	StreamBytes& I32(Int32 value) { return Unsigned(static_cast<UInt32>(value), 4); }
	StreamBytes& U32(UInt32 value) { return Unsigned(value, 4); }
	StreamBytes& Real(double value)
	{
		UInt64 bits = 0;
		std::memcpy(&bits, &value, sizeof(bits));
		return Unsigned(bits, 8);
	}
	StreamBytes& Text(const std::u16string& text)
	{
		U32(static_cast<UInt32>(text.size()));
		for (char16_t unit : text)
			U16(unit);
		return *this;
	}
	StreamBytes& Guid(const char* text)
	{
		GS::Guid guid(text);
		U32(guid.data1).U16(guid.data2).U16(guid.data3);
		for (UInt8 byte : guid.data4)
			Unsigned(byte, 1);
		return *this;
	}
	StreamBytes& Raw(const std::vector<char>& raw)
	{
		bytes.insert(bytes.end(), raw.begin(), raw.end());
		return *this;
	}
	// A text block of 256 UTF-16 units, zero after the text.
	StreamBytes& TextBlock(const std::u16string& text)
	{
		for (std::size_t i = 0; i < textBlockUnits; ++i)
			U16(i < text.size() ? text[i] : 0);
		return *this;
	}
	// The frame that opens an array, with its item count; the frame header is the channel's own.
	StreamBytes& Array(UInt32 count)
	{
		GS::MemoryOChannel32 header;
		GS::OutputFrame frame(header, GS::ArrayPrivate::classInfo);
		bytes.insert(bytes.end(), header.GetDestination(), header.GetDestination() + header.GetDataSize());
		return U32(count);
	}

	std::vector<char> bytes;

private:
	StreamBytes& Unsigned(UInt64 value, std::size_t width)
	{
		for (std::size_t i = 0; i < width; ++i)
			bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
		return *this;
	}
};

// An element image whose bytes all differ from their neighbours, so that any
// shift or change shows.
std::vector<char> ElementImage(int seed)
{
	std::vector<char> image(elementImageSize);
	for (std::size_t i = 0; i < image.size(); ++i)
		image[i] = static_cast<char>((i * 37 + seed) % 251);
	return image;
}

void Variant(StreamBytes& out, Int16 tag)
{
	out.I16(tag);
	switch (tag) {
	case 1:
		out.I32(-42);
		break;
	case 2:
		out.Real(2.5);
		break;
	case 3:
		out.Text(u"plaster");
		break;
	case 4:
		out.Bool(true);
		break;
	case 5:
		out.Guid(itemGuid);
		break;
	default:
		break;
	}
}

// A property value: single variant, list of variants, value status.
void PropertyValue(StreamBytes& out, Int16 singleTag, const std::vector<Int16>& listTags)
{
	Variant(out, singleTag);
	out.Array(static_cast<UInt32>(listTags.size()));
	for (Int16 tag : listTags)
		Variant(out, tag);
	out.I16(2);
}

void Property(StreamBytes& out)
{
	// Definition: type, GUIDs, texts, three enumerations, default value, lists, editable.
	out.I16(2).Guid(propertyGuid).Guid(groupGuid).Text(u"Finish Code").Text(u"What lines the wall");
	out.I16(3).I16(3).I16(1);
	PropertyValue(out, 3, {});
	out.Array(1).Text(u"{Property:Code}").Bool(true);
	out.Array(1).Guid(itemGuid);
	out.Array(2);
	Variant(out, 3);
	Variant(out, 3);
	out.Bool(true).Text(u"plaster");
	Variant(out, 1);
	Variant(out, 2);
	out.Bool(false);
	out.Bool(false);
	// Status, value, is-default.
	out.I16(2);
	PropertyValue(out, 3, {1, 2, 3, 4, 5, 0});
	out.Bool(false);
}

void CategoryValue(StreamBytes& out)
{
	out.Guid(valueGuid).Guid(categoryGuid).I16(3).TextBlock(u"Renovation Status");
	out.TextBlock(u"New").Bool(true).Bool(false);
}

struct Block {
	bool enabled;
	int imageSeed;
	bool withParams;
	bool withLists;
	bool useFavorite;
	std::u16string favoriteName;
};

void Params(StreamBytes& out)
{
	out.I32(4);
	// Type code, index, type modifier, two dimensions, flags, value.
	out.I32(2).I16(1).I16(0).I32(0).I32(0).U16(3).Real(0.875);
	out.I32(12).I16(2).I16(0).I32(0).I32(0).U16(0).TextBlock(u"Oak");
	out.I32(14).I16(3).I16(0).I32(0).I32(0).U16(65535);
	out.I32(1).I16(4).I16(2).I32(2).I32(1).U16(1).I32(8);
	out.Raw({1, 0, 0, 0, 2, 0, 0, 0});
}

void ElementBlock(StreamBytes& out, const Block& block)
{
	out.Bool(block.enabled).Raw(ElementImage(block.imageSeed)).Bool(block.withParams);
	if (block.withParams)
		Params(out);
	if (block.withLists) {
		out.Array(1);
		Property(out);
		out.Array(1).Guid(systemGuid).Guid(itemGuid);
		out.Array(1);
		CategoryValue(out);
	} else {
		out.Array(0).Array(0).Array(0);
	}
	out.Bool(block.useFavorite).Text(block.favoriteName);
}

std::vector<char> Version6Stream()
{
	StreamBytes out;
	out.I16(6);
	ElementBlock(out, {true, 1, false, true, false, u"Plaster lining"});
	out.Bool(true).Bool(false); // inner contours, then column coverings
	ElementBlock(out, {true, 2, true, false, true, u"Door hole"});
	ElementBlock(out, {false, 3, false, false, false, u""});
	ElementBlock(out, {true, 4, false, true, true, u"Ceiling board"});
	out.Bool(false);
	ElementBlock(out, {false, 5, false, false, false, u"Screed"});
	out.Bool(true);
	out.Guid(timestampGuid).Bool(true);
	return out.bytes;
}

bool HoldsImage(const API_Element& element, int seed)
{
	return std::memcmp(&element, ElementImage(seed).data(), elementImageSize) == 0;
}

class StoredSettingsBytes : public HostTest {};

TEST_F(StoredSettingsBytes, AVersion6StreamReadsIntoItsFieldsAndIsWrittenBackIdentically)
{
	std::vector<char> stream = Version6Stream();
	PaletteSettings stored;
	GS::MemoryIChannel32 in(stream.data(), static_cast<USize>(stream.size()));
	ASSERT_EQ(stored.Read(in), NoError);
	const CoveringSettings& read = stored.coveringSettings;

	EXPECT_TRUE(read.wall.enabled);
	EXPECT_TRUE(HoldsImage(read.wall.toolElement, 1));
	EXPECT_FALSE(read.wall.memo.HasValue());
	EXPECT_EQ(read.wall.favoriteName, GS::UniString("Plaster lining"));
	EXPECT_TRUE(read.wall.innerContours);
	EXPECT_FALSE(read.wall.columnCoverings);
	ASSERT_EQ(read.wall.properties.GetSize(), 1u);
	const API_Property& property = read.wall.properties[0];
	EXPECT_EQ(property.definition.guid, GSGuid2APIGuid(GS::Guid(propertyGuid)));
	EXPECT_EQ(property.definition.name, GS::UniString("Finish Code"));
	ASSERT_EQ(property.definition.possibleEnumValues.GetSize(), 2u);
	EXPECT_TRUE(property.definition.possibleEnumValues[0].nonLocalizedValue.HasValue());
	EXPECT_FALSE(property.definition.possibleEnumValues[1].nonLocalizedValue.HasValue());
	ASSERT_EQ(property.value.listVariant.variants.GetSize(), 6u);
	EXPECT_EQ(property.value.listVariant.variants[0].intValue, -42);
	EXPECT_EQ(property.value.listVariant.variants[1].doubleValue, 2.5);
	ASSERT_EQ(read.wall.classifications.GetSize(), 1u);
	EXPECT_EQ(read.wall.classifications[0].second, GSGuid2APIGuid(GS::Guid(itemGuid)));
	ASSERT_EQ(read.wall.categoryValues.GetSize(), 1u);
	EXPECT_EQ(read.wall.categoryValues[0].category.categoryID, 3);
	EXPECT_EQ(GS::UniString(read.wall.categoryValues[0].name), GS::UniString("New"));

	const ElementCovSettings& door = read.wall.doorHoles;
	EXPECT_TRUE(door.useFavorite);
	EXPECT_TRUE(HoldsImage(door.toolElement, 2));
	ASSERT_TRUE(door.memo.HasValue());
	ASSERT_EQ(door.memo->GetParamCount(), 4u);
	const API_AddParType* params = *door.memo->elementMemo.params;
	EXPECT_EQ(params[0].value.real, 0.875);
	EXPECT_EQ(params[0].flags, 3);
	EXPECT_EQ(GS::UniString(params[1].value.uStr), GS::UniString("Oak"));
	EXPECT_EQ(params[2].flags, 65535);
	EXPECT_EQ(params[3].dim1, 2);
	EXPECT_EQ(BMGetHandleSize(params[3].value.array), 8);

	EXPECT_FALSE(read.wall.windowHoles.enabled);
	EXPECT_TRUE(HoldsImage(read.ceiling.toolElement, 4));
	EXPECT_FALSE(read.ceiling.insets);
	EXPECT_EQ(read.floor.favoriteName, GS::UniString("Screed"));
	EXPECT_TRUE(read.floor.insets);
	EXPECT_EQ(read.timestampProperty, GSGuid2APIGuid(GS::Guid(timestampGuid)));
	EXPECT_TRUE(read.showSummary);

	GS::MemoryOChannel32 out;
	ASSERT_EQ(stored.Write(out), NoError);
	std::vector<char> written(out.GetDestination(), out.GetDestination() + out.GetDataSize());
	EXPECT_EQ(written, stream);
}

} // namespace
