#include "Sim/API/ZoneUpdate.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "Geometry/GenArc.hpp"
#include "Geometry/Tolerance.hpp"
#include "Sim/API/ElementChecks.hpp"

namespace Sim {

namespace {

constexpr double Pi = 3.14159265358979323846;

API_Coord Shifted(const API_Coord& point, const API_Coord& offset)
{
	return {point.x + offset.x, point.y + offset.y};
}

double Dot(const API_Coord& a, const API_Coord& b)
{
	return a.x * b.x + a.y * b.y;
}

API_Coord Between(const API_Coord& from, const API_Coord& to)
{
	return {to.x - from.x, to.y - from.y};
}

// The line or circle that an edge runs along.
struct Carrier {
	bool curved;
	API_Coord point;     // on the line, or the circle's centre
	API_Coord direction; // of the line
	double radius;       // of the circle
};

Carrier CarrierOf(const API_Coord& begin, const API_Coord& end, double arcAngle)
{
	if (arcAngle == 0.0)
		return {false, begin, Between(begin, end), 0.0};
	Geometry::GenArc arc = Geometry::GenArc::CreateCircleArc({begin.x, begin.y}, {end.x, end.y}, arcAngle);
	return {true, {arc.GetOrigo().x, arc.GetOrigo().y}, {0.0, 0.0}, arc.GetMainAxisLength()};
}

std::vector<API_Coord> LinesMeet(const Carrier& s, const Carrier& t)
{
	double cross = s.direction.x * t.direction.y - s.direction.y * t.direction.x;
	double lengths = std::sqrt(Dot(s.direction, s.direction) * Dot(t.direction, t.direction));
	if (!(std::fabs(cross) > Geometry::AngleTolerance().GetRadians() * lengths))
		return {};
	API_Coord d = Between(s.point, t.point);
	double along = (d.x * t.direction.y - d.y * t.direction.x) / cross;
	return {Shifted(s.point, {along * s.direction.x, along * s.direction.y})};
}

std::vector<API_Coord> LineMeetsCircle(const Carrier& line, const Carrier& circle)
{
	API_Coord d = Between(circle.point, line.point);
	double a = Dot(line.direction, line.direction);
	double b = Dot(line.direction, d);
	double discriminant = b * b - a * (Dot(d, d) - circle.radius * circle.radius);
	if (!(a > 0.0) || discriminant < 0.0)
		return {};
	std::vector<API_Coord> points;
	for (double sign : {-1.0, 1.0}) {
		double along = (-b + sign * std::sqrt(discriminant)) / a;
		points.push_back(Shifted(line.point, {along * line.direction.x, along * line.direction.y}));
	}
	return points;
}

std::vector<API_Coord> CirclesMeet(const Carrier& s, const Carrier& t)
{
	API_Coord d = Between(s.point, t.point);
	double distance = std::hypot(d.x, d.y);
	if (!(distance > 0.0) || distance > s.radius + t.radius || distance < std::fabs(s.radius - t.radius))
		return {};
	double along = (s.radius * s.radius - t.radius * t.radius + distance * distance) / (2.0 * distance);
	double across = std::sqrt(std::max(s.radius * s.radius - along * along, 0.0));
	API_Coord middle = Shifted(s.point, {along * d.x / distance, along * d.y / distance});
	return {Shifted(middle, {-across * d.y / distance, across * d.x / distance}),
	        Shifted(middle, {across * d.y / distance, -across * d.x / distance})};
}

// The point where the carriers meet nearest to `near`; `near` itself where they do not meet.
API_Coord MeetingNear(const Carrier& s, const Carrier& t, const API_Coord& near)
{
	std::vector<API_Coord> points = !s.curved && !t.curved ? LinesMeet(s, t)
	                                : !s.curved            ? LineMeetsCircle(s, t)
	                                : !t.curved            ? LineMeetsCircle(t, s)
	                                                       : CirclesMeet(s, t);
	API_Coord nearest = near;
	double best = std::numeric_limits<double>::infinity();
	for (const API_Coord& point : points) {
		API_Coord d = Between(near, point);
		if (Dot(d, d) < best) {
			best = Dot(d, d);
			nearest = point;
		}
	}
	return nearest;
}

// The turn from begin to end around the centre, in the sense of the old turn
// and nearest to it in size.
double TurnAround(const API_Coord& centre, const API_Coord& begin, const API_Coord& end, double oldTurn)
{
	double sense = oldTurn < 0.0 ? -1.0 : 1.0;
	double turn =
	    sense * (std::atan2(end.y - centre.y, end.x - centre.x) - std::atan2(begin.y - centre.y, begin.x - centre.x));
	double size = std::fabs(oldTurn);
	return sense * (size + std::remainder(turn - size, 2.0 * Pi));
}

// How far along the wall's reference line, from its begin point, the point
// faces it; along the arc for a curved wall, taken in the full turn centred
// on the arc's middle.
double StationAlong(const API_WallType& wall, const API_Coord& point)
{
	double dx = wall.endC.x - wall.begC.x;
	double dy = wall.endC.y - wall.begC.y;
	if (wall.angle == 0.0)
		return ((point.x - wall.begC.x) * dx + (point.y - wall.begC.y) * dy) / std::hypot(dx, dy);
	Geometry::GenArc arc =
	    Geometry::GenArc::CreateCircleArc({wall.begC.x, wall.begC.y}, {wall.endC.x, wall.endC.y}, wall.angle);
	const Geometry::Point2d& centre = arc.GetOrigo();
	double direction = std::atan2(point.y - centre.y, point.x - centre.x);
	double turn = (wall.angle < 0.0 ? -1.0 : 1.0) * (direction - arc.GetBegAng());
	double lowest = std::fabs(wall.angle) / 2.0 - Pi;
	turn = lowest + std::fmod(std::fmod(turn - lowest, 2.0 * Pi) + 2.0 * Pi, 2.0 * Pi);
	return turn * arc.GetMainAxisLength();
}

// The stretch of the wall that bounds an edge: the edge seen from the wall,
// within the wall's ends.
void Remeasure(API_WallPart& part, const API_WallType& wall, const API_Coord& begin, const API_Coord& end)
{
	double length = WallLength(wall);
	if (!(length > 0.0))
		return;
	double a = StationAlong(wall, begin);
	double b = StationAlong(wall, end);
	part.tBeg = std::clamp(std::min(a, b), 0.0, length);
	part.tEnd = std::clamp(std::max(a, b), 0.0, length);
}

// A zone polygon in memo layout: coordinates and contour ends 1-based, each
// contour's last coordinate repeating its first; edge n runs from vertex n to n + 1.
class ZoneOutline {
public:
	explicit ZoneOutline(const StoredMemo& memo)
	    : coords(ItemsOf<API_Coord>(memo.coords)), ends(ItemsOf<Int32>(memo.pends)),
	      arcs(ItemsOf<API_PolyArc>(memo.parcs))
	{
	}

	// Contour ends rise from 0 by at least 3 and stay within the coordinates.
	bool IsWellFormed() const
	{
		if (ends.size() < 2 || ends.front() != 0 || ends.back() >= static_cast<Int64>(coords.size()))
			return false;
		for (std::size_t j = 1; j < ends.size(); ++j) {
			if (ends[j] - ends[j - 1] < 3)
				return false;
		}
		return true;
	}

	// Of a well-formed outline.
	bool IsEdge(Int32 edge) const
	{
		return edge >= 1 && edge < ends.back() && std::find(ends.begin(), ends.end(), edge) == ends.end();
	}

	const API_Coord& Begin(Int32 edge) const { return coords[edge]; }
	const API_Coord& End(Int32 edge) const { return coords[edge + 1]; }
	const std::vector<API_Coord>& Coords() const { return coords; }
	const std::vector<API_PolyArc>& Arcs() const { return arcs; }

	// Moves the edges by the offset; each edge beside a moved one keeps its
	// line or circle and meets the moved one's, where they meet. Returns every
	// edge whose ends changed.
	std::set<Int32> Move(const std::set<Int32>& moved, const API_Coord& offset)
	{
		const std::vector<API_Coord> before = coords;
		std::set<Int32> changed;
		for (std::size_t j = 1; j < ends.size(); ++j) {
			Int32 first = ends[j - 1] + 1;
			Int32 last = ends[j];
			for (Int32 vertex = first; vertex < last; ++vertex) {
				Int32 incoming = vertex == first ? last - 1 : vertex - 1;
				bool incomingMoved = moved.count(incoming) != 0;
				bool outgoingMoved = moved.count(vertex) != 0;
				if (!incomingMoved && !outgoingMoved)
					continue;
				API_Coord shifted = Shifted(before[vertex], offset);
				coords[vertex] = incomingMoved && outgoingMoved
				                     ? shifted
				                     : MeetingNear(CarrierAfter(before, incoming, moved, offset),
				                                   CarrierAfter(before, vertex, moved, offset), shifted);
				if (vertex == first)
					coords[last] = coords[vertex];
				changed.insert({incoming, vertex});
			}
		}
		for (API_PolyArc& arc : arcs) {
			if (changed.count(arc.begIndex) != 0)
				arc.arcAngle = TurnAround(CarrierAfter(before, arc.begIndex, moved, offset).point, Begin(arc.begIndex),
				                          End(arc.begIndex), arc.arcAngle);
		}
		return changed;
	}

private:
	double ArcAngle(Int32 edge) const
	{
		auto arc = std::find_if(arcs.begin(), arcs.end(), [&](const API_PolyArc& arc) { return arc.begIndex == edge; });
		return arc == arcs.end() ? 0.0 : arc->arcAngle;
	}

	Carrier CarrierAfter(const std::vector<API_Coord>& before, Int32 edge, const std::set<Int32>& moved,
	                     const API_Coord& offset) const
	{
		Carrier carrier = CarrierOf(before[edge], before[edge + 1], ArcAngle(edge));
		if (moved.count(edge) != 0)
			carrier.point = Shifted(carrier.point, offset);
		return carrier;
	}

	std::vector<API_Coord> coords;
	std::vector<Int32> ends;
	std::vector<API_PolyArc> arcs;
};

void FollowWall(Project& project, const API_Guid& zone, const API_Guid& wall, const API_Coord& offset)
{
	const StoredElement* stored = project.Get(zone);
	const StoredRoomRelation* relation = project.roomRelations.Find(zone);
	if (stored == nullptr || stored->record.header.type.typeID != API_ZoneID || relation == nullptr)
		return;
	ZoneOutline outline(stored->memo);
	if (!outline.IsWellFormed())
		return;
	std::set<Int32> alongWall;
	for (const API_WallPart& part : relation->wallParts) {
		if (part.guid == wall && outline.IsEdge(part.roomEdge))
			alongWall.insert(part.roomEdge);
	}
	if (alongWall.empty())
		return;
	std::set<Int32> changed = outline.Move(alongWall, offset);
	StoredMemo& memo = project.Find(zone)->memo;
	memo.coords = BytesOf(outline.Coords());
	if (memo.parcs.has_value())
		memo.parcs = BytesOf(outline.Arcs());
	for (API_WallPart& part : *project.roomRelations.WallPartsToChange(zone)) {
		const StoredElement* bounding = project.Get(part.guid);
		if (changed.count(part.roomEdge) != 0 && bounding != nullptr &&
		    bounding->record.header.type.typeID == API_WallID)
			Remeasure(part, bounding->record.wall, outline.Begin(part.roomEdge), outline.End(part.roomEdge));
	}
}

} // namespace

GSErrCode MoveWall(Project& project, const API_Guid& wall, const API_Coord& offset)
{
	const StoredElement* stored = project.Get(wall);
	if (stored == nullptr || stored->record.header.type.typeID != API_WallID)
		return APIERR_BADID;
	API_Element& moved = project.Find(wall)->record;
	moved.wall.begC = Shifted(moved.wall.begC, offset);
	moved.wall.endC = Shifted(moved.wall.endC, offset);
	++moved.header.modiStamp;
	for (const API_Guid& zone : project.roomRelations.ZonesNaming(wall))
		FollowWall(project, zone, wall, offset);
	return NoError;
}

} // namespace Sim
