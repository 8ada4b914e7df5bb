#include "IO/Location.hpp"
#include "Sim/Control/Faults.hpp"
#include "Sim/GS/Memory.hpp"

namespace IO {

Location::~Location()
{
	Sim::ForgetHandedOut(this);
}

GSErrCode Location::SetLastLocalName(const Name& name)
{
	if (GSErrCode fault = Sim::EnterCall("IO::Location::SetLastLocalName"); fault != NoError)
		return fault;
	GS::Array<GS::UniString> parts;
	path.Split("/", &parts);
	GS::UniString folder;
	for (UIndex i = 0; i + 1 < parts.GetSize(); ++i)
		folder += parts[i] + "/";
	path = folder + name.ToString();
	return NoError;
}

} // namespace IO
