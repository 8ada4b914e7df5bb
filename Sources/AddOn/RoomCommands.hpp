// The three room commands behind the palette's buttons. Each takes the
// selected zones, secures them in a shared project, and runs the engine once
// per zone inside one undoable command.
#pragma once

#include "CoveringSettings.hpp"
#include "ErrorCodes.hpp"

// Adds coverings to the selected zones; ends with the summary when settings ask for it.
ErrCode AddVelmora(const CoveringSettings& settings);
// Re-fits the coverings of the selected zones to the model as it stands.
ErrCode UpdateVelmora(const CoveringSettings& settings);
// Removes the coverings of the selected zones; the caller shows a failure.
ErrCode RemoveCoveringsFromSelectedRooms();
