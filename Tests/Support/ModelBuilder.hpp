// Builds elements of a test project through the host's control interface.
#pragma once

#include <string>
#include <vector>

#include "HostControl.hpp"

namespace ModelBuilder {

API_Element NewRecord(API_ElemTypeID type);

// A wall record that a host accepts: it has length, thickness and height.
API_Element WallRecord(API_Coord begin, API_Coord end, double arcAngle = 0.0, double thickness = 0.2);
API_Guid AddWall(API_Coord begin, API_Coord end, double arcAngle = 0.0, double thickness = 0.2);
API_Guid AddOpening(API_ElemTypeID type, const API_Guid& wall, double location, double width = 0.9);

struct Contour {
	std::vector<API_Coord> points; // without the closing repeat
};
// A zone with an outer contour and optional holes; arcs name 1-based vertices
// of the whole coordinate list.
API_Guid AddZone(const std::string& number, const std::vector<Contour>& contours,
                 const std::vector<API_PolyArc>& arcs = {}, const std::string& name = "Room");

} // namespace ModelBuilder
