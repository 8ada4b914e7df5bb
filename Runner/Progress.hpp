// The progress of a run over many zones, told at most once a second so that
// a user covering a large project sees it move.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>

namespace Runner {

// Seconds from a fixed start.
using Clock = std::function<double()>;
double SteadySeconds();

class ProgressLine {
public:
	ProgressLine(std::size_t total, Clock clock, std::ostream& out);

	// Prints "Covered D of T zones, S s elapsed" when a second has passed since
	// the start or the last line.
	void Done(std::size_t done);

private:
	std::size_t total;
	Clock clock;
	std::ostream& out;
	double start;
	double lastLine;
};

} // namespace Runner
