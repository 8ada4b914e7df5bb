// A map that, while its journal is open, keeps what each key held before the
// key's first change, so that undoing a command costs what the command changed
// rather than the size of the table.
#pragma once

#include <optional>
#include <unordered_map>
#include <utility>

namespace Sim {

template <typename Map> class JournaledMap {
public:
	using key_type = typename Map::key_type;
	using mapped_type = typename Map::mapped_type;
	using iterator = typename Map::iterator;
	using const_iterator = typename Map::const_iterator;
	// Each changed key and what it held (none: it was absent).
	using Journal = std::unordered_map<key_type, std::optional<mapped_type>>;

	// Reading only; a change goes through the calls below, which note the key first.
	const_iterator begin() const { return map.begin(); }
	const_iterator end() const { return map.end(); }
	const_iterator find(const key_type& key) const { return map.find(key); }
	const mapped_type& at(const key_type& key) const { return map.at(key); }
	std::size_t count(const key_type& key) const { return map.count(key); }
	std::size_t size() const { return map.size(); }
	bool empty() const { return map.empty(); }

	iterator find(const key_type& key)
	{
		auto found = map.find(key);
		if (found != map.end())
			Note(key, found->second);
		return found;
	}
	mapped_type& at(const key_type& key)
	{
		mapped_type& value = map.at(key);
		Note(key, value);
		return value;
	}
	mapped_type& operator[](const key_type& key)
	{
		auto [position, inserted] = map.try_emplace(key);
		if (inserted)
			NoteAbsent(key);
		else
			Note(key, position->second);
		return position->second;
	}
	template <typename Value> void insert_or_assign(const key_type& key, Value&& value)
	{
		auto found = map.find(key);
		if (found == map.end())
			NoteAbsent(key);
		else
			Note(key, found->second);
		map.insert_or_assign(key, std::forward<Value>(value));
	}
	std::size_t erase(const key_type& key)
	{
		auto found = map.find(key);
		if (found == map.end())
			return 0;
		Note(key, found->second);
		map.erase(found);
		return 1;
	}
	// The iterator comes from the changing find, which noted its key.
	void erase(iterator position) { map.erase(position); }

	void OpenJournal()
	{
		journal.clear();
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
		for (auto& [key, value] : before) {
			if (value)
				map.insert_or_assign(key, std::move(*value));
			else
				map.erase(key);
		}
	}

private:
	// Only the first change of a key in a journal counts.
	void Note(const key_type& key, const mapped_type& value)
	{
		if (recording)
			journal.try_emplace(key, value);
	}
	void NoteAbsent(const key_type& key)
	{
		if (recording)
			journal.try_emplace(key, std::nullopt);
	}

	Map map;
	Journal journal;
	bool recording = false;
};

} // namespace Sim
