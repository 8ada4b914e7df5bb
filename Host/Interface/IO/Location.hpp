// File-system locations of the host's IO library.
#pragma once

#include "GS/UniString.hpp"

namespace IO {

// A path made of local names separated by '/'.
class Location {
public:
	Location() = default;
	explicit Location(const GS::UniString& path) : path(path) {}
	// A location that the host handed out stops counting as live memory here.
	~Location();

	GS::UniString ToDisplayText() const { return path; }

private:
	GS::UniString path;
};

} // namespace IO
