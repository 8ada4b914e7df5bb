// The progress of a long step, told at most once a second so that a user
// covering a large project sees it move.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace Runner {

// Seconds from a fixed start.
using Clock = std::function<double()>;
double SteadySeconds();

class ProgressLine {
public:
	ProgressLine(Clock clock, std::ostream& out);

	// True when a second has passed since the start or the last line.
	bool Due();
	// Prints "<what>, S s elapsed", as of the last Due, and starts the next second.
	void Tell(const std::string& what);

private:
	Clock clock;
	std::ostream& out;
	double start;
	double lastLine;
	double now;
};

} // namespace Runner
