// Reading one element of the model by its GUID.
#pragma once

#include "API/ElementFunctions.hpp"
#include "ErrorCodes.hpp"

// Reads the element into a record that asked for nothing but its type and
// GUID; API_ZombieElemID accepts any type. The host's error is passed on.
ErrCode ReadElement(API_ElemTypeID type, const API_Guid& guid, API_Element& element);
