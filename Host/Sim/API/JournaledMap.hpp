// A map that, while its journal is open, keeps what each key held before the
// key's first change, so that undoing a command costs what the command changed
// rather than the size of the table.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <utility>

#include "GS/Types.hpp"
#include "Sim/API/GuidTable.hpp"
#include "Sim/API/NodePool.hpp"

namespace Sim {

// The same kind of map, holding other values, its entries from the pools.
template <typename Map, typename Value> struct MapOf;
template <typename V, typename Value> struct MapOf<GuidTable<V>, Value> {
	using type = GuidTable<Value>;
};
template <typename K, typename V, typename C, typename A, typename Value> struct MapOf<std::map<K, V, C, A>, Value> {
	using type = std::map<K, Value, C, PooledAllocator<std::pair<const K, Value>>>;
};

template <typename Map> class JournaledMap {
public:
	using key_type = typename Map::key_type;
	using mapped_type = typename Map::mapped_type;
	// What keys held before the journal opened, in the order noted; a key may be
	// noted again after it was erased, so the earliest note of a key is what counts.
	using Journal = std::deque<std::pair<key_type, std::optional<mapped_type>>>;

	// Reading only; a change goes through the calls below, which note the key first.
	const mapped_type* Get(const key_type& key) const
	{
		auto found = map.find(key);
		return found == map.end() ? nullptr : &found->second.value;
	}
	std::size_t count(const key_type& key) const { return map.count(key); }
	std::size_t size() const { return map.size(); }
	bool empty() const { return map.empty(); }
	template <typename Visit> void ForEach(Visit visit) const
	{
		for (const auto& [key, slot] : map)
			visit(key, slot.value);
	}

	// For a change; null when the key is absent.
	mapped_type* Change(const key_type& key)
	{
		auto found = map.find(key);
		if (found == map.end())
			return nullptr;
		Note(found->first, found->second);
		return &found->second.value;
	}
	mapped_type& operator[](const key_type& key)
	{
		auto [position, inserted] = map.try_emplace(key);
		if (inserted)
			NoteAbsent(position->first, position->second);
		else
			Note(position->first, position->second);
		return position->second.value;
	}
	template <typename Value> void insert_or_assign(const key_type& key, Value&& value)
	{
		(*this)[key] = std::forward<Value>(value);
	}
	std::size_t erase(const key_type& key)
	{
		auto found = map.find(key);
		if (found == map.end())
			return 0;
		// The value goes, so the journal takes it rather than a copy.
		if (MarkFirstNote(found->second))
			journal.emplace_back(key, std::move(found->second.value));
		map.erase(found);
		return 1;
	}

	void OpenJournal()
	{
		journal.clear();
		++journalNumber;
		recording = true;
	}
	Journal CloseJournal()
	{
		recording = false;
		return std::move(journal);
	}
	// Puts every key of the journal back as it was.
	void Restore(Journal&& before)
	{
		for (auto note = before.rbegin(); note != before.rend(); ++note) {
			if (note->second)
				map.insert_or_assign(note->first, Slot{std::move(*note->second), 0});
			else
				map.erase(note->first);
		}
	}

private:
	struct Slot {
		mapped_type value;
		UInt64 notedIn = 0; // the journal that noted the key, 0: none
	};

	// Only the first change of a key in a journal counts; the mark on the entry
	// tells it without a search of the journal. True, and marked, for the first.
	bool MarkFirstNote(Slot& slot)
	{
		if (!recording || slot.notedIn == journalNumber)
			return false;
		slot.notedIn = journalNumber;
		return true;
	}
	void Note(const key_type& key, Slot& slot)
	{
		if (MarkFirstNote(slot))
			journal.emplace_back(key, slot.value);
	}
	void NoteAbsent(const key_type& key, Slot& slot)
	{
		if (MarkFirstNote(slot))
			journal.emplace_back(key, std::nullopt);
	}

	typename MapOf<Map, Slot>::type map;
	Journal journal;
	UInt64 journalNumber = 0;
	bool recording = false;
};

} // namespace Sim
