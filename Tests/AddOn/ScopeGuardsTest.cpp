#include "ScopeGuards.hpp"
#include "GS/Memory.hpp"
#include "HostTest.hpp"

namespace {

class ScopeGuards : public HostTest {};

GSErrCode LeaveEarly(API_ElementMemo& memo, GSHandle& handle, int& releases, bool early)
{
	ScopeExit count([&releases] { ++releases; });
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
		int releases = 0;
		LeaveEarly(memo, handle, releases, early);
		EXPECT_EQ(releases, 1);
		EXPECT_EQ(memo.coords, nullptr);
		EXPECT_EQ(handle, nullptr);
	}
}

} // namespace
