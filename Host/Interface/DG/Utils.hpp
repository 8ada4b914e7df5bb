// Helpers of the host's dialog library.
#pragma once

#include "DG/Items.hpp"

namespace DG::Utils {

// Places the dialog beside the item; alignment 0 puts it below and left-aligned.
void PlaceDialogNextToItem(const Dialog* dialog, const Item* item, short alignment);

} // namespace DG::Utils
