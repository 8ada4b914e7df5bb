// A table keyed by GUID, for the project's tables of one entry per element. The keys sit
// in one flat array, each at the place its hash gives or the first free one after it, with
// the address of its entry; the entries come from the node pools and keep their address.
// Finding, adding or dropping a key reads its place and the few after it, and growing the
// table reads the array alone. A chained table reads other elements' entries for both,
// and in a large project those lie outside the processor's caches.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <new>
#include <utility>
#include <vector>

#include "API/Guid.hpp"
#include "Sim/API/NodePool.hpp"

namespace Sim {

template <typename Value> class GuidTable {
public:
	using key_type = API_Guid;
	using mapped_type = Value;
	using value_type = std::pair<const API_Guid, Value>;

private:
	struct Slot {
		API_Guid key;
		value_type* entry; // null: the place is free
	};

	template <typename Entry, typename SlotPointer> class Walk {
	public:
		using iterator_category = std::forward_iterator_tag;
		using value_type = Entry;
		using difference_type = std::ptrdiff_t;
		using pointer = Entry*;
		using reference = Entry&;

		Walk(SlotPointer slot, SlotPointer end) : slot(slot), end(end) { SkipFree(); }
		Entry& operator*() const { return *slot->entry; }
		Entry* operator->() const { return slot->entry; }
		Walk& operator++()
		{
			++slot;
			SkipFree();
			return *this;
		}
		bool operator==(const Walk& other) const { return slot == other.slot; }
		bool operator!=(const Walk& other) const { return slot != other.slot; }

	private:
		friend class GuidTable;
		void SkipFree()
		{
			while (slot != end && slot->entry == nullptr)
				++slot;
		}
		SlotPointer slot;
		SlotPointer end;
	};

public:
	using iterator = Walk<value_type, Slot*>;
	using const_iterator = Walk<const value_type, const Slot*>;

	GuidTable() = default;
	GuidTable(const GuidTable& other) { CopyFrom(other); }
	GuidTable(GuidTable&& other) noexcept
	    : slots(std::exchange(other.slots, {})), taken(std::exchange(other.taken, 0)), shift(other.shift)
	{
	}
	GuidTable& operator=(GuidTable other) noexcept
	{
		std::swap(slots, other.slots);
		std::swap(taken, other.taken);
		std::swap(shift, other.shift);
		return *this;
	}
	~GuidTable() { clear(); }

	iterator begin() { return {First(), Last()}; }
	iterator end() { return {Last(), Last()}; }
	const_iterator begin() const { return {First(), Last()}; }
	const_iterator end() const { return {Last(), Last()}; }
	std::size_t size() const { return taken; }
	bool empty() const { return taken == 0; }

	iterator find(const API_Guid& key) { return At(PlaceOf(key)); }
	const_iterator find(const API_Guid& key) const { return At(PlaceOf(key)); }
	std::size_t count(const API_Guid& key) const { return PlaceOf(key) == npos ? 0 : 1; }

	// The key's entry, made with a default value when the key is new.
	std::pair<iterator, bool> try_emplace(const API_Guid& key)
	{
		if (std::size_t place = PlaceOf(key); place != npos)
			return {At(place), false};
		if ((taken + 1) * 2 > slots.size())
			Grow();
		std::size_t place = FreePlaceFor(key);
		slots[place] = {key, NewEntry(key, Value())};
		++taken;
		return {At(place), true};
	}
	Value& operator[](const API_Guid& key) { return try_emplace(key).first->second; }
	template <typename V> void insert_or_assign(const API_Guid& key, V&& value)
	{
		(*this)[key] = std::forward<V>(value);
	}

	void erase(iterator position) { EraseAt(std::size_t(position.slot - slots.data())); }
	std::size_t erase(const API_Guid& key)
	{
		std::size_t place = PlaceOf(key);
		if (place == npos)
			return 0;
		EraseAt(place);
		return 1;
	}
	void clear()
	{
		for (Slot& slot : slots) {
			if (slot.entry != nullptr)
				DeleteEntry(slot.entry);
		}
		slots.clear();
		taken = 0;
		shift = 64;
	}

private:
	using Allocator = PooledAllocator<value_type>;
	static constexpr std::size_t npos = std::size_t(-1);
	static constexpr int runBits = 4;
	static constexpr std::uint64_t runMask = (1u << runBits) - 1;
	static constexpr std::size_t firstSize = std::size_t(2) << runBits;

	Slot* First() { return slots.data(); }
	Slot* Last() { return slots.data() + slots.size(); }
	const Slot* First() const { return slots.data(); }
	const Slot* Last() const { return slots.data() + slots.size(); }
	iterator At(std::size_t place) { return place == npos ? end() : iterator(First() + place, Last()); }
	const_iterator At(std::size_t place) const
	{
		return place == npos ? end() : const_iterator(First() + place, Last());
	}

	// Keys whose hashes differ in their last bits only, as those of GUIDs made one after
	// another do, share a run of places, so that a command over consecutive elements reads
	// few lines of the array; the runs themselves are spread over the whole table.
	std::size_t Home(const API_Guid& key) const
	{
		const std::uint64_t hash = std::hash<API_Guid>()(key);
		const std::uint64_t run = ((hash >> runBits) * 0x9E3779B97F4A7C15ull) >> shift;
		return std::size_t(run << runBits | (hash & runMask));
	}
	std::size_t Next(std::size_t place) const { return (place + 1) & (slots.size() - 1); }

	std::size_t PlaceOf(const API_Guid& key) const
	{
		if (slots.empty())
			return npos;
		for (std::size_t place = Home(key);; place = Next(place)) {
			const Slot& slot = slots[place];
			if (slot.entry == nullptr)
				return npos;
			if (slot.key == key)
				return place;
		}
	}
	std::size_t FreePlaceFor(const API_Guid& key) const
	{
		std::size_t place = Home(key);
		while (slots[place].entry != nullptr)
			place = Next(place);
		return place;
	}

	// Twice the places, each key moved to its place there; the entries stay where they are.
	void Grow()
	{
		const std::size_t size = std::max(firstSize, slots.size() * 2);
		std::vector<Slot> old = std::exchange(slots, std::vector<Slot>(size));
		std::size_t bits = 0;
		while ((std::size_t(1) << bits) < slots.size())
			++bits;
		shift = 64 - (int(bits) - runBits);
		for (const Slot& slot : old) {
			if (slot.entry != nullptr)
				slots[FreePlaceFor(slot.key)] = slot;
		}
	}

	// Frees the place, and moves back each key after it that may stand there, so that
	// every key stays reachable from its home without a gap in between.
	void EraseAt(std::size_t place)
	{
		DeleteEntry(slots[place].entry);
		slots[place].entry = nullptr;
		--taken;
		const std::size_t mask = slots.size() - 1;
		for (std::size_t next = Next(place); slots[next].entry != nullptr; next = Next(next)) {
			std::size_t fromHome = (next - Home(slots[next].key)) & mask;
			if (fromHome >= ((next - place) & mask)) {
				slots[place] = slots[next];
				slots[next].entry = nullptr;
				place = next;
			}
		}
	}

	static value_type* NewEntry(const API_Guid& key, Value value)
	{
		Allocator allocator;
		value_type* entry = allocator.allocate(1);
		try {
			return new (entry) value_type(key, std::move(value));
		} catch (...) {
			allocator.deallocate(entry, 1);
			throw;
		}
	}
	static void DeleteEntry(value_type* entry)
	{
		entry->~value_type();
		Allocator().deallocate(entry, 1);
	}

	void CopyFrom(const GuidTable& other)
	{
		slots.resize(other.slots.size());
		shift = other.shift;
		try {
			for (std::size_t place = 0; place < other.slots.size(); ++place) {
				const Slot& slot = other.slots[place];
				if (slot.entry != nullptr) {
					slots[place] = {slot.key, NewEntry(slot.key, slot.entry->second)};
					++taken;
				}
			}
		} catch (...) {
			clear();
			throw;
		}
	}

	std::vector<Slot> slots; // a power of two in size, at most half taken
	std::size_t taken = 0;
	int shift = 64; // 64 less the bits that number a run
};

} // namespace Sim
