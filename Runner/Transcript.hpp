// The transcript of a run, written to a file descriptor through a buffer of
// its own that keeps the reason of a write that failed: a full disk or a
// reader that went away must end the run with an error, not lose the
// transcript without a word.
#pragma once

#include <array>
#include <streambuf>

namespace Runner {

class TranscriptBuffer : public std::streambuf {
public:
	explicit TranscriptBuffer(int descriptor);

	// Writes out what is buffered; the errno of the first write that failed, or 0.
	int Finish();

protected:
	int_type overflow(int_type c) override;
	int sync() override;

private:
	int descriptor;
	int failure = 0;
	std::array<char, 4096> buffer;
};

} // namespace Runner
