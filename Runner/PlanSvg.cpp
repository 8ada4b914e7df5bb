#include "PlanSvg.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <vector>

#include "HostControl.hpp"
#include "PlanGeometry.hpp"
#include "StoryControl.hpp"

namespace Runner {

namespace {

constexpr double Margin = 40.0;
constexpr double TitleHeight = 40.0;
constexpr double HeadingHeight = 30.0;
constexpr double StoryGap = 30.0;
constexpr double LegendWidth = 250.0;
constexpr double LegendRow = 22.0;
// The drawing of every story together fits in this many pixels each way, so
// that a large project gives a picture that renderers still open.
constexpr double MaxDrawingSide = 4000.0;
// Below the next story, or this high when there is none.
constexpr double DefaultStoryHeight = 3.0;
// A curve that departs from its chord by less than a millionth of the chord's
// length is drawn as the chord: no picture of this size shows the difference,
// and its circle lies so far off that points on it come out wrong, or overflow.
constexpr double LeastArcAngle = 8e-6; // radians
// An arc that departs from its chord by less than this many pixels is drawn as
// the chord: a pixel cannot show it, and renderers draw so large a circle askew.
constexpr double LeastArcBulge = 0.5;

const char* const ZoneFills[] = {"#f6e7c8", "#dcebd5", "#d8e4f2", "#f2dbe0",
                                 "#e6def2", "#d7efec", "#f1ecd0", "#e8e8e8"};

// Presentation attributes by kind of shape: every renderer draws them alike.
const std::map<std::string, std::string>& Looks()
{
	static const std::map<std::string, std::string> looks = {
	    {"zone", R"(stroke="#9a9a9a" stroke-width="0.5" fill-rule="evenodd")"},
	    {"slab", R"(fill="#b8b8b8" fill-opacity="0.2" stroke="#808080" stroke-dasharray="4 3" fill-rule="evenodd")"},
	    {"cov-floor", R"(fill="#f08a24" fill-opacity="0.25" stroke="#d0661a" stroke-width="1" fill-rule="evenodd")"},
	    {"cov-ceiling", R"(fill="none" stroke="#2f6db5" stroke-width="1.5" stroke-dasharray="7 4")"},
	    {"wall-outline", R"(fill="#5d6670" stroke="#2e3338" stroke-width="1.6")"},
	    {"wall", R"(fill="#5d6670")"},
	    // Coverings are drawn at their true size, but never thinner than the stroke.
	    {"cov-wall", R"(fill="#e4572e" stroke="#e4572e" stroke-width="2" stroke-linejoin="round")"},
	    {"column", R"(fill="#3b4248" stroke="#15181b" stroke-width="0.8")"},
	    {"door", R"(fill="#ffffff" stroke="#8b5a2b" stroke-width="1")"},
	    {"swing", R"(fill="none" stroke="#8b5a2b" stroke-width="0.8" stroke-dasharray="3 2")"},
	    {"window", R"(fill="#d6ecfa" stroke="#2a7ab8" stroke-width="1")"},
	    {"glass", R"(fill="none" stroke="#2a7ab8" stroke-width="0.8")"},
	    {"hole", R"(fill="#fff4cc" stroke="#7a1f05" stroke-width="1.2")"},
	    {"legend-box", R"(fill="#ffffff" stroke="#c8c8c8")"},
	    {"scale-bar", R"(fill="#2b2b2b" stroke="#2b2b2b" stroke-width="1")"},
	    {"scale-gap", R"(fill="#ffffff" stroke="#2b2b2b" stroke-width="1")"},
	    {"title", R"(font-family="sans-serif" font-size="18" font-weight="bold" fill="#2b2b2b")"},
	    {"heading", R"(font-family="sans-serif" font-size="15" font-weight="bold" fill="#2b2b2b")"},
	    {"zone-number",
	     R"(font-family="sans-serif" font-size="13" font-weight="bold" text-anchor="middle" fill="#2b2b2b")"},
	    {"zone-name", R"(font-family="sans-serif" font-size="11" text-anchor="middle" fill="#2b2b2b")"},
	    {"zone-note",
	     R"(font-family="sans-serif" font-size="9" font-style="italic" text-anchor="middle" fill="#8a3b12")"},
	    {"legend", R"(font-family="sans-serif" font-size="12" fill="#2b2b2b")"},
	    {"scale", R"(font-family="sans-serif" font-size="11" text-anchor="middle" fill="#2b2b2b")"}};
	return looks;
}

std::string Number(double value)
{
	char text[32];
	std::snprintf(text, sizeof(text), "%.2f", value);
	return text;
}

// The length of the character at `at` if XML 1.0 cannot hold it (a C0
// control, U+FFFE, U+FFFF), else 0.
std::size_t NotXmlLength(const std::string& text, std::size_t at)
{
	if (static_cast<unsigned char>(text[at]) < 0x20)
		return 1;
	bool noncharacter = text.compare(at, 2, "\xEF\xBF") == 0 && at + 2 < text.size() &&
	                    (text[at + 2] == '\xBE' || text[at + 2] == '\xBF');
	return noncharacter ? 3 : 0;
}

// Text for XML: markup characters escaped, characters that XML cannot hold
// shown as spaces.
std::string Escaped(const std::string& text)
{
	std::string escaped;
	for (std::size_t at = 0; at < text.size(); ++at) {
		if (std::size_t length = NotXmlLength(text, at)) {
			escaped += ' ';
			at += length - 1;
			continue;
		}
		char c = text[at];
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

std::string Attribute(const char* name, double value)
{
	return std::string(" ") + name + "=\"" + Number(value) + "\"";
}

std::string Tag(const std::string& name, const std::string& kind, const std::string& attributes)
{
	return "  <" + name + " class=\"" + kind + "\" " + Looks().at(kind) + attributes + "/>\n";
}

std::string PathTag(const std::string& kind, const std::string& path, const std::string& extra = "")
{
	return Tag("path", kind, " d=\"" + path + "\"" + extra);
}

std::string TextTag(const std::string& kind, double x, double y, const std::string& text)
{
	return "  <text class=\"" + kind + "\" " + Looks().at(kind) + Attribute("x", x) + Attribute("y", y) + ">" +
	       Escaped(text) + "</text>\n";
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
	return GS::UniString(field, length).ToCStr().Get();
}

PlanLine AsDrawn(PlanLine line)
{
	if (std::fabs(line.arcAngle) < LeastArcAngle)
		line.arcAngle = 0.0;
	return line;
}

PlanLine DrawnReferenceLine(const API_Element& wall)
{
	return AsDrawn(ReferenceLine(wall.wall));
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
	double Width() const { return maxX - minX; }
	double Height() const { return maxY - minY; }
};

// What one story holds, sorted by how it is drawn.
struct StoryContents {
	HostControl::StoryInfo story = {0, 0.0, ""};
	double height = DefaultStoryHeight;
	std::vector<API_Element> zones;
	std::vector<API_Element> slabs;
	std::vector<API_Element> walls;
	std::vector<API_Element> columns;
	std::vector<API_Element> openings;
	std::map<API_Guid, API_Element> wallsByGuid;
	Bounds bounds;
};

void Sort(const API_Element& element, StoryContents& contents)
{
	switch (element.header.type.typeID) {
	case API_ZoneID:
		contents.zones.push_back(element);
		break;
	case API_SlabID:
		contents.slabs.push_back(element);
		break;
	case API_WallID:
		contents.walls.push_back(element);
		contents.wallsByGuid[element.header.guid] = element;
		break;
	case API_ColumnID:
		contents.columns.push_back(element);
		break;
	case API_DoorID:
	case API_WindowID:
		contents.openings.push_back(element);
		break;
	default:
		break;
	}
}

void AddBounds(StoryContents& contents)
{
	for (const API_Element& wall : contents.walls) {
		PlanLine line = DrawnReferenceLine(wall);
		Band band = WallBand(wall.wall);
		double length = LineLength(line);
		for (int step = 0; step <= 16; ++step) {
			contents.bounds.Add(PointAt(line, {length * step / 16.0, band.left}));
			contents.bounds.Add(PointAt(line, {length * step / 16.0, band.right}));
		}
	}
	for (const API_Element& zone : contents.zones) {
		std::optional<std::vector<API_Coord>> coords = HostControl::GetMemoParts(zone.header.guid).coords;
		for (std::size_t i = 1; coords && i < coords->size(); ++i)
			contents.bounds.Add((*coords)[i]);
	}
	if (contents.bounds.IsEmpty())
		contents.bounds.Add({0.0, 0.0});
}

// The stories that hold zones, each with what it holds; the ground floor when none does.
std::vector<StoryContents> CollectStories()
{
	std::vector<HostControl::StoryInfo> stories = HostControl::Stories();
	std::map<Int16, StoryContents> byIndex;
	for (std::size_t i = 0; i < stories.size(); ++i) {
		double height = i + 1 < stories.size() ? stories[i + 1].level - stories[i].level : DefaultStoryHeight;
		StoryContents& contents = byIndex[stories[i].index];
		contents.story = stories[i];
		contents.height = height;
	}
	for (const API_Guid& guid : HostControl::Elements()) {
		std::optional<API_Element> element = HostControl::GetElement(guid);
		auto story = element ? byIndex.find(element->header.floorInd) : byIndex.end();
		if (story != byIndex.end())
			Sort(*element, story->second);
	}
	std::vector<StoryContents> drawn;
	for (auto& [index, contents] : byIndex) {
		if (!contents.zones.empty())
			drawn.push_back(std::move(contents));
	}
	if (drawn.empty() && byIndex.count(0) != 0)
		drawn.push_back(std::move(byIndex[0]));
	for (StoryContents& contents : drawn)
		AddBounds(contents);
	return drawn;
}

// Plan metres to picture pixels: y grows upwards in the plan, downwards in the picture.
class Canvas {
public:
	Canvas(const Bounds& bounds, double scale, double left, double top)
	    : bounds(bounds), scale(scale), left(left), top(top)
	{
	}

	std::string At(API_Coord point) const { return Number(X(point)) + " " + Number(Y(point)); }
	double X(API_Coord point) const { return left + (point.x - bounds.minX) * scale; }
	double Y(API_Coord point) const { return top + (bounds.maxY - point.y) * scale; }
	double Length(double metres) const { return metres * scale; }

	// An arc to `end`; counter-clockwise in the plan is clockwise in the picture's own angle sense.
	std::string ArcTo(double radius, double turn, API_Coord end) const
	{
		double bulge = std::fabs(Length(radius)) * 2.0 * std::pow(std::sin(turn / 4.0), 2);
		if (bulge < LeastArcBulge)
			return " L " + At(end);
		return " A " + Number(Length(radius)) + " " + Number(Length(radius)) + " 0 " +
		       (std::fabs(turn) > Pi ? "1 " : "0 ") + (turn > 0.0 ? "0 " : "1 ") + At(end);
	}

private:
	Bounds bounds;
	double scale;
	double left;
	double top;
};

// The strip of a straight or curved line between two stations along it and
// two distances to its left: a wall, or an opening in it.
std::string BandPath(const Canvas& canvas, const PlanLine& line, double from, double to, Band band)
{
	std::string path = "M " + canvas.At(PointAt(line, {from, band.left}));
	if (line.arcAngle == 0.0) {
		path += " L " + canvas.At(PointAt(line, {to, band.left}));
		path += " L " + canvas.At(PointAt(line, {to, band.right}));
		path += " L " + canvas.At(PointAt(line, {from, band.right}));
		return path + " Z";
	}
	ArcCircle circle = CircleOfArc(line);
	double sense = line.arcAngle < 0.0 ? -1.0 : 1.0;
	double turn = sense * (to - from) / circle.radius;
	path += canvas.ArcTo(circle.radius - sense * band.left, turn, PointAt(line, {to, band.left}));
	path += " L " + canvas.At(PointAt(line, {to, band.right}));
	path += canvas.ArcTo(circle.radius - sense * band.right, -turn, PointAt(line, {from, band.right}));
	return path + " Z";
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
			PlanLine edge = AsDrawn(OutlineEdge(coords, arcs, i));
			if (edge.arcAngle == 0.0)
				path += " L " + canvas.At(edge.end);
			else
				path += canvas.ArcTo(CircleOfArc(edge).radius, edge.arcAngle, edge.end);
		}
		path += " Z";
	}
	return path;
}

// Counts the elements drawn, layer by layer, for the plan's progress.
class PlanTally {
public:
	PlanTally(std::size_t total, const PlanProgress& progress) : total(total), progress(progress) {}

	void Drawn()
	{
		++drawn;
		if (progress)
			progress(drawn, total);
	}

private:
	std::size_t drawn = 0;
	std::size_t total;
	const PlanProgress& progress;
};

// One story's plan, drawn in its place on the picture.
class StoryPlan {
public:
	StoryPlan(const StoryContents& contents, const std::set<API_Guid>& coverings, const Canvas& canvas,
	          PlanTally& tally)
	    : contents(contents), coverings(coverings), canvas(canvas), tally(tally)
	{
	}

	// One step for each element in each layer of Draw that walks it.
	static std::size_t Steps(const StoryContents& contents)
	{
		return 2 * contents.zones.size() + 3 * contents.slabs.size() + 3 * contents.walls.size() +
		       contents.columns.size() + contents.openings.size();
	}

	// Ceilings are outlines, drawn over the walls and their coverings so that
	// the floors' outlines and the coverings do not hide them.
	std::string Draw() const
	{
		return Zones() + Slabs({"slab", "cov-floor"}) + Walls() + Slabs({"cov-ceiling"}) + Columns() + Openings() +
		       ZoneLabels();
	}

private:
	bool IsCovering(const API_Element& element) const { return coverings.count(element.header.guid) != 0; }

	std::string Zones() const
	{
		std::string svg = Comment("zones");
		std::size_t colour = 0;
		for (const API_Element& zone : contents.zones) {
			tally.Drawn();
			std::string fill = ZoneFills[colour++ % (sizeof(ZoneFills) / sizeof(ZoneFills[0]))];
			svg += PathTag("zone", ContourPath(canvas, HostControl::GetMemoParts(zone.header.guid)),
			               " fill=\"" + fill + "\"");
		}
		return svg;
	}

	// A covering slab in the upper half of its story is a ceiling; its level is over its story.
	std::string SlabKind(const API_Element& slab) const
	{
		if (!IsCovering(slab))
			return "slab";
		return slab.slab.level > contents.height / 2.0 ? "cov-ceiling" : "cov-floor";
	}

	std::string Slabs(std::initializer_list<const char*> kinds) const
	{
		std::string svg;
		for (const char* kind : kinds) {
			svg += Comment(kind);
			for (const API_Element& slab : contents.slabs) {
				tally.Drawn();
				if (SlabKind(slab) == kind)
					svg += PathTag(kind, ContourPath(canvas, HostControl::GetMemoParts(slab.header.guid)));
			}
		}
		return svg;
	}

	// Walls that meet show as one body: every outline is drawn before any fill,
	// so that the fills hide the outlines where walls overlap. Coverings come
	// last, one shape each.
	std::string Walls() const
	{
		std::string svg = Comment("walls, then coverings");
		for (const char* kind : {"wall-outline", "wall", "cov-wall"}) {
			for (const API_Element& wall : contents.walls) {
				tally.Drawn();
				if (IsCovering(wall) == (kind == std::string("cov-wall")))
					svg += PathTag(kind, WallPath(wall));
			}
		}
		return svg;
	}

	std::string WallPath(const API_Element& wall) const
	{
		PlanLine line = DrawnReferenceLine(wall);
		return BandPath(canvas, line, 0.0, LineLength(line), WallBand(wall.wall));
	}

	std::string Columns() const
	{
		std::string svg = Comment("columns");
		for (const API_Element& column : contents.columns) {
			tally.Drawn();
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
			           Attribute("cx", canvas.X(c)) + Attribute("cy", canvas.Y(c)) +
			               Attribute("rx", canvas.Length(segment.nominalWidth / 2)) +
			               Attribute("ry", canvas.Length(segment.nominalDepth / 2)) + " transform=\"rotate(" +
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
			tally.Drawn();
			auto owner = contents.wallsByGuid.find(opening.door.owner);
			if (owner != contents.wallsByGuid.end())
				svg += OpeningShape(opening, owner->second);
		}
		return svg;
	}

	std::string OpeningShape(const API_Element& opening, const API_Element& wall) const
	{
		PlanLine line = DrawnReferenceLine(wall);
		Band band = WallBand(wall.wall);
		double from = opening.door.objLoc - opening.door.openingBase.width / 2.0;
		double to = opening.door.objLoc + opening.door.openingBase.width / 2.0;
		if (IsCovering(wall))
			return PathTag("hole", BandPath(canvas, line, from, to, band));
		if (opening.header.type.typeID != API_DoorID) {
			double middle = (band.left + band.right) / 2.0;
			return PathTag("window", BandPath(canvas, line, from, to, band)) +
			       PathTag("glass", BandPath(canvas, line, from, to, {middle, middle}));
		}
		return PathTag("door", BandPath(canvas, line, from, to, band)) + PathTag("swing", Swing(opening, line, band));
	}

	// The leaf, opened a quarter turn from the face it opens to, and the path its edge sweeps.
	std::string Swing(const API_Element& door, const PlanLine& line, Band band) const
	{
		double width = door.door.openingBase.width;
		bool hingeAtEnd = door.door.openingBase.reflected != 0;
		bool toRight = door.door.openingBase.openingSide != 0;
		double face = toRight ? std::min(band.left, band.right) : std::max(band.left, band.right);
		double hinge = door.door.objLoc + (hingeAtEnd ? width : -width) / 2.0;
		double latch = door.door.objLoc + (hingeAtEnd ? -width : width) / 2.0;
		API_Coord pivot = PointAt(line, {hinge, face});
		API_Coord open = PointAt(line, {hinge, face + (toRight ? -width : width)});
		API_Coord closed = PointAt(line, {latch, face});
		double cross = (open.x - pivot.x) * (closed.y - pivot.y) - (open.y - pivot.y) * (closed.x - pivot.x);
		return "M " + canvas.At(pivot) + " L " + canvas.At(open) +
		       canvas.ArcTo(width, cross > 0.0 ? Pi / 2 : -Pi / 2, closed);
	}

	std::string ZoneLabels() const
	{
		std::string svg = Comment("zone labels");
		for (const API_Element& zone : contents.zones) {
			tally.Drawn();
			double x = canvas.X(zone.zone.pos);
			double y = canvas.Y(zone.zone.pos);
			svg += TextTag("zone-number", x, y - 2, FieldText(zone.zone.roomNoStr, 32));
			svg += TextTag("zone-name", x, y + 12, FieldText(zone.zone.roomName, 256));
			if (zone.zone.relativeTopStory != 0)
				svg += TextTag("zone-note", x, y + 24,
				               "top linked to story +" + std::to_string(zone.zone.relativeTopStory));
		}
		return svg;
	}

	const StoryContents& contents;
	const std::set<API_Guid>& coverings;
	const Canvas& canvas;
	PlanTally& tally;
};

struct LegendEntry {
	const char* kind;
	const char* label;
	bool thin; // drawn as a line of the kind's least width, as coverings are
};

const std::vector<LegendEntry>& LegendEntries()
{
	static const std::vector<LegendEntry> entries = {{"zone", "Zone", false},
	                                                 {"wall-outline", "Wall", false},
	                                                 {"column", "Column", false},
	                                                 {"door", "Door", false},
	                                                 {"window", "Window", false},
	                                                 {"slab", "Slab", false},
	                                                 {"cov-wall", "Wall or column covering", true},
	                                                 {"hole", "Hole in a covering", true},
	                                                 {"cov-floor", "Floor covering", false},
	                                                 {"cov-ceiling", "Ceiling covering (outline)", false}};
	return entries;
}

double LegendHeight()
{
	return 16.0 + LegendRow * LegendEntries().size();
}

// Swatches take the looks of what they stand for.
std::string Legend(double left, double top)
{
	std::string svg = Comment("legend");
	svg += Tag("rect", "legend-box",
	           Attribute("x", left) + Attribute("y", top) + Attribute("width", LegendWidth - 40.0) +
	               Attribute("height", LegendHeight()) + " rx=\"4\"");
	double y = top + 24.0;
	for (const LegendEntry& entry : LegendEntries()) {
		std::string fill = entry.kind == std::string("zone") ? " fill=\"" + std::string(ZoneFills[0]) + "\"" : "";
		double height = entry.thin ? 1.0 : 12.0;
		svg += Tag("rect", entry.kind,
		           Attribute("x", left + 10) + Attribute("y", y - 4 - height / 2) + Attribute("width", 18) +
		               Attribute("height", height) + fill);
		svg += TextTag("legend", left + 36, y, entry.label);
		y += LegendRow;
	}
	return svg;
}

// A bar of a round length (1, 2 or 5 times a power of ten metres) of at most
// 160 pixels, in two halves.
std::string ScaleBar(double left, double top, double scale)
{
	double metres = std::pow(10.0, std::floor(std::log10(160.0 / scale)));
	for (double factor : {5.0, 2.0}) {
		if (metres * factor * scale <= 160.0) {
			metres *= factor;
			break;
		}
	}
	double length = metres * scale;
	std::string svg = Comment("scale bar");
	svg += Tag("rect", "scale-bar",
	           Attribute("x", left) + Attribute("y", top) + Attribute("width", length / 2) + Attribute("height", 6));
	svg += Tag("rect", "scale-gap",
	           Attribute("x", left + length / 2) + Attribute("y", top) + Attribute("width", length / 2) +
	               Attribute("height", 6));
	char label[32];
	std::snprintf(label, sizeof(label), "%g m", metres);
	svg += TextTag("scale", left, top + 20, "0");
	svg += TextTag("scale", left + length, top + 20, label);
	return svg;
}

} // namespace

std::string PlanSvg(const std::set<API_Guid>& coverings, const PlanOptions& options, const PlanProgress& progress)
{
	std::vector<StoryContents> stories = CollectStories();
	double widest = 0.0;
	double stacked = 0.0;
	std::size_t steps = 0;
	for (const StoryContents& story : stories) {
		widest = std::max(widest, story.bounds.Width());
		stacked += story.bounds.Height();
		steps += StoryPlan::Steps(story);
	}
	PlanTally tally(steps, progress);
	double scale = std::min(
	    {options.pixelsPerMetre, MaxDrawingSide / std::max(widest, 1e-9), MaxDrawingSide / std::max(stacked, 1e-9)});

	std::string body;
	double top = Margin + TitleHeight;
	for (const StoryContents& story : stories) {
		body += TextTag("heading", Margin, top + 16, story.story.name);
		Canvas canvas(story.bounds, scale, Margin, top + HeadingHeight);
		body += StoryPlan(story, coverings, canvas, tally).Draw();
		top += HeadingHeight + story.bounds.Height() * scale + StoryGap;
	}
	double legendLeft = Margin + widest * scale + 30.0;
	double legendTop = Margin + TitleHeight + HeadingHeight;
	body += Legend(legendLeft, legendTop);
	body += ScaleBar(legendLeft + 10.0, legendTop + LegendHeight() + 24.0, scale);

	double width = legendLeft + LegendWidth;
	double height = std::max(top - StoryGap, legendTop + LegendHeight() + 60.0) + Margin;
	std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\"" + Attribute("width", width) +
	                  Attribute("height", height) + " viewBox=\"0 0 " + Number(width) + " " + Number(height) + "\">\n";
	svg +=
	    "  <rect x=\"0\" y=\"0\"" + Attribute("width", width) + Attribute("height", height) + " fill=\"#fbfaf7\"/>\n";
	svg += TextTag("title", Margin, Margin + 6, options.title);
	return svg + body + "</svg>\n";
}

} // namespace Runner
