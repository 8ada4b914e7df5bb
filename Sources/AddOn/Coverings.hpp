// The engine's per-zone operations: add the coverings of a zone, update them,
// remove them, and sweep coverings whose wall or column is gone.
#pragma once

#include "API/Memo.hpp"
#include "CovResult.hpp"
#include "CoveringSettings.hpp"

// What one add made.
struct CoveringsCreated {
	bool wallsCreated = false; // the wall step made wall coverings, column coverings or holes
	bool ceilingCreated = false;
	bool floorCreated = false;
};

// Reads the zone and its polygon memo (whose handles then belong to the
// caller); COVERR_ZONE_STORY for a zone whose top is linked to a story.
ErrCode GetZone(const API_Guid& zone, API_Element& element, API_ElementMemo& memo);

// Makes the coverings of one zone that has none yet (COVERR_DOUBLE_ADD
// otherwise) and writes the run's time text into the timestamp property of
// everything made.
CovResult<CoveringsCreated> AddCoveringsToRoom(const API_Guid& zone, const CoveringSettings& settings,
                                               const GS::UniString& timestamp);

// Re-fits the coverings that the add made for the zone (found through the
// zone's links; none is made, only holes for new openings) to the model as it
// stands, deletes those that no longer fit and those that lost their wall or
// column, and writes the run's time text into the timestamp property of what
// was re-fitted. Holes are re-fitted or made for the kinds recorded on the
// zone at the add. COVERR_ZONE_STORY for a zone whose top is linked to a
// story. A failure deletes nothing and stamps nothing; what was re-fitted
// before it stays.
ErrCode UpdateCoveringsOfRoom(const API_Guid& zone, const CoveringSettings& settings, const GS::UniString& timestamp);

// Deletes the zone's coverings and unlinks the walls and columns they covered.
// A failed unlink is reported once the rest is done; nothing is deleted while
// group suspension cannot be switched on.
ErrCode RemoveCoveringsFromRoom(const API_Guid& zone);

// Deletes the zone's wall and column coverings that lost their wall or column.
ErrCode RemoveLeftoverCoverings(const API_Guid& zone);
