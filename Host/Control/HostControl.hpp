// The stand-in host's control interface, for tests and the command-line runner.
// The add-on never includes this header.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "API/ElementFunctions.hpp"
#include "API/Relations.hpp"
#include "GS/Types.hpp"
#include "GS/UniString.hpp"

namespace HostControl {

// --- The project ---------------------------------------------------------------

// An empty project with one story (index 0, level 0), no faults, call counts
// reset, no alerts, report or debug lines, no undo steps, GUIDs counted from
// the start again, the largest handle size forgotten. Live memory is not touched.
void ResetHost();

void AddStory(Int16 index, double level, const std::string& name);

// One library-part parameter: the record as it stands, except that an array
// parameter's value handle comes from arrayValue instead of the record.
struct Param {
	API_AddParType record;
	std::optional<std::vector<char>> arrayValue; // type modifier 2 only; absent: no value handle
};

// The memo parts of an element as plain lists; an absent list is no handle.
struct MemoParts {
	std::optional<std::vector<API_Coord>> coords; // entry 0 is the placeholder
	std::optional<std::vector<Int32>> pends;      // entry 0 = 0
	std::optional<std::vector<API_PolyArc>> arcs;
	std::optional<std::vector<UInt32>> vertexIDs;
	std::optional<std::vector<API_EdgeTrim>> edgeTrims;
	std::optional<std::vector<API_OverriddenAttribute>> sideMaterials;
	std::optional<std::vector<API_ColumnSegmentType>> columnSegments;
	std::optional<std::vector<Param>> params;
};

// Puts an element into the project as it stands, bypassing every check; a null
// GUID in its header gets a new one. Returns its GUID.
API_Guid AddElement(const API_Element& element, const MemoParts& memo = {});
std::optional<API_Element> GetElement(const API_Guid& guid);
MemoParts GetMemoParts(const API_Guid& guid);
// The elements of a type (0: all), in creation order.
std::vector<API_Guid> Elements(API_ElemTypeID type = API_ZombieElemID);
// Overwrites an element's record as it stands (its GUID stays).
void SetElement(const API_Element& element);

struct Link {
	API_Guid from;
	API_Guid to;
	UInt32 flags;
};
std::vector<Link> Links();
std::vector<Link> LinksFrom(const API_Guid& from);
void AddLink(const API_Guid& from, const API_Guid& to, UInt32 flags);

struct UserData {
	Int16 version;
	UInt16 platformSign;
	UInt32 flags;
	std::optional<std::vector<char>> payload; // absent: no data handle
};
std::optional<UserData> GetUserData(const API_Guid& guid);
void SetUserData(const API_Guid& guid, const UserData& userData);
void RemoveUserData(const API_Guid& guid);

std::vector<API_Guid> GroupMembers(const API_Guid& group);
bool GroupsSuspended();

void Select(const std::vector<API_Guid>& elements);

// --- What the host reports about elements --------------------------------------------

struct NichePolygon {
	std::vector<API_Coord> coords; // entry 0 is the placeholder
	std::vector<Int32> pends;      // entry 0 = 0
	std::vector<API_PolyArc> arcs;
};

struct RoomRelation {
	std::vector<API_WallPart> wallParts;
	std::vector<std::pair<API_ElemTypeID, std::vector<API_Guid>>> elementsByType; // no entry: no such list
	std::vector<NichePolygon> niches;
};
void SetRoomRelation(const API_Guid& zone, const RoomRelation& relation);
void SetOpeningRelation(const API_Guid& opening, const API_Guid& fromRoom, const API_Guid& toRoom);
// The widths of a door or window measured on its first and its second side.
void SetOpeningWidths(const API_Guid& opening, double width1, double width2);

// --- Dialogs and output ----------------------------------------------------------

// Answers for the next alerts, in order; without a script every alert answers 1.
void ScriptAlertAnswers(const std::vector<short>& answers);

struct Alert {
	std::string kind; // "Alert", "InformationAlert" or "ErrorAlert"
	Int16 alertId;    // the alert resource for "Alert", else 0
	// "Alert": the shown text with its places filled, p1 .. p4, the three button
	// texts. The others: large text, small text, the three button texts.
	std::vector<GS::UniString> texts;
	short answer;
};
std::vector<Alert> Alerts();

struct ReportLine {
	std::string text;
	bool withDialog;
};
std::vector<ReportLine> ReportLines();
std::vector<std::string> DebugLines();

// --- Undo -----------------------------------------------------------------------

std::vector<std::string> UndoStepNames();
// Restores the project as it was before the last undoable command; false when there is none.
bool UndoLastCommand();

// --- Faults and memory ----------------------------------------------------------

// Faults: the n-th call (counted from now, 1-based) of a host function, or of
// any host function, fails with the code; memory calls then give no memory.
void FailCall(const std::string& functionName, UInt32 nthCall, GSErrCode code);
void FailAnyCall(UInt32 nthCall, GSErrCode code);
void ClearFaults();
void ResetCallCounts();
UInt32 CallCount(const std::string& functionName);
UInt32 TotalCallCount();

// Memory handles and pointer blocks alive now.
Int32 LiveHandleCount();
Int32 LivePointerCount();
// The largest size any memory handle has had since the host was reset, so that
// tests can check that damaged sizes in stored data claim no memory.
GSSize LargestHandleSize();

} // namespace HostControl
