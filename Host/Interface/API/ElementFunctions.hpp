// Reading, creating, changing and deleting elements, their links and their
// add-on data.
#pragma once

#include "API/Errors.hpp"
#include "API/Memo.hpp"
#include "GS/Array.hpp"

GSErrCode ACAPI_Element_Get(API_Element* element, UInt32 mask = 0);
GSErrCode ACAPI_Element_GetMemo(const API_Guid& guid, API_ElementMemo* memo, UInt64 mask = APIMemoMask_All);
// Creates the element; its new GUID is written into element->header.guid.
// The memo's parts are copied; the caller keeps ownership.
GSErrCode ACAPI_Element_Create(API_Element* element, API_ElementMemo* memo);
// Changes exactly the fields whose mask bytes are set, and the memo parts of memoMask.
GSErrCode ACAPI_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                               UInt64 memoMask, bool withDel);
GSErrCode ACAPI_Element_Delete(const GS::Array<API_Guid>& elements);

using API_ElemFilterFlags = UInt32;
GSErrCode ACAPI_Element_GetElemList(const API_ElemType& type, GS::Array<API_Guid>* elements,
                                    API_ElemFilterFlags filterBits = 0,
                                    const API_Guid& renovationFilterGuid = APINULLGuid);

// Directed links between elements, each with a 32-bit flag word.
GSErrCode ACAPI_ElementLink_Link(const API_Guid& from, const API_Guid& to, UInt32 flags);
GSErrCode ACAPI_ElementLink_Unlink(const API_Guid& from, const API_Guid& to);
GSErrCode ACAPI_ElementLink_GetLinks(const API_Guid& from, GS::Array<API_Guid>* to);
GSErrCode ACAPI_ElementLink_GetLinkFlags(const API_Guid& from, const API_Guid& to, UInt32* flags);

// An add-on's own data on an element.
struct API_UserData {
	Int16 dataVersion;
	UInt16 platformSign;
	UInt32 flags;
	Int32 filler_1[2];
	GSHandle dataHdl;
};

// Stores a copy of the payload; the caller keeps its handle.
GSErrCode ACAPI_Element_SetUserData(API_Elem_Head* head, const API_UserData* userData);
// Hands back a new payload handle that the caller releases; APIERR_NOUSERDATA when there is none.
GSErrCode ACAPI_Element_GetUserData(API_Elem_Head* head, API_UserData* userData, UInt32 mask = 0);
