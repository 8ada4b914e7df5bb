#include "TiledSample.hpp"

#include <algorithm>
#include <cmath>

namespace Bench {

namespace {

// Room between the copies, so that no arc's bulge or column reaches the next one.
constexpr double gap = 3.0;

void Widen(Extent& extent, const API_Coord& point)
{
	extent.min = {std::min(extent.min.x, point.x), std::min(extent.min.y, point.y)};
	extent.max = {std::max(extent.max.x, point.x), std::max(extent.max.y, point.y)};
}

// Entry 0 of a polygon's coordinates is a placeholder and stays as it is.
template <typename Visit> void ForEachPolygonPoint(std::vector<API_Coord>& coords, Visit visit)
{
	for (std::size_t i = 1; i < coords.size(); ++i)
		visit(coords[i]);
}

// Visits every plan position of the description, so that measuring and moving
// cannot miss one that the other sees.
template <typename Visit> void ForEachPosition(Runner::SampleDescription& sample, Visit visit)
{
	for (Runner::ElementDescription& wall : sample.walls) {
		visit(wall.record.wall.begC);
		visit(wall.record.wall.endC);
	}
	for (Runner::ElementDescription& column : sample.columns)
		visit(column.record.column.origoPos);
	for (Runner::ZoneDescription& zone : sample.zones) {
		visit(zone.element.record.zone.pos);
		if (zone.element.memo.coords)
			ForEachPolygonPoint(*zone.element.memo.coords, visit);
		for (HostControl::NichePolygon& niche : zone.niches)
			ForEachPolygonPoint(niche.coords, visit);
	}
}

void RenameCopy(Runner::SampleDescription& copy, std::size_t index)
{
	auto rename = [&](std::string& id) {
		if (!id.empty())
			id = CopyId(index, id);
	};
	for (auto* elements : {&copy.walls, &copy.columns}) {
		for (Runner::ElementDescription& element : *elements)
			rename(element.id);
	}
	for (Runner::ZoneDescription& zone : copy.zones) {
		rename(zone.element.id);
		for (Runner::WallPartDescription& part : zone.wallParts)
			rename(part.wall);
		for (auto& [type, ids] : zone.relatedByType)
			std::for_each(ids.begin(), ids.end(), rename);
	}
	for (Runner::OpeningDescription& opening : copy.openings) {
		for (std::string* id : {&opening.element.id, &opening.wall, &opening.fromZone, &opening.toZone})
			rename(*id);
	}
}

template <typename T> void Append(std::vector<T>& target, const std::vector<T>& items)
{
	target.insert(target.end(), items.begin(), items.end());
}

} // namespace

Extent ExtentOf(const Runner::SampleDescription& sample)
{
	Runner::SampleDescription measured = sample;
	std::optional<Extent> extent;
	ForEachPosition(measured, [&](const API_Coord& point) {
		if (!extent)
			extent = Extent{point, point};
		Widen(*extent, point);
	});
	return extent.value_or(Extent{{0, 0}, {0, 0}});
}

std::string CopyId(std::size_t copy, const std::string& id)
{
	return copy == 0 ? id : "copy" + std::to_string(copy) + "/" + id;
}

Runner::SampleDescription TileSample(const Runner::SampleDescription& sample, std::size_t copies)
{
	const Extent extent = ExtentOf(sample);
	const double stepX = extent.max.x - extent.min.x + gap;
	const double stepY = extent.max.y - extent.min.y + gap;
	const auto side = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(copies))));
	Runner::SampleDescription tiled = sample;
	tiled.walls.clear();
	tiled.columns.clear();
	tiled.zones.clear();
	tiled.openings.clear();
	for (std::size_t index = 0; index < copies; ++index) {
		Runner::SampleDescription copy = sample;
		const API_Coord offset = {stepX * double(index % side), stepY * double(index / side)};
		ForEachPosition(copy, [&](API_Coord& point) { point = {point.x + offset.x, point.y + offset.y}; });
		RenameCopy(copy, index);
		Append(tiled.walls, copy.walls);
		Append(tiled.columns, copy.columns);
		Append(tiled.zones, copy.zones);
		Append(tiled.openings, copy.openings);
	}
	return tiled;
}

} // namespace Bench
