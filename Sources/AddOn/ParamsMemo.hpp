// The library-part parameters of a door-hole or window-hole setting, held in a
// host element memo of which only the parameter list is used. A ParamsMemo owns
// its handles: copying copies every handle, array values included, and the
// destructor disposes them, so two memos never share a handle.
#pragma once

#include "API/Memo.hpp"
#include "GS/Channel.hpp"

struct ParamsMemo {
	API_ElementMemo elementMemo = {};
	// What the last copy into this memo gave; a copy that ran out of memory holds
	// only part of its source. Copying a record cannot return an error, so the
	// holder of the copy asks here.
	GSErrCode copyResult = NoError;

	ParamsMemo() = default;
	ParamsMemo(const ParamsMemo& source);
	ParamsMemo& operator=(const ParamsMemo& source);
	~ParamsMemo();

	// Replaces the parameters by a copy of params in which no handle is shared;
	// a null params gives a memo without a parameter handle. On a failed copy the
	// memo holds what could be copied and still shares nothing.
	GSErrCode DeepCopy(API_AddParType** params);
	// Writes the parameter part of an element-settings block: the record count,
	// then each record.
	GSErrCode WriteParams(GS::OChannel& channel) const;
	// Reads the parameter part of a stored element-settings block.
	GSErrCode ReadParams(GS::IChannel& channel);

	// The whole records in the parameter handle.
	USize GetParamCount() const;
	// Disposes every handle of the memo and clears it, its copy result too.
	void Dispose();
};
