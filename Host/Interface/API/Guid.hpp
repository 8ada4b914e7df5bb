// API_Guid: the identifier of every element and property of the host's model.
#pragma once

#include <cstring>
#include <functional>

#include "GS/Guid.hpp"

struct API_Guid {
	UInt32 time_low;
	UInt16 time_mid;
	UInt16 time_hi_and_version;
	UInt8 clock_seq[2];
	UInt8 node[6];
};

static_assert(sizeof(API_Guid) == 16, "an API_Guid has the memory image of a GS::Guid");

constexpr API_Guid APINULLGuid = {0, 0, 0, {0, 0}, {0, 0, 0, 0, 0, 0}};

inline bool operator==(const API_Guid& left, const API_Guid& right)
{
	return std::memcmp(&left, &right, sizeof(API_Guid)) == 0;
}
inline bool operator!=(const API_Guid& left, const API_Guid& right)
{
	return !(left == right);
}
inline bool operator<(const API_Guid& left, const API_Guid& right)
{
	return std::memcmp(&left, &right, sizeof(API_Guid)) < 0;
}

inline GS::Guid APIGuid2GSGuid(const API_Guid& guid)
{
	GS::Guid result;
	std::memcpy(static_cast<void*>(&result), &guid, sizeof(API_Guid));
	return result;
}
inline API_Guid GSGuid2APIGuid(const GS::Guid& guid)
{
	API_Guid result;
	std::memcpy(static_cast<void*>(&result), &guid, sizeof(API_Guid));
	return result;
}
inline API_Guid APIGuidFromString(const char* text)
{
	return GSGuid2APIGuid(GS::Guid(text));
}
inline GS::UniString APIGuidToString(const API_Guid& guid)
{
	return APIGuid2GSGuid(guid).ToUniString();
}

template <> struct std::hash<API_Guid> {
	std::size_t operator()(const API_Guid& guid) const { return std::hash<GS::Guid>()(APIGuid2GSGuid(guid)); }
};
