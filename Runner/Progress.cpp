#include "Progress.hpp"

#include <chrono>
#include <cmath>
#include <ostream>

namespace Runner {

double SteadySeconds()
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

ProgressLine::ProgressLine(Clock clock, std::ostream& out)
    : clock(std::move(clock)), out(out), start(this->clock()), lastLine(start), now(start)
{
}

bool ProgressLine::Due()
{
	now = clock();
	return now - lastLine >= 1.0;
}

void ProgressLine::Tell(const std::string& what)
{
	lastLine = now;
	out << what << ", " << static_cast<long>(std::floor(now - start)) << " s elapsed" << std::endl;
}

ElapsedTicker::ElapsedTicker(std::string what, Clock clock, std::ostream& out)
    : what(std::move(what)), line(std::move(clock), out), thread(&ElapsedTicker::Tick, this)
{
}

ElapsedTicker::~ElapsedTicker()
{
	{
		std::lock_guard<std::mutex> lock(mutex);
		stopped = true;
	}
	wake.notify_one();
	thread.join();
}

void ElapsedTicker::Tick()
{
	// The clock may be another than the wait's: the line is told by the clock.
	std::unique_lock<std::mutex> lock(mutex);
	while (!wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return stopped; })) {
		if (line.Due())
			line.Tell(what);
	}
}

} // namespace Runner
