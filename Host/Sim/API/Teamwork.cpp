#include "API/Teamwork.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/API/Session.hpp"
#include "Sim/Control/Faults.hpp"

namespace Sim {

Session& TheSession()
{
	static Session session;
	return session;
}

bool InUserWorkspace(const API_Guid& element)
{
	const Session& session = TheSession();
	if (!session.sharedProject)
		return true;
	auto found = session.holders.find(element);
	return found != session.holders.end() && found->second == HostControl::Holder::User;
}

void GiveNewElementToUser(const API_Guid& element)
{
	if (TheSession().sharedProject)
		TheSession().holders[element] = HostControl::Holder::User;
}

} // namespace Sim

bool ACAPI_Teamwork_HasConnection()
{
	return Sim::TheSession().sharedProject;
}

bool ACAPI_Element_Filter(const API_Guid& guid, API_ElemFilterFlags filterBits, API_ElemVariationID, const API_Guid&)
{
	// Only the workspace filter is known here; any other bit passes nothing.
	if ((filterBits & ~APIFilt_InMyWorkspace) != 0 || !Sim::TheProject().Contains(guid))
		return false;
	return (filterBits & APIFilt_InMyWorkspace) == 0 || Sim::InUserWorkspace(guid);
}

GSErrCode ACAPI_Teamwork_ReserveElements(const GS::Array<API_Guid>& elements, GS::HashTable<API_Guid, short>* conflicts,
                                         bool)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Teamwork_ReserveElements"); fault != NoError)
		return fault;
	Sim::Session& session = Sim::TheSession();
	if (!session.sharedProject)
		return APIERR_NOTEAMWORKPROJECT;
	for (const API_Guid& guid : elements) {
		if (!Sim::TheProject().Contains(guid))
			return APIERR_BADID;
	}
	session.reservationRequests.emplace_back(elements.begin(), elements.end());
	constexpr short otherUserId = 2;
	for (const API_Guid& guid : elements) {
		HostControl::Holder& holder = session.holders[guid];
		if (holder == HostControl::Holder::Nobody)
			holder = HostControl::Holder::User;
		else if (holder == HostControl::Holder::OtherUser && conflicts != nullptr)
			conflicts->Put(guid, otherUserId);
	}
	return NoError;
}
