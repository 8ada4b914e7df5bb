#include "OutputFile.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace Runner {

namespace {

// The file itself with the links in its folders followed, also when it does not exist yet.
std::string Resolved(const std::string& path)
{
	std::error_code error;
	fs::path absolute = AbsolutePath(path);
	fs::path file = fs::canonical(absolute, error);
	if (!error)
		return file.string();
	fs::path folder = fs::canonical(absolute.parent_path(), error);
	return error ? absolute.string() : (folder / absolute.filename()).string();
}

bool IsSameFile(const std::string& resolved, const std::string& other)
{
	std::error_code error;
	return fs::equivalent(resolved, other, error) || resolved == Resolved(other);
}

// Why a file of this status cannot be written over; empty for a regular file.
std::string KindProblem(mode_t mode)
{
	if (S_ISREG(mode))
		return "";
	if (S_ISDIR(mode))
		return "is a folder";
	if (S_ISFIFO(mode))
		return "is a named pipe";
	if (S_ISCHR(mode) || S_ISBLK(mode))
		return "is a device";
	return "is not a regular file";
}

// Why the resolved file cannot be written; empty when it can.
std::string FileProblem(const std::string& file)
{
	struct stat status;
	if (::stat(file.c_str(), &status) == 0) {
		if (std::string kind = KindProblem(status.st_mode); !kind.empty())
			return kind;
		if (::access(file.c_str(), W_OK) != 0)
			return "cannot be written";
	} else if (errno != ENOENT) {
		return errno == ENOTDIR ? "its folder does not exist" : "cannot be written";
	}
	std::string folder = fs::path(file).parent_path().string();
	if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
		return "its folder does not exist";
	// The new text goes in beside the file and is renamed over it.
	if (::access(folder.c_str(), W_OK | X_OK) != 0)
		return "its folder cannot be written";
	return "";
}

} // namespace

std::string AbsolutePath(const std::string& path)
{
	std::error_code error;
	fs::path absolute = fs::absolute(path, error);
	return error ? path : absolute.lexically_normal().string();
}

OutputTarget CheckOutputPath(const std::string& path, const std::vector<KeptFile>& kept)
{
	OutputTarget target{Resolved(path), ""};
	std::string shown = path;
	struct stat status;
	if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
		std::error_code error;
		if (!fs::exists(path, error)) {
			target.problem = path + ": is a link to no file";
			return target;
		}
		shown += " (a link to " + target.file + ")";
	}
	for (const KeptFile& file : kept) {
		if (IsSameFile(target.file, file.path)) {
			target.problem = shown + ": " + file.reason;
			return target;
		}
	}
	if (std::string problem = FileProblem(target.file); !problem.empty())
		target.problem = shown + ": " + problem;
	return target;
}

bool WriteTextFile(const std::string& file, const std::string& text, std::string& error)
{
	// Exclusive, so that a link or pipe left under the temporary name is never written through.
	std::string beside = file + ".part" + std::to_string(::getpid());
	std::FILE* stream = std::fopen(beside.c_str(), "wbx");
	bool written = stream != nullptr && std::fwrite(text.data(), 1, text.size(), stream) == text.size();
	if (stream != nullptr)
		written = std::fclose(stream) == 0 && written;
	std::error_code failure;
	if (written)
		fs::rename(beside, file, failure);
	if (!written || failure) {
		if (stream != nullptr)
			fs::remove(beside, failure);
		error = file + ": cannot be written";
		return false;
	}
	return true;
}

} // namespace Runner
