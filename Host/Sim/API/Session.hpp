// The user's session around the project: solo or shared, who holds which
// element, the reservations asked for, and the host's clock. Undo leaves it
// alone, as reservations and time are not part of the model.
#pragma once

#include <unordered_map>
#include <vector>

#include "API/Guid.hpp"
#include "SessionControl.hpp"

namespace Sim {

struct Session {
	bool sharedProject = false;
	std::unordered_map<API_Guid, HostControl::Holder> holders; // no entry: nobody
	GSTime clock = 1767605400;                                 // 2026-01-05 09:30:00 UTC
	std::vector<std::vector<API_Guid>> reservationRequests;    // what the user asked to reserve, in order
	HostControl::ModelChangeObserver modelChangeObserver;
};

Session& TheSession();

// Whether the user may change the element: always in a solo project.
bool InUserWorkspace(const API_Guid& element);
// An element the user creates in a shared project is theirs.
void GiveNewElementToUser(const API_Guid& element);

} // namespace Sim
