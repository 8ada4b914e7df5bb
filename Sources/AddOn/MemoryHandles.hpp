// Memory handles: the entries a memo-layout handle holds, and handles that
// readers of stored data grow step by step.
#pragma once

#include "GS/Memory.hpp"
#include "GS/Types.hpp"

// Entries of a memo-layout handle beyond its placeholder entries; negative
// when it cannot even hold those. A missing handle holds none.
template <typename T> Int32 EntriesIn(T* const* handle, Int32 placeholders)
{
	if (handle == nullptr)
		return -placeholders;
	return BMGetHandleSize(handle) / static_cast<GSSize>(sizeof(T)) - placeholders;
}

// Makes the handle (allocated when null) hold at least `needed` bytes, at
// least doubling it but never beyond `limit`; new bytes are zero. Readers grow
// their handles as the stream delivers data, so that a damaged size or count
// costs no more memory than the stream really holds. Needs needed <= limit.
GSErrCode ReserveHandleSize(GSHandle& handle, GSSize needed, GSSize limit);
