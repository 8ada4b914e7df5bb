#include "SampleTestSupport.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "CoveringIdentity.hpp"

namespace RunnerTest {

std::optional<Int32> SampleLibraryIndex(const Runner::LibraryPartRef& part)
{
	if (part.name == "door")
		return 1;
	if (part.name == "window")
		return 2;
	if (part.name == "niche window")
		return NicheIndex;
	return std::nullopt;
}

Runner::LoadedProject LoadSample()
{
	Runner::LoadResult result = Runner::LoadSampleProject(SamplePath, SampleLibraryIndex);
	EXPECT_EQ(result.error, Runner::LoadError::None) << result.message;
	return result.project.value_or(Runner::LoadedProject());
}

API_Element Record(const API_Guid& guid)
{
	std::optional<API_Element> element = HostControl::GetElement(guid);
	EXPECT_TRUE(element.has_value());
	if (element)
		return *element;
	API_Element empty;
	std::memset(&empty, 0, sizeof(empty));
	return empty;
}

ZoneRelation::ZoneRelation(const API_Guid& zone)
{
	EXPECT_EQ(ACAPI_Element_GetRelations(zone, {API_WallID, APIVarId_Generic, APINULLGuid}, &relation), NoError);
}

ZoneRelation::~ZoneRelation()
{
	ACAPI_DisposeRoomRelationHdls(&relation);
}

std::vector<API_Guid> ZoneRelation::ListOf(API_ElemTypeID type) const
{
	std::vector<API_Guid> list;
	const GS::Array<API_Guid>* found =
	    relation.elementsGroupedByType.GetPtr(API_ElemType{type, APIVarId_Generic, APINULLGuid});
	if (found != nullptr)
		list.assign(found->begin(), found->end());
	return list;
}

API_OpeningRelation OpeningRelation(const API_Guid& opening)
{
	API_OpeningRelation relation = {APINULLGuid, APINULLGuid};
	EXPECT_EQ(ACAPI_Element_GetRelations(opening, {API_ZoneID, APIVarId_Generic, APINULLGuid}, &relation), NoError);
	return relation;
}

Runner::PlanLine ZoneEdge(const HostControl::MemoParts& polygon, Int32 edge)
{
	return Runner::OutlineEdge(*polygon.coords, polygon.arcs.value_or(std::vector<API_PolyArc>()), edge);
}

bool IsValidEdge(const HostControl::MemoParts& polygon, Int32 edge)
{
	const std::vector<Int32>& pends = *polygon.pends;
	return edge >= 1 && edge < pends.back() && std::find(pends.begin() + 1, pends.end(), edge) == pends.end();
}

std::vector<Int32> EdgesOf(const HostControl::MemoParts& polygon)
{
	std::vector<Int32> edges;
	for (Int32 edge = 1; edge < polygon.pends->back(); ++edge) {
		if (IsValidEdge(polygon, edge))
			edges.push_back(edge);
	}
	return edges;
}

Runner::PlanLine ReferenceLine(const API_Element& wall)
{
	return Runner::ReferenceLine(wall.wall);
}

// On a face and outside the wall, the middle of a covering's body stands off
// the middle of the wall's by half of both thicknesses, all along it.
std::size_t ExpectWallCoveringsOnFaces()
{
	std::size_t coverings = 0;
	for (const API_Guid& guid : HostControl::Elements(API_WallID)) {
		API_Element wall = Record(guid);
		Runner::Band body = Runner::WallBand(wall.wall);
		for (const HostControl::Link& link : HostControl::LinksFrom(guid)) {
			if (link.flags != LinkElemCovering)
				continue;
			API_Element covering = Record(link.to);
			Runner::Band own = Runner::WallBand(covering.wall);
			Runner::PlanLine line = ReferenceLine(covering);
			for (double share : {0.0, 0.5, 1.0}) {
				API_Coord middle =
				    Runner::PointAt(line, {Runner::LineLength(line) * share, (own.left + own.right) / 2});
				double off = Runner::StationOf(ReferenceLine(wall), middle).left - (body.left + body.right) / 2;
				EXPECT_NEAR(std::fabs(off), (wall.wall.thickness + covering.wall.thickness) / 2, 1e-6)
				    << "covering " << coverings + 1 << " at (" << middle.x << ", " << middle.y << ")";
			}
			++coverings;
		}
	}
	return coverings;
}

} // namespace RunnerTest
