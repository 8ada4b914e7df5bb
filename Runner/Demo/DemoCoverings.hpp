// The add-on side of the runner: what a zone's coverings are, read through the
// host's interface; and, for tests and benchmarks that run the engine alone,
// covering settings filled the way the palette fills them and the covering of
// one zone.
#pragma once

#include <string>

#include "CoveringSettings.hpp"
#include "Demo.hpp"

namespace Demo {

// Every covering kind switched on: wall coverings from the named favorite, the
// other kinds from the host's tool defaults, the holes with the default
// library parts of the door and window tools.
CoveringSettings CoveringSettingsForRun(const std::string& wallFavorite, const API_Guid& timestampProperty);

// What the zone's links show that it has: its wall coverings with their holes,
// column coverings, ceiling and floor.
Runner::ZoneOutcome DescribeZone(const Runner::LoadedZone& zone);

// Adds the zone's coverings with the engine alone, outside any room command.
Runner::ZoneOutcome CoverZone(const Runner::LoadedZone& zone, const CoveringSettings& settings,
                              const GS::UniString& timestamp);

} // namespace Demo
