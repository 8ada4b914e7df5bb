// Element records as the add-on hands them to the host to be read.
#pragma once

#include <cstring>

#include "API/Elements.hpp"

// A record whose every byte is zero but for the element's type and GUID.
inline API_Element ElementToRead(API_ElemTypeID type, const API_Guid& guid)
{
	API_Element element;
	std::memset(static_cast<void*>(&element), 0, sizeof(element));
	element.header.type.typeID = type;
	element.header.guid = guid;
	return element;
}
