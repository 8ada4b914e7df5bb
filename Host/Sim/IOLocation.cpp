#include "IO/Location.hpp"
#include "Memory.hpp"

namespace IO {

Location::~Location()
{
	Sim::ForgetHandedOut(this);
}

} // namespace IO
