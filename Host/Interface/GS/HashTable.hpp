// GS::HashTable: a map that keeps its entries in a dense list. Iteration follows
// that list: entries in insertion order, except that deleting an entry moves the
// last entry into the freed slot. Callers rely on exactly this order.
#pragma once

#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "GS/Types.hpp"

namespace GS {

template <typename Key, typename Value> class HashTable {
public:
	struct Entry {
		Key key;
		Value value;
	};

	USize GetSize() const { return static_cast<USize>(entries.size()); }
	bool IsEmpty() const { return entries.empty(); }
	bool ContainsKey(const Key& key) const { return index.count(key) != 0; }

	// Adds a new entry; false (and no change) when the key is already present.
	bool Add(const Key& key, const Value& value)
	{
		if (ContainsKey(key))
			return false;
		index.emplace(key, static_cast<UIndex>(entries.size()));
		entries.push_back({key, value});
		return true;
	}
	// Adds the entry or replaces the value of an existing key in its slot.
	void Put(const Key& key, const Value& value)
	{
		if (Value* existing = GetPtr(key))
			*existing = value;
		else
			Add(key, value);
	}
	Value& Get(const Key& key) { return entries.at(index.at(key)).value; }
	const Value& Get(const Key& key) const { return entries.at(index.at(key)).value; }
	Value* GetPtr(const Key& key)
	{
		auto found = index.find(key);
		return found == index.end() ? nullptr : &entries[found->second].value;
	}
	const Value* GetPtr(const Key& key) const
	{
		auto found = index.find(key);
		return found == index.end() ? nullptr : &entries[found->second].value;
	}
	bool Delete(const Key& key)
	{
		auto found = index.find(key);
		if (found == index.end())
			return false;
		UIndex slot = found->second;
		index.erase(found);
		if (slot + 1 != entries.size()) {
			entries[slot] = std::move(entries.back());
			index[entries[slot].key] = slot;
		}
		entries.pop_back();
		return true;
	}

	auto begin() { return entries.begin(); }
	auto end() { return entries.end(); }
	auto begin() const { return entries.begin(); }
	auto end() const { return entries.end(); }

private:
	std::vector<Entry> entries;
	std::unordered_map<Key, UIndex> index;
};

} // namespace GS
