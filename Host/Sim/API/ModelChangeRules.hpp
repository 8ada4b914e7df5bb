// When the host lets an add-on change the model.
#pragma once

#include <functional>

#include "API/Guid.hpp"
#include "GS/Array.hpp"
#include "GS/UniString.hpp"
#include "Sim/API/ElementSettings.hpp"

namespace Sim {

// Every model change (create, change, delete, links, element data, property
// values, classification, categories, grouping) asks here first, after its
// fault check: APIERR_NEEDSUNDOSCOPE outside an undoable command, and in a
// shared project APIERR_NOTMINE when one of the elements it changes lies
// outside the user's workspace. Elements the project does not hold are left
// to the call to refuse.
GSErrCode CheckModelChange(const GS::Array<API_Guid>& changedElements = {});

// The element's properties, classification items and category values, for a
// change that CheckModelChange allows.
GSErrCode FindChangedElementTarget(const API_Guid& element, PCCTarget& target);

// The undo scopes that the control interface holds open: they let the model
// change as a command does, nest, and outlive a reset of the host.
int& ControlUndoScopes();

// Runs the body once as one undo step named name, inside which the model may
// change; APIERR_NESTING inside another.
GSErrCode RunUndoStep(const GS::UniString& name, const std::function<GSErrCode()>& body);

} // namespace Sim
