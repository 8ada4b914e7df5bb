// The plan's file: checked before a run starts, written whole or not at all.
#pragma once

#include <string>

namespace Runner {

// The path from the current folder, without "." and ".." steps.
std::string AbsolutePath(const std::string& path);

// Empty when a file can be written at `path` without touching `protectedPath`
// (the sample it is drawn from), else the path and why not. Leaves no trace.
std::string OutputPathProblem(const std::string& path, const std::string& protectedPath);

// Writes the text beside the file first and then puts it in the file's place,
// so that a failure leaves the file as it was. False, with the reason in
// `error`, when it cannot be written.
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);

} // namespace Runner
