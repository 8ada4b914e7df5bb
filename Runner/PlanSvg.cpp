#include "PlanSvg.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <sstream>
#include <vector>

#include "HostControl.hpp"
#include "PlanGeometry.hpp"

namespace Runner {

namespace {

constexpr double Margin = 40.0;
constexpr double TitleHeight = 40.0;
constexpr double LegendWidth = 200.0;

const char* const ZoneFills[] = {"#f6e7c8", "#dcebd5", "#d8e4f2", "#f2dbe0",
                                 "#e6def2", "#d7efec", "#f1ecd0", "#e8e8e8"};

const char* const Style = R"(
  text { font-family: sans-serif; fill: #2b2b2b; }
  .title { font-size: 18px; font-weight: bold; }
  .zone { stroke: #9a9a9a; stroke-width: 0.5; fill-rule: evenodd; }
  .zone-number { font-size: 13px; font-weight: bold; text-anchor: middle; }
  .zone-name { font-size: 11px; text-anchor: middle; }
  .zone-note { font-size: 9px; font-style: italic; text-anchor: middle; fill: #8a3b12; }
  .slab { fill: #b8b8b8; fill-opacity: 0.2; stroke: #808080; stroke-dasharray: 4 3; }
  .cov-slab { fill: #f08a24; fill-opacity: 0.18; stroke: #d0661a; stroke-width: 1; stroke-dasharray: 6 3; fill-rule: evenodd; }
  .wall, .wall-outline { fill: #5d6670; }
  .wall-outline { stroke: #2e3338; stroke-width: 1.6; }
  .cov-wall, .cov-wall-outline { fill: #e4572e; }
  .cov-wall-outline { stroke: #a33212; stroke-width: 1.2; }
  .column { fill: #3b4248; stroke: #15181b; stroke-width: 0.8; }
  .door { fill: #ffffff; stroke: #8b5a2b; stroke-width: 1; }
  .swing { fill: none; stroke: #8b5a2b; stroke-width: 0.8; stroke-dasharray: 3 2; }
  .window { fill: #d6ecfa; stroke: #2a7ab8; stroke-width: 1; }
  .glass { fill: none; stroke: #2a7ab8; stroke-width: 0.8; }
  .hole { fill: #fff4cc; stroke: #7a1f05; stroke-width: 0.8; }
  .legend-box { fill: #ffffff; stroke: #c8c8c8; }
  .legend { font-size: 12px; }
)";

std::string Number(double value)
{
	char text[32];
	std::snprintf(text, sizeof(text), "%.2f", value);
	return text;
}

std::string Escaped(const std::string& text)
{
	std::string escaped;
	for (char c : text) {
		switch (c) {
		case '&':
			escaped += "&amp;";
			break;
		case '<':
			escaped += "&lt;";
			break;
		case '>':
			escaped += "&gt;";
			break;
		case '"':
			escaped += "&quot;";
			break;
		default:
			escaped += c;
		}
	}
	return escaped;
}

PlanLine ReferenceLine(const API_Element& wall)
{
	return {wall.wall.begC, wall.wall.endC, wall.wall.angle};
}

struct Bounds {
	double minX = std::numeric_limits<double>::max();
	double minY = std::numeric_limits<double>::max();
	double maxX = std::numeric_limits<double>::lowest();
	double maxY = std::numeric_limits<double>::lowest();

	void Add(API_Coord point)
	{
		minX = std::min(minX, point.x);
		minY = std::min(minY, point.y);
		maxX = std::max(maxX, point.x);
		maxY = std::max(maxY, point.y);
	}
	bool IsEmpty() const { return minX > maxX; }
};

// What one story holds, sorted by how it is drawn.
struct StoryContents {
	std::vector<API_Element> zones;
	std::vector<API_Element> slabs;
	std::vector<API_Element> walls;
	std::vector<API_Element> columns;
	std::vector<API_Element> openings;
	std::map<API_Guid, API_Element> wallsByGuid;
};

StoryContents CollectStory(Int16 story)
{
	StoryContents contents;
	for (const API_Guid& guid : HostControl::Elements()) {
		std::optional<API_Element> element = HostControl::GetElement(guid);
		if (!element || element->header.floorInd != story)
			continue;
		switch (element->header.type.typeID) {
		case API_ZoneID:
			contents.zones.push_back(*element);
			break;
		case API_SlabID:
			contents.slabs.push_back(*element);
			break;
		case API_WallID:
			contents.walls.push_back(*element);
			contents.wallsByGuid[guid] = *element;
			break;
		case API_ColumnID:
			contents.columns.push_back(*element);
			break;
		case API_DoorID:
		case API_WindowID:
			contents.openings.push_back(*element);
			break;
		default:
			break;
		}
	}
	return contents;
}

// Plan metres to picture pixels: y grows upwards in the plan, downwards in the picture.
class Canvas {
public:
	Canvas(const Bounds& bounds, double scale) : bounds(bounds), scale(scale) {}

	std::string At(API_Coord point) const { return Number(X(point)) + " " + Number(Y(point)); }
	double X(API_Coord point) const { return Margin + (point.x - bounds.minX) * scale; }
	double Y(API_Coord point) const { return Margin + TitleHeight + (bounds.maxY - point.y) * scale; }
	double Length(double metres) const { return metres * scale; }
	double DrawingWidth() const { return (bounds.maxX - bounds.minX) * scale; }
	double DrawingHeight() const { return (bounds.maxY - bounds.minY) * scale; }

	// An arc to `end`; counter-clockwise in the plan is clockwise in the picture's own angle sense.
	std::string ArcTo(double radius, double turn, API_Coord end) const
	{
		return " A " + Number(Length(radius)) + " " + Number(Length(radius)) + " 0 " +
		       (std::fabs(turn) > Pi ? "1 " : "0 ") + (turn > 0.0 ? "0 " : "1 ") + At(end);
	}

private:
	Bounds bounds;
	double scale;
};

// The strip of a straight or curved line between two stations along it, as
// wide as twice `half`: a wall, or an opening in it.
std::string BandPath(const Canvas& canvas, const PlanLine& line, double from, double to, double half)
{
	std::string path = "M " + canvas.At(PointAt(line, {from, half}));
	if (line.arcAngle == 0.0) {
		path += " L " + canvas.At(PointAt(line, {to, half}));
		path += " L " + canvas.At(PointAt(line, {to, -half}));
		path += " L " + canvas.At(PointAt(line, {from, -half}));
		return path + " Z";
	}
	ArcCircle circle = CircleOfArc(line);
	double sense = line.arcAngle < 0.0 ? -1.0 : 1.0;
	double turn = sense * (to - from) / circle.radius;
	path += canvas.ArcTo(circle.radius - sense * half, turn, PointAt(line, {to, half}));
	path += " L " + canvas.At(PointAt(line, {to, -half}));
	path += canvas.ArcTo(circle.radius + sense * half, -turn, PointAt(line, {from, -half}));
	return path + " Z";
}

double ArcTurnOfEdge(const std::vector<API_PolyArc>& arcs, Int32 edge)
{
	for (const API_PolyArc& arc : arcs) {
		if (arc.begIndex == edge)
			return arc.arcAngle;
	}
	return 0.0;
}

// All contours of a polygon in memo layout, holes included.
std::string ContourPath(const Canvas& canvas, const HostControl::MemoParts& memo)
{
	if (!memo.coords || !memo.pends)
		return "";
	const std::vector<API_Coord>& coords = *memo.coords;
	const std::vector<Int32>& pends = *memo.pends;
	std::vector<API_PolyArc> arcs = memo.arcs.value_or(std::vector<API_PolyArc>());
	std::string path;
	for (std::size_t contour = 1; contour < pends.size(); ++contour) {
		Int32 first = pends[contour - 1] + 1;
		Int32 last = pends[contour];
		if (first < 1 || last >= static_cast<Int32>(coords.size()) || last - first < 2)
			continue;
		path += (path.empty() ? "M " : " M ") + canvas.At(coords[first]);
		for (Int32 i = first; i < last; ++i) {
			double turn = ArcTurnOfEdge(arcs, i);
			if (turn == 0.0)
				path += " L " + canvas.At(coords[i + 1]);
			else
				path += canvas.ArcTo(CircleOfArc({coords[i], coords[i + 1], turn}).radius, turn, coords[i + 1]);
		}
		path += " Z";
	}
	return path;
}

std::string Tag(const std::string& name, const std::string& cssClass, const std::string& attributes)
{
	return "  <" + name + " class=\"" + cssClass + "\" " + attributes + "/>\n";
}

std::string PathTag(const std::string& cssClass, const std::string& path, const std::string& extra = "")
{
	return Tag("path", cssClass, "d=\"" + path + "\"" + extra);
}

std::string Comment(const std::string& text)
{
	return "  <!-- " + text + " -->\n";
}

// A text field of a record, read no further than the field reaches.
std::string FieldText(const GS::UniChar* field, USize capacity)
{
	USize length = 0;
	while (length < capacity && field[length] != 0)
		++length;
	return Escaped(GS::UniString(field, length).ToCStr().Get());
}

class PlanWriter {
public:
	PlanWriter(const std::set<API_Guid>& coverings, const PlanOptions& options)
	    : coverings(coverings), options(options), contents(CollectStory(options.story)),
	      canvas(PlanBounds(), options.pixelsPerMetre)
	{
	}

	std::string Write() const
	{
		double width = canvas.DrawingWidth() + 2 * Margin + LegendWidth;
		double height = std::max(canvas.DrawingHeight(), LegendHeight()) + 2 * Margin + TitleHeight;
		std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width) + "\" height=\"" +
		                  Number(height) + "\" viewBox=\"0 0 " + Number(width) + " " + Number(height) + "\">\n";
		svg += "  <style>" + std::string(Style) + "  </style>\n";
		svg += "  <rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#fbfaf7\"/>\n";
		svg += "  <text class=\"title\" x=\"" + Number(Margin) + "\" y=\"" + Number(Margin + 6) + "\">" +
		       Escaped(options.title) + "</text>\n";
		svg += Zones() + Slabs() + Walls() + Columns() + Openings() + ZoneLabels() + Legend();
		return svg + "</svg>\n";
	}

private:
	Bounds PlanBounds() const
	{
		Bounds bounds;
		for (const API_Element& wall : contents.walls) {
			PlanLine line = ReferenceLine(wall);
			double length = LineLength(line);
			for (int step = 0; step <= 16; ++step) {
				bounds.Add(PointAt(line, {length * step / 16.0, wall.wall.thickness / 2.0}));
				bounds.Add(PointAt(line, {length * step / 16.0, -wall.wall.thickness / 2.0}));
			}
		}
		for (const API_Element& zone : contents.zones) {
			std::optional<std::vector<API_Coord>> coords = HostControl::GetMemoParts(zone.header.guid).coords;
			for (std::size_t i = 1; coords && i < coords->size(); ++i)
				bounds.Add((*coords)[i]);
		}
		if (bounds.IsEmpty())
			bounds.Add({0.0, 0.0});
		return bounds;
	}

	bool IsCovering(const API_Element& element) const { return coverings.count(element.header.guid) != 0; }

	std::string Zones() const
	{
		std::string svg = Comment("zones");
		std::size_t colour = 0;
		for (const API_Element& zone : contents.zones) {
			std::string fill = ZoneFills[colour++ % (sizeof(ZoneFills) / sizeof(ZoneFills[0]))];
			svg += PathTag("zone", ContourPath(canvas, HostControl::GetMemoParts(zone.header.guid)),
			               " fill=\"" + fill + "\"");
		}
		return svg;
	}

	std::string Slabs() const
	{
		std::string svg = Comment("slabs");
		for (const API_Element& slab : contents.slabs)
			svg += PathTag(IsCovering(slab) ? "cov-slab" : "slab",
			               ContourPath(canvas, HostControl::GetMemoParts(slab.header.guid)));
		return svg;
	}

	// Walls that meet show as one body: every outline is drawn before any fill,
	// so that the fills hide the outlines where walls overlap.
	std::string Walls() const
	{
		std::string svg = Comment("walls, then coverings");
		for (bool coveringsNow : {false, true}) {
			for (const char* layer : {"-outline", ""}) {
				for (const API_Element& wall : contents.walls) {
					if (IsCovering(wall) == coveringsNow)
						svg += PathTag(std::string(coveringsNow ? "cov-wall" : "wall") + layer, WallPath(wall));
				}
			}
		}
		return svg;
	}

	std::string WallPath(const API_Element& wall) const
	{
		PlanLine line = ReferenceLine(wall);
		return BandPath(canvas, line, 0.0, LineLength(line), wall.wall.thickness / 2.0);
	}

	std::string Columns() const
	{
		std::string svg = Comment("columns");
		for (const API_Element& column : contents.columns) {
			std::optional<std::vector<API_ColumnSegmentType>> segments =
			    HostControl::GetMemoParts(column.header.guid).columnSegments;
			if (!segments || segments->empty())
				continue;
			svg += ColumnShape(column.column, segments->front());
		}
		return svg;
	}

	std::string ColumnShape(const API_ColumnType& column, const API_ColumnSegmentType& segment) const
	{
		double turn = column.axisRotationAngle + column.profileRotationAngle;
		API_Coord c = column.origoPos;
		if (segment.circleBased) {
			double degrees = -turn * 180.0 / Pi;
			return Tag("ellipse", "column",
			           "cx=\"" + Number(canvas.X(c)) + "\" cy=\"" + Number(canvas.Y(c)) + "\" rx=\"" +
			               Number(canvas.Length(segment.nominalWidth / 2)) + "\" ry=\"" +
			               Number(canvas.Length(segment.nominalDepth / 2)) + "\" transform=\"rotate(" +
			               Number(degrees) + " " + Number(canvas.X(c)) + " " + Number(canvas.Y(c)) + ")\"");
		}
		API_Coord u = {segment.nominalWidth / 2 * std::cos(turn), segment.nominalWidth / 2 * std::sin(turn)};
		API_Coord v = {-segment.nominalDepth / 2 * std::sin(turn), segment.nominalDepth / 2 * std::cos(turn)};
		std::string path = "M " + canvas.At({c.x - u.x - v.x, c.y - u.y - v.y});
		path += " L " + canvas.At({c.x + u.x - v.x, c.y + u.y - v.y});
		path += " L " + canvas.At({c.x + u.x + v.x, c.y + u.y + v.y});
		path += " L " + canvas.At({c.x - u.x + v.x, c.y - u.y + v.y}) + " Z";
		return PathTag("column", path);
	}

	std::string Openings() const
	{
		std::string svg = Comment("doors, windows and holes");
		for (const API_Element& opening : contents.openings) {
			auto owner = contents.wallsByGuid.find(opening.door.owner);
			if (owner != contents.wallsByGuid.end())
				svg += OpeningShape(opening, owner->second);
		}
		return svg;
	}

	std::string OpeningShape(const API_Element& opening, const API_Element& wall) const
	{
		PlanLine line = ReferenceLine(wall);
		double half = wall.wall.thickness / 2.0;
		double from = opening.door.objLoc - opening.door.openingBase.width / 2.0;
		double to = opening.door.objLoc + opening.door.openingBase.width / 2.0;
		bool isDoor = opening.header.type.typeID == API_DoorID;
		if (IsCovering(wall))
			return PathTag("hole", BandPath(canvas, line, from, to, half));
		if (!isDoor)
			return PathTag("window", BandPath(canvas, line, from, to, half)) +
			       PathTag("glass", BandPath(canvas, line, from, to, 0.0));
		return PathTag("door", BandPath(canvas, line, from, to, half)) + PathTag("swing", Swing(opening, line, half));
	}

	// The leaf, opened a quarter turn, and the path its edge sweeps.
	std::string Swing(const API_Element& door, const PlanLine& line, double half) const
	{
		double width = door.door.openingBase.width;
		bool hingeAtEnd = door.door.openingBase.reflected != 0;
		double side = door.door.openingBase.openingSide != 0 ? -1.0 : 1.0;
		double hinge = door.door.objLoc + (hingeAtEnd ? width : -width) / 2.0;
		double latch = door.door.objLoc + (hingeAtEnd ? -width : width) / 2.0;
		API_Coord pivot = PointAt(line, {hinge, side * half});
		API_Coord open = PointAt(line, {hinge, side * (half + width)});
		API_Coord closed = PointAt(line, {latch, side * half});
		double cross = (open.x - pivot.x) * (closed.y - pivot.y) - (open.y - pivot.y) * (closed.x - pivot.x);
		return "M " + canvas.At(pivot) + " L " + canvas.At(open) +
		       canvas.ArcTo(width, cross > 0.0 ? Pi / 2 : -Pi / 2, closed);
	}

	std::string ZoneLabels() const
	{
		std::string svg = Comment("zone labels");
		for (const API_Element& zone : contents.zones) {
			std::string x = "x=\"" + Number(canvas.X(zone.zone.pos)) + "\" ";
			double y = canvas.Y(zone.zone.pos);
			svg += "  <text class=\"zone-number\" " + x + "y=\"" + Number(y - 2) + "\">" +
			       FieldText(zone.zone.roomNoStr, 32) + "</text>\n";
			svg += "  <text class=\"zone-name\" " + x + "y=\"" + Number(y + 12) + "\">" +
			       FieldText(zone.zone.roomName, 256) + "</text>\n";
			if (zone.zone.relativeTopStory != 0)
				svg += "  <text class=\"zone-note\" " + x + "y=\"" + Number(y + 24) + "\">top linked to story +" +
				       std::to_string(zone.zone.relativeTopStory) + "</text>\n";
		}
		return svg;
	}

	static const std::vector<std::pair<const char*, const char*>>& LegendEntries()
	{
		static const std::vector<std::pair<const char*, const char*>> entries = {
		    {"zone", "Zone"},
		    {"wall", "Wall"},
		    {"column", "Column"},
		    {"door", "Door"},
		    {"window", "Window"},
		    {"cov-wall", "Wall or column covering"},
		    {"hole", "Hole in a covering"},
		    {"cov-slab", "Ceiling or floor covering"}};
		return entries;
	}

	static double LegendHeight() { return 36.0 + 22.0 * LegendEntries().size(); }

	std::string Legend() const
	{
		double left = Margin + canvas.DrawingWidth() + 30.0;
		double top = Margin + TitleHeight;
		std::string svg = Comment("legend");
		svg += Tag("rect", "legend-box",
		           "x=\"" + Number(left) + "\" y=\"" + Number(top) + "\" width=\"" + Number(LegendWidth - 40.0) +
		               "\" height=\"" + Number(LegendHeight()) + "\" rx=\"4\"");
		double y = top + 24.0;
		for (const auto& [cssClass, label] : LegendEntries()) {
			std::string fill = cssClass == std::string("zone") ? " fill=\"" + std::string(ZoneFills[0]) + "\"" : "";
			svg +=
			    Tag("rect", cssClass,
			        "x=\"" + Number(left + 10) + "\" y=\"" + Number(y - 10) + "\" width=\"18\" height=\"12\"" + fill);
			svg += "  <text class=\"legend\" x=\"" + Number(left + 36) + "\" y=\"" + Number(y) + "\">" + label +
			       "</text>\n";
			y += 22.0;
		}
		return svg;
	}

	const std::set<API_Guid>& coverings;
	const PlanOptions& options;
	StoryContents contents;
	Canvas canvas;
};

} // namespace

std::string PlanSvg(const std::set<API_Guid>& coverings, const PlanOptions& options)
{
	return PlanWriter(coverings, options).Write();
}

} // namespace Runner
