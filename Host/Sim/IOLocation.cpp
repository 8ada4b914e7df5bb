#include "IO/Location.hpp"

namespace IO {

GSErrCode Location::SetLastLocalName(const Name& name)
{
	GS::Array<GS::UniString> parts;
	path.Split("/", &parts);
	parts.DeleteLast();
	parts.Push(name.ToString());
	GS::UniString joined;
	for (UIndex i = 0; i < parts.GetSize(); ++i)
		joined += (i == 0 ? GS::UniString() : GS::UniString("/")) + parts[i];
	path = joined;
	return NoError;
}

} // namespace IO
