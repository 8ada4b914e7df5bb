// In a shared project, the user must hold a zone and every element that a
// room command changes for it before the command runs.
#pragma once

#include "CoveringIdentity.hpp"
#include "ErrorCodes.hpp"

// Appends the elements of the type that the host relates to the zone and
// that the user does not hold.
ErrCode CheckReservationViaRoomRelation(const API_Guid& zone, const API_ElemTypeID& type, GS::Array<API_Guid>& out);

// Appends the targets of the zone's links with one of the flags that the user
// does not hold.
ErrCode CheckReservationViaRoomLinks(const API_Guid& zone, const GS::Array<CoveringsLinkFlags>& flags,
                                     GS::Array<API_Guid>& out);

// Fills roomsToDo with the zones whose own, related (of the types) and linked
// (by the flags) elements the user holds: first those that needed nothing,
// then those that the user reserved at the question alertId, pass by pass.
// COVERR_ROOMS_UNRESERVED when the user cancels.
ErrCode HandleTWReservationsForRooms(const GS::Array<API_Guid>& rooms, const GS::Array<API_ElemTypeID>& types,
                                     const GS::Array<CoveringsLinkFlags>& linkFlags, short alertId,
                                     GS::Array<API_Guid>& roomsToDo);
