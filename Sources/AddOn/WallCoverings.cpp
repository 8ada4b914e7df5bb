#include "WallCoverings.hpp"

#include <cmath>

#include "API/Commands.hpp"
#include "API/Grouping.hpp"
#include "API/Relations.hpp"
#include "ColumnCoverings.hpp"
#include "CoveringElementSource.hpp"
#include "CoveringHoles.hpp"
#include "CoveringIdentity.hpp"
#include "ElementReading.hpp"
#include "GS/HashTable.hpp"
#include "ScopeGuards.hpp"
#include "WallCoveringGeometry.hpp"
#include "ZonePolygon.hpp"

namespace {

// The coverings of one wall in creation order, each with its zone edge.
struct CoveringsOfWall {
	GS::Array<API_Guid> coverings;
	GS::Array<int> edges;
};

// What one call has made so far, in the orders the later steps rely on.
struct MadeCoverings {
	// Walls in the order in which they received their first covering.
	GS::HashTable<API_Guid, CoveringsOfWall> perWall;
	GS::Array<int> usedEdges; // in first-use order
	GS::Array<API_Guid> coverings;
	GS::Array<API_Guid> doorHoles;
	GS::Array<API_Guid> windowHoles;

	void Add(const API_Guid& wall, const API_Guid& covering, int edge)
	{
		perWall.Add(wall, {});
		perWall.Get(wall).coverings.Push(covering);
		perWall.Get(wall).edges.Push(edge);
		coverings.Push(covering);
		if (!usedEdges.Contains(edge))
			usedEdges.Push(edge);
	}

	GS::Array<API_Guid> AllElements() const
	{
		GS::Array<API_Guid> all = coverings;
		all.Append(doorHoles);
		all.Append(windowHoles);
		return all;
	}
};

bool HasFinitePlacement(const API_WallType& covering)
{
	return std::isfinite(covering.begC.x) && std::isfinite(covering.begC.y) && std::isfinite(covering.endC.x) &&
	       std::isfinite(covering.endC.y) && std::isfinite(covering.angle);
}

// Covers the parts of the zone's boundary walls one by one.
class WallPartCoverer {
public:
	WallPartCoverer(const API_Element& zone, const ZonePolygon& polygon, const ZoneEdgeMap& edges,
	                const API_Element& coveringTemplate, const WallCovSettings& settings, MadeCoverings& made)
	    : zone(zone), polygon(polygon), edges(edges), coveringTemplate(coveringTemplate), settings(settings), made(made)
	{
	}

	ErrCode Cover(const API_WallPart& part)
	{
		const Sector* edge = edges.GetPtr(part.roomEdge);
		if (edge == nullptr)
			return NoError;
		double edgeArcAngle = GetZoneEdgeAngle(polygon, part.roomEdge);
		API_Element wall;
		if (ErrCode error = ReadElement(API_WallID, part.guid, wall); error != NoError)
			return error;
		if (wall.wall.zoneRel != APIZRel_Boundary)
			return NoError;
		API_Element covering = coveringTemplate;
		bool wholeEdge = CalcCoveringGeometry(covering, edgeArcAngle, edge->BegPoint(), edge->EndPoint(), wall, part);
		// A curved wall whose ends coincide has no radius to place the part by.
		if (!HasFinitePlacement(covering.wall))
			return COVERR_GENERAL;
		CovResult<API_Guid> madeCovering =
		    MakeCoveringWall(covering, zone, wall.header.guid, static_cast<UInt32>(part.roomEdge));
		if (!madeCovering.HasValue())
			return madeCovering.Error();
		covering.header.guid = madeCovering.Value();
		made.Add(wall.header.guid, covering.header.guid, part.roomEdge);
		if (wholeEdge)
			return NoError;
		if (ErrCode error = MakeHoles(API_DoorID, settings.doorHoles, wall, part, covering, made.doorHoles);
		    error != NoError)
			return error;
		return MakeHoles(API_WindowID, settings.windowHoles, wall, part, covering, made.windowHoles);
	}

private:
	ErrCode MakeHoles(API_ElemTypeID type, const ElementCovSettings& kind, const API_Element& wall,
	                  const API_WallPart& part, const API_Element& covering, GS::Array<API_Guid>& holes)
	{
		if (!kind.enabled)
			return NoError;
		return AddCoveringHoles(wall, part, covering, type, kind, zone.header.guid, holes);
	}

	const API_Element& zone;
	const ZonePolygon& polygon;
	const ZoneEdgeMap& edges;
	const API_Element& coveringTemplate;
	const WallCovSettings& settings;
	MadeCoverings& made;
};

ErrCode GiveCoveringsPCCAndGroup(const MadeCoverings& made, const ElementSource& source)
{
	if (made.coverings.IsEmpty())
		return NoError;
	ClassificationList defaults;
	if (ErrCode error = GetDefaultClassificationItems(API_WallID, defaults); error != NoError)
		return error;
	if (ErrCode error = source.ApplyPCC(made.coverings, defaults); error != NoError)
		return error;
	return ACAPI_Grouping_CreateGroup(made.coverings, nullptr, nullptr);
}

ErrCode GiveHolesPCC(const MadeCoverings& made, const WallCovSettings& settings)
{
	if (ErrCode error = SetPCCForNewOpenings(API_DoorID, settings.doorHoles, made.doorHoles); error != NoError)
		return error;
	return SetPCCForNewOpenings(API_WindowID, settings.windowHoles, made.windowHoles);
}

// Each covering of the wall gets its rank along the zone polygon as its order
// number; then the zone is linked to the wall.
ErrCode NumberCoveringsAndLinkWall(const API_Guid& zone, const API_Guid& wall, const CoveringsOfWall& made)
{
	GS::Array<UInt32> order = SortIndices(made.edges);
	CoveringNumberWriter writer;
	if (ErrCode error = writer.Status(); error != NoError)
		return error;
	for (UInt32 k = 0; k < order.GetSize(); ++k) {
		if (ErrCode error = writer.Store(made.coverings[order[k]], k); error != NoError)
			return error;
	}
	return ACAPI_ElementLink_Link(zone, wall, LinkZoneWall);
}

ErrCode NumberAndLinkWalls(const API_Guid& zone, const MadeCoverings& made)
{
	for (const auto& entry : made.perWall) {
		if (ErrCode error = NumberCoveringsAndLinkWall(zone, entry.key, entry.value); error != NoError)
			return error;
	}
	return NoError;
}

ErrCode AddColumnCoverings(ZoneEdgeMap& edges, const API_Element& zone, const API_ElementMemo& zoneMemo,
                           const API_Element& coveringTemplate, MadeCoverings& made)
{
	// The edges that wall coverings took are no column's; the order of their
	// removal decides the order in which the columns meet the others.
	for (int edge : made.usedEdges)
		edges.Delete(edge);
	CovResult<GS::Array<API_Guid>> columnCoverings = CreateColumnCoverings(edges, zone, zoneMemo, coveringTemplate);
	if (!columnCoverings.HasValue())
		return columnCoverings.Error();
	made.coverings.Append(columnCoverings.Value());
	return NoError;
}

} // namespace

CovResult<GS::Array<API_Guid>> CreateWallCoverings(const API_Element& zone, const API_ElementMemo& zoneMemo,
                                                   const WallCovSettings& settings)
{
	API_RoomRelation relation;
	// The relation hands over the niche outlines of the zone, which this step does not use.
	RoomRelationGuard releaseNiches(relation);
	if (ErrCode error =
	        ACAPI_Element_GetRelations(zone.header.guid, {API_WallID, APIVarId_Generic, APINULLGuid}, &relation, 0);
	    error != NoError) {
		DBPrintf("Get Room relations has an error. err code %d!\n", error);
		return CovError{error};
	}
	ElementSource source(settings, SourceElementAndPCC);
	if (ErrCode error = source.Fetch(); error != NoError)
		return CovError{error};
	// Coverings are placed through the wall fields of the template; any other
	// kind of record would have unrelated fields overwritten.
	if (source.Template().header.type.typeID != API_WallID)
		return CovError{COVERR_GENERAL};

	ZonePolygon polygon(zone, zoneMemo);
	ZoneEdgeMap edges = MakeZoneEdgeMapForAdd(polygon, settings.innerContours);
	MadeCoverings made;
	WallPartCoverer coverer(zone, polygon, edges, source.Template(), settings, made);
	for (const API_WallPart& part : relation.wallPart) {
		if (ErrCode error = coverer.Cover(part); error != NoError)
			return CovError{error};
	}
	if (settings.columnCoverings) {
		if (ErrCode error = AddColumnCoverings(edges, zone, zoneMemo, source.Template(), made); error != NoError)
			return CovError{error};
	}
	if (ErrCode error = GiveCoveringsPCCAndGroup(made, source); error != NoError)
		return CovError{error};
	if (ErrCode error = GiveHolesPCC(made, settings); error != NoError)
		return CovError{error};
	if (ErrCode error = NumberAndLinkWalls(zone.header.guid, made); error != NoError)
		return CovError{error};
	return made.AllElements();
}
