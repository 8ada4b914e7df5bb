// Reads many damaged copies of a valid settings stream: none may crash, leak,
// touch memory outside its blocks (the sanitizer build checks that) or claim
// more memory than the stream could fill.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "CoveringSettings.hpp"
#include "HostTest.hpp"
#include "SettingsSamples.hpp"

namespace {

class DamagedSettingsStreamTest : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		PaletteSettings palette;
		palette.coveringSettings = SettingsSamples::RichSettings();
		GS::MemoryOChannel32 channel;
		ASSERT_EQ(palette.Write(channel), NoError);
		valid = SettingsSamples::Bytes(channel);
		FindStructuredBytes(palette.coveringSettings);
	}

	// Most of the stream is the raw images of the five tool elements, which any
	// bytes fill validly; the damage aims mostly at the bytes around them.
	void FindStructuredBytes(const CoveringSettings& settings)
	{
		std::vector<bool> isImage(valid.size(), false);
		auto searchFrom = valid.begin();
		for (const ElementCovSettings* kind :
		     {static_cast<const ElementCovSettings*>(&settings.wall), &settings.wall.doorHoles,
		      &settings.wall.windowHoles, static_cast<const ElementCovSettings*>(&settings.ceiling),
		      static_cast<const ElementCovSettings*>(&settings.floor)}) {
			const char* image = reinterpret_cast<const char*>(&kind->toolElement);
			auto found = std::search(searchFrom, valid.end(), image, image + sizeof(API_Element));
			ASSERT_NE(found, valid.end());
			searchFrom = found + sizeof(API_Element);
			std::fill(isImage.begin() + (found - valid.begin()), isImage.begin() + (searchFrom - valid.begin()), true);
		}
		for (std::size_t at = 0; at < valid.size(); ++at) {
			if (!isImage[at] || at % 64 == 0)
				structured.push_back(at);
		}
	}

	std::vector<char> valid;
	std::vector<std::size_t> structured; // positions outside the element images, and a sample inside
};

// The fewest bytes a stored parameter record takes: its fixed fields without a value.
constexpr GSSize MinStoredParamSize = 4 + 2 + 2 + 4 + 4 + 2;

// A reader may grow a handle to twice what it has read, starting at a few
// kilobytes; a parameter record grows from its stored size to a whole record.
GSSize HandleBudget(std::size_t streamSize)
{
	GSSize records = static_cast<GSSize>(streamSize) / MinStoredParamSize + 1;
	return 8192 + 2 * records * static_cast<GSSize>(sizeof(API_AddParType));
}

GSErrCode ReadStream(const std::vector<char>& bytes, std::vector<char>* rewritten = nullptr)
{
	PaletteSettings palette;
	GS::MemoryIChannel32 channel(bytes.data(), static_cast<USize>(bytes.size()));
	GSErrCode result = palette.Read(channel);
	if (result == NoError && rewritten != nullptr) {
		GS::MemoryOChannel32 output;
		EXPECT_EQ(palette.Write(output), NoError) << "what was read can be stored again";
		*rewritten = SettingsSamples::Bytes(output);
	}
	return result;
}

TEST_F(DamagedSettingsStreamTest, TruncatedStreamsFail)
{
	ASSERT_GT(structured.size(), 1000u);
	Int32 handles = HostControl::LiveHandleCount();
	for (std::size_t length : structured) {
		std::vector<char> truncated(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
		ASSERT_NE(ReadStream(truncated), NoError) << "cut at " << length;
		ASSERT_EQ(HostControl::LiveHandleCount(), handles) << "cut at " << length;
	}
	EXPECT_EQ(ReadStream(valid), NoError);
	EXPECT_LE(HostControl::LargestHandleSize(), HandleBudget(valid.size()));
}

// Overwrites a few bytes with random values, often with the extremes that
// damaged counts and sizes take.
void Mutate(std::vector<char>& bytes, const std::vector<std::size_t>& positions, std::mt19937& random)
{
	std::uniform_int_distribution<std::size_t> position(0, positions.size() - 1);
	std::uniform_int_distribution<int> byte(0, 255);
	int changes = std::uniform_int_distribution<int>(1, 4)(random);
	for (int i = 0; i < changes; ++i) {
		std::size_t at = positions[position(random)];
		switch (std::uniform_int_distribution<int>(0, 3)(random)) {
		case 0:
			bytes[at] = static_cast<char>(byte(random));
			break;
		case 1:
			for (std::size_t k = at; k < bytes.size() && k < at + 4; ++k)
				bytes[k] = static_cast<char>(0xFF);
			break;
		case 2:
			for (std::size_t k = at; k < bytes.size() && k < at + 4; ++k)
				bytes[k] = k + 1 == at + 4 ? 0x7F : static_cast<char>(0xFF);
			break;
		default:
			bytes[at] = static_cast<char>(bytes[at] ^ (1 << (byte(random) % 8)));
			break;
		}
	}
}

TEST_F(DamagedSettingsStreamTest, MutatedStreamsAreReadSafely)
{
	std::mt19937 random(20240611);
	Int32 handles = HostControl::LiveHandleCount();
	int failed = 0;
	for (int round = 0; round < 2500; ++round) {
		std::vector<char> mutated = valid;
		Mutate(mutated, structured, random);
		std::vector<char> rewritten;
		GSErrCode result = ReadStream(mutated, &rewritten);
		ASSERT_EQ(HostControl::LiveHandleCount(), handles) << "round " << round;
		if (result != NoError) {
			++failed;
			continue;
		}
		// What a damaged stream yields is stored and read again unchanged.
		std::vector<char> again;
		ASSERT_EQ(ReadStream(rewritten, &again), NoError) << "round " << round;
		ASSERT_EQ(again, rewritten) << "round " << round;
	}
	EXPECT_GT(failed, 100) << "the mutations reach the counts and sizes";
	EXPECT_LE(HostControl::LargestHandleSize(), HandleBudget(valid.size()));
}

TEST_F(DamagedSettingsStreamTest, RandomBytesAreReadSafely)
{
	std::mt19937 random(7);
	std::uniform_int_distribution<int> byte(0, 255);
	Int32 handles = HostControl::LiveHandleCount();
	for (int round = 0; round < 3000; ++round) {
		std::vector<char> bytes(std::uniform_int_distribution<std::size_t>(0, 4096)(random));
		for (char& b : bytes)
			b = static_cast<char>(byte(random));
		// Mostly a known version, so that the reading goes beyond it.
		if (bytes.size() >= 2 && round % 4 != 0) {
			bytes[0] = static_cast<char>(2 + round % 5);
			bytes[1] = 0;
		}
		EXPECT_NE(ReadStream(bytes), NoError) << "round " << round;
		ASSERT_EQ(HostControl::LiveHandleCount(), handles) << "round " << round;
	}
	EXPECT_LE(HostControl::LargestHandleSize(), HandleBudget(4096));
}

} // namespace
