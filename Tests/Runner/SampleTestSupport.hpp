// Helpers of the runner's tests: the shipped sample, opened with made-up
// library indices, and the host's view of zones and their relations.
#pragma once

#include <string>

#include "API/Relations.hpp"
#include "HostTest.hpp"
#include "PlanGeometry.hpp"
#include "SampleProject.hpp"

namespace RunnerTest {

inline const std::string SamplePath = std::string(VELMORA_SAMPLES_DIR) + "/apartment.json";
// One room with a window on the story above the ground floor.
inline const std::string UpperRoomPath = std::string(VELMORA_TEST_SAMPLES_DIR) + "/upper-room.json";

// Library indices for the sample's symbolic parts; the niche part is 3.
constexpr Int32 NicheIndex = 3;
std::optional<Int32> SampleLibraryIndex(const Runner::LibraryPartRef& part);

Runner::LoadedProject LoadSample();

API_Element Record(const API_Guid& guid);

// The relation the host reports for a zone, released when it goes.
class ZoneRelation {
public:
	explicit ZoneRelation(const API_Guid& zone);
	~ZoneRelation();
	ZoneRelation(const ZoneRelation&) = delete;
	ZoneRelation& operator=(const ZoneRelation&) = delete;

	const API_RoomRelation& Get() const { return relation; }
	std::vector<API_Guid> ListOf(API_ElemTypeID type) const;

private:
	API_RoomRelation relation;
};

API_OpeningRelation OpeningRelation(const API_Guid& opening);

// Edge n of a zone polygon, curved edges with their arc angle.
Runner::PlanLine ZoneEdge(const HostControl::MemoParts& polygon, Int32 edge);
bool IsValidEdge(const HostControl::MemoParts& polygon, Int32 edge);
std::vector<Int32> EdgesOf(const HostControl::MemoParts& polygon);

Runner::PlanLine ReferenceLine(const API_Element& wall);

// Checks that every covering of a wall in the project lies against one of the
// wall's faces, outside it; returns how many there are.
std::size_t ExpectWallCoveringsOnFaces();

} // namespace RunnerTest
