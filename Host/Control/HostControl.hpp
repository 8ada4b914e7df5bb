// The stand-in host's control interface, for tests and the command-line runner.
// The add-on never includes this header.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "API/ElementFunctions.hpp"
#include "API/Properties.hpp"
#include "API/Relations.hpp"
#include "GS/Types.hpp"
#include "GS/UniString.hpp"

namespace HostControl {

// --- The project ---------------------------------------------------------------

// A project with one story (index 0, level 0) and no elements, holding the
// default element settings (see DefaultProject below); no faults, call counts
// reset, no alerts, report or debug lines, no undo steps, GUIDs counted from
// the start again, the largest handle size forgotten, a solo project and the
// clock's first moment. Live memory and an undo scope opened through the
// control interface are not touched.
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
// Moves a wall by the offset as a user drags it, with what the host's zone
// update makes of it: the zones whose room relations name the wall follow it,
// their outlines and wall parts. APIERR_BADID when the element is no wall.
GSErrCode MoveWall(const API_Guid& wall, const API_Coord& offset);

struct Link {
	API_Guid from;
	API_Guid to;
	UInt32 flags;
};
std::vector<Link> Links();
std::vector<Link> LinksFrom(const API_Guid& from);
// The elements that link to the element, in the order the links were made.
std::vector<API_Guid> LinkSources(const API_Guid& to);
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

// Selects the elements in this order, those the project holds; none: nothing selected.
void Select(const std::vector<API_Guid>& elements);

// --- What the host reports about elements --------------------------------------------

struct NichePolygon {
	std::vector<API_Coord> coords; // entry 0 is the placeholder
	std::vector<Int32> pends;      // entry 0 = 0
	std::vector<API_PolyArc> arcs;
};

// The host's check of an outline it is given, as of a slab's: APIERR_BADPOLY
// when the contours are no closed polygon, APIERR_IRREGULARPOLY when two edges
// cross (edges that meet at a vertex or run along one another do not).
GSErrCode CheckOutline(const NichePolygon& polygon);

// The host's geometry of an outline's contours, counted from 0, the outer one:
// the area a contour encloses, arcs included, positive when it runs
// counter-clockwise (0 for an outline the host cannot read); and whether a
// contour lies inside the outer one, for an outline whose edges do not cross.
double ContourArea(const NichePolygon& polygon, std::size_t contour);
bool LiesInsideOuterContour(const NichePolygon& polygon, std::size_t contour);

struct RoomRelation {
	std::vector<API_WallPart> wallParts;
	std::vector<std::pair<API_ElemTypeID, std::vector<API_Guid>>> elementsByType; // no entry: no such list
	std::vector<NichePolygon> niches;
};
void SetRoomRelation(const API_Guid& zone, const RoomRelation& relation);
void SetOpeningRelation(const API_Guid& opening, const API_Guid& fromRoom, const API_Guid& toRoom);
// The widths of a door or window measured on its first and its second side.
void SetOpeningWidths(const API_Guid& opening, double width1, double width2);

// --- Element settings: properties, classifications, categories, tools, favorites, library ---

// The properties, classification items and category values of an element or
// of a tool's default element.
struct PCC {
	std::map<API_Guid, API_PropertyValue> propertyValues; // property -> value set; the others hold their default
	std::vector<GS::Pair<API_Guid, API_Guid>> classificationItems; // (system, item), in the order added
	std::map<API_Guid, API_Guid> categoryValues;                   // category -> value
};
PCC GetElementPCC(const API_Guid& element);

// Groups and definitions keep the host's order. Defining one with the GUID of
// an existing one replaces it in its place (a rename, say); a null GUID gets a
// new one. Each returns the GUID.
API_Guid DefinePropertyGroup(const API_PropertyGroup& group);
// elementTypes: the types whose elements have the property; empty: every type.
API_Guid DefineProperty(const API_PropertyDefinition& definition, const std::vector<API_ElemTypeID>& elementTypes = {});
// The definition of a custom single string property with an empty default and a null GUID.
API_PropertyDefinition StringPropertyDefinition(const API_Guid& group, const std::string& name);
void DropPropertyGroup(const API_Guid& group); // with its definitions
void DropProperty(const API_Guid& property);

// A null GUID gets a new one; each returns the GUID.
API_Guid AddClassificationSystem(const std::string& name, const API_Guid& guid = APINULLGuid);
API_Guid AddClassificationItem(const API_Guid& system, const std::string& id, const API_Guid& guid = APINULLGuid);
void DropClassificationSystem(const API_Guid& system); // with its items

// Replaces a category of the same GUID in its place, else appends it; a value's
// category is set to this one. elementTypes: the types it applies to; empty: every type.
void DefineCategory(const API_ElemCategory& category, std::vector<API_ElemCategoryValue> values,
                    const std::vector<API_ElemTypeID>& elementTypes = {});
void DropCategory(const API_Guid& category);

// The tool of the record's element type: its default record and memo. The
// tool's PCC stays as it was.
void DefineTool(const API_Element& record, const MemoParts& memo = {});
// A type without a tool has an empty PCC and takes none.
PCC GetToolPCC(const API_ElemType& type);
void SetToolPCC(const API_ElemType& type, const PCC& pcc);

struct Favorite {
	std::string name;
	API_Element element;           // its header holds the favorite's element type
	std::optional<MemoParts> memo; // absent: the favorite has no memo
	std::optional<std::vector<API_Property>> properties;
	std::optional<std::vector<GS::Pair<API_Guid, API_Guid>>> classifications;
	std::optional<std::vector<API_ElemCategoryValue>> categoryValues;
};
// Replaces a favorite of the same name in its place, else appends it.
void DefineFavorite(const Favorite& favorite);
void DropFavorite(const std::string& name);

// The parts that the last ACAPI_Favorite_Get asked for; none since the reset: absent.
struct FavoriteRequest {
	std::string name;
	bool memo;
	bool properties;
	bool classifications;
	bool categoryValues;
};
std::optional<FavoriteRequest> LastFavoriteRequest();

struct LibraryPart {
	API_Guid main;
	API_Guid revision;
	std::string name;
	double a; // default width
	double b; // default height
	std::vector<Param> params;
};
// Returns the new part's library index.
Int32 AddLibraryPart(const LibraryPart& part);
void DropLibraryPart(const API_Guid& main);
std::optional<Int32> LibraryPartIndex(const API_Guid& main);

// What every reset project holds.
struct DefaultProject {
	API_Guid generalGroup;         // "GeneralElemProperties", built in
	API_Guid elementIdProperty;    // "ElementID", string, every element
	API_Guid trackingGroup;        // custom
	API_Guid lastRunProperty;      // "Last Covering Run", custom string, every element
	API_Guid checkedByProperty;    // "Checked By", custom string, every element
	API_Guid finishesGroup;        // custom
	API_Guid finishCodeProperty;   // "Finish Code", custom string, walls and slabs only
	API_Guid classificationSystem; // "Element Classes"
	// Its items: each tool's default is the item of its class; "Finish" is no tool's.
	API_Guid wallItem, slabItem, columnItem, doorItem, windowItem, finishItem;
	API_Guid structuralFunction, loadBearing, nonLoadBearing;        // walls, columns, slabs
	API_Guid position, exterior, interior;                           // walls, columns, slabs, doors, windows
	API_Guid renovationStatus, existing, toBeDemolished, newlyBuilt; // every type
	API_Guid doorPart, windowPart;                                   // main GUIDs of the door and window tools' parts
	std::vector<API_Guid> nichePart;                                 // main GUIDs of the seven niche parts
};
const DefaultProject& Defaults();
// The element type of a built-in element class, as tools and favorites are keyed.
API_ElemType ElemType(API_ElemTypeID type);

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
// The host functions called since the counts were last reset, in order.
std::vector<std::string> CallLog();

// Memory handles and pointer blocks alive now; a library-part location that a
// search or read handed out counts as a pointer until it is deleted.
Int32 LiveHandleCount();
Int32 LivePointerCount();
// The largest size any memory handle has had since the host was reset, so that
// tests can check that damaged sizes in stored data claim no memory.
GSSize LargestHandleSize();

} // namespace HostControl
