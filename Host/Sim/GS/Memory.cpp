#include "Sim/GS/Memory.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "GS/Memory.hpp"
#include "Sim/Control/Faults.hpp"

namespace {

// A handle points at the first member of its block, which points at the data.
struct HandleBlock {
	char* data;
	GSSize size;
};

std::unordered_map<GSConstHandle, HandleBlock*>& LiveHandles()
{
	static std::unordered_map<GSConstHandle, HandleBlock*> handles;
	return handles;
}

std::unordered_map<GSConstPtr, GSSize>& LivePointers()
{
	static std::unordered_map<GSConstPtr, GSSize> pointers;
	return pointers;
}

std::unordered_set<const void*>& HandedOutObjects()
{
	static std::unordered_set<const void*> objects;
	return objects;
}

GSSize& LargestSize()
{
	static GSSize largest = 0;
	return largest;
}

void NoteHandleSize(GSSize size)
{
	LargestSize() = std::max(LargestSize(), size);
}

[[noreturn]] void Misuse(const char* what)
{
	std::fprintf(stderr, "host memory misuse: %s\n", what);
	std::abort();
}

char* NewBytes(GSSize size, GSFlags flags)
{
	char* bytes = static_cast<char*>(std::malloc(size > 0 ? static_cast<std::size_t>(size) : 1));
	if (bytes == nullptr)
		return nullptr;
	// Without the clear flag the block holds garbage, so that code that relies
	// on zeroed memory shows up in tests.
	std::memset(bytes, (flags & ALLOCATE_CLEAR) != 0 ? 0 : 0xA5, size > 0 ? static_cast<std::size_t>(size) : 1);
	return bytes;
}

HandleBlock* FindBlock(GSConstHandle handle)
{
	auto found = LiveHandles().find(handle);
	if (found == LiveHandles().end())
		Misuse("unknown handle");
	return found->second;
}

GSHandle NewHandle(GSSize size, GSFlags flags)
{
	if (size < 0)
		return nullptr;
	char* bytes = NewBytes(size, flags);
	if (bytes == nullptr)
		return nullptr;
	NoteHandleSize(size);
	auto* block = new HandleBlock{bytes, size};
	GSHandle handle = &block->data;
	LiveHandles().emplace(handle, block);
	return handle;
}

} // namespace

namespace Sim {

Int32 LiveHandleCount()
{
	return static_cast<Int32>(LiveHandles().size());
}

Int32 LivePointerCount()
{
	return static_cast<Int32>(LivePointers().size() + HandedOutObjects().size());
}

GSSize LargestHandleSize()
{
	return LargestSize();
}

void ResetLargestHandleSize()
{
	LargestSize() = 0;
}

GSHandle NewHandle(GSSize size)
{
	return ::NewHandle(size, ALLOCATE_CLEAR);
}

GSHandle NewHandle(const void* bytes, GSSize size)
{
	GSHandle handle = ::NewHandle(size, 0);
	if (handle != nullptr && size > 0)
		std::memcpy(*handle, bytes, static_cast<std::size_t>(size));
	return handle;
}

GSPtr NewPointer(const void* bytes, GSSize size)
{
	GSPtr pointer = NewBytes(size, 0);
	if (pointer == nullptr)
		return nullptr;
	if (size > 0)
		std::memcpy(pointer, bytes, static_cast<std::size_t>(size));
	LivePointers().emplace(pointer, size);
	return pointer;
}

void CountHandedOut(const void* object)
{
	HandedOutObjects().insert(object);
}

void ForgetHandedOut(const void* object)
{
	HandedOutObjects().erase(object);
}

} // namespace Sim

GSHandle BMAllocateHandle(GSSize size, GSFlags flags, short)
{
	if (Sim::EnterCall("BMAllocateHandle") != NoError)
		return nullptr;
	return NewHandle(size, flags);
}

GSSize BMGetHandleSize(GSConstHandle handle)
{
	if (handle == nullptr)
		return 0;
	return FindBlock(handle)->size;
}

GSErrCode BMKillHandle(GSHandle* handle)
{
	if (handle == nullptr || *handle == nullptr)
		return NoError;
	HandleBlock* block = FindBlock(*handle);
	LiveHandles().erase(*handle);
	std::free(block->data);
	delete block;
	*handle = nullptr;
	return NoError;
}

GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags, short)
{
	if (Sim::EnterCall("BMReallocHandle") != NoError || newSize < 0)
		return nullptr;
	HandleBlock* block = FindBlock(handle);
	char* bytes = NewBytes(newSize, flags | ALLOCATE_CLEAR);
	if (bytes == nullptr)
		return nullptr;
	std::memcpy(bytes, block->data, static_cast<std::size_t>(std::min(block->size, newSize)));
	std::free(block->data);
	block->data = bytes;
	block->size = newSize;
	NoteHandleSize(newSize);
	return handle;
}

GSErrCode BMHandleToHandle(GSConstHandle source, GSHandle* copy)
{
	if (GSErrCode fault = Sim::EnterCall("BMHandleToHandle"); fault != NoError) {
		*copy = nullptr;
		return ErrMemoryFull;
	}
	if (source == nullptr) {
		*copy = nullptr;
		return NoError;
	}
	const HandleBlock* block = FindBlock(source);
	*copy = NewHandle(block->size, 0);
	if (*copy == nullptr)
		return ErrMemoryFull;
	std::memcpy(**copy, block->data, static_cast<std::size_t>(block->size));
	return NoError;
}

GSErrCode BMPtrToHandle(GSConstPtr source, GSHandle* copy, GSSize size)
{
	if (Sim::EnterCall("BMPtrToHandle") != NoError || size < 0) {
		*copy = nullptr;
		return ErrMemoryFull;
	}
	*copy = NewHandle(size, 0);
	if (*copy == nullptr)
		return ErrMemoryFull;
	if (size > 0)
		std::memcpy(**copy, source, static_cast<std::size_t>(size));
	return NoError;
}

GSPtr BMAllocatePtr(GSSize size, GSFlags flags, short)
{
	if (Sim::EnterCall("BMAllocatePtr") != NoError || size < 0)
		return nullptr;
	char* bytes = NewBytes(size, flags);
	if (bytes != nullptr)
		LivePointers().emplace(bytes, size);
	return bytes;
}

GSSize BMGetPtrSize(GSConstPtr ptr)
{
	if (ptr == nullptr)
		return 0;
	auto found = LivePointers().find(ptr);
	if (found == LivePointers().end())
		Misuse("unknown pointer");
	return found->second;
}

GSErrCode BMKillPtr(GSPtr* ptr)
{
	if (ptr == nullptr || *ptr == nullptr)
		return NoError;
	if (LivePointers().erase(*ptr) == 0)
		Misuse("unknown pointer");
	std::free(*ptr);
	*ptr = nullptr;
	return NoError;
}
