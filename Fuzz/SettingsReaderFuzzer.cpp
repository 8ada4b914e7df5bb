// libFuzzer target: the stored palette state read from arbitrary bytes. A
// read may fail, but never crash, leak or touch memory it does not own; what
// it accepts writes, reads back and writes again to the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "CoveringSettings.hpp"
#include "GS/Channel.hpp"
#include "HostControl.hpp"

namespace {

[[noreturn]] void Fail(const char* what)
{
	std::fprintf(stderr, "settings fuzzer: %s\n", what);
	std::abort();
}

std::vector<char> Written(const PaletteSettings& settings)
{
	GS::MemoryOChannel32 out;
	if (settings.Write(out) != NoError)
		Fail("settings that were read cannot be written");
	return std::vector<char>(out.GetDestination(), out.GetDestination() + out.GetDataSize());
}

void CheckRoundTrip(const PaletteSettings& read)
{
	std::vector<char> first = Written(read);
	PaletteSettings again;
	GS::MemoryIChannel32 in(first.data(), static_cast<USize>(first.size()));
	if (again.Read(in) != NoError)
		Fail("written settings do not read back");
	if (Written(again) != first)
		Fail("settings read back write other bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	Int32 handles = HostControl::LiveHandleCount();
	Int32 pointers = HostControl::LivePointerCount();
	{
		PaletteSettings settings;
		GS::MemoryIChannel32 in(reinterpret_cast<const char*>(data), static_cast<USize>(size));
		if (settings.Read(in) == NoError)
			CheckRoundTrip(settings);
	}
	if (HostControl::LiveHandleCount() != handles || HostControl::LivePointerCount() != pointers)
		Fail("memory handles or pointer blocks leaked");
	return 0;
}
