#include "Progress.hpp"

#include <chrono>
#include <cmath>
#include <ostream>

namespace Runner {

double SteadySeconds()
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

ProgressLine::ProgressLine(std::size_t total, Clock clock, std::ostream& out)
    : total(total), clock(std::move(clock)), out(out), start(this->clock()), lastLine(start)
{
}

void ProgressLine::Done(std::size_t done)
{
	double now = clock();
	if (now - lastLine < 1.0)
		return;
	lastLine = now;
	out << "Covered " << done << " of " << total << " zones, " << static_cast<long>(std::floor(now - start))
	    << " s elapsed" << std::endl;
}

} // namespace Runner
