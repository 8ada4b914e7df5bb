#include "ModelBuilder.hpp"

#include <cstring>

namespace ModelBuilder {

API_Element NewRecord(API_ElemTypeID type)
{
	API_Element element;
	std::memset(&element, 0, sizeof(element));
	element.header.type.typeID = type;
	return element;
}

API_Element WallRecord(API_Coord begin, API_Coord end, double arcAngle, double thickness)
{
	API_Element wall = NewRecord(API_WallID);
	wall.wall.begC = begin;
	wall.wall.endC = end;
	wall.wall.angle = arcAngle;
	wall.wall.thickness = thickness;
	wall.wall.height = 3.0;
	return wall;
}

API_Guid AddWall(API_Coord begin, API_Coord end, double arcAngle, double thickness)
{
	return HostControl::AddElement(WallRecord(begin, end, arcAngle, thickness));
}

API_Guid AddOpening(API_ElemTypeID type, const API_Guid& wall, double location, double width)
{
	API_Element opening = NewRecord(type);
	opening.door.owner = wall;
	opening.door.objLoc = location;
	opening.door.openingBase.width = width;
	opening.door.openingBase.height = type == API_DoorID ? 2.1 : 1.2;
	opening.door.lower = type == API_DoorID ? 0.0 : 0.9;
	// Placed openings are always made from a part of the library.
	const API_Guid& part = type == API_DoorID ? HostControl::Defaults().doorPart : HostControl::Defaults().windowPart;
	opening.door.openingBase.libInd = HostControl::LibraryPartIndex(part).value_or(0);
	return HostControl::AddElement(opening);
}

API_Guid AddZone(const std::string& number, const std::vector<Contour>& contours, const std::vector<API_PolyArc>& arcs,
                 const std::string& name)
{
	HostControl::MemoParts memo;
	memo.coords = std::vector<API_Coord>{{0.0, 0.0}};
	memo.pends = std::vector<Int32>{0};
	memo.arcs = arcs;
	for (const Contour& contour : contours) {
		memo.coords->insert(memo.coords->end(), contour.points.begin(), contour.points.end());
		memo.coords->push_back(contour.points.front());
		memo.pends->push_back(static_cast<Int32>(memo.coords->size()) - 1);
	}
	API_Element zone = NewRecord(API_ZoneID);
	GS::UniString(number).CopyUStr(zone.zone.roomNoStr, 32);
	GS::UniString(name).CopyUStr(zone.zone.roomName, 256);
	zone.zone.poly.nCoords = static_cast<Int32>(memo.coords->size()) - 1;
	zone.zone.poly.nSubPolys = static_cast<Int32>(contours.size());
	zone.zone.poly.nArcs = static_cast<Int32>(arcs.size());
	zone.zone.roomHeight = 2.5;
	return HostControl::AddElement(zone, memo);
}

} // namespace ModelBuilder
