// Element records of the host's add-on interface. API_Element is stored raw in
// the add-on's settings, so its memory image is fixed: a union of per-type
// records that each begin with the element header, 5272 bytes in all.
#pragma once

#include <functional>
#include <type_traits>

#include "API/Guid.hpp"
#include "GS/UniString.hpp"
#include "Geometry/Coord.hpp"

enum API_ElemTypeID : Int32 {
	API_ZombieElemID = 0,
	API_WallID = 1,
	API_ColumnID = 2,
	API_BeamID = 3,
	API_WindowID = 4,
	API_DoorID = 5,
	API_ObjectID = 6,
	API_LampID = 7,
	API_SlabID = 8,
	API_RoofID = 9,
	API_MeshID = 10,
	API_ZoneID = 17
};

enum API_ElemVariationID : Int32 { APIVarId_Generic = 0 };

struct API_ElemType {
	API_ElemTypeID typeID;
	API_ElemVariationID variationID;
	API_Guid classificationID; // null for the built-in element classes
};

inline bool operator==(const API_ElemType& left, const API_ElemType& right)
{
	return left.typeID == right.typeID && left.variationID == right.variationID &&
	       left.classificationID == right.classificationID;
}
inline bool operator!=(const API_ElemType& left, const API_ElemType& right)
{
	return !(left == right);
}

template <> struct std::hash<API_ElemType> {
	std::size_t operator()(const API_ElemType& type) const
	{
		return std::hash<API_Guid>()(type.classificationID) * 31 + static_cast<std::size_t>(type.typeID) * 7 +
		       static_cast<std::size_t>(type.variationID);
	}
};

// A one-byte truth value: element images are stored raw, and any byte read
// back from damaged storage must still be a valid value.
using API_Bool = UInt8;

using API_Coord = Geometry::Coord;
using API_PolyArc = Geometry::PolyArcRec;

// The counts of an element's polygon; the points themselves are in its memo.
struct API_Polygon {
	Int32 nCoords;   // coordinates, each contour's last repeating its first
	Int32 nSubPolys; // contours: 1 outer, the rest holes
	Int32 nArcs;
};

struct API_Elem_Head {
	API_ElemType type;
	API_Guid guid;
	Int16 floorInd; // index of the element's home story
	Int16 filler_1;
	Int32 layer;
	API_Guid groupGuid; // the group the element belongs to, null when none
	UInt32 modiStamp;   // grows with every change of the element
	Int32 filler_2;
};

// How an element affects the zones around it.
enum API_ZoneRelID : Int32 { APIZRel_Boundary = 0, APIZRel_ReduceArea = 1, APIZRel_None = 2 };

// Where a wall's reference line runs: along one face, the body lying to the
// line's left (looking from begin to end), or along the middle.
enum API_WallRefLineID : Int32 { APIWallRefLine_Face = 0, APIWallRefLine_Centre = 1 };

struct API_WallType {
	API_Elem_Head head;
	API_ZoneRelID zoneRel;  // only walls that bound zones may be covered
	Int32 buildingMaterial; // attribute index
	API_Coord begC;         // reference line begin
	API_Coord endC;         // reference line end
	double angle;           // arc angle of a curved reference line; 0 = straight
	double thickness;
	double height;
	double bottomOffset;    // base over the home story
	double topOffset;       // top over the linked top story, when linked
	Int16 relativeTopStory; // the top is linked this many stories up; 0 = not linked
	API_Bool flipped;       // the wall's sides are swapped: its body lies to the reference line's right
	API_Bool filler_1;
	API_WallRefLineID referenceLine;
};

struct API_ColumnType {
	API_Elem_Head head;
	API_ZoneRelID zoneRel;       // only columns that bound zones may be covered
	Int32 nSegments;             // cross-section segments, listed in the memo
	API_Coord origoPos;          // centre of the cross-section in plan
	double axisRotationAngle;    // turn of the column's axes in plan
	double profileRotationAngle; // further turn of the cross-section about the axis
	double height;
	double bottomOffset;
	API_Bool isSlanted;
	API_Bool filler_1[7];
	double slantAngle;
};

// One cross-section segment of a column (memo part columnSegments).
struct API_ColumnSegmentType {
	API_Bool circleBased; // round cross-section
	API_Bool filler_1[3];
	Int32 structureType; // 0 basic, 1 complex, 2 built from a profile
	double nominalWidth; // size along the column's local x axis
	double nominalDepth; // size along the column's local y axis
};

enum API_SlabReferencePlaneID : Int32 {
	APISlabRefPlane_Top = 0,
	APISlabRefPlane_CoreTop = 1,
	APISlabRefPlane_CoreBottom = 2,
	APISlabRefPlane_Bottom = 3
};

struct API_SlabType {
	API_Elem_Head head;
	double thickness;
	double level; // of the reference plane, over the home story
	API_SlabReferencePlaneID referencePlaneLocation;
	Int32 buildingMaterial;
	API_Polygon poly;
	Int32 filler_1;
};

struct API_ZoneType {
	API_Elem_Head head;
	GS::UniChar roomName[256];
	GS::UniChar roomNoStr[32]; // the zone's number text
	API_Polygon poly;
	Int16 relativeTopStory; // the top is linked this many stories up; 0 = not linked
	Int16 filler_1;
	double roomBaseLev;     // bottom over the home story, first part
	double roomFloorOffset; // bottom over the home story, second part
	double roomHeight;
	API_Coord pos; // label position
};

// The part shared by doors and windows.
struct API_OpeningBaseType {
	Int32 libInd;         // library part
	Int32 revealStyle;    // new holes get 0
	Int16 revealPen;      // new holes get 0
	API_Bool reflected;   // mirrored in its wall's plane
	API_Bool openingSide; // opens to the wall's other side
	API_Bool refSide;     // measured from the wall's other side
	API_Bool filler_1[3];
	double width;
	double height;
	double subFloorThickness; // the sill's depth below the opening
};

struct API_OpeningType {
	API_Elem_Head head;
	API_Guid owner; // the wall the opening sits in
	API_OpeningBaseType openingBase;
	double objLoc; // location along the wall, from its begin point
	double lower;  // lower edge height over the wall's base
};

using API_DoorType = API_OpeningType;
using API_WindowType = API_OpeningType;

struct API_ObjectType {
	API_Elem_Head head;
	Int32 libInd;
	Int32 filler_1;
	API_Coord pos;
	double angle;
};

union API_Element {
	API_Elem_Head header;
	API_WallType wall;
	API_ColumnType column;
	API_SlabType slab;
	API_ZoneType zone;
	API_DoorType door;
	API_WindowType window;
	API_ObjectType object;
	char filler[5272];
};

static_assert(sizeof(API_Element) == 5272, "the stored element image is 5272 bytes");
static_assert(std::is_trivially_copyable<API_Element>::value, "element records are copied as bytes");

// Marks a field in a change mask: every byte of a marked field is 0xFF.
#define API_MASK_SET(mask, member) std::memset(&(mask).member, 0xFF, sizeof((mask).member))
