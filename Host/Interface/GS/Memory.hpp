// The host's memory manager: relocatable handles and plain pointer blocks.
// Every call is a host call: it can fail (fault injection) and the stand-in
// counts what is alive, so that tests can check that nothing leaks.
#pragma once

#include "GS/Types.hpp"

// Allocation flag: the new block is filled with zero bytes.
constexpr GSFlags ALLOCATE_CLEAR = 2;

GSHandle BMAllocateHandle(GSSize size, GSFlags flags, short reqSize);
GSSize BMGetHandleSize(GSConstHandle handle);
// Releases the handle and sets it to null; a null handle is ignored.
GSErrCode BMKillHandle(GSHandle* handle);
// Resizes a handle, keeping its leading bytes; new bytes are zero.
GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags, short reqSize);
// Copies a whole handle into a new one; a null source gives a null copy.
GSErrCode BMHandleToHandle(GSConstHandle source, GSHandle* copy);
GSErrCode BMPtrToHandle(GSConstPtr source, GSHandle* copy, GSSize size);

GSPtr BMAllocatePtr(GSSize size, GSFlags flags, short reqSize);
GSSize BMGetPtrSize(GSConstPtr ptr);
// Releases the block and sets the pointer to null; a null pointer is ignored.
GSErrCode BMKillPtr(GSPtr* ptr);

// Typed forms: memo parts are typed handles (API_Coord** and the like).
template <typename T> inline GSErrCode BMKillHandle(T*** handle)
{
	return BMKillHandle(reinterpret_cast<GSHandle*>(handle));
}
template <typename T> inline GSSize BMGetHandleSize(T* const* handle)
{
	return BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle));
}
template <typename T> inline GSErrCode BMKillPtr(T** ptr)
{
	return BMKillPtr(reinterpret_cast<GSPtr*>(ptr));
}
