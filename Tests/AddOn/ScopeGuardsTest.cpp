#include "ScopeGuards.hpp"
#include "GS/Memory.hpp"
#include "HostTest.hpp"

namespace {

class ScopeGuards : public HostTest {};

GSErrCode LeaveEarly(API_ElementMemo& memo, GSHandle& handle, bool early)
{
	MemoGuard memoGuard(memo);
	HandleGuard<GSHandle> handleGuard(handle);
	memo.coords = reinterpret_cast<API_Coord**>(BMAllocateHandle(16, ALLOCATE_CLEAR, 0));
	if (early)
		return APIERR_GENERAL;
	handle = BMAllocateHandle(8, ALLOCATE_CLEAR, 0);
	return NoError;
}

TEST_F(ScopeGuards, EveryWayOutReleasesWhatTheScopeHoldsThen)
{
	for (bool early : {true, false}) {
		API_ElementMemo memo = {};
		GSHandle handle = nullptr;
		LeaveEarly(memo, handle, early);
		EXPECT_EQ(memo.coords, nullptr);
		EXPECT_EQ(handle, nullptr);
	}
}

} // namespace
