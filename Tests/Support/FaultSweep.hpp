// Runs an operation once for every host call that it makes, each time with
// that one call failing, on a freshly built project, and checks that the run
// released everything it allocated.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostControl.hpp"
#include "SessionControl.hpp"

struct FaultRun {
	std::string failedCall;             // the host function that failed
	std::vector<std::string> callsMade; // every host call of the run, in order
	UInt32 nth = 0;                     // the failed call's place among them, from 1
};

// setUp builds the scene after a host reset; run performs the operation and
// returns its result; check receives the run and that result. A run with a
// failed call must leave as many memory handles and pointer blocks alive as
// it found. Returns the number of host calls that were failed.
template <typename SetUp, typename Run, typename Check>
UInt32 SweepFaults(GSErrCode code, SetUp setUp, Run run, Check check)
{
	UInt32 failed = 0;
	for (UInt32 nth = 1;; ++nth) {
		HostControl::ResetHost();
		HostControl::OpenUndoScope();
		setUp();
		HostControl::ResetCallCounts();
		HostControl::FailAnyCall(nth, code);
		Int32 handles = HostControl::LiveHandleCount();
		Int32 pointers = HostControl::LivePointerCount();
		auto result = run();
		HostControl::CloseUndoScope();
		std::vector<std::string> calls = HostControl::CallLog();
		if (calls.size() < nth)
			return failed;
		++failed;
		SCOPED_TRACE("failing call " + std::to_string(nth) + ", " + calls[nth - 1]);
		EXPECT_EQ(HostControl::LiveHandleCount(), handles) << "memory handles leaked";
		EXPECT_EQ(HostControl::LivePointerCount(), pointers) << "pointer blocks leaked";
		check(FaultRun{calls[nth - 1], calls, nth}, result);
	}
}
