// The ceiling and floor coverings of a zone: slabs laid over the zone's whole
// outline, the ceiling with its top face at the zone's top, the floor with its
// bottom face on the zone's bottom.
#pragma once

#include "API/Memo.hpp"
#include "CovResult.hpp"
#include "CoveringSettings.hpp"

// Makes the covering slab of the kind from its settings over the zone's outline
// (with the zone's door niches when insets is on) and gives it its Element ID,
// its link from the zone and its record. The zone memo holds the zone polygon.
// A slab whose later marks fail stays in the model without them, as wall
// coverings do; the command's undo takes it back.
CovResult<API_Guid> CreateSlabCovering(SlabCovType type, const SlabCovSettings& settings, const API_Element& zone,
                                       const API_ElementMemo& zoneMemo);

// Re-fits a covering slab to the zone as it stands now: story, level and
// outline, with the insets switch stored on the slab and the slab's own
// thickness and reference plane. Nothing else of the slab changes, and a
// failure before the change leaves the slab as it was.
ErrCode UpdateSlabCovering(API_Guid slab, SlabCovType type, const API_Element& zone, const API_ElementMemo& zoneMemo);

// Puts the slab on the zone's story and sets its level: a ceiling's top face at
// the zone's top, a floor's bottom face on the zone's bottom, by the slab's
// thickness and reference plane. COVERR_SLAB_REF_PLANE_CORE for a reference
// plane other than the top or bottom face; the story is set even then.
ErrCode SetSlabCoveringsLevel(API_Element& slab, SlabCovType type, const API_Element& zone);
