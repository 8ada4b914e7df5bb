// The covering settings of the running add-on, which the palette owns and
// stores in the project; the room commands reach them only through here.
#pragma once

#include "CoveringSettings.hpp"

CoveringSettings& GetRunningCoveringSettings();
// Writes the running settings into the project's stored palette state.
void StoreRunningCoveringSettings();
