// The add-on's own resources: string lists by ID and 1-based index.
#pragma once

#include "GS/UniString.hpp"

GSResModule ACAPI_GetOwnResModule();

// An empty text when the list or the index does not exist.
GS::UniString RSGetIndString(GSResID listId, Int32 index, GSResModule module, Int32 stringType = 0);
