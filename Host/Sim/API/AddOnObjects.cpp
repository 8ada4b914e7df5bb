#include "API/AddOnObjects.hpp"
#include "GS/Memory.hpp"
#include "Sim/API/AddOnHost.hpp"
#include "Sim/Control/Faults.hpp"

namespace {

Sim::Bytes CopyContent(GSConstHandle content)
{
	return Sim::Bytes(*content, *content + BMGetHandleSize(content));
}

Sim::AddOnStorage& Storage()
{
	return Sim::AddOnHost().storage;
}

} // namespace

GSErrCode ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName(const GS::UniString& objectName, API_Guid* objectGuid)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName"); fault != NoError)
		return fault;
	if (objectGuid == nullptr)
		return APIERR_BADPARS;
	auto found = Storage().objectsByName.find(objectName);
	*objectGuid = found == Storage().objectsByName.end() ? APINULLGuid : found->second;
	return *objectGuid == APINULLGuid ? APIERR_BADNAME : NoError;
}

GSErrCode ACAPI_AddOnObject_GetObjectContent(const API_Guid& objectGuid, GS::UniString* objectName, GSHandle* content)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_AddOnObject_GetObjectContent"); fault != NoError)
		return fault;
	auto found = Storage().objects.find(objectGuid);
	if (found == Storage().objects.end())
		return APIERR_BADID;
	if (objectName != nullptr)
		*objectName = found->second.name;
	if (content != nullptr)
		*content = Sim::HandOutBytes(found->second.content);
	return NoError;
}

GSErrCode ACAPI_AddOnObject_CreateClientOnlyObject(const GS::UniString& objectName, GSConstHandle content,
                                                   API_Guid* objectGuid)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_AddOnObject_CreateClientOnlyObject"); fault != NoError)
		return fault;
	if (content == nullptr)
		return APIERR_BADPARS;
	if (objectName.IsEmpty())
		return APIERR_BADNAME;
	if (Storage().objectsByName.count(objectName) != 0)
		return APIERR_NAMEALREADYUSED;
	API_Guid guid = Sim::TheProject().NewGuid();
	Storage().objects[guid] = {objectName, CopyContent(content)};
	Storage().objectsByName[objectName] = guid;
	if (objectGuid != nullptr)
		*objectGuid = guid;
	return NoError;
}

GSErrCode ACAPI_AddOnObject_ModifyObject(const API_Guid& objectGuid, const GS::UniString* newName,
                                         GSConstHandle newContent)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_AddOnObject_ModifyObject"); fault != NoError)
		return fault;
	auto found = Storage().objects.find(objectGuid);
	if (found == Storage().objects.end())
		return APIERR_BADID;
	if (newContent == nullptr)
		return APIERR_BADPARS;
	Sim::ClientObject& object = found->second;
	if (newName != nullptr && *newName != object.name) {
		if (newName->IsEmpty())
			return APIERR_BADNAME;
		if (Storage().objectsByName.count(*newName) != 0)
			return APIERR_NAMEALREADYUSED;
		Storage().objectsByName.erase(object.name);
		Storage().objectsByName[*newName] = objectGuid;
		object.name = *newName;
	}
	object.content = CopyContent(newContent);
	return NoError;
}
