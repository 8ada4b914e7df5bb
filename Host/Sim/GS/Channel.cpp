#include "GS/Channel.hpp"

#include <cstring>
#include <string>

namespace GS {

namespace ArrayPrivate {
const ClassInfo classInfo = {"GS::Array", 1, 0};
}

namespace {

// Marks the start of a frame header, so that a frame read at a wrong offset fails.
constexpr UInt32 FrameMagic = 0x4D524657;

template <std::size_t Size> struct UnsignedOfSize;
template <> struct UnsignedOfSize<1> {
	using Type = UInt8;
};
template <> struct UnsignedOfSize<2> {
	using Type = UInt16;
};
template <> struct UnsignedOfSize<4> {
	using Type = UInt32;
};
template <> struct UnsignedOfSize<8> {
	using Type = UInt64;
};

template <typename To, typename From> To BitCast(From from)
{
	static_assert(sizeof(To) == sizeof(From), "bit casts keep the size");
	To to;
	std::memcpy(&to, &from, sizeof(to));
	return to;
}

USize NameLength(const ClassInfo& classInfo)
{
	return static_cast<USize>(std::strlen(classInfo.name));
}

bool FrameHeaderMatches(IChannel& channel, const ClassInfo& classInfo)
{
	UInt32 magic = 0;
	UInt32 nameLength = 0;
	channel.Read(magic);
	channel.Read(nameLength);
	// The name is only read once its length is known to be the expected one,
	// so a damaged length never sizes anything.
	if (magic != FrameMagic || nameLength != NameLength(classInfo))
		return false;
	std::string name(nameLength, '\0');
	UInt16 mainVersion = 0;
	UInt16 minorVersion = 0;
	channel.ReadBin(name.data(), nameLength);
	channel.Read(mainVersion);
	channel.Read(minorVersion);
	return name == classInfo.name && mainVersion == classInfo.mainVersion && minorVersion == classInfo.minorVersion;
}

} // namespace

template <typename T> GSErrCode OChannel::WriteFixed(T value)
{
	using Bits = typename UnsignedOfSize<sizeof(T)>::Type;
	Bits bits = BitCast<Bits>(value);
	unsigned char bytes[sizeof(T)];
	for (std::size_t i = 0; i < sizeof(T); ++i)
		bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
	return Put(bytes, sizeof(T));
}

GSErrCode OChannel::Put(const void* source, USize size)
{
	if (status == NoError && size > 0)
		status = PutBytes(static_cast<const char*>(source), size);
	return status;
}

GSErrCode OChannel::Write(bool value)
{
	return WriteFixed(static_cast<UInt8>(value ? 1 : 0));
}

GSErrCode OChannel::Write(Int16 value)
{
	return WriteFixed(value);
}

GSErrCode OChannel::Write(UInt16 value)
{
	return WriteFixed(value);
}

GSErrCode OChannel::Write(Int32 value)
{
	return WriteFixed(value);
}

GSErrCode OChannel::Write(UInt32 value)
{
	return WriteFixed(value);
}

GSErrCode OChannel::Write(double value)
{
	return WriteFixed(value);
}

GSErrCode OChannel::Write(const UniString& value)
{
	const UniChar* units = value.ToUStr();
	WriteFixed(value.GetLength());
	for (USize i = 0; i < value.GetLength(); ++i)
		WriteFixed(units[i]);
	return status;
}

GSErrCode OChannel::Write(const Guid& value)
{
	WriteFixed(value.data1);
	WriteFixed(value.data2);
	WriteFixed(value.data3);
	return Put(value.data4, sizeof(value.data4));
}

GSErrCode OChannel::WriteBin(const char* source, USize size)
{
	return Put(source, size);
}

template <typename T> GSErrCode IChannel::ReadFixed(T& value)
{
	using Bits = typename UnsignedOfSize<sizeof(T)>::Type;
	unsigned char bytes[sizeof(T)];
	if (Take(bytes, sizeof(T)) != NoError)
		return status;
	Bits bits = 0;
	for (std::size_t i = 0; i < sizeof(T); ++i)
		bits = static_cast<Bits>(bits | static_cast<Bits>(static_cast<Bits>(bytes[i]) << (8 * i)));
	value = BitCast<T>(bits);
	return status;
}

GSErrCode IChannel::Take(void* destination, USize size)
{
	if (status == NoError && size > 0)
		status = TakeBytes(static_cast<char*>(destination), size);
	return status;
}

GSErrCode IChannel::KeepFirstError(GSErrCode code)
{
	if (status == NoError)
		status = code;
	return status;
}

GSErrCode IChannel::Read(bool& value)
{
	// Any non-zero byte is true; the byte itself is never loaded as a bool.
	UInt8 byte = 0;
	if (ReadFixed(byte) == NoError)
		value = byte != 0;
	return status;
}

GSErrCode IChannel::Read(Int16& value)
{
	return ReadFixed(value);
}

GSErrCode IChannel::Read(UInt16& value)
{
	return ReadFixed(value);
}

GSErrCode IChannel::Read(Int32& value)
{
	return ReadFixed(value);
}

GSErrCode IChannel::Read(UInt32& value)
{
	return ReadFixed(value);
}

GSErrCode IChannel::Read(double& value)
{
	return ReadFixed(value);
}

GSErrCode IChannel::Read(UniString& value)
{
	UInt32 length = 0;
	if (ReadFixed(length) != NoError)
		return status;
	// Checked before allocating, so that a damaged count cannot claim gigabytes.
	if (length > RemainingBytes() / sizeof(UniChar))
		return KeepFirstError(ErrRead);
	std::u16string units(length, u'\0');
	for (UniChar& unit : units)
		ReadFixed(unit);
	if (status == NoError)
		value = UniString(units.data(), length);
	return status;
}

GSErrCode IChannel::Read(Guid& value)
{
	Guid read;
	ReadFixed(read.data1);
	ReadFixed(read.data2);
	ReadFixed(read.data3);
	if (Take(read.data4, sizeof(read.data4)) == NoError)
		value = read;
	return status;
}

GSErrCode IChannel::ReadBin(char* destination, USize size)
{
	return Take(destination, size);
}

OutputFrame::OutputFrame(OChannel& channel, const ClassInfo& classInfo)
{
	channel.Write(FrameMagic);
	channel.Write(NameLength(classInfo));
	channel.WriteBin(classInfo.name, NameLength(classInfo));
	channel.Write(classInfo.mainVersion);
	channel.Write(classInfo.minorVersion);
	status = channel.GetOutputStatus();
}

InputFrame::InputFrame(IChannel& channel, const ClassInfo& classInfo)
{
	if (!FrameHeaderMatches(channel, classInfo))
		channel.KeepFirstError(ErrRead);
	status = channel.GetInputStatus();
}

GSErrCode MemoryOChannel32::PutBytes(const char* source, USize size)
{
	if (size > MaxUSize - bytes.size())
		return ErrWrite;
	bytes.insert(bytes.end(), source, source + size);
	return NoError;
}

GSErrCode MemoryIChannel32::TakeBytes(char* destination, USize count)
{
	if (count > RemainingBytes())
		return ErrRead;
	std::memcpy(destination, source + position, count);
	position += count;
	return NoError;
}

} // namespace GS
