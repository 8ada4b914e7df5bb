// The files a run writes: checked before the run starts, written whole or not at all.
#pragma once

#include <string>
#include <vector>

namespace Runner {

// The path from the current folder, without "." and ".." steps.
std::string AbsolutePath(const std::string& path);

// A file that an output must not be written over, and what to say when it would be.
struct KeptFile {
	std::string path;
	std::string reason;
};

struct OutputTarget {
	// The file that gets written: the path's own, or the one its symbolic link
	// leads to, with every link in its folders followed.
	std::string file;
	std::string problem; // the path and why it cannot be written; empty when it can
};

// Checks the path by its status alone, without opening it (a named pipe
// would stall the run): it must be new or a regular file, directly or behind
// a link, in a folder that can be written, and none of the kept files.
OutputTarget CheckOutputPath(const std::string& path, const std::vector<KeptFile>& kept);

// Writes the text beside the file first and then puts it in the file's place,
// so that a failure leaves the file as it was. False, with the reason in
// `error`, when it cannot be written.
bool WriteTextFile(const std::string& file, const std::string& text, std::string& error);

} // namespace Runner
