#include "API/Relations.hpp"
#include "GS/Memory.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/Control/Faults.hpp"

using Sim::TheProject;

namespace {

void FillRoomRelation(const Sim::StoredRoomRelation& stored, API_RoomRelation* relation)
{
	*relation = API_RoomRelation();
	for (const API_WallPart& part : stored.wallParts)
		relation->wallPart.Push(part);
	for (const auto& [type, guids] : stored.elementsByType) {
		GS::Array<API_Guid> list;
		for (const API_Guid& guid : guids)
			list.Push(guid);
		relation->elementsGroupedByType.Add(API_ElemType{type, APIVarId_Generic, APINULLGuid}, list);
	}
	for (const Sim::StoredNiche& niche : stored.niches)
		relation->niches.Push({Sim::HandOutPart<API_Coord>(niche.coords), Sim::HandOutPart<Int32>(niche.pends),
		                       Sim::HandOutPart<API_PolyArc>(niche.parcs)});
}

} // namespace

GSErrCode ACAPI_Element_GetRelations(const API_Guid& guid, const API_ElemType& otherType, void* relData, UInt32)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetRelations"); fault != NoError)
		return fault;
	Sim::Project& project = TheProject();
	const Sim::StoredElement* element = project.Get(guid);
	if (element == nullptr || relData == nullptr)
		return APIERR_BADID;
	API_ElemTypeID type = element->record.header.type.typeID;
	if (type == API_ZoneID) {
		const Sim::StoredRoomRelation* found = project.roomRelations.Find(guid);
		FillRoomRelation(found == nullptr ? Sim::StoredRoomRelation() : *found,
		                 static_cast<API_RoomRelation*>(relData));
		return NoError;
	}
	if (Sim::IsOpening(type) && otherType.typeID == API_ZoneID) {
		const API_OpeningRelation* found = project.openingRelations.Get(guid);
		*static_cast<API_OpeningRelation*>(relData) =
		    found == nullptr ? API_OpeningRelation{APINULLGuid, APINULLGuid} : *found;
		return NoError;
	}
	return APIERR_BADPARS;
}

GSErrCode ACAPI_DisposeRoomRelationHdls(API_RoomRelation* relation)
{
	for (API_Niche& niche : relation->niches) {
		BMKillHandle(&niche.coords);
		BMKillHandle(&niche.pends);
		BMKillHandle(&niche.parcs);
	}
	relation->niches.Clear();
	return NoError;
}

GSErrCode ACAPI_Grouping_GetConnectedElements(const API_Guid& guid, const API_ElemType& connectedType,
                                              GS::Array<API_Guid>* connected, UInt32, const API_Guid&)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Grouping_GetConnectedElements"); fault != NoError)
		return fault;
	Sim::Project& project = TheProject();
	if (!project.Contains(guid))
		return APIERR_BADID;
	connected->Clear();
	for (const API_Guid& opening : project.elements.OpeningsOf(guid)) {
		if (project.Get(opening)->record.header.type.typeID == connectedType.typeID)
			connected->Push(opening);
	}
	return NoError;
}

GSErrCode ACAPI_Element_GetQuantities(API_Guid elemGuid, const API_QuantityPar* params, API_Quantities* quantities,
                                      const API_QuantitiesMask* mask)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Element_GetQuantities"); fault != NoError)
		return fault;
	Sim::Project& project = TheProject();
	const Sim::StoredElement* element = project.Get(elemGuid);
	if (element == nullptr || quantities == nullptr || quantities->elements == nullptr || mask == nullptr)
		return APIERR_BADPARS;
	API_ElemTypeID type = element->record.header.type.typeID;
	if (!Sim::IsOpening(type))
		return APIERR_BADELEMENTTYPE;
	double width = element->record.door.openingBase.width;
	const Sim::OpeningWidths* found = project.openingWidths.Get(elemGuid);
	Sim::OpeningWidths widths = found == nullptr ? Sim::OpeningWidths{width, width} : *found;
	API_OpeningQuantity measured = {widths.width1,
	                                widths.width2,
	                                element->record.door.openingBase.height,
	                                element->record.door.openingBase.height,
	                                0.0,
	                                0.0};
	// An opening below the caller's minimum size is not measured: its quantities are zero.
	double minimum = params != nullptr ? params->minOpeningSize : 0.0;
	const API_OpeningBaseType& size = element->record.door.openingBase;
	if (size.width < minimum || size.height < minimum)
		measured = {};
	bool isDoor = type == API_DoorID;
	const API_OpeningQuantity& marks = isDoor ? mask->elements.door : mask->elements.window;
	API_OpeningQuantity& target = isDoor ? quantities->elements->door : quantities->elements->window;
	Sim::CopyMarked(&measured, &marks, &target, sizeof(API_OpeningQuantity));
	return NoError;
}
