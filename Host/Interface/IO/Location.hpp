// File-system locations of the host's IO library.
#pragma once

#include <string>

#include "GS/UniString.hpp"

namespace IO {

class Name {
public:
	explicit Name(const GS::UniString& text) : text(text) {}
	const GS::UniString& ToString() const { return text; }

private:
	GS::UniString text;
};

// A path made of local names separated by '/'.
class Location {
public:
	Location() = default;
	explicit Location(const GS::UniString& path) : path(path) {}

	GSErrCode SetLastLocalName(const Name& name);
	GS::UniString ToDisplayText() const { return path; }

private:
	GS::UniString path;
};

} // namespace IO
