// The project's library parts, found by their unique ID text
// "{main GUID}-{revision GUID}". A null revision in a search matches any
// revision of the main GUID. Every part of the stand-in is placeable and a
// search never creates one.
#include <cstdio>
#include <cstring>
#include <string>

#include "API/LibraryParts.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/Control/Faults.hpp"
#include "Sim/GS/Memory.hpp"

namespace {

constexpr std::size_t GuidTextLength = 36;

struct UniqueId {
	API_Guid main;
	API_Guid revision;
};

bool ParseGuid(const std::string& text, API_Guid& guid)
{
	GS::Guid parsed;
	if (!parsed.ConvertFromString(GS::UniString(text)))
		return false;
	guid = GSGuid2APIGuid(parsed);
	return true;
}

// "{" main "}-{" revision "}"; the text may fill its field without a terminating zero.
bool ParseUniqueId(const char (&text)[128], UniqueId& id)
{
	std::string whole(text, strnlen(text, sizeof(text)));
	const std::size_t length = 2 * GuidTextLength + 5;
	if (whole.size() != length || whole[0] != '{' || whole.compare(GuidTextLength + 1, 3, "}-{") != 0 ||
	    whole[length - 1] != '}')
		return false;
	return ParseGuid(whole.substr(1, GuidTextLength), id.main) &&
	       ParseGuid(whole.substr(GuidTextLength + 4, GuidTextLength), id.revision);
}

const Sim::StoredLibPart* FindPart(Int32 index)
{
	auto found = Sim::TheProject().library.find(index);
	return found == Sim::TheProject().library.end() ? nullptr : &found->second;
}

// Fills what a search or a read hands back; the location belongs to the receiver.
void Describe(Int32 index, const Sim::StoredLibPart& part, API_LibPart& record)
{
	record.index = index;
	std::snprintf(record.ownUnID, sizeof(record.ownUnID), "{%s}-{%s}", APIGuidToString(part.main).ToCStr().Get(),
	              APIGuidToString(part.revision).ToCStr().Get());
	part.name.CopyUStr(record.docu_UName, sizeof(record.docu_UName) / sizeof(GS::UniChar));
	record.location = new IO::Location(GS::UniString("Default Library/") + part.name);
	Sim::CountHandedOut(record.location);
}

} // namespace

GSErrCode ACAPI_LibraryPart_Search(API_LibPart* ancestor, bool, bool)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_LibraryPart_Search"); fault != NoError)
		return fault;
	UniqueId wanted;
	if (ancestor == nullptr || !ParseUniqueId(ancestor->ownUnID, wanted))
		return APIERR_BADPARS;
	for (const auto& [index, part] : Sim::TheProject().library) {
		if (part.main == wanted.main && (wanted.revision == APINULLGuid || part.revision == wanted.revision)) {
			Describe(index, part, *ancestor);
			return NoError;
		}
	}
	return APIERR_BADID;
}

GSErrCode ACAPI_LibraryPart_Get(API_LibPart* libPart)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_LibraryPart_Get"); fault != NoError)
		return fault;
	if (libPart == nullptr)
		return APIERR_BADPARS;
	const Sim::StoredLibPart* part = FindPart(libPart->index);
	if (part == nullptr)
		return APIERR_BADINDEX;
	Describe(libPart->index, *part, *libPart);
	return NoError;
}

GSErrCode ACAPI_LibraryPart_GetParams(Int32 libInd, double* a, double* b, Int32* addParNum, API_AddParType*** addPars)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_LibraryPart_GetParams"); fault != NoError)
		return fault;
	if (addPars == nullptr)
		return APIERR_BADPARS;
	const Sim::StoredLibPart* part = FindPart(libInd);
	if (part == nullptr)
		return APIERR_BADINDEX;
	if (a != nullptr)
		*a = part->a;
	if (b != nullptr)
		*b = part->b;
	if (addParNum != nullptr)
		*addParNum = static_cast<Int32>(part->params.arrayValues.size());
	Sim::StoredMemo stored;
	stored.params = part->params;
	API_ElementMemo handedOut;
	Sim::HandOutMemo(stored, APIMemoMask_AddPars, &handedOut);
	*addPars = handedOut.params;
	return NoError;
}
