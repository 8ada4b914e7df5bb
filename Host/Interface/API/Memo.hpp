// Element memos: the variable-size parts of an element, each in its own memory
// handle or pointer block, owned by whoever received the memo.
#pragma once

#include "API/Elements.hpp"

// Type codes of library-part parameters.
enum API_AddParID : Int32 {
	APIParT_Integer = 1,
	APIParT_Length = 2,
	APIParT_Angle = 3,
	APIParT_RealNum = 4,
	APIParT_LightSw = 5,
	APIParT_ColRGB = 6,
	APIParT_Intens = 7,
	APIParT_LineTyp = 8,
	APIParT_Mater = 9,
	APIParT_FillPat = 10,
	APIParT_PenCol = 11,
	APIParT_CString = 12,
	APIParT_Boolean = 13,
	APIParT_Separator = 14,
	APIParT_Title = 15,
	APIParT_BuildingMaterial = 16,
	APIParT_Profile = 17,
	APIParT_Dictionary = 18
};

// Type modifiers of library-part parameters.
constexpr Int16 API_ParSimple = 0;
constexpr Int16 API_ParArray = 2;

// One library-part parameter. An array value lives in its own memory handle,
// owned by the record.
struct API_AddParType {
	API_AddParID typeID;
	Int16 index;   // position in the library part's parameter list
	Int16 typeMod; // API_ParSimple or API_ParArray
	char name[32];
	GS::UniChar uDescname[64];
	Int32 dim1;   // array rows
	Int32 dim2;   // array columns
	UInt16 flags; // shown, locked and similar switches
	UInt16 filler_1;
	UInt64 valueCache; // the host's cached state of the value; meaningless in a copy
	union {
		double real;
		GS::UniChar uStr[256];
		GSHandle array;
	} value;
};

// The bevel of one polygon edge of a slab (memo part edgeTrims).
struct API_EdgeTrim {
	Int32 sideType; // how the bevel is given
	double sideAngle;
};

// A material that overrides the default on one side (memo part sideMaterials).
struct API_OverriddenAttribute {
	API_Bool overridden;
	Int32 attributeIndex;
};

static_assert(sizeof(API_EdgeTrim) == 16 && sizeof(API_OverriddenAttribute) == 8, "stored record sizes");

struct API_ElementMemo {
	API_Coord** coords;                     // 1-based, entry 0 unused
	Int32** pends;                          // contour ends, 1-based, entry 0 = 0
	API_PolyArc** parcs;                    // 0-based
	UInt32** vertexIDs;                     // 1-based, entry 0 = highest ID
	API_EdgeTrim** edgeTrims;               // 1-based
	API_OverriddenAttribute* sideMaterials; // pointer block, entries 0 .. n
	API_AddParType** params;                // library-part parameters
	API_ColumnSegmentType* columnSegments;  // pointer block, one per segment
};

// Memo masks: which parts a memo call reads or changes.
constexpr UInt64 APIMemoMask_Polygon = 0x0000000000000001; // coords, pends, parcs, vertexIDs
constexpr UInt64 APIMemoMask_AddPars = 0x0000000000000004;
constexpr UInt64 APIMemoMask_EdgeTrims = 0x0000000000000008;
constexpr UInt64 APIMemoMask_SideMaterials = 0x0000000100000000;
constexpr UInt64 APIMemoMask_ColumnSegment = 0x0400000000000000;
constexpr UInt64 APIMemoMask_All = 0xFFFFFFFFFFFFFFFF;

// Releases every handle and pointer block of the memo, array parameter values
// included, and sets them to null.
GSErrCode ACAPI_DisposeElemMemoHdls(API_ElementMemo* memo);
