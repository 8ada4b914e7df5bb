#include "DialogControl.hpp"
#include "HostControl.hpp"
#include "Sim/Control/ControlRecords.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "Sim/API/AddOnHost.hpp"
#include "Sim/API/ElementChecks.hpp"
#include "Sim/API/ElementSettings.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/API/Session.hpp"
#include "Sim/API/ZoneUpdate.hpp"
#include "Sim/Control/Faults.hpp"
#include "Sim/GS/Memory.hpp"
#include "Sim/Geometry/Clipping.hpp"

using Sim::TheProject;

namespace HostControl {

namespace {

template <typename T> Sim::Part ToPart(const std::optional<std::vector<T>>& items)
{
	if (!items.has_value())
		return std::nullopt;
	return Sim::BytesOf(*items);
}

template <typename T> std::optional<std::vector<T>> FromPart(const Sim::Part& part)
{
	if (!part.has_value())
		return std::nullopt;
	return Sim::ItemsOf<T>(part);
}

// The outline as the host's geometry reads it; no contours when it reads none.
Geometry::PolyShape ShapeOf(const NichePolygon& polygon)
{
	Geometry::PolyShape shape;
	Geometry::PolygonArrays arrays = Geometry::MakePolygonArrays(
	    polygon.coords.data(), static_cast<Int32>(polygon.coords.size()) - 1, polygon.arcs.data(),
	    static_cast<Int32>(polygon.arcs.size()), polygon.pends.data(), static_cast<Int32>(polygon.pends.size()) - 1);
	if (Geometry::ReadShape(arrays, &shape) != NoError)
		shape.contours.clear();
	return shape;
}

std::optional<std::vector<Param>> FromStoredParams(const std::optional<Sim::StoredParams>& stored)
{
	if (!stored.has_value())
		return std::nullopt;
	std::vector<Param> params(stored->arrayValues.size());
	for (std::size_t i = 0; i < params.size(); ++i) {
		std::memcpy(&params[i].record, stored->records.data() + i * sizeof(API_AddParType), sizeof(API_AddParType));
		params[i].arrayValue = stored->arrayValues[i];
	}
	return params;
}

Link ToLink(const Sim::Link& link)
{
	return {link.from, link.to, link.flags};
}

} // namespace

std::optional<Sim::StoredParams> ToStoredParams(const std::optional<std::vector<Param>>& params)
{
	if (!params.has_value())
		return std::nullopt;
	Sim::StoredParams stored;
	for (const Param& param : *params) {
		API_AddParType record = param.record;
		bool isArray = record.typeMod == API_ParArray;
		if (isArray)
			record.value.array = nullptr;
		const char* bytes = reinterpret_cast<const char*>(&record);
		stored.records.insert(stored.records.end(), bytes, bytes + sizeof(API_AddParType));
		stored.arrayValues.push_back(isArray ? param.arrayValue : std::nullopt);
	}
	return stored;
}

Sim::StoredMemo ToStoredMemo(const MemoParts& memo)
{
	Sim::StoredMemo stored;
	stored.coords = ToPart(memo.coords);
	stored.pends = ToPart(memo.pends);
	stored.parcs = ToPart(memo.arcs);
	stored.vertexIDs = ToPart(memo.vertexIDs);
	stored.edgeTrims = ToPart(memo.edgeTrims);
	stored.sideMaterials = ToPart(memo.sideMaterials);
	stored.columnSegments = ToPart(memo.columnSegments);
	stored.params = ToStoredParams(memo.params);
	return stored;
}

void ResetHost()
{
	Sim::HostState& host = Sim::Host();
	host = Sim::HostState();
	Sim::ResetAddOnHost();
	Sim::StartNewProject();
	Sim::Faults().ResetCounts();
	Sim::ResetLargestHandleSize();
	ResetDialogs();
	Sim::TheSession() = Sim::Session();
}

void AddStory(Int16 index, double level, const std::string& name)
{
	TheProject().stories.push_back({index, level, name});
}

API_Guid AddElement(const API_Element& element, const MemoParts& memo)
{
	Sim::Project& project = TheProject();
	Sim::StoredElement stored{element, ToStoredMemo(memo)};
	if (stored.record.header.guid == APINULLGuid)
		stored.record.header.guid = project.NewGuid();
	API_Guid guid = stored.record.header.guid;
	project.elements.Insert(std::move(stored));
	return guid;
}

std::optional<API_Element> GetElement(const API_Guid& guid)
{
	const Sim::StoredElement* stored = TheProject().Get(guid);
	if (stored == nullptr)
		return std::nullopt;
	return stored->record;
}

MemoParts GetMemoParts(const API_Guid& guid)
{
	const Sim::StoredElement* stored = TheProject().Get(guid);
	if (stored == nullptr)
		return {};
	const Sim::StoredMemo& memo = stored->memo;
	return {FromPart<API_Coord>(memo.coords),
	        FromPart<Int32>(memo.pends),
	        FromPart<API_PolyArc>(memo.parcs),
	        FromPart<UInt32>(memo.vertexIDs),
	        FromPart<API_EdgeTrim>(memo.edgeTrims),
	        FromPart<API_OverriddenAttribute>(memo.sideMaterials),
	        FromPart<API_ColumnSegmentType>(memo.columnSegments),
	        FromStoredParams(memo.params)};
}

std::vector<API_Guid> Elements(API_ElemTypeID type)
{
	return TheProject().elements.InCreationOrder(type);
}

void SetElement(const API_Element& element)
{
	if (const Sim::StoredElement* stored = TheProject().Get(element.header.guid))
		TheProject().elements.Replace({element, stored->memo});
}

GSErrCode MoveWall(const API_Guid& wall, const API_Coord& offset)
{
	return Sim::MoveWall(TheProject(), wall, offset);
}

std::vector<Link> Links()
{
	std::vector<Link> result;
	for (const Sim::Link& link : TheProject().links.All())
		result.push_back(ToLink(link));
	return result;
}

std::vector<Link> LinksFrom(const API_Guid& from)
{
	std::vector<Link> result;
	for (const Sim::Link& link : TheProject().links.From(from))
		result.push_back(ToLink(link));
	return result;
}

std::vector<API_Guid> LinkSources(const API_Guid& to)
{
	return TheProject().links.SourcesOf(to);
}

void AddLink(const API_Guid& from, const API_Guid& to, UInt32 flags)
{
	TheProject().links.Add({from, to, flags});
}

std::optional<UserData> GetUserData(const API_Guid& guid)
{
	const Sim::StoredUserData* stored = TheProject().userData.Get(guid);
	if (stored == nullptr)
		return std::nullopt;
	return UserData{stored->version, stored->platformSign, stored->flags, stored->payload};
}

void SetUserData(const API_Guid& guid, const UserData& userData)
{
	TheProject().userData[guid] = {userData.version, userData.platformSign, userData.flags, userData.payload};
}

void RemoveUserData(const API_Guid& guid)
{
	TheProject().userData.erase(guid);
}

std::vector<API_Guid> GroupMembers(const API_Guid& group)
{
	const std::vector<API_Guid>* members = TheProject().groups.Get(group);
	return members == nullptr ? std::vector<API_Guid>() : *members;
}

bool GroupsSuspended()
{
	return TheProject().groupsSuspended;
}

void Select(const std::vector<API_Guid>& elements)
{
	std::vector<API_Guid> held;
	std::copy_if(elements.begin(), elements.end(), std::back_inserter(held),
	             [](const API_Guid& guid) { return TheProject().Contains(guid); });
	TheProject().selection.Assign(held);
}

void SetRoomRelation(const API_Guid& zone, const RoomRelation& relation)
{
	Sim::StoredRoomRelation stored{relation.wallParts, relation.elementsByType, {}};
	for (const NichePolygon& niche : relation.niches) {
		stored.niches.push_back({ToPart(std::optional<std::vector<API_Coord>>(niche.coords)),
		                         ToPart(std::optional<std::vector<Int32>>(niche.pends)),
		                         ToPart(std::optional<std::vector<API_PolyArc>>(niche.arcs))});
	}
	TheProject().roomRelations.Set(zone, std::move(stored));
}

GSErrCode CheckOutline(const NichePolygon& polygon)
{
	API_Polygon counts = {static_cast<Int32>(polygon.coords.size()) - 1, static_cast<Int32>(polygon.pends.size()) - 1,
	                      static_cast<Int32>(polygon.arcs.size())};
	MemoParts memo;
	memo.coords = polygon.coords;
	memo.pends = polygon.pends;
	memo.arcs = polygon.arcs;
	return Sim::CheckOutline(counts, ToStoredMemo(memo));
}

double ContourArea(const NichePolygon& polygon, std::size_t contour)
{
	Geometry::PolyShape shape = ShapeOf(polygon);
	return contour < shape.contours.size() ? Geometry::SignedArea(shape.contours[contour]) : 0.0;
}

bool LiesInsideOuterContour(const NichePolygon& polygon, std::size_t contour)
{
	Geometry::PolyShape shape = ShapeOf(polygon);
	return contour < shape.contours.size() && Geometry::LiesInsideOuterContour(shape, contour);
}

void SetOpeningRelation(const API_Guid& opening, const API_Guid& fromRoom, const API_Guid& toRoom)
{
	TheProject().openingRelations[opening] = {fromRoom, toRoom};
}

void SetOpeningWidths(const API_Guid& opening, double width1, double width2)
{
	TheProject().openingWidths[opening] = {width1, width2};
}

void ScriptAlertAnswers(const std::vector<short>& answers)
{
	Sim::Host().scriptedAnswers.assign(answers.begin(), answers.end());
}

std::vector<Alert> Alerts()
{
	std::vector<Alert> result;
	for (const Sim::AlertRecord& alert : Sim::Host().alerts)
		result.push_back({alert.kind, alert.alertId, alert.texts, alert.answer});
	return result;
}

std::vector<ReportLine> ReportLines()
{
	std::vector<ReportLine> result;
	for (const Sim::ReportLine& line : Sim::Host().reportLines)
		result.push_back({line.text.ToCStr().Get(), line.withDialog});
	return result;
}

std::vector<std::string> DebugLines()
{
	return Sim::Host().debugLines;
}

std::vector<std::string> UndoStepNames()
{
	std::vector<std::string> names;
	for (const Sim::UndoStep& step : Sim::Host().undoSteps)
		names.push_back(step.name.ToCStr().Get());
	return names;
}

bool UndoLastCommand()
{
	auto& steps = Sim::Host().undoSteps;
	if (steps.empty())
		return false;
	TheProject().Restore(std::move(steps.back().before));
	steps.pop_back();
	return true;
}

void FailCall(const std::string& functionName, UInt32 nthCall, GSErrCode code)
{
	Sim::Faults().FailCall(functionName, nthCall, code);
}

void FailAnyCall(UInt32 nthCall, GSErrCode code)
{
	Sim::Faults().FailAnyCall(nthCall, code);
}

void ClearFaults()
{
	Sim::Faults().Clear();
}

void ResetCallCounts()
{
	Sim::Faults().ResetCounts();
}

UInt32 CallCount(const std::string& functionName)
{
	return Sim::Faults().CallCount(functionName);
}

UInt32 TotalCallCount()
{
	return Sim::Faults().TotalCallCount();
}

std::vector<std::string> CallLog()
{
	return Sim::Faults().CallLog();
}

Int32 LiveHandleCount()
{
	return Sim::LiveHandleCount();
}

Int32 LivePointerCount()
{
	return Sim::LivePointerCount();
}

GSSize LargestHandleSize()
{
	return Sim::LargestHandleSize();
}

} // namespace HostControl
