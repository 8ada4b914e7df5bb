// The in-memory model of the stand-in host: one project, and the host state
// around it (undo steps, alerts, report and debug lines) that undo leaves alone.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "API/ElementFunctions.hpp"
#include "API/Properties.hpp"
#include "API/Relations.hpp"
#include "GS/UniString.hpp"
#include "Sim/API/ElementStore.hpp"
#include "Sim/API/JournaledMap.hpp"
#include "Sim/API/LinkStore.hpp"
#include "Sim/API/RoomRelationStore.hpp"

namespace Sim {

struct Story {
	Int16 index;
	double level;
	std::string name;
};

struct OpeningWidths {
	double width1;
	double width2;
};

struct StoredUserData {
	Int16 version;
	UInt16 platformSign;
	UInt32 flags;
	Part payload;
};

using ClassificationPair = GS::Pair<API_Guid, API_Guid>; // (system, item)

// The properties, classification items and category values of one element or
// of one tool's default element.
struct StoredPCC {
	std::map<API_Guid, API_PropertyValue> propertyValues; // the values set; the rest hold their default
	std::vector<ClassificationPair> classificationItems;  // at most one per system, in the order added
	std::map<API_Guid, API_Guid> categoryValues;          // category -> value
};

// A property definition and the element types whose elements have it.
struct StoredPropertyDefinition {
	API_PropertyDefinition definition;
	std::vector<API_ElemTypeID> elementTypes; // empty: every type
};

struct PropertyCatalog {
	std::vector<API_PropertyGroup> groups;             // in the host's order
	std::vector<StoredPropertyDefinition> definitions; // in the host's order
};

struct ClassificationSystem {
	API_Guid guid;
	GS::UniString name;
};

struct ClassificationItem {
	API_Guid guid;
	API_Guid system;
	GS::UniString id;
};

struct ClassificationCatalog {
	std::vector<ClassificationSystem> systems;
	std::vector<ClassificationItem> items;
};

struct StoredCategory {
	API_ElemCategory category;
	std::vector<API_ElemCategoryValue> values;
	std::vector<API_ElemTypeID> elementTypes; // the types it applies to; empty: every type
};

// A tool's default element.
struct StoredTool {
	API_Element record;
	StoredMemo memo;
	StoredPCC pcc;
};

struct StoredFavorite {
	GS::UniString name;
	API_Element element;
	std::optional<StoredMemo> memo;
	std::optional<std::vector<API_Property>> properties;
	std::optional<std::vector<ClassificationPair>> classifications;
	std::optional<std::vector<API_ElemCategoryValue>> categoryValues;
};

struct StoredLibPart {
	API_Guid main;
	API_Guid revision;
	GS::UniString name;
	double a; // default width
	double b; // default height
	StoredParams params;
};

// The selected elements in the order selected, with a set that lets a deletion
// find the selected among the deleted without walking the selection.
class SelectionList {
public:
	void Assign(const std::vector<API_Guid>& elements);
	void Drop(const std::unordered_set<API_Guid>& deleted);
	bool empty() const { return ordered.empty(); }
	std::size_t size() const { return ordered.size(); }
	std::vector<API_Guid>::const_iterator begin() const { return ordered.begin(); }
	std::vector<API_Guid>::const_iterator end() const { return ordered.end(); }

private:
	std::vector<API_Guid> ordered;
	std::unordered_set<API_Guid> members;
};

struct ProjectJournal;

// Everything an undo step restores.
struct Project {
	std::vector<Story> stories;
	ElementStore elements;
	LinkStore links;
	JournaledMap<GuidTable<StoredUserData>> userData;
	JournaledMap<std::map<API_Guid, std::vector<API_Guid>>> groups; // group -> members
	bool groupsSuspended = false;
	SelectionList selection;
	// What the host reports, as the control interface set it and its zone update keeps it.
	RoomRelationStore roomRelations;
	JournaledMap<GuidTable<API_OpeningRelation>> openingRelations;
	JournaledMap<GuidTable<OpeningWidths>> openingWidths;
	// Element settings: definitions, per-element values, tools, favorites and library.
	PropertyCatalog properties;
	ClassificationCatalog classifications;
	std::vector<StoredCategory> categories;        // in the host's order
	JournaledMap<GuidTable<StoredPCC>> elementPCC; // no entry: nothing set
	std::unordered_map<API_ElemType, StoredTool> tools;
	std::vector<StoredFavorite> favorites;  // in the host's order
	std::map<Int32, StoredLibPart> library; // by library index

	StoredElement* Find(const API_Guid& guid) { return elements.Find(guid); }
	const StoredElement* Get(const API_Guid& guid) const { return elements.Get(guid); }
	bool Contains(const API_Guid& guid) const { return elements.Contains(guid); }
	API_Guid NewGuid();
	UInt64 guidCounter = 0;

	// From now on notes what the project held before each change, for undo;
	// the journal starts with a copy of the small catalogs.
	ProjectJournal OpenJournal();
	// Adds what was noted since the journal opened.
	void CloseJournal(ProjectJournal& journal);
	// Puts back what the journal noted; the GUID counter runs on, so that
	// elements made after an undo are new.
	void Restore(ProjectJournal&& before);
};

// What an undo step puts back: the entries the command changed in the tables
// that grow with the model, and a copy of the small catalogs.
struct ProjectJournal {
	std::vector<Story> stories;
	ElementStore::Journal elements;
	LinkStore::Journal links;
	decltype(Project::userData)::Journal userData;
	decltype(Project::groups)::Journal groups;
	bool groupsSuspended = false;
	SelectionList selection;
	RoomRelationStore::Journal roomRelations;
	decltype(Project::openingRelations)::Journal openingRelations;
	decltype(Project::openingWidths)::Journal openingWidths;
	PropertyCatalog properties;
	ClassificationCatalog classifications;
	std::vector<StoredCategory> categories;
	decltype(Project::elementPCC)::Journal elementPCC;
	std::unordered_map<API_ElemType, StoredTool> tools;
	std::vector<StoredFavorite> favorites;
	std::map<Int32, StoredLibPart> library;
};

struct AlertRecord {
	std::string kind; // "Alert", "InformationAlert" or "ErrorAlert"
	Int16 alertId;    // resource ID for "Alert", else 0
	std::vector<GS::UniString> texts;
	short answer;
};

struct ReportLine {
	GS::UniString text;
	bool withDialog;
};

// The parts that the last favorite request asked for.
struct FavoriteRequest {
	GS::UniString name;
	bool memo;
	bool properties;
	bool classifications;
	bool categoryValues;
};

struct UndoStep {
	GS::UniString name;
	ProjectJournal before;
};

struct HostState {
	Project project;
	std::vector<UndoStep> undoSteps;
	bool inUndoableCommand = false;
	std::deque<short> scriptedAnswers;
	std::vector<AlertRecord> alerts;
	std::vector<ReportLine> reportLines;
	std::vector<std::string> debugLines;
	std::optional<FavoriteRequest> lastFavoriteRequest;
};

HostState& Host();
inline Project& TheProject()
{
	return Host().project;
}

// A stored part in a new handle that belongs to the receiver; an absent part gives none.
GSHandle HandOutBytes(const Part& part);
template <typename T> T** HandOutPart(const Part& part)
{
	return reinterpret_cast<T**>(HandOutBytes(part));
}

StoredMemo StoreMemo(const API_ElementMemo& memo, UInt64 mask);
// Hands the stored parts of the mask out in new handles owned by the receiver.
void HandOutMemo(const StoredMemo& stored, UInt64 mask, API_ElementMemo* memo);
void ReplaceMemoParts(StoredMemo& target, const StoredMemo& source, UInt64 mask);

// Copies the bytes whose mask bytes are set, as the host changes marked fields only.
void CopyMarked(const void* source, const void* mask, void* target, std::size_t size);
// Copies the bytes that the mask marks; the identity of the target (type, GUID,
// group, change stamp) never changes.
void CopyMarkedBytes(const API_Element& source, const API_Element& mask, API_Element& target);

// An answer scripted by the control interface, or 1 (the first button).
short NextAnswer();

} // namespace Sim
