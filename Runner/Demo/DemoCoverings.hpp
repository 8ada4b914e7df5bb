// The add-on side of the demo: covering settings filled the way the palette
// fills them, and the covering of one zone by the engine.
#pragma once

#include <string>

#include "CoveringSettings.hpp"
#include "Demo.hpp"

namespace Demo {

// Every covering kind switched on: wall coverings from the named favorite, the
// other kinds from the host's tool defaults, the holes with the default
// library parts of the door and window tools.
CoveringSettings CoveringSettingsForRun(const std::string& wallFavorite, const API_Guid& timestampProperty);

Runner::ZoneOutcome CoverZone(const Runner::LoadedZone& zone, const CoveringSettings& settings,
                              const GS::UniString& timestamp);

} // namespace Demo
