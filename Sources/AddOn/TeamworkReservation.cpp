#include "TeamworkReservation.hpp"

#include "API/Relations.hpp"
#include "API/Teamwork.hpp"
#include "DG/Alerts.hpp"
#include "ElementReading.hpp"
#include "RS/Resources.hpp"
#include "ScopeGuards.hpp"

namespace {

// Zones still waiting for a reservation, each with what it still lacks.
using WaitingTable = GS::HashTable<API_Guid, GS::Array<API_Guid>>;

enum ReservationAnswer : short { ReserveAndAskAgain = 1, GoOnWithReserved = 3 };

bool IsReserved(const API_Guid& element)
{
	return ACAPI_Element_Filter(element, APIFilt_InMyWorkspace, APIVarId_Generic, APINULLGuid);
}

ErrCode NeededElements(const API_Guid& zone, const GS::Array<API_ElemTypeID>& types,
                       const GS::Array<CoveringsLinkFlags>& linkFlags, GS::Array<API_Guid>& needed)
{
	if (!IsReserved(zone))
		needed.Push(zone);
	for (API_ElemTypeID type : types) {
		if (ErrCode error = CheckReservationViaRoomRelation(zone, type, needed); error != NoError)
			return error;
	}
	return CheckReservationViaRoomLinks(zone, linkFlags, needed);
}

// The question's text, one line per waiting zone, and everything to reserve.
ErrCode DescribeWaiting(const WaitingTable& waiting, GS::UniString& text, GS::Array<API_Guid>& toReserve)
{
	for (const auto& entry : waiting) {
		API_Element zone;
		if (ErrCode error = ReadElement(API_ZombieElemID, entry.key, zone); error != NoError)
			return error;
		GS::UniString name(zone.zone.roomName);
		GS::UniString number(zone.zone.roomNoStr);
		text += GS::UniString::Printf("Name: %s | No.: %s\n", name.ToCStr(0, GS::MaxUSize, GS::CC_Default).Get(),
		                              number.ToCStr(0, GS::MaxUSize, GS::CC_Default).Get());
		toReserve.Append(entry.value);
	}
	return NoError;
}

// Keeps in each list what the user still does not hold; a zone that lacks
// nothing more moves to roomsToDo.
void RetestWaiting(WaitingTable& waiting, GS::Array<API_Guid>& roomsToDo)
{
	GS::Array<API_Guid> ready;
	for (auto& entry : waiting) {
		GS::Array<API_Guid> stillNeeded;
		for (const API_Guid& element : entry.value) {
			if (!IsReserved(element))
				stillNeeded.Push(element);
		}
		if (stillNeeded.IsEmpty())
			ready.Push(entry.key);
		entry.value = stillNeeded;
	}
	for (const API_Guid& zone : ready) {
		roomsToDo.Push(zone);
		waiting.Delete(zone);
	}
}

} // namespace

ErrCode CheckReservationViaRoomRelation(const API_Guid& zone, const API_ElemTypeID& type, GS::Array<API_Guid>& out)
{
	const API_ElemType elemType = {type, APIVarId_Generic, APINULLGuid};
	API_RoomRelation relation;
	RoomRelationGuard releaseNiches(relation);
	if (ErrCode error = ACAPI_Element_GetRelations(zone, elemType, &relation, 0); error != NoError)
		return error;
	const GS::Array<API_Guid>* related = relation.elementsGroupedByType.GetPtr(elemType);
	if (related == nullptr)
		return NoError;
	for (const API_Guid& element : *related) {
		if (!IsReserved(element))
			out.Push(element);
	}
	return NoError;
}

ErrCode CheckReservationViaRoomLinks(const API_Guid& zone, const GS::Array<CoveringsLinkFlags>& flags,
                                     GS::Array<API_Guid>& out)
{
	GS::Array<API_Guid> targets;
	if (ErrCode error = ACAPI_ElementLink_GetLinks(zone, &targets); error != NoError)
		return error;
	for (const API_Guid& target : targets) {
		UInt32 flag = 0;
		if (ErrCode error = ACAPI_ElementLink_GetLinkFlags(zone, target, &flag); error != NoError)
			return error;
		if (flags.Contains(static_cast<CoveringsLinkFlags>(flag)) && !IsReserved(target))
			out.Push(target);
	}
	return NoError;
}

ErrCode HandleTWReservationsForRooms(const GS::Array<API_Guid>& rooms, const GS::Array<API_ElemTypeID>& types,
                                     const GS::Array<CoveringsLinkFlags>& linkFlags, short alertId,
                                     GS::Array<API_Guid>& roomsToDo)
{
	roomsToDo.Clear();
	WaitingTable waiting;
	for (const API_Guid& zone : rooms) {
		GS::Array<API_Guid> needed;
		if (ErrCode error = NeededElements(zone, types, linkFlags, needed); error != NoError)
			return error;
		if (needed.IsEmpty())
			roomsToDo.Push(zone);
		else
			waiting.Put(zone, needed);
	}
	while (!waiting.IsEmpty()) {
		GS::UniString text;
		GS::Array<API_Guid> toReserve;
		if (ErrCode error = DescribeWaiting(waiting, text, toReserve); error != NoError)
			return error;
		short answer = DG::Alert(ACAPI_GetOwnResModule(), alertId, text, "", "", "");
		if (answer == GoOnWithReserved)
			return NoError;
		if (answer != ReserveAndAskAgain)
			return COVERR_ROOMS_UNRESERVED;
		if (ErrCode error = ACAPI_Teamwork_ReserveElements(toReserve, nullptr, true); error != NoError)
			return error;
		RetestWaiting(waiting, roomsToDo);
	}
	return NoError;
}
