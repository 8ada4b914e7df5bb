#include "RoomSelection.hpp"

#include "API/Selection.hpp"
#include "Alerts.hpp"
#include "ScopeGuards.hpp"

bool GetRoomsFromSelection(GS::Array<API_Guid>& rooms, ErrCode& readError)
{
	API_SelectionInfo selectionInfo = {};
	HandleGuard<API_Coord**> releaseMarquee(selectionInfo.marquee.coords);
	GS::Array<API_Neig> neigs;
	readError = ACAPI_Selection_Get(&selectionInfo, &neigs, false, true, API_InsidePartially);
	if (readError != NoError)
		return false;
	if (selectionInfo.typeID == API_SelEmpty) {
		AlertNoRoomsSelected();
		return false;
	}
	for (const API_Neig& neig : neigs) {
		API_ElemType type = {};
		// An element whose type the host cannot tell is no zone.
		if (ACAPI_Element_NeigIDToElemType(neig.neigID, type) == NoError && type.typeID == API_ZoneID)
			rooms.Push(neig.guid);
	}
	if (rooms.IsEmpty()) {
		AlertNoRoomsSelected();
		return false;
	}
	return true;
}
