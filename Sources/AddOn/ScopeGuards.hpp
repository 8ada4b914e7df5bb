// Releases what the host hands out when the scope that holds it ends, on every
// way out of that scope.
#pragma once

#include "API/Favorites.hpp"
#include "API/LibraryParts.hpp"
#include "API/Memo.hpp"
#include "API/Relations.hpp"
#include "GS/Memory.hpp"

// Hands the guarded record to release when the scope ends; whatever the
// record holds then goes.
template <typename T, void (*release)(T&)> class ReleaseGuard {
public:
	explicit ReleaseGuard(T& guarded) : guarded(guarded) {}
	~ReleaseGuard() { release(guarded); }

	ReleaseGuard(const ReleaseGuard&) = delete;
	ReleaseGuard& operator=(const ReleaseGuard&) = delete;

private:
	T& guarded;
};

namespace GuardRelease {

inline void DisposeMemo(API_ElementMemo& memo)
{
	ACAPI_DisposeElemMemoHdls(&memo);
}

template <typename Handle> void KillHandle(Handle& handle)
{
	BMKillHandle(&handle);
}

inline void DisposeRelation(API_RoomRelation& relation)
{
	ACAPI_DisposeRoomRelationHdls(&relation);
}

inline void DisposeFavoriteMemo(API_Favorite& favorite)
{
	if (favorite.memo.HasValue())
		ACAPI_DisposeElemMemoHdls(&favorite.memo.Get());
}

inline void DeleteLocation(API_LibPart& libPart)
{
	delete libPart.location;
	libPart.location = nullptr;
}

} // namespace GuardRelease

// Disposes the memo's handles.
using MemoGuard = ReleaseGuard<API_ElementMemo, GuardRelease::DisposeMemo>;
// Kills the handle; a null handle is left alone.
template <typename Handle> using HandleGuard = ReleaseGuard<Handle, GuardRelease::KillHandle<Handle>>;
// Disposes the niche handles that a room relation hands over.
using RoomRelationGuard = ReleaseGuard<API_RoomRelation, GuardRelease::DisposeRelation>;
// Disposes the handles of the favorite's memo, while the favorite still holds one.
using FavoriteMemoGuard = ReleaseGuard<API_Favorite, GuardRelease::DisposeFavoriteMemo>;
// Deletes the location that a library-part search or read hands back; the
// record must start without one.
using LibPartLocationGuard = ReleaseGuard<API_LibPart, GuardRelease::DeleteLocation>;
