#include "ElementReading.hpp"

#include <cstring>

ErrCode ReadElement(API_ElemTypeID type, const API_Guid& guid, API_Element& element)
{
	std::memset(&element, 0, sizeof(element));
	element.header.type = {type, APIVarId_Generic, APINULLGuid};
	element.header.guid = guid;
	return ACAPI_Element_Get(&element, 0);
}
