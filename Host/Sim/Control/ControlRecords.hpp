// The control interface's plain records turned into the stored model, for the
// control functions of every area.
#pragma once

#include "HostControl.hpp"
#include "Sim/API/Project.hpp"

namespace HostControl {

std::optional<Sim::StoredParams> ToStoredParams(const std::optional<std::vector<Param>>& params);
Sim::StoredMemo ToStoredMemo(const MemoParts& memo);
PCC ToControl(const Sim::StoredPCC& pcc);
Sim::StoredPCC ToStored(const PCC& pcc);

} // namespace HostControl
