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

} // namespace Runner
