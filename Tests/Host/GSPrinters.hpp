// Readable failure messages for the base library's texts and GUIDs.
#pragma once

#include <ostream>

#include "GS/Guid.hpp"
#include "GS/UniString.hpp"

namespace GS {

inline void PrintTo(const UniString& text, std::ostream* out)
{
	*out << '"' << text.ToCStr().Get() << "\" (" << text.GetLength() << " units)";
}

inline void PrintTo(const Guid& guid, std::ostream* out)
{
	*out << guid.ToUniString().ToCStr().Get();
}

} // namespace GS
