// Releases what the host hands out when the scope that holds it ends, on every
// way out of that scope.
#pragma once

#include <utility>

#include "API/Memo.hpp"
#include "GS/Memory.hpp"

// Runs a release action once, at the end of its scope.
template <typename Release> class ScopeExit {
public:
	explicit ScopeExit(Release release) : release(std::move(release)) {}
	~ScopeExit() { release(); }

	ScopeExit(const ScopeExit&) = delete;
	ScopeExit& operator=(const ScopeExit&) = delete;

private:
	Release release;
};

// Disposes the memo's handles; whatever the memo holds when the scope ends goes.
class MemoGuard {
public:
	explicit MemoGuard(API_ElementMemo& memo) : memo(memo) {}
	~MemoGuard() { ACAPI_DisposeElemMemoHdls(&memo); }

	MemoGuard(const MemoGuard&) = delete;
	MemoGuard& operator=(const MemoGuard&) = delete;

private:
	API_ElementMemo& memo;
};

// Kills the handle; whatever it points to when the scope ends goes, a null handle is left alone.
template <typename Handle> class HandleGuard {
public:
	explicit HandleGuard(Handle& handle) : handle(handle) {}
	~HandleGuard() { BMKillHandle(&handle); }

	HandleGuard(const HandleGuard&) = delete;
	HandleGuard& operator=(const HandleGuard&) = delete;

private:
	Handle& handle;
};
