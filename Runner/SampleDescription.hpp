// A sample project as read from its file and checked, before any of it
// reaches the host: element records without GUIDs, and the relations between
// elements by the ids the file gives them.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "SampleProject.hpp"

namespace Runner {

// What a building can hold; a sample beyond it is refused.
constexpr double MaxPosition = 10000.0; // metres from the origin: coordinates, levels, distances along walls
constexpr double MaxSize = 1000.0;      // metres: thicknesses, widths, depths, heights, sills
constexpr Int32 MaxStoryIndex = 250;    // stories above the ground floor

struct StoryDescription {
	Int16 index;
	double level;
	std::string name;
};

struct ElementDescription {
	std::string id;
	API_Element record;
	HostControl::MemoParts memo;
};

struct WallPartDescription {
	std::string wall;
	Int32 edge;
	double begin;
	double end;
};

struct ZoneDescription {
	ElementDescription element;
	std::string number;
	std::string name;
	std::vector<WallPartDescription> wallParts;
	std::vector<std::pair<API_ElemTypeID, std::vector<std::string>>> relatedByType;
	std::vector<HostControl::NichePolygon> niches;
};

struct OpeningDescription {
	ElementDescription element;
	std::string wall;
	std::string fromZone; // empty: the outside
	std::string toZone;
	std::optional<std::pair<double, double>> measuredWidths;
};

struct SampleDescription {
	std::string name;
	std::vector<StoryDescription> stories; // above the ground floor, which every project has
	std::vector<ElementDescription> walls;
	std::vector<ElementDescription> columns;
	std::vector<ZoneDescription> zones;
	std::vector<OpeningDescription> openings; // doors, then windows
	std::vector<HostControl::Favorite> favorites;
};

class SampleError : public std::runtime_error {
public:
	SampleError(LoadError kind, const std::string& message) : std::runtime_error(message), kind(kind) {}
	LoadError kind;
};

// Throws SampleError for text that is not JSON or not a sample project.
SampleDescription ReadSampleDescription(const std::string& text, const LibraryPartLookup& libraryParts);

// Replaces the host's project with the description's (the host is reset, as
// when a project is opened). Building a description whose references were
// checked when it was read cannot fail.
LoadedProject BuildSampleProject(const SampleDescription& sample);

} // namespace Runner
