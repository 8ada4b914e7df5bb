// The progress of a long step, told at most once a second so that a user
// covering a large project sees it move.
#pragma once

#include <condition_variable>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>

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

// Tells, while it lives, how long a step that counts nothing has run, from a
// thread of its own that reads the clock and writes the line and nothing else.
class ElapsedTicker {
public:
	ElapsedTicker(std::string what, Clock clock, std::ostream& out);
	~ElapsedTicker();
	ElapsedTicker(const ElapsedTicker&) = delete;
	ElapsedTicker& operator=(const ElapsedTicker&) = delete;

private:
	void Tick();

	std::string what;
	ProgressLine line;
	std::mutex mutex;
	std::condition_variable wake;
	bool stopped = false;
	std::thread thread; // started last, once the rest is set
};

} // namespace Runner
