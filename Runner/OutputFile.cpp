#include "OutputFile.hpp"

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace Runner {

namespace {

bool IsSameFile(const std::string& a, const std::string& b)
{
	std::error_code error;
	return fs::equivalent(a, b, error) || AbsolutePath(a) == AbsolutePath(b);
}

// Opened for appending, an existing file keeps its bytes; a new one is removed again.
bool CanOpenForWriting(const fs::path& path)
{
	std::error_code error;
	bool existed = fs::exists(path, error);
	bool opened = std::ofstream(path, std::ios::binary | std::ios::app).is_open();
	if (opened && !existed)
		fs::remove(path, error);
	return opened;
}

std::string Reason(const std::string& path, const std::string& protectedPath)
{
	std::error_code error;
	if (IsSameFile(path, protectedPath))
		return "is the sample file itself";
	if (fs::is_directory(path, error))
		return "is a folder";
	fs::path folder = fs::path(AbsolutePath(path)).parent_path();
	if (!fs::is_directory(folder, error))
		return "its folder does not exist";
	if (!CanOpenForWriting(path))
		return "cannot be written";
	return "";
}

} // namespace

std::string AbsolutePath(const std::string& path)
{
	std::error_code error;
	fs::path absolute = fs::absolute(path, error);
	return error ? path : absolute.lexically_normal().string();
}

std::string OutputPathProblem(const std::string& path, const std::string& protectedPath)
{
	std::string reason = Reason(path, protectedPath);
	return reason.empty() ? reason : path + ": " + reason;
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error)
{
	std::string beside = path + ".part" + std::to_string(::getpid());
	std::ofstream file(beside, std::ios::binary | std::ios::trunc);
	if (file)
		file << text;
	file.close();
	std::error_code failure;
	if (file)
		fs::rename(beside, path, failure);
	if (!file || failure) {
		fs::remove(beside, failure);
		error = path + ": cannot be written";
		return false;
	}
	return true;
}

} // namespace Runner
