#include "IO/Location.hpp"
#include "Sim/GS/Memory.hpp"

namespace IO {

Location::~Location()
{
	Sim::ForgetHandedOut(this);
}

} // namespace IO
