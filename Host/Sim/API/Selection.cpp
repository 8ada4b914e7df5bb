#include "API/Selection.hpp"
#include "API/Errors.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/Control/Faults.hpp"
#include "Sim/GS/Memory.hpp"

namespace {

struct NeigKind {
	API_NeigID neig;
	API_ElemTypeID type;
};

constexpr NeigKind neigKinds[] = {
    {APINeig_Wall, API_WallID}, {APINeig_Column, API_ColumnID}, {APINeig_Window, API_WindowID},
    {APINeig_Door, API_DoorID}, {APINeig_Object, API_ObjectID}, {APINeig_Slab, API_SlabID},
    {APINeig_Zone, API_ZoneID},
};

API_NeigID NeigOf(API_ElemTypeID type)
{
	for (const NeigKind& kind : neigKinds) {
		if (kind.type == type)
			return kind.neig;
	}
	return APINeig_None;
}

} // namespace

GSErrCode ACAPI_Selection_Get(API_SelectionInfo* selectionInfo, GS::Array<API_Neig>* selNeigs, bool, bool,
                              API_SelRelativePosID)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Selection_Get"); fault != NoError)
		return fault;
	const Sim::Project& project = Sim::TheProject();
	*selectionInfo = {};
	selectionInfo->typeID = project.selection.empty() ? API_SelEmpty : API_SelElems;
	selectionInfo->sel_nElem = static_cast<Int32>(project.selection.size());
	// The host always hands over a marquee handle, which the receiver releases.
	selectionInfo->marquee.coords = reinterpret_cast<API_Coord**>(Sim::NewHandle(sizeof(API_Coord)));
	selNeigs->Clear();
	for (const API_Guid& guid : project.selection) {
		API_ElemTypeID type = project.Get(guid)->record.header.type.typeID;
		selNeigs->Push({NeigOf(type), 0, guid});
	}
	return NoError;
}

GSErrCode ACAPI_Element_NeigIDToElemType(API_NeigID neigID, API_ElemType& type)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_NeigIDToElemType"); fault != NoError)
		return fault;
	for (const NeigKind& kind : neigKinds) {
		if (kind.neig == neigID) {
			type = {kind.type, APIVarId_Generic, APINULLGuid};
			return NoError;
		}
	}
	return APIERR_BADPARS;
}
