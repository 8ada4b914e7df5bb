// The element links of a project, kept by source element in the order they were
// made, with the reverse list that a deletion needs to find the links to an element.
#pragma once

#include <vector>

#include "API/Guid.hpp"
#include "GS/Types.hpp"
#include "Sim/API/JournaledMap.hpp"

namespace Sim {

struct Link {
	API_Guid from;
	API_Guid to;
	UInt32 flags;
};

class LinkStore {
	struct Made {
		Link link;
		UInt64 made;
	};
	using Sources = JournaledMap<GuidTable<std::vector<Made>>>;
	using Targets = JournaledMap<GuidTable<std::vector<API_Guid>>>;

public:
	struct Journal {
		Sources::Journal bySource;
		Targets::Journal sourcesByTarget;
	};

	const Link* Find(const API_Guid& from, const API_Guid& to) const;
	// False when a link from the one element to the other exists already.
	bool Add(const Link& link);
	// False when there is no such link.
	bool Remove(const API_Guid& from, const API_Guid& to);
	// The links from the element, in the order they were made.
	std::vector<Link> From(const API_Guid& from) const;
	// The elements that link to the element, in the order the links were made.
	std::vector<API_Guid> SourcesOf(const API_Guid& to) const;
	// Every link, in the order they were made.
	std::vector<Link> All() const;
	// Drops every link from or to the element.
	void DropElement(const API_Guid& guid);

	// Notes the links of each element before their first change from now on.
	void OpenJournal();
	Journal CloseJournal();
	void Restore(Journal&& before);

private:
	Sources bySource;
	Targets sourcesByTarget;
	UInt64 madeCount = 0;
};

} // namespace Sim
