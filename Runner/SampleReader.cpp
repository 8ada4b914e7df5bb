#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "PlanGeometry.hpp"
#include "SampleDescription.hpp"
#include "Wording.hpp"

namespace Runner {

namespace {

using nlohmann::json;

constexpr const char* FormatName = "Velmora sample project 1";

// One value of the file and where it stands in it, so that every complaint
// points at the value it is about.
class Node {
public:
	Node(const json& value, std::string path) : value(value), path(std::move(path)) {}

	[[noreturn]] void Fail(const std::string& what) const
	{
		throw SampleError(LoadError::BadContent, path + ": " + what);
	}

	std::optional<Node> Find(const char* name) const
	{
		RequireObject();
		auto found = value.find(name);
		if (found == value.end())
			return std::nullopt;
		return Node(*found, path + "." + name);
	}

	Node operator[](const char* name) const
	{
		std::optional<Node> member = Find(name);
		if (!member)
			Fail(std::string("lacks '") + name + "'");
		return *member;
	}

	// A misspelt optional member would otherwise be skipped without a word.
	void AllowOnly(std::initializer_list<const char*> names) const
	{
		RequireObject();
		for (const auto& member : value.items()) {
			bool known = member.key() == "about" || std::any_of(names.begin(), names.end(),
			                                                    [&](const char* name) { return member.key() == name; });
			if (!known)
				Fail("unknown member '" + member.key() + "'");
		}
	}

	std::vector<Node> Items(std::size_t fewest = 0) const
	{
		if (!value.is_array())
			Fail("is not a list");
		if (value.size() < fewest)
			Fail("needs at least " + Counted(fewest, "entry", "entries"));
		std::vector<Node> items;
		for (std::size_t i = 0; i < value.size(); ++i)
			items.emplace_back(value[i], path + "[" + std::to_string(i) + "]" + IdSuffix(value[i]));
		return items;
	}

	double Number() const
	{
		if (!value.is_number() || !std::isfinite(value.get<double>()))
			Fail("is not a number");
		return value.get<double>();
	}

	// A place in plan or height: a coordinate, a level, a distance along a wall.
	double Position() const
	{
		double number = Number();
		if (std::fabs(number) > MaxPosition)
			Fail("lies more than " + Metres(MaxPosition) + " from the origin");
		return number;
	}

	// A size of an element: a thickness, width, depth or height.
	double Size() const
	{
		double number = Number();
		if (number <= 0.0)
			Fail("must be greater than 0");
		return AtMostMaxSize(number);
	}

	double NotNegativeSize() const
	{
		double number = Number();
		if (number < 0.0)
			Fail("must not be negative");
		return AtMostMaxSize(number);
	}

	double Angle() const
	{
		double degrees = Number();
		if (std::fabs(degrees) > 360.0)
			Fail("must lie between -360 and 360 degrees");
		return degrees;
	}

	Int32 Integer(Int32 lowest, Int32 highest) const
	{
		bool whole = value.is_number_integer() && !(value.is_number_unsigned() && value.get<UInt64>() > INT32_MAX);
		if (!whole || value.get<Int64>() < lowest || value.get<Int64>() > highest)
			Fail("is not a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest));
		return static_cast<Int32>(value.get<Int64>());
	}

	bool IsText() const { return value.is_string(); }

	std::string Text() const
	{
		if (!value.is_string() || value.get<std::string>().empty())
			Fail("is not a text");
		return value.get<std::string>();
	}

	bool Flag() const
	{
		if (!value.is_boolean())
			Fail("is not true or false");
		return value.get<bool>();
	}

	API_Coord Point() const
	{
		std::vector<Node> xy = Items();
		if (xy.size() != 2)
			Fail("is not a point [x, y]");
		return {xy[0].Position(), xy[1].Position()};
	}

	bool IsObject() const { return value.is_object(); }

private:
	static std::string Metres(double metres) { return std::to_string(static_cast<long>(metres)) + " m"; }

	double AtMostMaxSize(double number) const
	{
		if (number > MaxSize)
			Fail("must be at most " + Metres(MaxSize));
		return number;
	}

	static std::string IdSuffix(const json& item)
	{
		if (!item.is_object() || !item.contains("id") || !item["id"].is_string())
			return "";
		return " (" + item["id"].get<std::string>() + ")";
	}

	void RequireObject() const
	{
		if (!value.is_object())
			Fail("is not an object");
	}

	const json& value;
	std::string path;
};

template <typename T> T OptionalOr(const std::optional<Node>& node, T fallback, T (Node::*read)() const)
{
	return node ? ((*node).*read)() : fallback;
}

API_Element NewRecord(API_ElemTypeID type)
{
	API_Element element;
	std::memset(&element, 0, sizeof(element));
	element.header.type.typeID = type;
	return element;
}

const char* TypeName(API_ElemTypeID type)
{
	switch (type) {
	case API_WallID:
		return "wall";
	case API_ColumnID:
		return "column";
	case API_ZoneID:
		return "zone";
	case API_DoorID:
		return "door";
	default:
		return "window";
	}
}

bool IsContourEnd(const std::vector<Int32>& pends, Int32 index)
{
	return std::find(pends.begin() + 1, pends.end(), index) != pends.end();
}

// The area centroid of a zone's outer contour, taken over its chords.
API_Coord OuterCentroid(const HostControl::NichePolygon& polygon)
{
	double area = 0.0;
	API_Coord sum = {0.0, 0.0};
	for (Int32 i = 1; i < polygon.pends[1]; ++i) {
		const API_Coord& a = polygon.coords[i];
		const API_Coord& b = polygon.coords[i + 1];
		double cross = a.x * b.y - b.x * a.y;
		area += cross;
		sum.x += (a.x + b.x) * cross;
		sum.y += (a.y + b.y) * cross;
	}
	if (std::fabs(area) < 1e-12)
		return polygon.coords[1];
	return {sum.x / (3.0 * area), sum.y / (3.0 * area)};
}

// The library's own parser, except that a fault in the text, a number too
// large for a double among them, is told by its line and column.
class LocatingParser : public nlohmann::detail::json_sax_dom_parser<json> {
public:
	LocatingParser(const std::string& text, json& document) : json_sax_dom_parser(document), text(text) {}

	template <typename Exception> bool parse_error(std::size_t position, const std::string&, const Exception& error)
	{
		throw SampleError(LoadError::NotJson, "not JSON at " + LineAndColumn(position) + ": " + Reason(error.what()));
	}

private:
	std::string LineAndColumn(std::size_t position) const
	{
		std::size_t end = std::min(position, text.size());
		std::size_t line = 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + end, '\n'));
		std::size_t lineStart = text.rfind('\n', end == 0 ? 0 : end - 1);
		std::size_t column = lineStart == std::string::npos || end == 0 ? end : end - lineStart - 1;
		return "line " + std::to_string(line) + ", column " + std::to_string(column);
	}

	// The library's message without its identifier and its own position.
	static std::string Reason(const std::string& message)
	{
		std::string reason = message.substr(message.find(']') == std::string::npos ? 0 : message.find(']') + 2);
		if (reason.rfind("parse error", 0) == 0 && reason.find(": ") != std::string::npos)
			reason = reason.substr(reason.find(": ") + 2);
		return reason;
	}

	const std::string& text;
};

class Reader {
public:
	explicit Reader(const LibraryPartLookup& libraryParts) : libraryParts(libraryParts) {}

	SampleDescription Read(const Node& root)
	{
		root.AllowOnly({"format", "name", "stories", "libraryParts", "favorites", "walls", "columns", "zones", "doors",
		                "windows"});
		if (root["format"].Text() != FormatName)
			root["format"].Fail(std::string("is not \"") + FormatName + "\"");
		SampleDescription sample;
		sample.name = root["name"].Text();
		for (const Node& story : OptionalItems(root, "stories"))
			sample.stories.push_back(ReadStory(story));
		for (const Node& part : OptionalItems(root, "libraryParts"))
			ReadLibraryPart(part);
		for (const Node& favorite : OptionalItems(root, "favorites"))
			sample.favorites.push_back(ReadFavorite(favorite));
		for (const Node& wall : root["walls"].Items())
			sample.walls.push_back(ReadWall(wall));
		for (const Node& column : OptionalItems(root, "columns"))
			sample.columns.push_back(ReadColumn(column));
		std::vector<Node> zones = root["zones"].Items();
		for (const Node& zone : zones)
			sample.zones.push_back(ReadZone(zone));
		for (const Node& door : OptionalItems(root, "doors"))
			sample.openings.push_back(ReadOpening(door, API_DoorID));
		for (const Node& window : OptionalItems(root, "windows"))
			sample.openings.push_back(ReadOpening(window, API_WindowID));
		// Relations name openings, which the file lists after the zones.
		for (std::size_t i = 0; i < zones.size(); ++i) {
			if (std::optional<Node> relation = zones[i].Find("relation"))
				ReadRelation(*relation, sample.zones[i]);
		}
		return sample;
	}

private:
	static std::vector<Node> OptionalItems(const Node& root, const char* name)
	{
		std::optional<Node> list = root.Find(name);
		return list ? list->Items() : std::vector<Node>();
	}

	StoryDescription ReadStory(const Node& node)
	{
		node.AllowOnly({"index", "level", "name"});
		Int16 index = static_cast<Int16>(node["index"].Integer(1, MaxStoryIndex));
		if (!stories.insert(index).second)
			node["index"].Fail("story " + std::to_string(index) + " is listed twice");
		return {index, node["level"].Position(), node["name"].Text()};
	}

	void ReadLibraryPart(const Node& node)
	{
		node.AllowOnly({"name", "unID"});
		LibraryPartRef part = {node["name"].Text(), node["unID"].Text()};
		if (!libraryPartsByName.emplace(part.name, part).second)
			node["name"].Fail("library part '" + part.name + "' is listed twice");
	}

	// A named favorite of wall or slab settings, with empty property,
	// classification and category lists.
	HostControl::Favorite ReadFavorite(const Node& node)
	{
		node.AllowOnly({"name", "element", "thickness", "height"});
		std::string kind = node["element"].Text();
		if (kind != "wall" && kind != "slab")
			node["element"].Fail("is neither \"wall\" nor \"slab\"");
		API_Element element = NewRecord(kind == "wall" ? API_WallID : API_SlabID);
		if (kind == "wall") {
			element.wall.thickness = node["thickness"].Size();
			element.wall.height = node["height"].Size();
		} else {
			element.slab.thickness = node["thickness"].Size();
			element.slab.referencePlaneLocation = APISlabRefPlane_Top;
		}
		return {node["name"].Text(),
		        element,
		        std::nullopt,
		        std::vector<API_Property>(),
		        std::vector<GS::Pair<API_Guid, API_Guid>>(),
		        std::vector<API_ElemCategoryValue>()};
	}

	Int16 ReadHomeStory(const Node& node) const
	{
		std::optional<Node> story = node.Find("story");
		if (!story)
			return 0;
		Int16 index = static_cast<Int16>(story->Integer(INT16_MIN, INT16_MAX));
		if (stories.count(index) == 0)
			story->Fail("no story " + std::to_string(index));
		return index;
	}

	std::string Register(const Node& node, API_ElemTypeID type)
	{
		std::string id = node["id"].Text();
		if (!types.emplace(id, type).second)
			node["id"].Fail("id '" + id + "' is used twice");
		return id;
	}

	std::string Refer(const Node& node, API_ElemTypeID type) const
	{
		std::string id = node.Text();
		auto found = types.find(id);
		if (found == types.end() || found->second != type)
			node.Fail(std::string("names no ") + TypeName(type) + " ('" + id + "')");
		return id;
	}

	ElementDescription ReadWall(const Node& node)
	{
		node.AllowOnly({"id", "story", "begin", "end", "arc", "thickness", "height"});
		API_Element wall = NewRecord(API_WallID);
		wall.header.floorInd = ReadHomeStory(node);
		wall.wall.zoneRel = APIZRel_Boundary;
		wall.wall.referenceLine = APIWallRefLine_Centre;
		wall.wall.begC = node["begin"].Point();
		wall.wall.endC = node["end"].Point();
		wall.wall.angle = DegreesToRadians(ReadArc(node.Find("arc")));
		wall.wall.thickness = node["thickness"].Size();
		wall.wall.height = node["height"].Size();
		if (Distance(wall.wall.begC, wall.wall.endC) <= 1e-9)
			node["end"].Fail("a wall's end must differ from its begin");
		std::string id = Register(node, API_WallID);
		walls[id] = wall;
		return {id, wall, {}};
	}

	static double ReadArc(const std::optional<Node>& node)
	{
		if (!node)
			return 0.0;
		double degrees = node->Number();
		if (degrees == 0.0 || std::fabs(degrees) >= 360.0)
			node->Fail("an arc angle must lie between -360 and 360 degrees and not be 0");
		return degrees;
	}

	ElementDescription ReadColumn(const Node& node)
	{
		node.AllowOnly({"id", "story", "position", "rotation", "width", "depth", "height", "round"});
		API_Element column = NewRecord(API_ColumnID);
		column.header.floorInd = ReadHomeStory(node);
		column.column.zoneRel = APIZRel_Boundary;
		column.column.nSegments = 1;
		column.column.origoPos = node["position"].Point();
		column.column.axisRotationAngle = DegreesToRadians(OptionalOr(node.Find("rotation"), 0.0, &Node::Angle));
		column.column.height = node["height"].Size();
		API_ColumnSegmentType segment;
		std::memset(&segment, 0, sizeof(segment));
		segment.circleBased = OptionalOr(node.Find("round"), false, &Node::Flag);
		segment.nominalWidth = node["width"].Size();
		segment.nominalDepth = node["depth"].Size();
		HostControl::MemoParts memo;
		memo.columnSegments = std::vector<API_ColumnSegmentType>{segment};
		return {Register(node, API_ColumnID), column, memo};
	}

	static HostControl::NichePolygon ReadPolygon(const Node& contours)
	{
		HostControl::NichePolygon polygon = {{{0.0, 0.0}}, {0}, {}};
		for (const Node& contour : contours.Items(1)) {
			Int32 first = static_cast<Int32>(polygon.coords.size());
			for (const Node& point : contour.Items(3))
				ReadContourPoint(point, polygon);
			polygon.coords.push_back(polygon.coords[first]);
			polygon.pends.push_back(static_cast<Int32>(polygon.coords.size()) - 1);
		}
		return polygon;
	}

	// A point is [x, y], or {"point": [x, y], "arc": degrees} when the edge that
	// leaves it is curved.
	static void ReadContourPoint(const Node& node, HostControl::NichePolygon& polygon)
	{
		Int32 index = static_cast<Int32>(polygon.coords.size());
		if (!node.IsObject()) {
			polygon.coords.push_back(node.Point());
			return;
		}
		node.AllowOnly({"point", "arc"});
		polygon.coords.push_back(node["point"].Point());
		polygon.arcs.push_back({index, index + 1, DegreesToRadians(ReadArc(node["arc"]))});
	}

	// As a host's zones are: each contour encloses an area and stops at no point
	// twice in a row; the outer one runs counter-clockwise, the holes clockwise inside it.
	static void CheckContours(const Node& contours, const HostControl::NichePolygon& polygon)
	{
		std::vector<Node> given = contours.Items();
		for (std::size_t j = 0; j < given.size(); ++j) {
			double area = HostControl::ContourArea(polygon, j);
			// As much as a strip of the host's tolerance in width along it: a
			// thinner contour is a line or a point to the host.
			if (std::fabs(area) <= ContourLength(polygon, j) * LengthTolerance / 2.0)
				given[j].Fail("encloses no area");
			CheckNoPointRepeated(given[j], polygon.coords, polygon.pends[j], polygon.pends[j + 1]);
			if (j == 0 && area < 0.0)
				given[j].Fail("the outer contour must run counter-clockwise");
			if (j > 0 && area > 0.0)
				given[j].Fail("an inner contour must run clockwise");
			if (j > 0 && !HostControl::LiesInsideOuterContour(polygon, j))
				given[j].Fail("lies outside the outer contour");
		}
	}

	static double ContourLength(const HostControl::NichePolygon& polygon, std::size_t contour)
	{
		double length = 0.0;
		for (Int32 edge = polygon.pends[contour] + 1; edge < polygon.pends[contour + 1]; ++edge)
			length += LineLength(OutlineEdge(polygon.coords, polygon.arcs, edge));
		return length;
	}

	// The contour's points follow coordinate `before`; coordinate `end` is the
	// repeat of its first point that closes it.
	static void CheckNoPointRepeated(const Node& contour, const std::vector<API_Coord>& coords, Int32 before, Int32 end)
	{
		std::vector<Node> points = contour.Items();
		for (Int32 i = before + 2; i <= end; ++i) {
			if (Distance(coords[i - 1], coords[i]) > LengthTolerance)
				continue;
			if (i == end)
				contour.Fail("repeats its first point at the end");
			points[static_cast<std::size_t>(i - before - 1)].Fail("repeats the point before it");
		}
	}

	static HostControl::MemoParts PolygonMemo(const HostControl::NichePolygon& polygon)
	{
		HostControl::MemoParts memo;
		memo.coords = polygon.coords;
		memo.pends = polygon.pends;
		memo.arcs = polygon.arcs;
		return memo;
	}

	static void CopyText(const Node& node, const std::string& text, GS::UniChar* destination, USize capacity)
	{
		GS::UniString unicode(text);
		if (unicode.GetLength() >= capacity)
			node.Fail("is longer than " + std::to_string(capacity - 1) + " characters");
		unicode.CopyUStr(destination, capacity);
	}

	ZoneDescription ReadZone(const Node& node)
	{
		node.AllowOnly({"id", "story", "number", "name", "height", "relativeTopStory", "contours", "relation"});
		ZoneDescription zone;
		zone.number = node["number"].Text();
		zone.name = node["name"].Text();
		HostControl::NichePolygon polygon = ReadPolygon(node["contours"]);
		// The host holds no zone whose outline crosses itself.
		if (HostControl::CheckOutline(polygon) != NoError)
			node["contours"].Fail("has edges that cross one another");
		CheckContours(node["contours"], polygon);
		API_Element record = NewRecord(API_ZoneID);
		record.header.floorInd = ReadHomeStory(node);
		CopyText(node["number"], zone.number, record.zone.roomNoStr, 32);
		CopyText(node["name"], zone.name, record.zone.roomName, 256);
		record.zone.poly = {static_cast<Int32>(polygon.coords.size()) - 1, static_cast<Int32>(polygon.pends.size()) - 1,
		                    static_cast<Int32>(polygon.arcs.size())};
		record.zone.roomHeight = node["height"].Size();
		record.zone.relativeTopStory = ReadTopStoryLink(node, record.header.floorInd);
		record.zone.pos = OuterCentroid(polygon);
		zone.element = {Register(node, API_ZoneID), record, PolygonMemo(polygon)};
		zonePolygons[zone.element.id] = polygon;
		return zone;
	}

	Int16 ReadTopStoryLink(const Node& zone, Int16 homeStory) const
	{
		std::optional<Node> link = zone.Find("relativeTopStory");
		if (!link)
			return 0;
		Int16 storiesUp = static_cast<Int16>(link->Integer(0, INT16_MAX));
		if (storiesUp != 0 && stories.count(static_cast<Int16>(homeStory + storiesUp)) == 0)
			link->Fail("no story " + std::to_string(storiesUp) + " above the zone's own");
		return storiesUp;
	}

	OpeningDescription ReadOpening(const Node& node, API_ElemTypeID type)
	{
		node.AllowOnly(
		    {"id", "wall", "location", "width", "height", "lower", "libInd", "from", "to", "measuredWidths"});
		OpeningDescription opening;
		opening.wall = Refer(node["wall"], API_WallID);
		const API_Element& wall = walls.at(opening.wall);
		API_Element record = NewRecord(type);
		record.header.floorInd = wall.header.floorInd;
		record.door.objLoc = node["location"].NotNegativeSize();
		double wallLength = LineLength(ReferenceLine(wall.wall));
		if (record.door.objLoc > wallLength)
			node["location"].Fail("lies beyond the end of wall '" + opening.wall + "'");
		record.door.openingBase.width = node["width"].Size();
		// A host lets an opening hang over its wall's end, but not span more than the whole wall.
		if (record.door.openingBase.width > wallLength)
			node["width"].Fail("is more than the length of wall '" + opening.wall + "'");
		record.door.openingBase.height = node["height"].Size();
		record.door.lower = OptionalOr(node.Find("lower"), 0.0, &Node::NotNegativeSize);
		record.door.openingBase.libInd = ReadLibraryIndex(node["libInd"]);
		opening.fromZone = ReadOptionalZone(node.Find("from"));
		opening.toZone = ReadOptionalZone(node.Find("to"));
		if (!opening.fromZone.empty() && opening.fromZone == opening.toZone)
			node["to"].Fail("an opening cannot lead from a zone into the same zone");
		if (std::optional<Node> widths = node.Find("measuredWidths")) {
			std::vector<Node> both = widths->Items();
			if (both.size() != 2)
				widths->Fail("needs the widths on the first and on the second side");
			opening.measuredWidths = std::make_pair(both[0].Size(), both[1].Size());
		}
		opening.element = {Register(node, type), record, {}};
		return opening;
	}

	std::string ReadOptionalZone(const std::optional<Node>& node) const
	{
		return node ? Refer(*node, API_ZoneID) : std::string();
	}

	Int32 ReadLibraryIndex(const Node& node) const
	{
		if (!node.IsText())
			return node.Integer(0, INT32_MAX);
		std::string name = node.Text();
		auto part = libraryPartsByName.find(name);
		if (part == libraryPartsByName.end())
			node.Fail("names no entry of 'libraryParts' ('" + name + "')");
		std::optional<Int32> index = libraryParts ? libraryParts(part->second) : std::nullopt;
		if (!index)
			node.Fail("library part '" + name + "' is not in the project's libraries");
		return *index;
	}

	void ReadRelation(const Node& node, ZoneDescription& zone) const
	{
		node.AllowOnly({"wallParts", "columns", "doors", "windows", "niches"});
		for (const Node& part : OptionalItems(node, "wallParts"))
			zone.wallParts.push_back(ReadWallPart(part, zonePolygons.at(zone.element.id)));
		const std::pair<const char*, API_ElemTypeID> lists[] = {
		    {"columns", API_ColumnID}, {"doors", API_DoorID}, {"windows", API_WindowID}};
		for (const auto& [name, type] : lists) {
			std::optional<Node> list = node.Find(name);
			if (!list)
				continue;
			std::vector<std::string> ids;
			for (const Node& id : list->Items())
				ids.push_back(Refer(id, type));
			zone.relatedByType.emplace_back(type, ids);
		}
		for (const Node& niche : OptionalItems(node, "niches")) {
			niche.AllowOnly({"contours"});
			zone.niches.push_back(ReadPolygon(niche["contours"]));
		}
	}

	WallPartDescription ReadWallPart(const Node& node, const HostControl::NichePolygon& zone) const
	{
		node.AllowOnly({"wall", "edge", "begin", "end"});
		WallPartDescription part;
		part.wall = Refer(node["wall"], API_WallID);
		part.edge = node["edge"].Integer(1, zone.pends.back() - 1);
		if (IsContourEnd(zone.pends, part.edge))
			node["edge"].Fail("is the last point of a contour, where no edge starts");
		part.begin = node["begin"].Position();
		part.end = node["end"].Position();
		if (part.end < part.begin)
			node["end"].Fail("lies before 'begin'");
		CheckWallPartFit(node, part, OutlineEdge(zone.coords, zone.arcs, part.edge));
		return part;
	}

	void CheckWallPartFit(const Node& node, const WallPartDescription& part, const PlanLine& edge) const
	{
		std::string wall = "wall '" + part.wall + "'";
		switch (FitOfWallPart(edge, walls.at(part.wall).wall, part.begin, part.end)) {
		case WallPartFit::BeforeWall:
			node["begin"].Fail("lies before the begin of " + wall);
		case WallPartFit::BeyondWall:
			node["end"].Fail("lies beyond the end of " + wall);
		case WallPartFit::OffFaces:
			node["edge"].Fail("does not run along a face of " + wall);
		case WallPartFit::BeyondEdge:
			node.Fail("reaches beyond the stretch of " + wall + " that its edge runs along");
		case WallPartFit::Fits:
			break;
		}
	}

	const LibraryPartLookup& libraryParts;
	std::set<Int16> stories = {0};
	std::map<std::string, LibraryPartRef> libraryPartsByName;
	std::map<std::string, API_ElemTypeID> types;
	std::map<std::string, API_Element> walls;
	std::map<std::string, HostControl::NichePolygon> zonePolygons;
};

} // namespace

SampleDescription ReadSampleDescription(const std::string& text, const LibraryPartLookup& libraryParts)
{
	json document;
	LocatingParser parser(text, document);
	json::sax_parse(text, &parser);
	return Reader(libraryParts).Read(Node(document, "project"));
}

} // namespace Runner
