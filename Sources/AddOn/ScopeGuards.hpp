// Releases what the host hands out when the scope that holds it ends, on every
// way out of that scope.
#pragma once

#include <utility>

#include "API/Favorites.hpp"
#include "API/LibraryParts.hpp"
#include "API/Memo.hpp"
#include "API/Relations.hpp"
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

// Disposes the niche handles that a room relation hands over.
class RoomRelationGuard {
public:
	explicit RoomRelationGuard(API_RoomRelation& relation) : relation(relation) {}
	~RoomRelationGuard() { ACAPI_DisposeRoomRelationHdls(&relation); }

	RoomRelationGuard(const RoomRelationGuard&) = delete;
	RoomRelationGuard& operator=(const RoomRelationGuard&) = delete;

private:
	API_RoomRelation& relation;
};

// Disposes the handles of the favorite's memo, while the favorite still holds one.
class FavoriteMemoGuard {
public:
	explicit FavoriteMemoGuard(API_Favorite& favorite) : favorite(favorite) {}
	~FavoriteMemoGuard()
	{
		if (favorite.memo.HasValue())
			ACAPI_DisposeElemMemoHdls(&favorite.memo.Get());
	}

	FavoriteMemoGuard(const FavoriteMemoGuard&) = delete;
	FavoriteMemoGuard& operator=(const FavoriteMemoGuard&) = delete;

private:
	API_Favorite& favorite;
};

// Deletes the location that a library-part search or read hands back; the
// record must start without one.
class LibPartLocationGuard {
public:
	explicit LibPartLocationGuard(API_LibPart& libPart) : libPart(libPart) {}
	~LibPartLocationGuard()
	{
		delete libPart.location;
		libPart.location = nullptr;
	}

	LibPartLocationGuard(const LibPartLocationGuard&) = delete;
	LibPartLocationGuard& operator=(const LibPartLocationGuard&) = delete;

private:
	API_LibPart& libPart;
};
