// The zones of the user's selection.
#pragma once

#include "API/Guid.hpp"
#include "GS/Array.hpp"

// Appends the selected zones in selection order; false, after telling the
// user, when no zone is selected.
bool GetRoomsFromSelection(GS::Array<API_Guid>& rooms);
