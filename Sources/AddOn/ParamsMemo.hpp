// The library-part parameters of a door-hole or window-hole setting, held in a
// host element memo of which only the parameter list is used. The memo's owner
// releases it; copying goes through DeepCopy so that no handle is ever shared.
#pragma once

#include "API/Memo.hpp"
#include "GS/Channel.hpp"

struct ParamsMemo {
	API_ElementMemo elementMemo = {};

	// Replaces the parameters by a copy of params in which no handle is shared.
	GSErrCode DeepCopy(API_AddParType** params);
	// Reads the parameter part of a stored element-settings block.
	GSErrCode ReadParams(GS::IChannel& channel);
};
