// Sample settings and library-part parameters for the settings tests.
#pragma once

#include <vector>

#include "CoveringSettings.hpp"
#include "HostControl.hpp"

namespace SettingsSamples {

API_AddParType ParamRecord(Int32 typeID, Int16 typeMod);
HostControl::Param RealParam(API_AddParID typeID, double value);
HostControl::Param TextParam(API_AddParID typeID, const GS::UniString& text);
HostControl::Param ArrayParam(API_AddParID typeID, std::vector<char> bytes);
// A real, an integer, a text, a separator and two array parameters.
std::vector<HostControl::Param> MixedParams();
// How many array value handles the params hold.
Int32 ArrayValueCount(const std::vector<HostControl::Param>& params);

// Replaces the memo's parameters by the samples, each array value in a handle of its own.
void FillParams(ParamsMemo& memo, const std::vector<HostControl::Param>& params);

API_Property SampleProperty();
API_ElemCategoryValue SampleCategoryValue();
// Every field away from the defaults, with parameters for the door holes and a
// present memo without a parameter handle for the window holes.
CoveringSettings RichSettings();

std::vector<char> Bytes(const GS::MemoryOChannel32& channel);

} // namespace SettingsSamples
