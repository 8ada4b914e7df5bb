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
	// A counter spread over the fields: reproducible from run to run.
	++guidCounter;
	API_Guid guid = APINULLGuid;
	guid.time_low = static_cast<UInt32>(guidCounter * 2654435761u) ^ 0x5A17C0DEu;
	guid.time_mid = static_cast<UInt16>(guidCounter >> 16);
	guid.time_hi_and_version = static_cast<UInt16>(0x4000 | (guidCounter & 0x0FFF));
	guid.clock_seq[0] = 0x80;
	for (int i = 0; i < 6; ++i)
		guid.node[5 - i] = static_cast<UInt8>(guidCounter >> (8 * i));
	return guid;
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
