#include "Transcript.hpp"

#include <unistd.h>

#include <cerrno>

namespace Runner {

TranscriptBuffer::TranscriptBuffer(int descriptor) : descriptor(descriptor)
{
	setp(buffer.data(), buffer.data() + buffer.size());
}

int TranscriptBuffer::Finish()
{
	sync();
	return failure;
}

TranscriptBuffer::int_type TranscriptBuffer::overflow(int_type c)
{
	if (sync() != 0)
		return traits_type::eof();
	if (!traits_type::eq_int_type(c, traits_type::eof()))
		sputc(traits_type::to_char_type(c));
	return traits_type::not_eof(c);
}

// After a failed write the rest is dropped: the run goes on and tells the failure at its end.
int TranscriptBuffer::sync()
{
	for (const char* next = pbase(); failure == 0 && next < pptr();) {
		ssize_t written = ::write(descriptor, next, static_cast<std::size_t>(pptr() - next));
		if (written > 0)
			next += written;
		else if (written == 0)
			failure = EIO; // the descriptor takes nothing more
		else if (errno != EINTR)
			failure = errno;
	}
	setp(buffer.data(), buffer.data() + buffer.size());
	return failure == 0 ? 0 : -1;
}

} // namespace Runner
