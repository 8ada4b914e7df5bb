#include "TempFolder.hpp"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
	std::string pattern = (fs::path(::testing::TempDir()) / "velmora-XXXXXX").string();
	if (::mkdtemp(pattern.data()) == nullptr)
		throw fs::filesystem_error("cannot make a temporary folder", pattern,
		                           std::error_code(errno, std::generic_category()));
	path = pattern;
}

TempFolder::~TempFolder()
{
	std::error_code ignored;
	fs::remove_all(path, ignored);
}
