// Teamwork: a shared project, where each element is free, in the user's
// workspace or held by another user, and the user reserves what they change.
#pragma once

#include "API/ElementFunctions.hpp"
#include "GS/HashTable.hpp"

// The filter that passes the elements in the user's own workspace; in a solo
// project every element is.
constexpr API_ElemFilterFlags APIFilt_InMyWorkspace = 16;

// Whether the project is shared.
bool ACAPI_Teamwork_HasConnection();

// Whether the element passes every filter of filterBits; false for an element
// the project does not hold.
bool ACAPI_Element_Filter(const API_Guid& guid, API_ElemFilterFlags filterBits,
                          API_ElemVariationID variationID = APIVarId_Generic,
                          const API_Guid& renovationFilterGuid = APINULLGuid);

// Reserves the free elements of the list for the user; those held by another
// user stay theirs and, when conflicts is given, are entered there. Succeeds
// even when some stay unreserved. APIERR_NOTEAMWORKPROJECT in a solo project.
GSErrCode ACAPI_Teamwork_ReserveElements(const GS::Array<API_Guid>& elements, GS::HashTable<API_Guid, short>* conflicts,
                                         bool withDialog = false);
