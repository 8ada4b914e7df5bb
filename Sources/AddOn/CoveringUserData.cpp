// The records on zones and coverings, each in the host's user-data envelope:
// version 1 under the platform sign "mm", with a small payload of its own.
#include <cstring>

#include "CoveringIdentity.hpp"
#include "GS/Memory.hpp"
#include "GS/PlatformSign.hpp"
#include "ScopeGuards.hpp"

namespace {

constexpr Int16 recordVersion = 1;
constexpr GS::PlatformSign recordSign = GS::Mactel_Platform_Sign;

constexpr GSSize zonePayloadSize = 2;
constexpr GSSize coveringPayloadSize = 4;
constexpr GSSize slabPayloadSize = 1;

API_Elem_Head HeadOf(const API_Guid& element)
{
	API_Elem_Head head = {};
	head.guid = element;
	return head;
}

API_UserData Envelope(GSHandle payload)
{
	API_UserData record = {};
	record.dataVersion = recordVersion;
	record.platformSign = recordSign;
	record.dataHdl = payload;
	return record;
}

// The payload handle of a record read back, released on every path.
class ReadRecord {
public:
	ReadRecord() : record{} {}
	~ReadRecord() { BMKillHandle(&record.dataHdl); }
	ReadRecord(const ReadRecord&) = delete;
	ReadRecord& operator=(const ReadRecord&) = delete;

	// The host's error as it is; COVERR_USERDATA for a record without a
	// payload, of another version, or shorter than payloadSize.
	ErrCode Read(API_Elem_Head& head, GSSize payloadSize)
	{
		if (ErrCode error = ACAPI_Element_GetUserData(&head, &record, 0); error != NoError)
			return error;
		if (record.dataHdl == nullptr || record.dataVersion != recordVersion ||
		    BMGetHandleSize(record.dataHdl) < payloadSize)
			return COVERR_USERDATA;
		return NoError;
	}

	bool Switch(UIndex byte) const
	{
		bool value = (*record.dataHdl)[byte] != 0;
		if (record.platformSign != recordSign)
			IVBool(record.platformSign, &value);
		return value;
	}

	UInt32 Number() const
	{
		UInt32 value = 0;
		std::memcpy(&value, *record.dataHdl, sizeof(value));
		if (record.platformSign != recordSign)
			IVULong(record.platformSign, &value);
		return value;
	}

private:
	API_UserData record;
};

template <typename Fill> ErrCode StoreRecord(API_Elem_Head& head, GSSize payloadSize, Fill fill)
{
	GSHandle payload = BMAllocateHandle(payloadSize, ALLOCATE_CLEAR, 0);
	if (payload == nullptr)
		return APIERR_MEMFULL;
	HandleGuard<GSHandle> releasePayload(payload);
	fill(*payload);
	API_UserData record = Envelope(payload);
	return ACAPI_Element_SetUserData(&head, &record);
}

} // namespace

ErrCode SaveZoneElementUserData(API_Elem_Head& zoneHead, bool doorHolesEnabled, bool windowHolesEnabled)
{
	return StoreRecord(zoneHead, zonePayloadSize, [&](char* bytes) {
		bytes[0] = doorHolesEnabled ? 1 : 0;
		bytes[1] = windowHolesEnabled ? 1 : 0;
	});
}

ErrCode GetZoneElementUserData(API_Elem_Head& zoneHead, bool& doorHolesEnabled, bool& windowHolesEnabled)
{
	ReadRecord record;
	ErrCode error = record.Read(zoneHead, zonePayloadSize);
	if (error == APIERR_NOUSERDATA) {
		doorHolesEnabled = true;
		windowHolesEnabled = true;
		return NoError;
	}
	if (error != NoError)
		return error;
	doorHolesEnabled = record.Switch(0);
	windowHolesEnabled = record.Switch(1);
	return NoError;
}

ErrCode SaveSlabElementUserData(API_Elem_Head& slabHead, bool insets)
{
	return StoreRecord(slabHead, slabPayloadSize, [&](char* bytes) { bytes[0] = insets ? 1 : 0; });
}

ErrCode GetSlabElementUserData(API_Elem_Head& slabHead, bool& insets)
{
	ReadRecord record;
	ErrCode error = record.Read(slabHead, slabPayloadSize);
	if (error == APIERR_NOUSERDATA) {
		insets = false;
		return NoError;
	}
	if (error != NoError)
		return error;
	insets = record.Switch(0);
	return NoError;
}

CoveringNumberWriter::CoveringNumberWriter() : payload(BMAllocateHandle(coveringPayloadSize, ALLOCATE_CLEAR, 0)) {}

CoveringNumberWriter::~CoveringNumberWriter()
{
	BMKillHandle(&payload);
}

ErrCode CoveringNumberWriter::Status() const
{
	return payload == nullptr ? APIERR_MEMFULL : NoError;
}

ErrCode CoveringNumberWriter::Store(const API_Guid& covering, UInt32 value)
{
	if (payload == nullptr)
		return APIERR_MEMFULL;
	std::memcpy(*payload, &value, sizeof(value));
	API_Elem_Head head = HeadOf(covering);
	API_UserData record = Envelope(payload);
	return ACAPI_Element_SetUserData(&head, &record);
}

ErrCode GetCoveringNumber(const API_Guid& covering, UInt32& value)
{
	API_Elem_Head head = HeadOf(covering);
	ReadRecord record;
	if (ErrCode error = record.Read(head, coveringPayloadSize); error != NoError)
		return error;
	value = record.Number();
	return NoError;
}
