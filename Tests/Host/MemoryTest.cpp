#include <gtest/gtest.h>

#include <cstring>

#include "API/Grouping.hpp"
#include "API/LibraryParts.hpp"
#include "FaultControl.hpp"
#include "GS/Memory.hpp"
#include "HostControl.hpp"

namespace {

TEST(Memory, HandlesAreCountedUntilKilled)
{
	Int32 before = HostControl::LiveHandleCount();
	GSHandle cleared = BMAllocateHandle(16, ALLOCATE_CLEAR, 0);
	ASSERT_NE(cleared, nullptr);
	EXPECT_EQ(BMGetHandleSize(cleared), 16);
	for (int i = 0; i < 16; ++i)
		EXPECT_EQ((*cleared)[i], 0);

	GSHandle copy = nullptr;
	EXPECT_EQ(BMHandleToHandle(cleared, &copy), NoError);
	EXPECT_EQ(HostControl::LiveHandleCount(), before + 2);

	BMKillHandle(&cleared);
	BMKillHandle(&copy);
	EXPECT_EQ(cleared, nullptr);
	EXPECT_EQ(HostControl::LiveHandleCount(), before);
}

TEST(Memory, NullHandleCopiesAsNull)
{
	GSHandle copy = reinterpret_cast<GSHandle>(&copy);
	EXPECT_EQ(BMHandleToHandle(nullptr, &copy), NoError);
	EXPECT_EQ(copy, nullptr);
}

TEST(Memory, PointersAreCountedUntilKilled)
{
	Int32 before = HostControl::LivePointerCount();
	GSPtr block = BMAllocatePtr(24, ALLOCATE_CLEAR, 0);
	ASSERT_NE(block, nullptr);
	EXPECT_EQ(BMGetPtrSize(block), 24);
	EXPECT_EQ(HostControl::LivePointerCount(), before + 1);
	BMKillPtr(&block);
	EXPECT_EQ(HostControl::LivePointerCount(), before);
}

TEST(Memory, HandedOutLocationsAreCountedUntilDeleted)
{
	HostControl::ResetHost();
	Int32 before = HostControl::LivePointerCount();
	API_LibPart part;
	std::memset(static_cast<void*>(&part), 0, sizeof(part));
	part.index = 1;
	ASSERT_EQ(ACAPI_LibraryPart_Get(&part), NoError);
	EXPECT_EQ(HostControl::LivePointerCount(), before + 1);
	IO::Location copy = *part.location;
	EXPECT_EQ(copy.ToDisplayText(), GS::UniString("Default Library/Door"));
	delete part.location;
	EXPECT_EQ(HostControl::LivePointerCount(), before) << "a copy is the receiver's own";
}

TEST(Faults, NthCallOfANamedFunctionFailsOnce)
{
	HostControl::ResetCallCounts();
	HostControl::FailCall("BMAllocateHandle", 2, ErrMemoryFull);
	GSHandle first = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
	GSHandle second = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
	GSHandle third = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
	EXPECT_NE(first, nullptr);
	EXPECT_EQ(second, nullptr);
	EXPECT_NE(third, nullptr);
	EXPECT_EQ(HostControl::CallCount("BMAllocateHandle"), 3u);
	BMKillHandle(&first);
	BMKillHandle(&third);
}

TEST(Faults, NthCallOfAnyFunctionFails)
{
	HostControl::ResetCallCounts();
	HostControl::FailAnyCall(2, ErrMemoryFull);
	GSHandle handle = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
	GSPtr pointer = BMAllocatePtr(4, ALLOCATE_CLEAR, 0);
	EXPECT_NE(handle, nullptr);
	EXPECT_EQ(pointer, nullptr);
	EXPECT_EQ(HostControl::TotalCallCount(), 2u);
	BMKillHandle(&handle);
}

// Once memory runs out it stays out, for every kind of memory call and for
// them only, until the faults are cleared.
TEST(Faults, MemoryRunsOutFromTheNthMemoryCallOn)
{
	HostControl::ResetCallCounts();
	HostControl::FailMemoryFrom(2);
	GSHandle first = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
	bool suspended = false;
	EXPECT_EQ(ACAPI_View_IsSuspendGroupOn(&suspended), NoError) << "other calls are not memory calls";
	GSHandle copy = reinterpret_cast<GSHandle>(&copy);
	GSPtr pointer = BMAllocatePtr(4, ALLOCATE_CLEAR, 0);
	EXPECT_EQ(BMHandleToHandle(first, &copy), ErrMemoryFull);
	EXPECT_EQ(BMPtrToHandle("abcd", &copy, 4), ErrMemoryFull);
	EXPECT_EQ(BMReallocHandle(first, 8, 0, 0), nullptr);
	EXPECT_NE(first, nullptr);
	EXPECT_EQ(pointer, nullptr);
	EXPECT_EQ(copy, nullptr);
	EXPECT_EQ(HostControl::MemoryCallCount(), 5u);
	HostControl::ClearFaults();
	GSHandle later = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
	EXPECT_NE(later, nullptr);
	BMKillHandle(&first);
	BMKillHandle(&later);
}

} // namespace
