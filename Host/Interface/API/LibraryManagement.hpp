// The libraries of the project: folders whose library parts it can use.
#pragma once

#include "API/Errors.hpp"
#include "IO/Location.hpp"

// Adds the folder to the project's libraries (once); APIERR_BADPARS when no
// such folder exists.
GSErrCode ACAPI_LibraryManagement_AddLibraries(IO::Location* folder);
