// Library parts: the objects, doors and windows the project's libraries hold.
#pragma once

#include "API/Memo.hpp"
#include "IO/Location.hpp"

struct API_LibPart {
	Int32 index;       // library index, 1-based
	char ownUnID[128]; // "{main GUID}-{revision GUID}"
	GS::UniChar docu_UName[128];
	IO::Location* location; // handed back by a search; the receiver deletes it
};

// Finds a part by its unique ID text (a null revision matches any revision);
// fills index, unique ID, name and location. APIERR_BADID when there is none.
GSErrCode ACAPI_LibraryPart_Search(API_LibPart* ancestor, bool createIfMissing, bool onlyPlaceable = false);
// Reads a part by its index; fills unique ID, name and location like a search.
GSErrCode ACAPI_LibraryPart_Get(API_LibPart* libPart);
// The part's default parameters in a new handle that the receiver disposes.
GSErrCode ACAPI_LibraryPart_GetParams(Int32 libInd, double* a, double* b, Int32* addParNum, API_AddParType*** addPars);
