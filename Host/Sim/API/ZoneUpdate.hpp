// The host's zone update after a wall moved: the zones that the wall bounds
// follow it, their outlines and the wall parts of their relations.
#pragma once

#include "Sim/API/Project.hpp"

namespace Sim {

// Moves the wall by the offset, as a user drags it, and updates the zones whose
// relations name it: their edges along its faces move with it, the edges
// beside those keep their lines or circles and are cut or lengthened to meet
// them, and every wall part on an edge that changed is measured again along
// its wall. Where the two no longer meet (a straight face drawn off a curved
// one that it touched), their vertex moves by the offset: a host would make a
// new edge there. APIERR_BADID when the element is no wall.
GSErrCode MoveWall(Project& project, const API_Guid& wall, const API_Coord& offset);

} // namespace Sim
