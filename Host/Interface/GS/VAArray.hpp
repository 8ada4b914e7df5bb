// GS::VAArray: the host's variable array of plain records, indexed from 1. The array
// owns what its items own: it releases each item left in it when it is destroyed,
// through VAArrayItemRelease, which record types that hold memory specialise.
#pragma once

#include <utility>
#include <vector>

#include "GS/Types.hpp"

namespace GS {

template <typename T> struct VAArrayItemRelease {
	static void Release(T&) {}
};

template <typename T> class VAArray {
public:
	// Room for that many items before the array grows.
	explicit VAArray(USize room = 0) { items.reserve(room); }
	~VAArray()
	{
		for (T& item : items)
			VAArrayItemRelease<T>::Release(item);
	}
	VAArray(const VAArray&) = delete;
	VAArray& operator=(const VAArray&) = delete;

	Int32 GetItemCount() const { return static_cast<Int32>(items.size()); }

	// 1-based; an index out of range throws std::out_of_range.
	T& operator[](Int32 index) { return items.at(ToPosition(index)); }
	const T& operator[](Int32 index) const { return items.at(ToPosition(index)); }

	// The array takes the item over; the caller's copy is left value-initialised
	// (an empty record), so that it can no longer release what the array owns.
	void Push(T&& item)
	{
		items.push_back(std::move(item));
		item = T();
	}

	// Removes the item at the 1-based index and hands it, with what it owns, to the caller.
	T TakeItem(Int32 index)
	{
		std::size_t position = ToPosition(index);
		T item = std::move(items.at(position));
		items.erase(items.begin() + static_cast<std::ptrdiff_t>(position));
		return item;
	}

private:
	// Index 0 and negative indices wrap to huge positions, which at() rejects.
	static std::size_t ToPosition(Int32 index) { return static_cast<std::size_t>(static_cast<Int64>(index) - 1); }

	std::vector<T> items;
};

} // namespace GS
