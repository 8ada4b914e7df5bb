// The project's elements, kept as a host's database keeps them: by GUID, in
// creation order overall and per type, and each wall's doors and windows, so
// that every lookup costs what it finds rather than the size of the project.
#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "API/ElementFunctions.hpp"
#include "Sim/API/GuidTable.hpp"
#include "Sim/API/JournaledMap.hpp"
#include "Sim/API/NodePool.hpp"

namespace Sim {

using Bytes = std::vector<char>;
using Part = std::optional<Bytes>; // absent, or the bytes of a handle (possibly empty)

// The whole items a stored part holds; none when it is absent.
template <typename T> std::vector<T> ItemsOf(const Part& part)
{
	std::vector<T> items(part.has_value() ? part->size() / sizeof(T) : 0);
	if (!items.empty())
		std::memcpy(static_cast<void*>(items.data()), part->data(), items.size() * sizeof(T));
	return items;
}

template <typename T> Bytes BytesOf(const std::vector<T>& items)
{
	const char* bytes = reinterpret_cast<const char*>(items.data());
	return Bytes(bytes, bytes + items.size() * sizeof(T));
}

// The parameter list of a memo: the raw records, and each array value's bytes.
struct StoredParams {
	Bytes records;
	std::vector<Part> arrayValues; // one per whole record
};

struct StoredMemo {
	Part coords;
	Part pends;
	Part parcs;
	Part vertexIDs;
	Part edgeTrims;
	Part sideMaterials;
	std::optional<StoredParams> params;
	Part columnSegments;
};

struct StoredElement {
	API_Element record;
	StoredMemo memo;
};

bool IsOpening(API_ElemTypeID type);

// Elements are shared between the store and an undo step's journal (or a saved
// copy of the project) until one of them changes: noting an element costs a pointer.
class ElementStore {
	struct Entry {
		std::shared_ptr<StoredElement> element;
		UInt64 created;
	};
	using Entries = JournaledMap<GuidTable<Entry>>;

public:
	using Journal = Entries::Journal;

	// For a change: an element that another copy shares is copied first.
	StoredElement* Find(const API_Guid& guid);
	const StoredElement* Get(const API_Guid& guid) const;
	bool Contains(const API_Guid& guid) const { return entries.count(guid) != 0; }
	std::size_t Size() const { return entries.size(); }

	// Adds the element under the GUID in its header, after every element there
	// is; an element already stored under that GUID is replaced.
	void Insert(StoredElement element);
	void Erase(const API_Guid& guid);
	// Replaces the stored element under the GUID in its header; it keeps its place
	// in creation order. Change the type or owner of a stored element only here.
	void Replace(StoredElement element);

	// The elements of a type (0: all), in creation order.
	std::vector<API_Guid> InCreationOrder(API_ElemTypeID type = API_ZombieElemID) const;
	// The doors and windows whose owner is the wall, in creation order.
	std::vector<API_Guid> OpeningsOf(const API_Guid& wall) const;

	// Notes what each element held before its first change from now on.
	void OpenJournal() { entries.OpenJournal(); }
	Journal CloseJournal() { return entries.CloseJournal(); }
	// Puts the elements of the journal back, each in its old place in creation order.
	void Restore(Journal&& before);

private:
	// creation number -> GUID
	using Ordered = std::map<UInt64, API_Guid, std::less<>, PooledAllocator<std::pair<const UInt64, API_Guid>>>;

	static std::vector<API_Guid> GuidsOf(const Ordered& ordered);
	void AddToLists(const API_Element& record, UInt64 created);
	void DropFromLists(const API_Element& record, UInt64 created);

	Entries entries;
	Ordered all;
	std::map<API_ElemTypeID, Ordered> byType;
	GuidTable<Ordered> openingsByWall;
	UInt64 createdCount = 0;
};

} // namespace Sim
