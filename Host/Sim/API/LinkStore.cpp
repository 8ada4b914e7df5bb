#include "Sim/API/LinkStore.hpp"

#include <algorithm>

namespace Sim {

namespace {

// Removes the first item that matches; drops the list under the key once it is empty.
template <typename Lists, typename Matches> bool EraseFirst(Lists& lists, const API_Guid& key, Matches matches)
{
	auto* list = lists.Change(key);
	if (list == nullptr)
		return false;
	auto item = std::find_if(list->begin(), list->end(), matches);
	if (item == list->end())
		return false;
	list->erase(item);
	if (list->empty())
		lists.erase(key);
	return true;
}

} // namespace

const Link* LinkStore::Find(const API_Guid& from, const API_Guid& to) const
{
	const std::vector<Made>* source = bySource.Get(from);
	if (source == nullptr)
		return nullptr;
	for (const Made& made : *source) {
		if (made.link.to == to)
			return &made.link;
	}
	return nullptr;
}

bool LinkStore::Add(const Link& link)
{
	if (Find(link.from, link.to) != nullptr)
		return false;
	bySource[link.from].push_back({link, ++madeCount});
	sourcesByTarget[link.to].push_back(link.from);
	return true;
}

bool LinkStore::Remove(const API_Guid& from, const API_Guid& to)
{
	if (!EraseFirst(bySource, from, [&](const Made& made) { return made.link.to == to; }))
		return false;
	EraseFirst(sourcesByTarget, to, [&](const API_Guid& source) { return source == from; });
	return true;
}

std::vector<Link> LinkStore::From(const API_Guid& from) const
{
	std::vector<Link> links;
	if (const std::vector<Made>* source = bySource.Get(from)) {
		links.reserve(source->size());
		for (const Made& made : *source)
			links.push_back(made.link);
	}
	return links;
}

std::vector<API_Guid> LinkStore::SourcesOf(const API_Guid& to) const
{
	const std::vector<API_Guid>* sources = sourcesByTarget.Get(to);
	return sources != nullptr ? *sources : std::vector<API_Guid>();
}

std::vector<Link> LinkStore::All() const
{
	std::vector<Made> every;
	bySource.ForEach(
	    [&](const API_Guid&, const std::vector<Made>& made) { every.insert(every.end(), made.begin(), made.end()); });
	std::sort(every.begin(), every.end(), [](const Made& a, const Made& b) { return a.made < b.made; });
	std::vector<Link> links;
	for (const Made& made : every)
		links.push_back(made.link);
	return links;
}

void LinkStore::DropElement(const API_Guid& guid)
{
	// The element's own lists go whole; each of their links leaves the list at its other end.
	if (const std::vector<Made>* from = bySource.Get(guid)) {
		for (const Made& made : *from)
			EraseFirst(sourcesByTarget, made.link.to, [&](const API_Guid& source) { return source == guid; });
		bySource.erase(guid);
	}
	if (const std::vector<API_Guid>* to = sourcesByTarget.Get(guid)) {
		for (const API_Guid& source : *to)
			EraseFirst(bySource, source, [&](const Made& made) { return made.link.to == guid; });
		sourcesByTarget.erase(guid);
	}
}

void LinkStore::OpenJournal()
{
	bySource.OpenJournal();
	sourcesByTarget.OpenJournal();
}

LinkStore::Journal LinkStore::CloseJournal()
{
	return {bySource.CloseJournal(), sourcesByTarget.CloseJournal()};
}

void LinkStore::Restore(Journal&& before)
{
	bySource.Restore(std::move(before.bySource));
	sourcesByTarget.Restore(std::move(before.sourcesByTarget));
}

} // namespace Sim
