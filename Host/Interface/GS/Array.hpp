// GS::Array: the host's growable array, indexed from 0.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "GS/Types.hpp"

namespace GS {

constexpr UIndex MaxUIndex = 0xFFFFFFFF;

template <typename T> class Array {
public:
	Array() = default;
	Array(std::initializer_list<T> items) : items(items) {}

	USize GetSize() const { return static_cast<USize>(items.size()); }
	bool IsEmpty() const { return items.empty(); }

	T& operator[](UIndex index) { return items.at(index); }
	const T& operator[](UIndex index) const { return items.at(index); }
	T& GetFirst() { return items.front(); }
	const T& GetFirst() const { return items.front(); }
	T& GetLast() { return items.back(); }
	const T& GetLast() const { return items.back(); }

	void Push(const T& item) { items.push_back(item); }
	void Push(T&& item) { items.push_back(std::move(item)); }
	void Append(const Array& other) { items.insert(items.end(), other.items.begin(), other.items.end()); }
	void Delete(UIndex index) { items.erase(items.begin() + index); }
	void DeleteLast() { items.pop_back(); }
	void Clear() { items.clear(); }
	// Grows with default-constructed items or shrinks from the end.
	void SetSize(USize size) { items.resize(size); }

	UIndex FindFirst(const T& item) const
	{
		auto found = std::find(items.begin(), items.end(), item);
		return found == items.end() ? MaxUIndex : static_cast<UIndex>(found - items.begin());
	}
	bool Contains(const T& item) const { return FindFirst(item) != MaxUIndex; }
	// Deletes the first equal item; false when there is none.
	bool DeleteFirst(const T& item)
	{
		UIndex index = FindFirst(item);
		if (index == MaxUIndex)
			return false;
		Delete(index);
		return true;
	}

	auto begin() { return items.begin(); }
	auto end() { return items.end(); }
	auto begin() const { return items.begin(); }
	auto end() const { return items.end(); }

	bool operator==(const Array& other) const { return items == other.items; }

private:
	std::vector<T> items;
};

// An array that keeps its first N items inline in the host; here it is a plain array.
template <typename T, USize N> class ArrayFB : public Array<T> {
public:
	using Array<T>::Array;
};

} // namespace GS
