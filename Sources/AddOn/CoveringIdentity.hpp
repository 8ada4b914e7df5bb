// How the add-on finds its coverings again: the flags of the element links it
// makes, the Element ID texts of coverings, and the small records it stores on
// zones and coverings.
#pragma once

#include <initializer_list>

#include "API/ElementFunctions.hpp"
#include "CovResult.hpp"
#include "CoveringSettings.hpp"
#include "ErrorCodes.hpp"
#include "GS/UniString.hpp"

// The flag of every element link the add-on makes; stored in the project.
enum CoveringsLinkFlags : UInt32 {
	LinkOpeningHole = 0,  // opening -> hole and hole -> opening
	LinkZoneWall = 1,     // zone -> wall that received coverings
	LinkZoneCovering = 2, // zone -> wall or column covering
	LinkElemCovering = 3, // wall or column -> its covering
	LinkCoveringElem = 4, // covering -> its wall or column
	LinkCoveringHole = 5, // covering -> hole
	LinkZoneCeiling = 6,  // zone -> ceiling covering slab
	LinkZoneFloor = 7,    // zone -> floor covering slab
	LinkZoneColumn = 8    // zone -> column that received coverings
};

// One element link the add-on makes.
struct CoveringLink {
	API_Guid from;
	API_Guid to;
	CoveringsLinkFlags flag;
};

// Makes the links in list order; the first error stops.
inline ErrCode MakeLinks(std::initializer_list<CoveringLink> links)
{
	for (const CoveringLink& link : links) {
		if (ErrCode error = ACAPI_ElementLink_Link(link.from, link.to, link.flag); error != NoError)
			return error;
	}
	return NoError;
}

// Whether a walk over an element's links goes on after a link.
enum class LinkWalk { Continue, Stop };

// Reads the flag of the link from `from` to each target in list order, each
// just before handing target and flag to visit, which answers a
// CovResult<LinkWalk>. The first error, of a flag read or of a visit, ends the
// walk and is returned.
template <typename Visit> ErrCode VisitLinkFlags(const API_Guid& from, const GS::Array<API_Guid>& targets, Visit visit)
{
	for (const API_Guid& target : targets) {
		UInt32 flag = 0;
		if (ErrCode error = ACAPI_ElementLink_GetLinkFlags(from, target, &flag); error != NoError)
			return error;
		CovResult<LinkWalk> next = visit(target, flag);
		if (!next.HasValue())
			return next.Error();
		if (next.Value() == LinkWalk::Stop)
			break;
	}
	return NoError;
}

// The same walk over every link leaving `from`, in the host's order.
template <typename Visit> ErrCode VisitLinks(const API_Guid& from, Visit visit)
{
	GS::Array<API_Guid> targets;
	if (ErrCode error = ACAPI_ElementLink_GetLinks(from, &targets); error != NoError)
		return error;
	return VisitLinkFlags(from, targets, visit);
}

// The targets of the links leaving `from` that are among `candidates`, in the
// host's link order.
inline CovResult<GS::Array<API_Guid>> LinkTargetsAmong(const API_Guid& from, const GS::Array<API_Guid>& candidates)
{
	GS::Array<API_Guid> targets;
	if (ErrCode error = ACAPI_ElementLink_GetLinks(from, &targets); error != NoError)
		return CovError{error};
	GS::Array<API_Guid> among;
	for (const API_Guid& target : targets) {
		if (candidates.Contains(target))
			among.Push(target);
	}
	return among;
}

// The records stored on zones and coverings.
ErrCode SaveZoneElementUserData(API_Elem_Head& zoneHead, bool doorHolesEnabled, bool windowHolesEnabled);
// A zone without a record reads as both hole kinds switched on.
ErrCode GetZoneElementUserData(API_Elem_Head& zoneHead, bool& doorHolesEnabled, bool& windowHolesEnabled);
ErrCode SaveSlabElementUserData(API_Elem_Head& slabHead, bool insets);
// A slab without a record reads as without insets.
ErrCode GetSlabElementUserData(API_Elem_Head& slabHead, bool& insets);

// Stores one 32-bit value (a wall covering's order number or a column
// covering's side) on each of many coverings through one payload handle.
class CoveringNumberWriter {
public:
	CoveringNumberWriter();
	~CoveringNumberWriter();
	CoveringNumberWriter(const CoveringNumberWriter&) = delete;
	CoveringNumberWriter& operator=(const CoveringNumberWriter&) = delete;

	// APIERR_MEMFULL when the payload handle could not be made.
	ErrCode Status() const;
	ErrCode Store(const API_Guid& covering, UInt32 value);

private:
	GSHandle payload;
};

// Reads the 32-bit value stored on a covering; the host's error (also for a
// covering without a record) is passed on.
ErrCode GetCoveringNumber(const API_Guid& covering, UInt32& value);

// The zone's number text, as the Element IDs of its coverings carry it.
GS::UniString ZoneNumberText(const API_Element& zone);

// Element IDs: "COV - Z<zone number> - <number>" for wall and column coverings,
// "COV - Z<zone number> - Ceiling" or "... - Floor" for covering slabs.
ErrCode SetCovElementId(const API_Guid& element, const GS::UniString& zoneNumber, UInt32 number);
ErrCode SetCovElementId(const API_Guid& element, const GS::UniString& zoneNumber, SlabCovType type);
// Reads the number back: the third of exactly three " - " parts; COVERR_ID otherwise.
ErrCode GetCovElementIdNr(const API_Guid& element, UInt32& number);
