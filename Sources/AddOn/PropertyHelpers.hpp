// The element properties that the add-on itself writes: the built-in
// ElementID and the user's timestamp property.
#pragma once

#include "API/Properties.hpp"
#include "ErrorCodes.hpp"

// The GUID of the built-in "ElementID" property; COVERR_PROPERTY_ELEMENTID
// when the host has none.
ErrCode GetElemIdPropertyGuid(API_Guid& guid);

// Writes text into the string property of each element that has it; a null
// property writes nothing. Stops at the first other failure.
ErrCode SetTimestampProperty(const GS::Array<API_Guid>& elements, API_Guid property, const GS::UniString& text);
