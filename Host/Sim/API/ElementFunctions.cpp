#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>
#include <vector>

#include "API/ElementFunctions.hpp"
#include "GS/Memory.hpp"
#include "Sim/API/ElementChecks.hpp"
#include "Sim/API/ElementSettings.hpp"
#include "Sim/API/ModelChangeRules.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/API/Session.hpp"
#include "Sim/Control/Faults.hpp"
#include "Sim/GS/Memory.hpp"

using Sim::TheProject;

namespace {

bool IsKnownType(API_ElemTypeID type)
{
	switch (type) {
	case API_WallID:
	case API_ColumnID:
	case API_WindowID:
	case API_DoorID:
	case API_ObjectID:
	case API_SlabID:
	case API_ZoneID:
		return true;
	default:
		return false;
	}
}

bool TypeMatches(const API_Element& request, const API_Element& stored)
{
	API_ElemTypeID wanted = request.header.type.typeID;
	return wanted == API_ZombieElemID || wanted == stored.header.type.typeID;
}

// A deleted wall takes its openings with it, and, while groups are not
// suspended, a grouped element takes its whole group.
std::unordered_set<API_Guid> ExpandDeletion(const GS::Array<API_Guid>& requested)
{
	Sim::Project& project = TheProject();
	std::unordered_set<API_Guid> doomed;
	std::vector<API_Guid> pending(requested.begin(), requested.end());
	while (!pending.empty()) {
		API_Guid guid = pending.back();
		pending.pop_back();
		if (!doomed.insert(guid).second)
			continue;
		const API_Elem_Head& header = project.Get(guid)->record.header;
		if (header.type.typeID == API_WallID) {
			for (const API_Guid& opening : project.elements.OpeningsOf(guid))
				pending.push_back(opening);
		}
		if (project.groupsSuspended || header.groupGuid == APINULLGuid)
			continue;
		if (const std::vector<API_Guid>* members = project.groups.Get(header.groupGuid))
			pending.insert(pending.end(), members->begin(), members->end());
	}
	return doomed;
}

void LeaveGroup(const API_Guid& guid, const API_Guid& groupGuid)
{
	auto& groups = TheProject().groups;
	std::vector<API_Guid>* members = groups.Change(groupGuid);
	if (members == nullptr)
		return;
	members->erase(std::remove(members->begin(), members->end(), guid), members->end());
	if (members->empty())
		groups.erase(groupGuid);
}

void Forget(const std::unordered_set<API_Guid>& doomed)
{
	Sim::Project& project = TheProject();
	for (const API_Guid& guid : doomed) {
		LeaveGroup(guid, project.Get(guid)->record.header.groupGuid);
		project.elements.Erase(guid);
		project.links.DropElement(guid);
		project.roomRelations.DropElement(guid);
		project.userData.erase(guid);
		project.openingRelations.erase(guid);
		project.openingWidths.erase(guid);
		project.elementPCC.erase(guid);
	}
	project.selection.Drop(doomed);
}

// A door or window stands on its wall's story, whatever story it was given;
// its wall is known to be there.
void PlaceOnWallStory(API_Element& record)
{
	if (Sim::IsOpening(record.header.type.typeID))
		record.header.floorInd = TheProject().Get(record.door.owner)->record.header.floorInd;
}

} // namespace

namespace Sim {

void CopyMarked(const void* source, const void* mask, void* target, std::size_t size)
{
	const char* from = static_cast<const char*>(source);
	const char* marks = static_cast<const char*>(mask);
	char* to = static_cast<char*>(target);
	for (std::size_t i = 0; i < size; ++i) {
		if (marks[i] != 0)
			to[i] = from[i];
	}
}

void CopyMarkedBytes(const API_Element& source, const API_Element& mask, API_Element& target)
{
	API_Elem_Head identity = target.header;
	CopyMarked(&source, &mask, &target, sizeof(API_Element));
	target.header.type = identity.type;
	target.header.guid = identity.guid;
	target.header.groupGuid = identity.groupGuid;
	target.header.modiStamp = identity.modiStamp;
}

} // namespace Sim

GSErrCode ACAPI_Element_Get(API_Element* element, UInt32)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_Get"); fault != NoError)
		return fault;
	const Sim::StoredElement* stored = TheProject().Get(element->header.guid);
	if (stored == nullptr || !TypeMatches(*element, stored->record))
		return APIERR_BADID;
	*element = stored->record;
	return NoError;
}

GSErrCode ACAPI_Element_GetMemo(const API_Guid& guid, API_ElementMemo* memo, UInt64 mask)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetMemo"); fault != NoError)
		return fault;
	const Sim::StoredElement* stored = TheProject().Get(guid);
	if (stored == nullptr)
		return APIERR_BADID;
	Sim::HandOutMemo(stored->memo, mask, memo);
	return NoError;
}

GSErrCode ACAPI_Element_Create(API_Element* element, API_ElementMemo* memo)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_Create"); fault != NoError)
		return fault;
	if (GSErrCode refused = Sim::CheckModelChange(); refused != NoError)
		return refused;
	if (!IsKnownType(element->header.type.typeID))
		return APIERR_BADELEMENTTYPE;
	Sim::StoredElement stored{*element, memo != nullptr ? Sim::StoreMemo(*memo, APIMemoMask_All) : Sim::StoredMemo()};
	if (GSErrCode error = Sim::CheckElement(stored.record, stored.memo, TheProject().elements); error != NoError)
		return error;
	PlaceOnWallStory(stored.record);
	Sim::Project& project = TheProject();
	stored.record.header.guid = project.NewGuid();
	stored.record.header.groupGuid = APINULLGuid;
	stored.record.header.modiStamp = 1;
	*element = stored.record;
	project.elements.Insert(std::move(stored));
	Sim::GiveNewElementToUser(element->header.guid);
	Sim::ReceiveToolDefaults(*element);
	return NoError;
}

GSErrCode ACAPI_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                               UInt64 memoMask, bool)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_Change"); fault != NoError)
		return fault;
	if (GSErrCode refused = Sim::CheckModelChange({element->header.guid}); refused != NoError)
		return refused;
	const Sim::StoredElement* stored = TheProject().Get(element->header.guid);
	if (stored == nullptr || !TypeMatches(*element, stored->record))
		return APIERR_BADID;
	Sim::StoredElement changed = *stored;
	if (mask != nullptr)
		Sim::CopyMarkedBytes(*element, *mask, changed.record);
	if (memo != nullptr)
		Sim::ReplaceMemoParts(changed.memo, Sim::StoreMemo(*memo, memoMask), memoMask);
	if (GSErrCode error = Sim::CheckElement(changed.record, changed.memo, TheProject().elements); error != NoError)
		return error;
	PlaceOnWallStory(changed.record);
	++changed.record.header.modiStamp;
	*element = changed.record;
	TheProject().elements.Replace(std::move(changed));
	return NoError;
}

GSErrCode ACAPI_Element_Delete(const GS::Array<API_Guid>& elements)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_Delete"); fault != NoError)
		return fault;
	if (GSErrCode refused = Sim::CheckModelChange(elements); refused != NoError)
		return refused;
	for (const API_Guid& guid : elements) {
		if (!TheProject().Contains(guid))
			return APIERR_BADID;
	}
	Forget(ExpandDeletion(elements));
	return NoError;
}

GSErrCode ACAPI_Element_GetElemList(const API_ElemType& type, GS::Array<API_Guid>* elements, API_ElemFilterFlags,
                                    const API_Guid&)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetElemList"); fault != NoError)
		return fault;
	elements->Clear();
	for (const API_Guid& guid : TheProject().elements.InCreationOrder(type.typeID))
		elements->Push(guid);
	return NoError;
}

GSErrCode ACAPI_ElementLink_Link(const API_Guid& from, const API_Guid& to, UInt32 flags)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_ElementLink_Link"); fault != NoError)
		return fault;
	if (GSErrCode refused = Sim::CheckModelChange({from}); refused != NoError)
		return refused;
	if (!TheProject().Contains(from) || !TheProject().Contains(to))
		return APIERR_BADID;
	if (!TheProject().links.Add({from, to, flags}))
		return APIERR_LINKEXIST;
	return NoError;
}

GSErrCode ACAPI_ElementLink_Unlink(const API_Guid& from, const API_Guid& to)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_ElementLink_Unlink"); fault != NoError)
		return fault;
	if (GSErrCode refused = Sim::CheckModelChange({from}); refused != NoError)
		return refused;
	if (!TheProject().links.Remove(from, to))
		return APIERR_LINKNOTEXIST;
	return NoError;
}

GSErrCode ACAPI_ElementLink_GetLinks(const API_Guid& from, GS::Array<API_Guid>* to)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_ElementLink_GetLinks"); fault != NoError)
		return fault;
	if (!TheProject().Contains(from))
		return APIERR_BADID;
	to->Clear();
	for (const Sim::Link& link : TheProject().links.From(from))
		to->Push(link.to);
	return NoError;
}

GSErrCode ACAPI_ElementLink_GetLinkFlags(const API_Guid& from, const API_Guid& to, UInt32* flags)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_ElementLink_GetLinkFlags"); fault != NoError)
		return fault;
	const Sim::Link* link = TheProject().links.Find(from, to);
	if (link == nullptr)
		return APIERR_LINKNOTEXIST;
	*flags = link->flags;
	return NoError;
}

GSErrCode ACAPI_Element_SetUserData(API_Elem_Head* head, const API_UserData* userData)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_SetUserData"); fault != NoError)
		return fault;
	if (GSErrCode refused = Sim::CheckModelChange({head->guid}); refused != NoError)
		return refused;
	if (!TheProject().Contains(head->guid))
		return APIERR_BADID;
	Sim::StoredUserData stored{userData->dataVersion, userData->platformSign, userData->flags, std::nullopt};
	if (userData->dataHdl != nullptr) {
		const char* bytes = *userData->dataHdl;
		stored.payload = Sim::Bytes(bytes, bytes + BMGetHandleSize(userData->dataHdl));
	}
	TheProject().userData[head->guid] = stored;
	return NoError;
}

GSErrCode ACAPI_Element_GetUserData(API_Elem_Head* head, API_UserData* userData, UInt32)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetUserData"); fault != NoError)
		return fault;
	if (!TheProject().Contains(head->guid))
		return APIERR_BADID;
	const Sim::StoredUserData* found = TheProject().userData.Get(head->guid);
	if (found == nullptr)
		return APIERR_NOUSERDATA;
	const Sim::StoredUserData& stored = *found;
	userData->dataVersion = stored.version;
	userData->platformSign = stored.platformSign;
	userData->flags = stored.flags;
	userData->dataHdl = nullptr;
	if (stored.payload.has_value())
		userData->dataHdl = Sim::NewHandle(stored.payload->data(), static_cast<GSSize>(stored.payload->size()));
	return NoError;
}
