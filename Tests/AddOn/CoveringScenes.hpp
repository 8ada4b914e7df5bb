// Rooms, coverings and covering settings shared by the scenario tests of wall
// coverings and their holes.
#pragma once

#include <vector>

#include "CoveringSettings.hpp"
#include "HostControl.hpp"

namespace CoveringScenes {

API_Element Record(const API_Guid& element);

// A covering wall as the add would have placed it; bottom offset 0.1.
API_Guid AddCovering(API_Coord begin, API_Coord end, double arcAngle = 0.0, bool flipped = false);

// Door-hole or window-hole settings from stored values: the tool's library
// part, a parameter memo, and template fields that holes must keep.
ElementCovSettings HoleSettings(API_ElemTypeID type);

// The link targets of the element that carry the flag, in link order.
std::vector<API_Guid> LinkTargets(const API_Guid& from, UInt32 flags);

} // namespace CoveringScenes
