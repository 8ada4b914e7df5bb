#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <type_traits>
#include <variant>
#include <vector>

#include "GS/Channel.hpp"
#include "GSPrinters.hpp"

namespace {

using GS::Guid;
using GS::UniString;

// Raw bytes: written with WriteBin, read back with ReadBin into a buffer of their size.
struct Bytes {
	std::vector<char> content;
	bool operator==(const Bytes& other) const { return content == other.content; }
};

using Value = std::variant<bool, Int16, UInt16, Int32, UInt32, double, UniString, Guid, Bytes>;

template <typename T> void WriteItem(GS::OChannel& channel, const T& item)
{
	channel.Write(item);
}

void WriteItem(GS::OChannel& channel, const Bytes& item)
{
	channel.WriteBin(item.content.data(), static_cast<USize>(item.content.size()));
}

template <typename T> void ReadItem(GS::IChannel& channel, T& item)
{
	channel.Read(item);
}

void ReadItem(GS::IChannel& channel, Bytes& item)
{
	channel.ReadBin(item.content.data(), static_cast<USize>(item.content.size()));
}

void WriteValue(GS::OChannel& channel, const Value& value)
{
	std::visit([&](const auto& item) { WriteItem(channel, item); }, value);
}

void ReadValue(GS::IChannel& channel, Value& value)
{
	std::visit([&](auto& item) { ReadItem(channel, item); }, value);
}

// Doubles compare by their bits, so that NaN and -0.0 count as round-tripped only when exact.
bool Identical(const Value& left, const Value& right)
{
	if (left.index() != right.index())
		return false;
	if (const double* number = std::get_if<double>(&left))
		return std::memcmp(number, std::get_if<double>(&right), sizeof(double)) == 0;
	return left == right;
}

// A value to write, and a different one of the same kind that a failed read must leave alone.
struct Sample {
	Value written;
	Value untouched;
};

const std::vector<Sample>& Samples()
{
	using Limits = std::numeric_limits<double>;
	static const std::vector<Sample> samples = {
	    {false, true},
	    {true, false},
	    {Int16(-32768), Int16(1)},
	    {Int16(32767), Int16(1)},
	    {UInt16(65535), UInt16(1)},
	    {Int32(std::numeric_limits<Int32>::min()), Int32(1)},
	    {Int32(-2), Int32(1)},
	    {UInt32(0xFFFFFFFF), UInt32(1)},
	    {UInt32(0x01020304), UInt32(1)},
	    {0.0, 1.0},
	    {-0.0, 1.0},
	    {-123.456, 1.0},
	    {1.5e300, 1.0},
	    {Limits::denorm_min(), 1.0},
	    {Limits::infinity(), 1.0},
	    {Limits::quiet_NaN(), 1.0},
	    {UniString(), UniString("untouched")},
	    {UniString("Küche"), UniString("untouched")},
	    {UniString("\xF0\x9F\x98\x80 Zone"), UniString("untouched")},
	    {GS::NULLGuid, Guid("00000000-0000-0000-0000-000000000001")},
	    {Guid("6F9619FF-8B86-D011-B42D-00C04FC964FF"), Guid("00000000-0000-0000-0000-000000000001")},
	    {Bytes{{'\0', '\xFF', 'A'}}, Bytes{{'x', 'x', 'x'}}},
	};
	return samples;
}

std::vector<Value> UntouchedValues()
{
	std::vector<Value> values;
	for (const Sample& sample : Samples())
		values.push_back(sample.untouched);
	return values;
}

std::vector<unsigned char> ContentOf(const GS::MemoryOChannel32& channel)
{
	const char* start = channel.GetDestination();
	return std::vector<unsigned char>(start, start + channel.GetDataSize());
}

GS::MemoryIChannel32 ReaderOf(const std::vector<char>& bytes)
{
	return GS::MemoryIChannel32(bytes.data(), static_cast<USize>(bytes.size()));
}

template <typename T, typename = void> struct Writable : std::false_type {
};
template <typename T> struct Writable<T, std::void_t<decltype(std::declval<GS::OChannel&>().Write(std::declval<T>()))>>
    : std::true_type {
};
static_assert(!Writable<const char*>::value, "a narrow text must not be written as a bool");

TEST(Channel, EveryKindReadsBackAsWritten)
{
	GS::MemoryOChannel32 output;
	for (const Sample& sample : Samples())
		WriteValue(output, sample.written);
	ASSERT_EQ(output.GetOutputStatus(), NoError);

	GS::MemoryIChannel32 input(output.GetDestination(), output.GetDataSize());
	for (std::size_t i = 0; i < Samples().size(); ++i) {
		Value read = Samples()[i].untouched;
		ReadValue(input, read);
		EXPECT_EQ(input.GetInputStatus(), NoError) << "sample " << i;
		EXPECT_TRUE(Identical(read, Samples()[i].written)) << "sample " << i;
	}
	char beyond = 0;
	EXPECT_EQ(input.ReadBin(&beyond, 1), ErrRead) << "the reads consume exactly what was written";
}

TEST(Channel, EncodingIsLittleEndianWithFixedWidths)
{
	struct Case {
		Value value;
		std::vector<unsigned char> bytes;
	};
	const Case cases[] = {
	    {false, {0x00}},
	    {true, {0x01}},
	    {Int16(-2), {0xFE, 0xFF}},
	    {UInt16(0x0102), {0x02, 0x01}},
	    {Int32(-2), {0xFE, 0xFF, 0xFF, 0xFF}},
	    {UInt32(0x01020304), {0x04, 0x03, 0x02, 0x01}},
	    {1.0, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F}},
	    {UniString("Aü"), {0x02, 0x00, 0x00, 0x00, 0x41, 0x00, 0xFC, 0x00}},
	    {Guid("00112233-4455-6677-8899-AABBCCDDEEFF"),
	     {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}},
	    {Bytes{{'\x01', '\x02'}}, {0x01, 0x02}},
	};
	for (const Case& test : cases) {
		GS::MemoryOChannel32 output;
		WriteValue(output, test.value);
		EXPECT_EQ(ContentOf(output), test.bytes) << "kind " << test.value.index();
	}
}

TEST(Channel, AnyNonZeroByteReadsAsTrue)
{
	const std::vector<char> bytes = {'\x00', '\x01', '\x02', '\x80', '\xFF'};
	const bool expected[] = {false, true, true, true, true};
	GS::MemoryIChannel32 input = ReaderOf(bytes);
	for (std::size_t i = 0; i < bytes.size(); ++i) {
		bool value = !expected[i];
		EXPECT_EQ(input.Read(value), NoError);
		unsigned char stored = 0;
		std::memcpy(&stored, &value, 1);
		EXPECT_EQ(stored, expected[i] ? 1 : 0) << "byte " << i << " must load as a valid bool";
	}
}

TEST(Channel, EveryTruncationFailsCleanly)
{
	GS::MemoryOChannel32 output;
	GS::OutputFrame frame(output, GS::ArrayPrivate::classInfo);
	const USize headerEnd = output.GetDataSize();
	std::vector<USize> sampleEnds;
	for (const Sample& sample : Samples()) {
		WriteValue(output, sample.written);
		sampleEnds.push_back(output.GetDataSize());
	}
	const char* stream = output.GetDestination();

	for (USize length = 0; length < output.GetDataSize(); ++length) {
		// A buffer of exactly the prefix, so that the sanitizer sees any read beyond it.
		const std::vector<char> prefix(stream, stream + length);
		GS::MemoryIChannel32 input = ReaderOf(prefix);
		GS::InputFrame inputFrame(input, GS::ArrayPrivate::classInfo);
		EXPECT_EQ(inputFrame.GetStatus(), headerEnd <= length ? NoError : ErrRead) << "length " << length;
		std::vector<Value> targets = UntouchedValues();
		for (Value& target : targets)
			ReadValue(input, target);
		EXPECT_EQ(input.GetInputStatus(), ErrRead) << "length " << length;
		for (std::size_t i = 0; i < targets.size(); ++i) {
			const Sample& sample = Samples()[i];
			const bool complete = headerEnd <= length && sampleEnds[i] <= length;
			EXPECT_TRUE(Identical(targets[i], complete ? sample.written : sample.untouched))
			    << "length " << length << ", sample " << i;
		}
	}
}

TEST(Channel, TextLengthIsCheckedAgainstTheRemainingBytes)
{
	struct Case {
		UInt32 claimedUnits;
		UInt32 presentUnits;
		bool readable;
	};
	const Case cases[] = {
	    {0xFFFFFFFF, 2, false}, {0x80000000, 2, false}, // twice the count wraps to zero in 32 bits
	    {0x7FFFFFFF, 0, false}, {3, 2, false},          {2, 2, true}, {0, 0, true},
	};
	for (const Case& test : cases) {
		GS::MemoryOChannel32 output;
		output.Write(test.claimedUnits);
		for (UInt32 i = 0; i < test.presentUnits; ++i)
			output.Write(UInt16(u'a'));
		GS::MemoryIChannel32 input(output.GetDestination(), output.GetDataSize());
		UniString text("untouched");
		input.Read(text);
		EXPECT_EQ(input.GetInputStatus(), test.readable ? NoError : ErrRead) << test.claimedUnits;
		EXPECT_EQ(text, test.readable ? UniString(std::string(test.presentUnits, 'a')) : UniString("untouched"));
	}
}

TEST(Channel, FramedContentReadsBack)
{
	GS::MemoryOChannel32 output;
	GS::OutputFrame frame(output, GS::ArrayPrivate::classInfo);
	EXPECT_EQ(frame.GetStatus(), NoError);
	output.Write(UInt32(7));

	GS::MemoryIChannel32 input(output.GetDestination(), output.GetDataSize());
	GS::InputFrame inputFrame(input, GS::ArrayPrivate::classInfo);
	EXPECT_EQ(inputFrame.GetStatus(), NoError);
	UInt32 count = 0;
	EXPECT_EQ(input.Read(count), NoError);
	EXPECT_EQ(count, 7u);
}

TEST(Channel, FrameHeaderOfAnotherKindIsAReadError)
{
	struct Case {
		const char* what;
		GS::ClassInfo written;
		bool damageMagic;
	};
	const Case cases[] = {
	    {"other class, same name length", {"GS::Brray", 1, 0}, false},
	    {"other class, shorter name", {"GS::Set", 1, 0}, false},
	    {"other class, longer name", {"GS::ArrayList", 1, 0}, false},
	    {"other main version", {"GS::Array", 2, 0}, false},
	    {"other minor version", {"GS::Array", 1, 1}, false},
	    {"damaged magic word", GS::ArrayPrivate::classInfo, true},
	};
	for (const Case& test : cases) {
		GS::MemoryOChannel32 output;
		GS::OutputFrame frame(output, test.written);
		output.Write(UInt32(7));
		std::vector<char> stream(output.GetDestination(), output.GetDestination() + output.GetDataSize());
		if (test.damageMagic)
			stream[0] = static_cast<char>(stream[0] ^ 0x01);

		GS::MemoryIChannel32 input = ReaderOf(stream);
		GS::InputFrame inputFrame(input, GS::ArrayPrivate::classInfo);
		EXPECT_EQ(inputFrame.GetStatus(), ErrRead) << test.what;
		UInt32 count = 0;
		EXPECT_EQ(input.Read(count), ErrRead) << test.what;
		EXPECT_EQ(count, 0u) << test.what;
	}
}

// Accepts bytes until its refusedPut-th call, which fails with ErrIO.
class RefusingOChannel : public GS::OChannel {
public:
	explicit RefusingOChannel(UInt32 refusedPut) : refusedPut(refusedPut) {}
	UInt32 putCalls = 0;
	USize acceptedBytes = 0;

protected:
	GSErrCode PutBytes(const char*, USize size) override
	{
		if (++putCalls == refusedPut)
			return ErrIO;
		acceptedBytes += size;
		return NoError;
	}

private:
	UInt32 refusedPut;
};

TEST(Channel, FirstWriteErrorStaysAndStopsWriting)
{
	RefusingOChannel output(2);
	EXPECT_EQ(output.Write(UInt32(1)), NoError);
	EXPECT_EQ(output.Write(UInt32(2)), ErrIO);
	EXPECT_EQ(output.Write(true), ErrIO);
	EXPECT_EQ(output.Write(UniString("later")), ErrIO);
	EXPECT_EQ(output.WriteBin("x", 1), ErrIO);
	EXPECT_EQ(GS::OutputFrame(output, GS::ArrayPrivate::classInfo).GetStatus(), ErrIO);
	EXPECT_EQ(output.GetOutputStatus(), ErrIO);
	EXPECT_EQ(output.putCalls, 2u);
	EXPECT_EQ(output.acceptedBytes, 4u);
}

TEST(Channel, ReadPastTheEndFailsAndLaterReadsFailToo)
{
	const std::vector<char> bytes = {'\x01', '\x00', '\x00', '\x00'};
	GS::MemoryIChannel32 input = ReaderOf(bytes);
	double number = 2.5;
	EXPECT_EQ(input.Read(number), ErrRead);
	EXPECT_EQ(number, 2.5);
	UInt32 count = 9;
	EXPECT_EQ(input.Read(count), ErrRead) << "the four bytes are there, but the channel has failed";
	EXPECT_EQ(count, 9u);
}

// Every take fails with ErrIO although bytes are said to remain.
class BrokenIChannel : public GS::IChannel {
protected:
	GSErrCode TakeBytes(char*, USize) override { return ErrIO; }
	USize RemainingBytes() const override { return 1000; }
};

TEST(Channel, FirstReadErrorStays)
{
	BrokenIChannel input;
	Guid guid = Guid("6F9619FF-8B86-D011-B42D-00C04FC964FF");
	EXPECT_EQ(input.Read(guid), ErrIO);
	EXPECT_EQ(guid, Guid("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
	UniString text("untouched");
	EXPECT_EQ(input.Read(text), ErrIO);
	EXPECT_EQ(text, UniString("untouched"));
	EXPECT_EQ(GS::InputFrame(input, GS::ArrayPrivate::classInfo).GetStatus(), ErrIO)
	    << "a header check does not replace the first error";
	EXPECT_EQ(input.GetInputStatus(), ErrIO);
}

} // namespace
