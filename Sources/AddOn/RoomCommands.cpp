#include "RoomCommands.hpp"

#include <functional>
#include <optional>

#include "API/Commands.hpp"
#include "API/Teamwork.hpp"
#include "Alerts.hpp"
#include "Coverings.hpp"
#include "DG/Alerts.hpp"
#include "ElementReading.hpp"
#include "ErrorNames.hpp"
#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"
#include "RoomSelection.hpp"
#include "RunningSettings.hpp"
#include "TI/Time.hpp"
#include "TeamworkReservation.hpp"

namespace {

enum UndoNameIndex : Int32 { AddUndoName = 1, UpdateUndoName = 2, RemoveUndoName = 3 };

constexpr short summaryOffAnswer = 3;

// What a room command does after the engine failed on one zone: go on with
// the next zone (empty), or stop the run with the body result given.
using ZoneVerdict = std::optional<ErrCode>;
const ZoneVerdict nextZone = std::nullopt;

// What the command asks the user to hold in a shared project.
struct Reservation {
	GS::Array<API_ElemTypeID> types;
	GS::Array<CoveringsLinkFlags> linkFlags;
	short alertId;
};

// The zones that the command runs on: the selected ones, in a shared project
// only those the user holds. False when the command ends before its undo
// step, with result as its code.
bool GetRoomsToDo(const Reservation& reservation, GS::Array<API_Guid>& roomsToDo, ErrCode& result)
{
	result = NoError;
	GS::Array<API_Guid> rooms;
	if (!GetRoomsFromSelection(rooms, result))
		return false;
	if (!ACAPI_Teamwork_HasConnection()) {
		roomsToDo = rooms;
		return true;
	}
	ErrCode error =
	    HandleTWReservationsForRooms(rooms, reservation.types, reservation.linkFlags, reservation.alertId, roomsToDo);
	// A cancelled reservation ends the command silently.
	result = error == COVERR_ROOMS_UNRESERVED ? NoError : error;
	return error == NoError;
}

ErrCode RunAsUndoStep(UndoNameIndex name, const std::function<ErrCode()>& body)
{
	return ACAPI_CallUndoableCommand(RSGetIndString(ID_STR_UNDO_NAMES, name, ACAPI_GetOwnResModule(), 0), body);
}

// Add and Update: every failure that nothing has shown yet, before the undo
// step or inside it, ends with the command's failure alert.
ErrCode RunShowingFailure(const Reservation& reservation, UndoNameIndex name, short failedAlertId,
                          const std::function<ErrCode(const GS::Array<API_Guid>&)>& body)
{
	GS::Array<API_Guid> roomsToDo;
	ErrCode result = NoError;
	if (GetRoomsToDo(reservation, roomsToDo, result))
		result = RunAsUndoStep(name, [&] { return body(roomsToDo); });
	if (result != NoError && result != COVERR_HANDLED)
		DG::Alert(ACAPI_GetOwnResModule(), failedAlertId, ErrCodeToUniString(result), "", "", "");
	return result;
}

GS::UniString RunTimeText()
{
	return TIGetTimeString(0, TI_DateAndTime);
}

// The failures that Add and Update show at once and then stop.
ZoneVerdict ShowSettingsFailure(ErrCode code)
{
	if (code == COVERR_SLAB_REF_PLANE_CORE) {
		DG::Alert(ACAPI_GetOwnResModule(), ID_ALERT_SLAB_REF_PLANE, "", "", "", "");
		return COVERR_HANDLED;
	}
	if (code == COVERR_FAV_UNAVAILABLE) {
		ErrorFavUnavailable();
		return COVERR_HANDLED;
	}
	return nextZone;
}

// The bookkeeping of one Add run.
struct AddTally {
	UInt32 withWallCoverings = 0;
	GS::Array<API_Guid> withoutWallCoverings;
	bool hadCoverings = false;
	bool storyLinked = false;
};

ZoneVerdict JudgeAddFailure(ErrCode code, AddTally& tally)
{
	if (ZoneVerdict shown = ShowSettingsFailure(code))
		return shown;
	switch (code) {
	case NoError: // a failure that carries no code
		return COVERR_GENERAL;
	case COVERR_DOUBLE_ADD:
		tally.hadCoverings = true;
		return nextZone;
	case COVERR_ZONE_STORY:
		tally.storyLinked = true;
		return nextZone;
	case COVERR_COVFAV_STORY:
		ErrorStoryLinkSettings();
		return NoError;
	default:
		return code;
	}
}

// The count of zones without wall coverings, with their table when wall
// coverings were asked for.
GS::UniString WithoutWallCoveringsText(const AddTally& tally, bool wallCoveringsOn)
{
	GS::UniString text = GS::UniString::Printf("%u", tally.withoutWallCoverings.GetSize());
	if (!wallCoveringsOn || tally.withoutWallCoverings.IsEmpty())
		return text;
	text += "\n\n\tRoom Name | Room Nr | Floor\n";
	for (const API_Guid& zone : tally.withoutWallCoverings) {
		API_Element element;
		// An unreadable zone is listed with empty texts on story 0.
		ReadElement(API_ZombieElemID, zone, element);
		text += "\n\t" + GS::UniString(element.zone.roomName) + " | " + GS::UniString(element.zone.roomNoStr) + " | " +
		        GS::UniString::Printf("%d", element.header.floorInd);
	}
	return text;
}

void ShowAddSummary(const GS::UniString& time, UInt32 zonesGiven, const AddTally& tally,
                    const CoveringSettings& settings)
{
	short answer = DG::Alert(
	    ACAPI_GetOwnResModule(), ID_ALERT_ADD_SUMMARY, time, GS::UniString::Printf("%u", zonesGiven),
	    GS::UniString::Printf("%u", tally.withWallCoverings), WithoutWallCoveringsText(tally, settings.wall.enabled));
	if (answer == summaryOffAnswer) {
		GetRunningCoveringSettings().showSummary = false;
		StoreRunningCoveringSettings();
	}
}

ErrCode AddBody(const GS::Array<API_Guid>& roomsToDo, const CoveringSettings& settings)
{
	GS::UniString time = RunTimeText();
	AddTally tally;
	for (const API_Guid& zone : roomsToDo) {
		CovResult<CoveringsCreated> added = AddCoveringsToRoom(zone, settings, time);
		if (added.HasValue()) {
			if (added.Value().wallsCreated)
				++tally.withWallCoverings;
			else
				tally.withoutWallCoverings.Push(zone);
		} else if (ZoneVerdict stop = JudgeAddFailure(added.Error(), tally)) {
			return *stop;
		}
	}
	if (tally.hadCoverings)
		ErrorDoubleAdd();
	if (tally.storyLinked)
		ErrorRoomStory();
	if (settings.showSummary)
		ShowAddSummary(time, roomsToDo.GetSize(), tally, settings);
	return NoError;
}

struct UpdateTally {
	bool storyLinked = false;
	bool inconsistent = false;
};

ZoneVerdict JudgeUpdateFailure(ErrCode code, UpdateTally& tally)
{
	if (ZoneVerdict shown = ShowSettingsFailure(code))
		return shown;
	if (code == COVERR_ZONE_STORY)
		tally.storyLinked = true;
	else if (code == COVERR_UPDATE_INCONSISTENCY)
		tally.inconsistent = true;
	else
		return code;
	return nextZone;
}

ErrCode UpdateBody(const GS::Array<API_Guid>& roomsToDo, const CoveringSettings& settings)
{
	GS::UniString time = RunTimeText();
	UpdateTally tally;
	for (const API_Guid& zone : roomsToDo) {
		ErrCode error = UpdateCoveringsOfRoom(zone, settings, time);
		if (error == NoError)
			continue;
		if (ZoneVerdict stop = JudgeUpdateFailure(error, tally))
			return *stop;
	}
	if (tally.storyLinked)
		ErrorRoomStory();
	if (tally.inconsistent)
		ErrorUpdateInconsistency();
	return NoError;
}

ErrCode RemoveBody(const GS::Array<API_Guid>& roomsToDo)
{
	for (const API_Guid& zone : roomsToDo) {
		if (ErrCode error = RemoveCoveringsFromRoom(zone); error != NoError)
			return error;
	}
	return NoError;
}

const GS::Array<CoveringsLinkFlags> coveringLinkFlags = {LinkZoneCovering, LinkZoneCeiling, LinkZoneFloor};

Reservation AddReservation(const CoveringSettings& settings)
{
	Reservation reservation{{}, {}, ID_ALERT_RESERVE_ADD};
	const WallCovSettings& wall = settings.wall;
	const std::pair<bool, API_ElemTypeID> kinds[] = {{wall.enabled, API_WallID},
	                                                 {wall.columnCoverings, API_ColumnID},
	                                                 {wall.doorHoles.enabled, API_DoorID},
	                                                 {wall.windowHoles.enabled, API_WindowID}};
	for (const auto& [needed, type] : kinds) {
		if (needed)
			reservation.types.Push(type);
	}
	return reservation;
}

} // namespace

ErrCode AddVelmora(const CoveringSettings& settings)
{
	return RunShowingFailure(AddReservation(settings), AddUndoName, ID_ALERT_ADD_FAILED,
	                         [&](const GS::Array<API_Guid>& roomsToDo) { return AddBody(roomsToDo, settings); });
}

ErrCode UpdateVelmora(const CoveringSettings& settings)
{
	const Reservation reservation{
	    {API_WallID, API_ColumnID, API_WindowID, API_DoorID}, coveringLinkFlags, ID_ALERT_RESERVE_UPDATE};
	return RunShowingFailure(reservation, UpdateUndoName, ID_ALERT_UPDATE_FAILED,
	                         [&](const GS::Array<API_Guid>& roomsToDo) { return UpdateBody(roomsToDo, settings); });
}

ErrCode RemoveCoveringsFromSelectedRooms()
{
	const Reservation reservation{{}, coveringLinkFlags, ID_ALERT_RESERVE_REMOVE};
	GS::Array<API_Guid> roomsToDo;
	ErrCode result = NoError;
	if (!GetRoomsToDo(reservation, roomsToDo, result) || roomsToDo.IsEmpty())
		return result;
	return RunAsUndoStep(RemoveUndoName, [&] { return RemoveBody(roomsToDo); });
}
