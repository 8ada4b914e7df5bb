// Where the element of a new covering comes from, and how a covering wall is
// made: shared by the wall, column, hole and slab makers.
#pragma once

#include "API/Favorites.hpp"
#include "CovResult.hpp"
#include "CoveringSettings.hpp"
#include "ElementSettingsHelpers.hpp"
#include "ScopeGuards.hpp"

// The classification items a new element of the type receives.
ErrCode GetDefaultClassificationItems(API_ElemTypeID type, ClassificationList& items);

// The parts of an element source that a covering kind needs.
enum SourceParts : UInt32 {
	SourceElement = 0x1,       // the template element
	SourceMemo = 0x2,          // the library-part parameters (holes)
	SourcePCC = 0x4,           // properties, classifications and categories
	SourceElementAndPCC = 0x5, // walls, column coverings and slabs, each given its Element ID by the add-on
	SourceElementAndMemo = 0x3 // holes
};

// The template, memo and PCC lists of one covering kind: fetched from the
// kind's favorite when it uses one, otherwise taken from its stored settings.
class ElementSource {
public:
	ElementSource(const ElementCovSettings& settings, SourceParts parts);
	ElementSource(const ElementSource&) = delete;
	ElementSource& operator=(const ElementSource&) = delete;

	// A favorite that cannot be fetched gives COVERR_FAV_UNAVAILABLE when the
	// element is asked for, the host's error when only the PCC lists are;
	// COVERR_GENERAL when a memo is needed and the stored settings have none.
	ErrCode Fetch();

	const API_Element& Template() const;
	// The memo the new element is made with; null when none was asked for.
	API_ElementMemo* Memo();
	// A favorite record that carries the PCC lists, whichever way they came.
	const API_Favorite& PCC() const { return favorite; }

	// Gives each element the PCC lists, over the default classification items
	// that a new element of its type received; the first error stops. A kind
	// whose elements get their Element IDs from the add-on leaves the ElementID
	// property out, which may fail to be found.
	ErrCode ApplyPCC(const GS::Array<API_Guid>& elements, const ClassificationList& defaults);

private:
	const ElementCovSettings& settings;
	SourceParts parts;
	API_Favorite favorite;
	FavoriteMemoGuard releaseMemo;
};

// A new element that its zone does not link yet is out of every later
// command's reach, so the command that fails before the link deletes it.
// Returns error, the failure that stays the command's whatever the deletion gives.
ErrCode DeleteUnreached(const API_Guid& element, ErrCode error);

// Covering-wall steps after the placement: marks the covering as not bounding
// zones, puts it on the zone's story, keeps a top linked to a story at its
// height, creates it, writes its Element ID with the number and links it to
// the zone and to its base (the covered wall or column). A covering that the
// zone could not be linked to is deleted again.
CovResult<API_Guid> MakeCoveringWall(API_Element covering, const API_Element& zone, const API_Guid& base,
                                     UInt32 number);
