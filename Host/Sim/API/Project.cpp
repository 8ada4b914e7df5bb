#include "Sim/API/Project.hpp"

#include <algorithm>

namespace Sim {

HostState& Host()
{
	static HostState state;
	return state;
}

void SelectionList::Assign(const std::vector<API_Guid>& elements)
{
	ordered = elements;
	members = std::unordered_set<API_Guid>(elements.begin(), elements.end());
}

void SelectionList::Drop(const std::unordered_set<API_Guid>& deleted)
{
	bool anySelected =
	    std::any_of(deleted.begin(), deleted.end(), [&](const API_Guid& guid) { return members.count(guid) != 0; });
	if (!anySelected)
		return;
	auto isDeleted = [&](const API_Guid& guid) { return deleted.count(guid) != 0; };
	ordered.erase(std::remove_if(ordered.begin(), ordered.end(), isDeleted), ordered.end());
	for (const API_Guid& guid : deleted)
		members.erase(guid);
}

API_Guid Project::NewGuid()
{
	// A counter in the last fields, reproducible from run to run; the GUID hash
	// keeps it in order, so elements made together sit together in every table.
	++guidCounter;
	API_Guid guid = APINULLGuid;
	guid.time_low = 0x5A17C0DEu;
	guid.time_mid = static_cast<UInt16>(guidCounter >> 48);
	guid.time_hi_and_version = 0x4000;
	guid.clock_seq[0] = 0x80;
	for (int i = 0; i < 6; ++i)
		guid.node[5 - i] = static_cast<UInt8>(guidCounter >> (8 * i));
	return guid;
}

ProjectJournal Project::OpenJournal()
{
	elements.OpenJournal();
	links.OpenJournal();
	userData.OpenJournal();
	groups.OpenJournal();
	roomRelations.OpenJournal();
	openingRelations.OpenJournal();
	openingWidths.OpenJournal();
	elementPCC.OpenJournal();
	ProjectJournal journal;
	journal.stories = stories;
	journal.groupsSuspended = groupsSuspended;
	journal.selection = selection;
	journal.properties = properties;
	journal.classifications = classifications;
	journal.categories = categories;
	journal.tools = tools;
	journal.favorites = favorites;
	journal.library = library;
	return journal;
}

void Project::CloseJournal(ProjectJournal& journal)
{
	journal.elements = elements.CloseJournal();
	journal.links = links.CloseJournal();
	journal.userData = userData.CloseJournal();
	journal.groups = groups.CloseJournal();
	journal.roomRelations = roomRelations.CloseJournal();
	journal.openingRelations = openingRelations.CloseJournal();
	journal.openingWidths = openingWidths.CloseJournal();
	journal.elementPCC = elementPCC.CloseJournal();
}

void Project::Restore(ProjectJournal&& before)
{
	stories = std::move(before.stories);
	elements.Restore(std::move(before.elements));
	links.Restore(std::move(before.links));
	userData.Restore(std::move(before.userData));
	groups.Restore(std::move(before.groups));
	groupsSuspended = before.groupsSuspended;
	selection = std::move(before.selection);
	roomRelations.Restore(std::move(before.roomRelations));
	openingRelations.Restore(std::move(before.openingRelations));
	openingWidths.Restore(std::move(before.openingWidths));
	properties = std::move(before.properties);
	classifications = std::move(before.classifications);
	categories = std::move(before.categories);
	elementPCC.Restore(std::move(before.elementPCC));
	tools = std::move(before.tools);
	favorites = std::move(before.favorites);
	library = std::move(before.library);
}

short NextAnswer()
{
	auto& answers = Host().scriptedAnswers;
	if (answers.empty())
		return 1;
	short answer = answers.front();
	answers.pop_front();
	return answer;
}

} // namespace Sim
