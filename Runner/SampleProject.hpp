// Sample projects: a readable JSON file that describes stories, walls,
// columns, zones, doors and windows and the relations the host reports
// between them, opened in the stand-in host through its control interface.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "HostControl.hpp"

namespace Runner {

// A library part that an opening names symbolically in its 'libInd'.
struct LibraryPartRef {
	std::string name;
	std::string unID; // "{main GUID}-{revision GUID}"
};
// The 1-based library index of a part in the libraries that every new project
// holds, or none when they lack it. It is asked while the file is read, before
// the host's project is replaced.
using LibraryPartLookup = std::function<std::optional<Int32>(const LibraryPartRef&)>;

// The lookup in the host's project as it stands, by the part's main GUID.
std::optional<Int32> LibraryIndexInProject(const LibraryPartRef& part);

struct LoadedZone {
	API_Guid guid;
	std::string id;
	std::string number;
	std::string name;
	std::size_t wallParts;
};

struct LoadedProject {
	std::string name;
	std::vector<LoadedZone> zones;        // in file order
	std::map<std::string, API_Guid> byId; // every element of the file
};

enum class LoadError {
	None,
	Unreadable, // the file cannot be read
	NotJson,    // the text is not JSON
	BadContent  // JSON, but not a sample project this loader accepts
};

struct LoadResult {
	std::optional<LoadedProject> project;
	LoadError error = LoadError::None;
	std::string message; // where in the file and what is wrong; empty when loaded
};

// Reads the whole description first; only a description without faults
// replaces the host's project, as the host reads a project file before it
// tells the add-on that the project was opened.
// On an error the host is left as it was.
LoadResult LoadSampleProjectText(const std::string& text, const LibraryPartLookup& libraryParts);
LoadResult LoadSampleProject(const std::string& path, const LibraryPartLookup& libraryParts);

// The elements of the host's project that the sample did not bring: what a
// run made after opening it.
std::set<API_Guid> ElementsAddedSince(const LoadedProject& project);

} // namespace Runner
