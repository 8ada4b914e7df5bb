#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "Progress.hpp"

namespace {

TEST(ProgressLine, TellsAtMostOnceASecond)
{
	struct Case {
		std::vector<double> finishedAt; // seconds after the start, one per zone
		const char* printed;
	};
	const Case cases[] = {
	    {{0.2, 0.5, 0.99}, ""},
	    {{0.5, 1.0, 1.5, 1.9, 2.0}, "Covered 2 of 5 zones, 1 s elapsed\nCovered 5 of 5 zones, 2 s elapsed\n"},
	    {{3.7, 3.8, 4.6, 4.7}, "Covered 1 of 4 zones, 3 s elapsed\nCovered 4 of 4 zones, 4 s elapsed\n"},
	};
	for (const Case& c : cases) {
		double now = 50.0;
		std::ostringstream out;
		Runner::ProgressLine progress(
		    c.finishedAt.size(), [&] { return now; }, out);
		for (std::size_t i = 0; i < c.finishedAt.size(); ++i) {
			now = 50.0 + c.finishedAt[i];
			progress.Done(i + 1);
		}
		EXPECT_EQ(out.str(), c.printed);
	}
}

} // namespace
