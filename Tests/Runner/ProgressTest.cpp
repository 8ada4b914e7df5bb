// A step that counts nothing still tells, once a second of its clock, how long it has run.
#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "Progress.hpp"

namespace {

TEST(ElapsedTicker, TellsHowLongTheStepHasRunUntilItEnds)
{
	std::atomic<int> reads{0};
	std::ostringstream out;
	{
		// Each reading of the clock is half a second after the one before.
		Runner::ElapsedTicker ticker(
		    "Drawing the plan", [&] { return 0.5 * reads++; }, out);
		for (int wait = 0; reads < 6 && wait < 10000; ++wait)
			std::this_thread::sleep_for(std::chrono::milliseconds(1));
	}
	EXPECT_EQ(out.str().rfind("Drawing the plan, 1 s elapsed\nDrawing the plan, 2 s elapsed\n", 0), 0u) << out.str();
}

} // namespace
