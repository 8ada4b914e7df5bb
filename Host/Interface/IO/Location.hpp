// File-system locations of the host's IO library.
#pragma once

#include "GS/UniString.hpp"

namespace IO {

// One local name: a file's or a folder's name without its folder.
class Name {
public:
	Name(const GS::UniString& text) : text(text) {}
	GS::UniString ToString() const { return text; }

private:
	GS::UniString text;
};

// A path made of local names separated by '/'.
class Location {
public:
	Location() = default;
	explicit Location(const GS::UniString& path) : path(path) {}
	// A location that the host handed out stops counting as live memory here.
	~Location();

	GS::UniString ToDisplayText() const { return path; }
	// Replaces the last local name: a file's location becomes that of a sibling.
	GSErrCode SetLastLocalName(const Name& name);

private:
	GS::UniString path;
};

} // namespace IO
