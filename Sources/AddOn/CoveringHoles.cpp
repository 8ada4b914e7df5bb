#include "CoveringHoles.hpp"

#include <cmath>
#include <cstring>
#include <string>

#include "API/LibraryParts.hpp"
#include "CoveringElementSource.hpp"
#include "CoveringIdentity.hpp"
#include "DG/Alerts.hpp"
#include "ElementReading.hpp"
#include "Geometry/GenArc.hpp"
#include "ScopeGuards.hpp"
#include "WallCoveringGeometry.hpp"

using Geometry::Point2d;
using Geometry::Vector2d;

namespace {

// Main GUIDs of the library parts that make niches rather than windows.
const char* const nicheParts[] = {"5BAD5EFE-0F1A-4C6B-91C2-672EF241FA4B", "B1DF0014-79A3-4A6A-9AD7-5242291F6660",
                                  "F8D7E272-1E24-4F6D-BD65-9951911A5C10", "2E8A5E99-2C5E-4CCF-96E1-7F760CAB4E71",
                                  "FD577A13-8C1A-42FB-AE63-5F3CB5C6D918", "15B92AC9-E7B3-4B8A-AA8C-3B5F406333A1",
                                  "DDD13C4A-D5AF-428E-829C-717952EABD77"};

// Openings smaller than this are not measured by the host.
constexpr double smallestMeasuredOpening = 1e-5;
constexpr std::size_t guidTextLength = 36;

// Only doors and windows carry the opening fields that holes are fitted by;
// on any other kind of record those bytes are unrelated fields.
bool IsOpening(API_ElemTypeID type)
{
	return type == API_DoorID || type == API_WindowID;
}

ErrCode GetOpeningRelation(const API_Element& opening, API_OpeningRelation& relation)
{
	relation = {APINULLGuid, APINULLGuid};
	return ACAPI_Element_GetRelations(opening.header.guid, {API_ZoneID, APIVarId_Generic, APINULLGuid}, &relation, 0);
}

// 1: the zone is the opening's from room; 2: its to room; 0: neither.
Int32 FromToRoom(const API_OpeningRelation& relation, const API_Guid& zone)
{
	if (relation.fromRoom == zone)
		return 1;
	return relation.toRoom == zone ? 2 : 0;
}

// A niche window belongs to the zone it opens from; the zone on its other side gets no hole.
CovResult<bool> IsNicheOfAnotherZone(const API_Element& opening, const API_Guid& zone)
{
	if (opening.header.type.typeID != API_WindowID)
		return false;
	CovResult<bool> niche = IsNiche(opening);
	if (!niche.HasValue() || !niche.Value())
		return niche;
	API_OpeningRelation relation;
	if (ErrCode error = GetOpeningRelation(opening, relation); error != NoError)
		return CovError{error};
	return relation.fromRoom != zone;
}

CovResult<API_OpeningQuantity> MeasureOpening(const API_Element& opening)
{
	API_QuantityPar params = {};
	params.minOpeningSize = smallestMeasuredOpening;
	API_ElementQuantity measured = {};
	API_Quantities quantities = {&measured};
	API_QuantitiesMask mask = {};
	bool isDoor = opening.header.type.typeID == API_DoorID;
	API_OpeningQuantity& marks = isDoor ? mask.elements.door : mask.elements.window;
	API_MASK_SET(marks, width1);
	API_MASK_SET(marks, width2);
	if (ErrCode error = ACAPI_Element_GetQuantities(opening.header.guid, &params, &quantities, &mask); error != NoError)
		return CovError{error};
	return isDoor ? measured.door : measured.window;
}

// Writes the five fields that follow the opening: location, lower edge height,
// sill depth, width and height. A location that is not a number (a curved wall
// without radius) is refused rather than written into the model.
ErrCode FitHoleToOpening(API_OpeningType& hole, const API_Element& wall, const API_Element& covering,
                         const API_Element& opening, const API_Guid& zone)
{
	const API_OpeningType& source = opening.door;
	hole.objLoc = ComputeCoveringHoleLocation(wall, covering, source.objLoc);
	if (!std::isfinite(hole.objLoc))
		return COVERR_GENERAL;
	hole.lower = source.lower + wall.wall.bottomOffset - covering.wall.bottomOffset;
	hole.openingBase.subFloorThickness = source.openingBase.subFloorThickness;
	CovResult<double> width = ComputeCoveringHoleWidth(wall, opening, zone);
	if (!width.HasValue())
		return width.Error();
	hole.openingBase.width = width.Value();
	hole.openingBase.height = source.openingBase.height;
	return NoError;
}

// The hole sits in the covering, facing the way the covering does.
void PlaceHoleInCovering(API_OpeningType& hole, const API_Element& covering)
{
	hole.openingBase.revealStyle = 0;
	hole.openingBase.revealPen = 0;
	hole.owner = covering.header.guid;
	hole.openingBase.reflected = false;
	hole.openingBase.openingSide = covering.wall.flipped;
	hole.openingBase.refSide = covering.wall.flipped;
}

ErrCode LinkHole(const API_Guid& hole, const API_Element& covering, const API_Element& opening)
{
	return MakeLinks({{opening.header.guid, hole, LinkOpeningHole},
	                  {hole, opening.header.guid, LinkOpeningHole},
	                  {covering.header.guid, hole, LinkCoveringHole}});
}

double StraightWallHoleLocation(const API_Element& wall, const API_Element& covering, double location)
{
	Point2d wallBegin = ToPoint(wall.wall.begC);
	Point2d wallEnd = ToPoint(wall.wall.endC);
	Point2d coveringBegin = ToPoint(covering.wall.begC);
	Vector2d d = wallEnd - wallBegin;
	Vector2d e = ToPoint(covering.wall.endC) - coveringBegin;
	if (NotParallel(d, e))
		DG::InformationAlert("Not collinear!", "", "OK", "", "");
	Vector2d u = UnitOrXAxis(d);
	if (SameDirection(d, e))
		return location - Geometry::Dot(coveringBegin - wallBegin, u);
	return d.GetLength() - location + Geometry::Dot(coveringBegin - wallEnd, u);
}

Geometry::GenArc ArcOf(const API_Element& wall)
{
	return Geometry::GenArc::CreateCircleArc(ToPoint(wall.wall.begC), ToPoint(wall.wall.endC), wall.wall.angle);
}

// The opening's angle along the wall is taken from the covering's end that
// comes first along the wall; a covering that turns against its wall runs
// from its other end.
double CurvedWallHoleLocation(const API_Element& wall, const API_Element& covering, double location)
{
	Geometry::GenArc wallArc = ArcOf(wall);
	Geometry::GenArc coveringArc = ArcOf(covering);
	double wallTurn = TurnOf(wall.wall.angle);
	bool sameTurn = wallTurn == TurnOf(covering.wall.angle);
	double firstEnd = sameTurn ? coveringArc.GetBegAng() : coveringArc.GetEndAng();
	double offset = wallTurn * Geometry::CalcAngleRelToGenArcBeg(wallArc, firstEnd);
	double coveringRadius = coveringArc.GetMainAxisLength();
	double fromFirstEnd = (location / wallArc.GetMainAxisLength() - offset) * coveringRadius;
	return sameTurn ? fromFirstEnd : std::fabs(covering.wall.angle) * coveringRadius - fromFirstEnd;
}

// Reads each opening of the kind in the wall, in the host's order, and hands
// it to visit, which answers an ErrCode; the first error ends the walk.
template <typename Visit> ErrCode VisitOpenings(const API_Guid& wall, API_ElemType kind, Visit visit)
{
	GS::Array<API_Guid> openings;
	if (ErrCode error = ACAPI_Grouping_GetConnectedElements(wall, kind, &openings, 0, APINULLGuid); error != NoError)
		return error;
	for (const API_Guid& openingGuid : openings) {
		API_Element opening;
		if (ErrCode error = ReadElement(kind.typeID, openingGuid, opening); error != NoError)
			return error;
		if (ErrCode error = visit(opening); error != NoError)
			return error;
	}
	return NoError;
}

// Makes the opening's hole and appends it to holes, unless the opening gets none.
ErrCode AddHoleTo(GS::Array<API_Guid>& holes, const API_Element& wall, const API_Element& covering,
                  const API_Element& opening, const ElementCovSettings& settings, const API_Guid& zone)
{
	CovResult<API_Guid> made = AddCoveringHole(wall, covering, opening, settings, zone);
	if (made.HasValue() && made.Value() != APINULLGuid)
		holes.Push(made.Value());
	return made.Error();
}

// Walks the openings of one kind in a covered wall part and brings the
// covering's holes in line with them.
class HoleUpdater {
public:
	HoleUpdater(const API_Element& wall, const API_WallPart& part, const API_Element& covering,
	            const GS::Array<API_Guid>& holes, const ElementCovSettings& settings, const API_Guid& zone)
	    : wall(wall), part(part), covering(covering), holes(holes), settings(settings), zone(zone)
	{
	}

	// Deletes, re-fits or makes the one hole of the opening in the covering.
	ErrCode Visit(const API_Element& opening)
	{
		CovResult<GS::Array<API_Guid>> matched = LinkTargetsAmong(opening.header.guid, holes);
		if (!matched.HasValue())
			return matched.Error();
		if (matched.Value().GetSize() >= 2)
			return COVERR_HOLE_LINKS;
		if (!OpeningInWallPart(opening, part))
			return ACAPI_Element_Delete(matched.Value());
		if (matched.Value().IsEmpty())
			return AddHoleTo(result.newHoles, wall, covering, opening, settings, zone);
		const API_Guid& hole = matched.Value().GetFirst();
		if (ErrCode error = UpdateCoveringHole(hole, wall, covering, opening, zone); error != NoError)
			return error;
		result.keptHoles.Push(hole);
		return NoError;
	}

	const HoleUpdate& Result() const { return result; }

private:
	const API_Element& wall;
	const API_WallPart& part;
	const API_Element& covering;
	const GS::Array<API_Guid>& holes;
	const ElementCovSettings& settings;
	const API_Guid& zone;
	HoleUpdate result;
};

} // namespace

CovResult<API_Guid> AddCoveringHole(const API_Element& wall, const API_Element& covering, const API_Element& opening,
                                    const ElementCovSettings& settings, const API_Guid& zone)
{
	CovResult<bool> otherZonesNiche = IsNicheOfAnotherZone(opening, zone);
	if (!otherZonesNiche.HasValue())
		return CovError{otherZonesNiche.Error()};
	if (otherZonesNiche.Value())
		return APINULLGuid;
	ElementSource source(settings, SourceElementAndMemo);
	if (ErrCode error = source.Fetch(); error != NoError)
		return CovError{error};
	API_Element hole = source.Template();
	if (!IsOpening(hole.header.type.typeID))
		return CovError{COVERR_GENERAL};
	if (ErrCode error = FitHoleToOpening(hole.door, wall, covering, opening, zone); error != NoError)
		return CovError{error};
	PlaceHoleInCovering(hole.door, covering);
	if (ErrCode error = ACAPI_Element_Create(&hole, source.Memo()); error != NoError)
		return CovError{error};
	if (ErrCode error = LinkHole(hole.header.guid, covering, opening); error != NoError)
		return CovError{error};
	return hole.header.guid;
}

ErrCode AddCoveringHoles(const API_Element& wall, const API_WallPart& part, const API_Element& covering,
                         API_ElemTypeID type, const ElementCovSettings& settings, const API_Guid& zone,
                         GS::Array<API_Guid>& holes)
{
	return VisitOpenings(wall.header.guid, {type, APIVarId_Generic, APINULLGuid}, [&](const API_Element& opening) {
		if (!OpeningInWallPart(opening, part))
			return NoError;
		return AddHoleTo(holes, wall, covering, opening, settings, zone);
	});
}

bool OpeningInWallPart(const API_Element& opening, const API_WallPart& part)
{
	return part.tBeg <= opening.door.objLoc && opening.door.objLoc <= part.tEnd;
}

double ComputeCoveringHoleLocation(const API_Element& wall, const API_Element& covering, double location)
{
	if (wall.wall.angle == 0.0)
		return StraightWallHoleLocation(wall, covering, location);
	return CurvedWallHoleLocation(wall, covering, location);
}

CovResult<double> ComputeCoveringHoleWidth(const API_Element& wall, const API_Element& opening, const API_Guid& zone)
{
	double width = opening.door.openingBase.width;
	if (wall.wall.angle == 0.0)
		return width;
	API_OpeningRelation relation;
	if (ErrCode error = GetOpeningRelation(opening, relation); error != NoError)
		return CovError{error};
	Int32 side = FromToRoom(relation, zone);
	if (side == 0)
		return width;
	if (!IsOpening(opening.header.type.typeID))
		return CovError{COVERR_GENERAL};
	CovResult<API_OpeningQuantity> measured = MeasureOpening(opening);
	if (!measured.HasValue())
		return CovError{measured.Error()};
	// The quantities are measured on the opening's own sides; which of them
	// faces the zone depends on whether the opening is turned in its wall.
	bool sameSides = opening.door.openingBase.openingSide == opening.door.openingBase.refSide;
	bool firstSide = (side == 1) == sameSides;
	return firstSide ? measured.Value().width1 : measured.Value().width2;
}

CovResult<bool> IsNiche(const API_Element& opening)
{
	API_LibPart libPart;
	std::memset(&libPart, 0, sizeof(libPart));
	LibPartLocationGuard releaseLocation(libPart);
	libPart.index = opening.door.openingBase.libInd;
	// Taken for no niche, an unreadable part would give this zone a hole for
	// the niche of the zone on the other side.
	if (ErrCode error = ACAPI_LibraryPart_Get(&libPart); error != NoError)
		return CovError{error};
	std::string uniqueId(libPart.ownUnID, strnlen(libPart.ownUnID, sizeof(libPart.ownUnID)));
	if (uniqueId.size() < guidTextLength + 1)
		return false;
	GS::Guid main(uniqueId.substr(1, guidTextLength).c_str());
	if (main.IsNull())
		return false;
	for (const char* niche : nicheParts) {
		if (main == GS::Guid(niche))
			return true;
	}
	return false;
}

ErrCode SetPCCForNewOpenings(API_ElemTypeID type, const ElementCovSettings& settings, const GS::Array<API_Guid>& holes)
{
	if (holes.IsEmpty())
		return NoError;
	ClassificationList defaults;
	if (ErrCode error = GetDefaultClassificationItems(type, defaults); error != NoError)
		return error;
	ElementSource source(settings, SourcePCC);
	if (ErrCode error = source.Fetch(); error != NoError)
		return error;
	return source.ApplyPCC(holes, defaults);
}

ErrCode UpdateCoveringHole(API_Guid hole, const API_Element& wall, const API_Element& covering,
                           const API_Element& opening, API_Guid zone)
{
	API_Element record;
	if (ErrCode error = ReadElement(API_ZombieElemID, hole, record); error != NoError)
		return error;
	if (!IsOpening(record.header.type.typeID))
		return COVERR_GENERAL;
	if (ErrCode error = FitHoleToOpening(record.door, wall, covering, opening, zone); error != NoError)
		return error;
	API_Element mask;
	std::memset(&mask, 0, sizeof(mask));
	API_MASK_SET(mask, door.objLoc);
	API_MASK_SET(mask, door.lower);
	API_MASK_SET(mask, door.openingBase.subFloorThickness);
	API_MASK_SET(mask, door.openingBase.width);
	API_MASK_SET(mask, door.openingBase.height);
	return ACAPI_Element_Change(&record, &mask, nullptr, 0, true);
}

CovResult<HoleUpdate> UpdateCoveringHoles(const API_Element& wall, const API_WallPart& part,
                                          const API_Element& covering, const GS::Array<API_Guid>& holes,
                                          API_ElemType kind, const ElementCovSettings& settings, API_Guid zone)
{
	HoleUpdater updater(wall, part, covering, holes, settings, zone);
	if (ErrCode error = VisitOpenings(wall.header.guid, kind,
	                                  [&updater](const API_Element& opening) { return updater.Visit(opening); });
	    error != NoError)
		return CovError{error};
	return updater.Result();
}
