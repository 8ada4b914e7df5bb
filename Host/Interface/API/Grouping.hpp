// Element groups and the suspension of grouping.
#pragma once

#include "API/Elements.hpp"
#include "API/Errors.hpp"
#include "GS/Array.hpp"

using API_ToolCmdID = UInt32;
// Toggles the suspension of groups: while suspended, grouped elements act alone.
constexpr API_ToolCmdID APITool_SuspendGroups = 0x53555350;

GSErrCode ACAPI_View_IsSuspendGroupOn(bool* isSuspended);
GSErrCode ACAPI_Grouping_Tool(const GS::Array<API_Guid>& elements, API_ToolCmdID command, void* parameter);
GSErrCode ACAPI_Grouping_CreateGroup(const GS::Array<API_Guid>& elements, API_Guid* groupGuid = nullptr,
                                     const API_Guid* parentGroupGuid = nullptr);
