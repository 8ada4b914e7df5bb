// Add-on objects: named blocks of bytes that an add-on keeps in a project.
// Client-only objects belong to the user's copy of the project: they need no
// undoable command and no reservation, and undo leaves them alone.
#pragma once

#include "API/Errors.hpp"
#include "API/Guid.hpp"
#include "GS/UniString.hpp"

// The GUID of the client-only object of that name; without one, the GUID is
// set to null and APIERR_BADNAME returned.
GSErrCode ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName(const GS::UniString& objectName, API_Guid* objectGuid);
// The object's name and a copy of its content in a new handle that the caller
// kills (null when the object holds none); either output may be null.
GSErrCode ACAPI_AddOnObject_GetObjectContent(const API_Guid& objectGuid, GS::UniString* objectName, GSHandle* content);
// A new client-only object holding a copy of the content; APIERR_BADPARS for
// no content, APIERR_NAMEALREADYUSED when the name is taken.
GSErrCode ACAPI_AddOnObject_CreateClientOnlyObject(const GS::UniString& objectName, GSConstHandle content,
                                                   API_Guid* objectGuid);
// Renames the object (a null name keeps it) and replaces its content with a
// copy of the new one; APIERR_BADPARS for no content.
GSErrCode ACAPI_AddOnObject_ModifyObject(const API_Guid& objectGuid, const GS::UniString* newName,
                                         GSConstHandle newContent);
