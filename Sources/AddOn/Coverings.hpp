// The engine's per-zone operations: add the coverings of a zone, remove them,
// and sweep coverings whose wall or column is gone.
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

// Deletes the zone's coverings and unlinks the walls and columns they covered.
ErrCode RemoveCoveringsFromRoom(const API_Guid& zone);

// Deletes the zone's wall and column coverings that lost their wall or column.
ErrCode RemoveLeftoverCoverings(const API_Guid& zone);
