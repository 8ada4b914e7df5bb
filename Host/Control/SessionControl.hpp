// The user's session around the project, for tests and the runner: a solo or
// shared project with who holds which element, the host's clock, and the
// undo scope in which the host accepts model changes.
#pragma once

#include <functional>
#include <vector>

#include "API/Guid.hpp"
#include "TI/Time.hpp"

namespace HostControl {

// A reset host has a solo project.
void SetSharedProject(bool shared);

enum class Holder { Nobody, User, OtherUser };
// In a shared project the elements built through the control interface are
// held by nobody until set here or reserved; those the add-on creates are the user's.
void SetHolder(const API_Guid& element, Holder holder);
Holder GetHolder(const API_Guid& element);
// The element lists that the user asked to reserve, in order.
std::vector<std::vector<API_Guid>> ReservationRequests();

// The moment the host's clock shows; a reset host shows 2026-01-05 09:30:00 UTC.
void SetClock(GSTime now);

// Lets the model accept changes as inside an undoable command, without a
// host call and without an undo step: for tests that drive the engine
// without a room command. Scopes nest, each open needs its close, a reset of
// the host keeps an open scope open, and an undoable command may run inside.
void OpenUndoScope();
void CloseUndoScope();

// Told, just before a model change that the host allows, of each element the
// change names: the one changed or deleted, a link's source, the one given
// data, properties, classification or category, each one grouped; a creation
// names none. One observer at a time; an empty one, as after a reset, tells nobody.
using ModelChangeObserver = std::function<void(const API_Guid& element)>;
void ObserveModelChanges(ModelChangeObserver observer);

} // namespace HostControl
