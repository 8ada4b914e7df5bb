// Plane geometry of wall coverings: where a covering wall stands on a zone
// edge, the curvature of zone edges, and the bookkeeping of zone edges.
#pragma once

#include "API/Relations.hpp"
#include "GS/Array.hpp"
#include "GS/HashTable.hpp"
#include "Geometry/Sector.hpp"
#include "ZonePolygon.hpp"

// Zone edge number (1-based index of the edge's start vertex) -> the edge as
// a straight segment (an arc edge as its chord). Walked in stored order.
using ZoneEdgeMap = GS::HashTable<int, Sector>;

// Places the covering in front of one part of a wall, on a zone edge: sets its
// begin and end points, arc angle and flip flag, and nothing else. True when it
// spans the whole edge and gets no holes; false when it spans exactly the part.
// On a curved edge the covering turns counter-clockwise over the part's angles,
// for walls turning either way, and is flipped when the edge turns clockwise.
bool CalcCoveringGeometry(API_Element& covering, double edgeArcAngle, Geometry::Point2d edgeBegin,
                          Geometry::Point2d edgeEnd, const API_Element& wall, const API_WallPart& part);

// A mask that marks exactly the fields that place a covering: begin and end
// points, arc angle and flip flag.
API_Element CoveringPlacementMask();

// -1 for an arc that turns clockwise, else 1: the sense in which distances
// along a wall or covering of that arc angle advance.
double TurnOf(double arcAngle);

// The arc angle of a zone edge: that of the first arc starting at its vertex, 0 for a straight edge.
double GetZoneEdgeAngle(const ZonePolygon& polygon, Int32 edge);

// The direction of v as a unit vector; a vector no longer than 1e-12 counts as (1, 0).
Geometry::Vector2d UnitOrXAxis(Geometry::Vector2d v);

// Whether two directions cross by more than 1e-5. A vector that is zero within
// 1e-12 has no direction to compare and is parallel to any other.
bool NotParallel(Geometry::Vector2d a, Geometry::Vector2d b);

// Whether two directions are the same within 1e-5; a vector no longer than
// 1e-12 counts as (1, 0).
bool SameDirection(Geometry::Vector2d a, Geometry::Vector2d b);

// The positions that order the keys ascending; equal keys keep their order.
template <typename Key> GS::Array<UInt32> SortIndices(const GS::Array<Key>& keys)
{
	GS::Array<UInt32> order;
	for (UInt32 i = 0; i < keys.GetSize(); ++i)
		order.Push(i);
	for (bool swapped = keys.GetSize() > 1; swapped;) {
		swapped = false;
		for (UInt32 i = 0; i + 1 < order.GetSize(); ++i) {
			if (keys[order[i]] > keys[order[i + 1]]) {
				std::swap(order[i], order[i + 1]);
				swapped = true;
			}
		}
	}
	return order;
}

// The zone edges that the add may cover, in ascending order: the outer contour,
// and the inner contours too when innerContours is set.
ZoneEdgeMap MakeZoneEdgeMapForAdd(const ZonePolygon& polygon, bool innerContours);

// The zone edges that the update may place coverings on, in ascending order:
// the straight edges of every contour.
ZoneEdgeMap MakeZoneEdgeMapForUpdate(const ZonePolygon& polygon);

Geometry::Point2d ToPoint(const API_Coord& coord);
API_Coord ToCoord(const Geometry::Point2d& point);
