// The user's selection, as the host hands it to an add-on.
#pragma once

#include "API/Elements.hpp"
#include "GS/Array.hpp"

enum API_SelTypeID : Int32 { API_SelEmpty = 0, API_SelElems = 1, API_MarqueePoly = 2 };

enum API_SelRelativePosID : Int32 { API_InsidePartially = 0, API_InsideEntirely = 1 };

// Selection handles ("neigs") name the kind of element they point at.
enum API_NeigID : Int32 {
	APINeig_None = 0,
	APINeig_Wall = 100,
	APINeig_Column = 200,
	APINeig_Window = 400,
	APINeig_Door = 500,
	APINeig_Object = 600,
	APINeig_Slab = 800,
	APINeig_Zone = 1700
};

struct API_Neig {
	API_NeigID neigID;
	Int32 inIndex;
	API_Guid guid;
};

struct API_Region {
	API_Coord** coords; // the marquee outline, owned by the receiver
	Int32 nCoords;
	Int32 filler_1;
};

struct API_SelectionInfo {
	API_SelTypeID typeID; // API_SelEmpty when nothing is selected
	Int32 sel_nElem;
	API_Region marquee;
};

GSErrCode ACAPI_Selection_Get(API_SelectionInfo* selectionInfo, GS::Array<API_Neig>* selNeigs, bool onlyEditable,
                              bool ignorePartialSelection = false,
                              API_SelRelativePosID relativePos = API_InsidePartially);
GSErrCode ACAPI_Element_NeigIDToElemType(API_NeigID neigID, API_ElemType& type);
