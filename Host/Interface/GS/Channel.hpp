// Binary channels of the host's base library. Every value goes through a typed
// call; the encoding is the stand-in's own, the same for writing and reading:
// little-endian fixed widths, a bool as one byte, a double as its 8 bytes, a
// text as a UInt32 unit count and its UTF-16 units, a GUID as its 16 bytes.
// A channel keeps the first error as its status: once a call has failed, every
// later call fails with it and writes or reads nothing.
#pragma once

#include <vector>

#include "GS/Guid.hpp"
#include "GS/Types.hpp"
#include "GS/UniString.hpp"

namespace GS {

// Identifies the kind of a framed block (an array, for example).
struct ClassInfo {
	const char* name;
	UInt16 mainVersion;
	UInt16 minorVersion;
};

namespace ArrayPrivate {
extern const ClassInfo classInfo;
}

class OChannel {
public:
	virtual ~OChannel() = default;

	GSErrCode Write(bool value);
	GSErrCode Write(Int16 value);
	GSErrCode Write(UInt16 value);
	GSErrCode Write(Int32 value);
	GSErrCode Write(UInt32 value);
	GSErrCode Write(double value);
	GSErrCode Write(const UniString& value);
	GSErrCode Write(const Guid& value);
	// A narrow text would otherwise be written as a bool.
	GSErrCode Write(const char* value) = delete;
	GSErrCode WriteBin(const char* source, USize size);

	GSErrCode GetOutputStatus() const { return status; }

protected:
	// Appends raw bytes; returns a non-zero code when the sink refuses them.
	virtual GSErrCode PutBytes(const char* source, USize size) = 0;

private:
	template <typename T> GSErrCode WriteFixed(T value);
	GSErrCode Put(const void* source, USize size);

	GSErrCode status = NoError;
};

class IChannel {
public:
	virtual ~IChannel() = default;

	// A failed read leaves the target as it was.
	GSErrCode Read(bool& value);
	GSErrCode Read(Int16& value);
	GSErrCode Read(UInt16& value);
	GSErrCode Read(Int32& value);
	GSErrCode Read(UInt32& value);
	GSErrCode Read(double& value);
	GSErrCode Read(UniString& value);
	GSErrCode Read(Guid& value);
	GSErrCode ReadBin(char* destination, USize size);

	GSErrCode GetInputStatus() const { return status; }

protected:
	// Takes exactly size bytes, or fails without taking any.
	virtual GSErrCode TakeBytes(char* destination, USize size) = 0;
	// Bytes still available; bounds what a length field may claim.
	virtual USize RemainingBytes() const = 0;

private:
	friend class InputFrame;

	template <typename T> GSErrCode ReadFixed(T& value);
	GSErrCode Take(void* destination, USize size);
	// Keeps the first error as the status and answers the status.
	GSErrCode KeepFirstError(GSErrCode code);

	GSErrCode status = NoError;
};

// Writes a frame header (a magic word, the class name and both versions); the
// framed content follows it on the channel.
class OutputFrame {
public:
	OutputFrame(OChannel& channel, const ClassInfo& classInfo);
	GSErrCode GetStatus() const { return status; }

private:
	GSErrCode status;
};

// Reads and checks a frame header: another magic word, class name or version
// is a read error of the channel.
class InputFrame {
public:
	InputFrame(IChannel& channel, const ClassInfo& classInfo);
	GSErrCode GetStatus() const { return status; }

private:
	GSErrCode status;
};

class MemoryOChannel32 : public OChannel {
public:
	const char* GetDestination() const { return bytes.data(); }
	USize GetDataSize() const { return static_cast<USize>(bytes.size()); }

protected:
	// Refuses (ErrWrite) what would make the content larger than a USize.
	GSErrCode PutBytes(const char* source, USize size) override;

private:
	std::vector<char> bytes;
};

// Reads from a buffer that the caller keeps alive; never past its end.
class MemoryIChannel32 : public IChannel {
public:
	MemoryIChannel32(const char* source, USize size) : source(source), size(size) {}

protected:
	GSErrCode TakeBytes(char* destination, USize count) override;
	USize RemainingBytes() const override { return size - position; }

private:
	const char* source;
	USize size;
	USize position = 0;
};

} // namespace GS
