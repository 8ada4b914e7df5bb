#include "SampleProject.hpp"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "AddOnControl.hpp"
#include "SampleDescription.hpp"
#include "Wording.hpp"

namespace Runner {

namespace {

using IdMap = std::map<std::string, API_Guid>;

API_Guid GuidOrOutside(const IdMap& byId, const std::string& id)
{
	return id.empty() ? APINULLGuid : byId.at(id);
}

void AddElement(const ElementDescription& element, IdMap& byId)
{
	byId[element.id] = HostControl::AddElement(element.record, element.memo);
}

void AddOpening(const OpeningDescription& opening, IdMap& byId)
{
	API_Element record = opening.element.record;
	record.door.owner = byId.at(opening.wall);
	API_Guid guid = HostControl::AddElement(record);
	byId[opening.element.id] = guid;
	if (!opening.fromZone.empty() || !opening.toZone.empty())
		HostControl::SetOpeningRelation(guid, GuidOrOutside(byId, opening.fromZone),
		                                GuidOrOutside(byId, opening.toZone));
	if (opening.measuredWidths)
		HostControl::SetOpeningWidths(guid, opening.measuredWidths->first, opening.measuredWidths->second);
}

HostControl::RoomRelation RoomRelationOf(const ZoneDescription& zone, const IdMap& byId)
{
	HostControl::RoomRelation relation;
	for (const WallPartDescription& part : zone.wallParts)
		relation.wallParts.push_back({byId.at(part.wall), part.edge, part.begin, part.end});
	for (const auto& [type, ids] : zone.relatedByType) {
		std::vector<API_Guid> guids;
		for (const std::string& id : ids)
			guids.push_back(byId.at(id));
		relation.elementsByType.emplace_back(type, guids);
	}
	relation.niches = zone.niches;
	return relation;
}

// Every reference of the description was checked when it was read, so
// building it cannot fail.
LoadedProject Build(const SampleDescription& sample)
{
	HostControl::ReplaceProject();
	for (const StoryDescription& story : sample.stories)
		HostControl::AddStory(story.index, story.level, story.name);
	for (const HostControl::Favorite& favorite : sample.favorites)
		HostControl::DefineFavorite(favorite);
	LoadedProject project;
	project.name = sample.name;
	for (const ElementDescription& wall : sample.walls)
		AddElement(wall, project.byId);
	for (const ElementDescription& column : sample.columns)
		AddElement(column, project.byId);
	for (const ZoneDescription& zone : sample.zones)
		AddElement(zone.element, project.byId);
	for (const OpeningDescription& opening : sample.openings)
		AddOpening(opening, project.byId);
	for (const ZoneDescription& zone : sample.zones) {
		API_Guid guid = project.byId.at(zone.element.id);
		HostControl::SetRoomRelation(guid, RoomRelationOf(zone, project.byId));
		project.zones.push_back({guid, zone.element.id, zone.number, zone.name, zone.wallParts.size()});
	}
	return project;
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
	std::error_code error;
	if (!std::filesystem::is_regular_file(path, error))
		return std::nullopt;
	std::ifstream file(path, std::ios::binary);
	std::ostringstream text;
	if (file)
		text << file.rdbuf();
	if (!file || file.bad())
		return std::nullopt;
	return text.str();
}

// Names and ids of the file reach the message, which must stay one line.
LoadResult Failure(LoadError error, const std::string& message)
{
	return {std::nullopt, error, Printable(message)};
}

} // namespace

LoadedProject BuildSampleProject(const SampleDescription& sample)
{
	return Build(sample);
}

std::optional<Int32> LibraryIndexInProject(const LibraryPartRef& part)
{
	if (part.unID.size() < 38 || part.unID.front() != '{')
		return std::nullopt;
	return HostControl::LibraryPartIndex(APIGuidFromString(part.unID.substr(1, 36).c_str()));
}

LoadResult LoadSampleProjectText(const std::string& text, const LibraryPartLookup& libraryParts)
{
	try {
		return {Build(ReadSampleDescription(text, libraryParts)), LoadError::None, ""};
	} catch (const SampleError& error) {
		return Failure(error.kind, error.what());
	}
}

LoadResult LoadSampleProject(const std::string& path, const LibraryPartLookup& libraryParts)
{
	std::optional<std::string> text = ReadWholeFile(path);
	if (!text)
		return Failure(LoadError::Unreadable, path + ": cannot be read");
	LoadResult result = LoadSampleProjectText(*text, libraryParts);
	if (!result.project)
		result.message = Printable(path) + ": " + result.message;
	return result;
}

std::set<API_Guid> ElementsAddedSince(const LoadedProject& project)
{
	std::set<API_Guid> added;
	for (const API_Guid& guid : HostControl::Elements())
		added.insert(guid);
	for (const auto& element : project.byId)
		added.erase(element.second);
	return added;
}

} // namespace Runner
