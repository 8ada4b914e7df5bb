// A fresh folder of one test's own under the temporary folder, removed with
// everything in it when the test ends. Fixed names would be shared: ctest
// runs tests in parallel processes, and other checkouts run theirs beside.
#pragma once

#include <filesystem>

class TempFolder {
public:
	TempFolder();
	~TempFolder();
	TempFolder(const TempFolder&) = delete;
	TempFolder& operator=(const TempFolder&) = delete;

	const std::filesystem::path& Path() const { return path; }

private:
	std::filesystem::path path;
};
