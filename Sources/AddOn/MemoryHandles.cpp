#include "MemoryHandles.hpp"

#include <algorithm>

#include "GS/Memory.hpp"

namespace {

constexpr GSSize FirstHandleSize = 4096;

} // namespace

GSErrCode ReserveHandleSize(GSHandle& handle, GSSize needed, GSSize limit)
{
	GSSize size = BMGetHandleSize(handle);
	if (needed <= size)
		return NoError;
	GSSize doubled = size <= limit / 2 ? std::max(2 * size, FirstHandleSize) : limit;
	GSSize grown = std::min(std::max(doubled, needed), limit);
	GSHandle resized = handle == nullptr ? BMAllocateHandle(grown, ALLOCATE_CLEAR, 0)
	                                     : BMReallocHandle(handle, grown, ALLOCATE_CLEAR, 0);
	if (resized == nullptr)
		return ErrMemoryFull;
	handle = resized;
	return NoError;
}
