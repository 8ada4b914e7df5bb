// A test that starts from an empty host project and checks, when it ends,
// that everything it allocated through the host was released again and that
// the host has nothing to complain of.
#pragma once

#include <gtest/gtest.h>

#include "AddOnControl.hpp"
#include "HostControl.hpp"

class HostTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		HostControl::ResetHost();
		handlesBefore = HostControl::LiveHandleCount();
		pointersBefore = HostControl::LivePointerCount();
	}

	void TearDown() override
	{
		EXPECT_EQ(HostControl::LiveHandleCount(), handlesBefore) << "memory handles leaked";
		EXPECT_EQ(HostControl::LivePointerCount(), pointersBefore) << "pointer blocks leaked";
		EXPECT_EQ(HostControl::TakeComplaints(), std::vector<std::string>()) << "the host's complaints";
	}

private:
	Int32 handlesBefore = 0;
	Int32 pointersBefore = 0;
};
