#include "Sim/API/Project.hpp"

namespace Sim {

HostState& Host()
{
	static HostState state;
	return state;
}

StoredElement* Project::Find(const API_Guid& guid)
{
	auto found = elements.find(guid);
	return found == elements.end() ? nullptr : &found->second;
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
