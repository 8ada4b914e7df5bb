// What the host knows about how elements stand to one another: the walls,
// columns, openings and niches around a zone, the zones on both sides of an
// opening, the openings in a wall, and the quantities of an opening.
#pragma once

#include "API/Elements.hpp"
#include "API/Errors.hpp"
#include "GS/Array.hpp"
#include "GS/HashTable.hpp"

// The stretch of a wall that bounds one zone edge.
struct API_WallPart {
	API_Guid guid;  // the wall
	Int32 roomEdge; // zone edge number: 1-based index of the edge's start vertex
	double tBeg;    // begin of the stretch along the wall, from its begin point
	double tEnd;    // end of the stretch
};

// The outline of a niche that widens a zone (a door niche, for example),
// in memo layout: coordinates and contour ends 1-based, arcs 0-based.
struct API_Niche {
	API_Coord** coords;
	Int32** pends;
	API_PolyArc** parcs;
};

struct API_RoomRelation {
	GS::Array<API_WallPart> wallPart;
	GS::HashTable<API_ElemType, GS::Array<API_Guid>> elementsGroupedByType;
	GS::Array<API_Niche> niches; // their handles belong to the receiver
};

// The zones on the two sides of a door or window.
struct API_OpeningRelation {
	API_Guid fromRoom;
	API_Guid toRoom;
};

// For a zone, relData is an API_RoomRelation (the host fills the whole
// relation whatever otherType asks for); for a door or window asked about
// zones (type 17), an API_OpeningRelation.
GSErrCode ACAPI_Element_GetRelations(const API_Guid& guid, const API_ElemType& otherType, void* relData,
                                     UInt32 criteria = 0);
// Releases the niche handles of a room relation.
GSErrCode ACAPI_DisposeRoomRelationHdls(API_RoomRelation* relation);

// The elements of a type that sit in an element: the doors or windows of a wall.
GSErrCode ACAPI_Grouping_GetConnectedElements(const API_Guid& guid, const API_ElemType& connectedType,
                                              GS::Array<API_Guid>* connected, UInt32 filterBits = 0,
                                              const API_Guid& renovationFilterGuid = APINULLGuid);

struct API_QuantityPar {
	double minOpeningSize; // openings below this size are not measured
	double filler_1[3];
};

struct API_OpeningQuantity {
	double width1; // width measured on the opening's first side
	double width2; // width measured on its second side
	double height1;
	double height2;
	double surface;
	double volume;
};

struct API_ElementQuantity {
	API_OpeningQuantity door;
	API_OpeningQuantity window;
};

struct API_Quantities {
	API_ElementQuantity* elements;
};

// A quantity is computed when its bytes in the mask are set.
struct API_QuantitiesMask {
	API_ElementQuantity elements;
};

GSErrCode ACAPI_Element_GetQuantities(API_Guid elemGuid, const API_QuantityPar* params, API_Quantities* quantities,
                                      const API_QuantitiesMask* mask);
