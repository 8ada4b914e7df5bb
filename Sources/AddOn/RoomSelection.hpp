// The zones of the user's selection.
#pragma once

#include "API/Guid.hpp"
#include "ErrorCodes.hpp"
#include "GS/Array.hpp"

// Appends the selected zones in selection order, passing over elements whose
// type the host cannot tell; false, after telling the user, when no zone is
// selected. False with the host's error and no alert when the selection
// itself cannot be read, so that a command never runs on part of what the
// user selected and reports success.
bool GetRoomsFromSelection(GS::Array<API_Guid>& rooms, ErrCode& readError);
