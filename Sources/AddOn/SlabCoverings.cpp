#include "SlabCoverings.hpp"

#include <cstring>

#include "API/ElementFunctions.hpp"
#include "CoveringElementSource.hpp"
#include "CoveringIdentity.hpp"
#include "ElementReading.hpp"
#include "PolygonHelpers.hpp"
#include "ScopeGuards.hpp"

namespace {

constexpr UInt64 slabPolygonMemoMask = APIMemoMask_Polygon | APIMemoMask_EdgeTrims | APIMemoMask_SideMaterials;

// Gives the slab the zone's outline (widened by its niches with insets), the
// slab data of that polygon, the zone's story and the slab's level.
ErrCode FitSlabToZone(API_Element& slab, API_ElementMemo& memo, SlabCovType type, bool insets, const API_Element& zone,
                      const API_ElementMemo& zoneMemo)
{
	Geometry::Polygon2DData outline;
	Geometry::InitPolygon2DData(&outline);
	PolygonGuard outlineGuard(outline);
	if (ErrCode error = ConvertPolyHandlesToPolygon2DData(zoneMemo.coords, zoneMemo.parcs, zoneMemo.pends, outline);
	    error != NoError)
		return error;
	if (insets) {
		if (ErrCode error = MakeInsets(zone.header.guid, outline); error != NoError)
			return error;
	}
	if (ErrCode error = ConvertPolygon2DDataToMemo(outline, memo); error != NoError)
		return error;
	if (ErrCode error = FillMissingSlabInfo(slab, memo); error != NoError)
		return error;
	return SetSlabCoveringsLevel(slab, type, zone);
}

// Properties, classifications and categories, Element ID and the zone's link,
// in this order.
ErrCode MarkAndLinkNewSlab(const API_Guid& slab, SlabCovType type, const API_Element& zone, ElementSource& source)
{
	ClassificationList defaults;
	if (ErrCode error = GetDefaultClassificationItems(API_SlabID, defaults); error != NoError)
		return error;
	if (ErrCode error = source.ApplyPCC(GS::Array<API_Guid>{slab}, defaults); error != NoError)
		return error;
	if (ErrCode error = SetCovElementId(slab, ZoneNumberText(zone), type); error != NoError)
		return error;
	CoveringsLinkFlags link = IsCeilingCovering(type) ? LinkZoneCeiling : LinkZoneFloor;
	return ACAPI_ElementLink_Link(zone.header.guid, slab, link);
}

// The fields that an update changes: story, level and polygon.
API_Element SlabChangeMask()
{
	API_Element mask;
	std::memset(&mask, 0, sizeof(mask));
	API_MASK_SET(mask, slab.head.floorInd);
	API_MASK_SET(mask, slab.level);
	API_MASK_SET(mask, slab.poly);
	return mask;
}

} // namespace

CovResult<API_Guid> CreateSlabCovering(SlabCovType type, const SlabCovSettings& settings, const API_Element& zone,
                                       const API_ElementMemo& zoneMemo)
{
	ElementSource source(settings, SourceElementAndPCC);
	if (ErrCode error = source.Fetch(); error != NoError)
		return CovError{error};
	API_Element slab = source.Template();
	if (slab.header.type.typeID != API_SlabID)
		return CovError{APIERR_BADELEMENTTYPE};

	API_ElementMemo memo = {};
	MemoGuard memoGuard(memo);
	if (ErrCode error = FitSlabToZone(slab, memo, type, settings.insets, zone, zoneMemo); error != NoError)
		return CovError{error};
	if (ErrCode error = ACAPI_Element_Create(&slab, &memo); error != NoError)
		return CovError{error};

	if (ErrCode error = MarkAndLinkNewSlab(slab.header.guid, type, zone, source); error != NoError)
		return CovError{DeleteUnreached(slab.header.guid, error)};
	// Linked now, the slab is within reach of a later remove whatever fails.
	if (ErrCode error = SaveSlabElementUserData(slab.header, settings.insets); error != NoError)
		return CovError{error};
	return slab.header.guid;
}

ErrCode UpdateSlabCovering(API_Guid slabGuid, SlabCovType type, const API_Element& zone,
                           const API_ElementMemo& zoneMemo)
{
	API_Element slab;
	if (ErrCode error = ReadElement(API_ZombieElemID, slabGuid, slab); error != NoError)
		return error;
	// A damaged link may point at another kind of element, which must not
	// receive a slab's fields.
	if (slab.header.type.typeID != API_SlabID)
		return APIERR_BADELEMENTTYPE;

	bool insets = false;
	if (ErrCode error = GetSlabElementUserData(slab.header, insets); error != NoError)
		return error;
	API_ElementMemo memo = {};
	MemoGuard memoGuard(memo);
	if (ErrCode error = FitSlabToZone(slab, memo, type, insets, zone, zoneMemo); error != NoError)
		return error;
	API_Element mask = SlabChangeMask();
	if (ErrCode error = ACAPI_Element_Change(&slab, &mask, &memo, slabPolygonMemoMask, true); error != NoError)
		return error;
	return SetCovElementId(slabGuid, ZoneNumberText(zone), type);
}

ErrCode SetSlabCoveringsLevel(API_Element& slab, SlabCovType type, const API_Element& zone)
{
	slab.header.floorInd = zone.header.floorInd;
	const double bottom = zone.zone.roomBaseLev + zone.zone.roomFloorOffset;
	const double height = zone.zone.roomHeight;
	const double thickness = slab.slab.thickness;
	const bool ceiling = IsCeilingCovering(type);
	switch (slab.slab.referencePlaneLocation) {
	case APISlabRefPlane_Top:
		slab.slab.level = ceiling ? bottom + height : bottom + thickness;
		return NoError;
	case APISlabRefPlane_Bottom:
		slab.slab.level = ceiling ? bottom + height - thickness : bottom;
		return NoError;
	default:
		return COVERR_SLAB_REF_PLANE_CORE;
	}
}
