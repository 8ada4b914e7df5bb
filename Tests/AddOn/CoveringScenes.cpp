#include "CoveringScenes.hpp"

#include "ModelBuilder.hpp"
#include "SettingsSamples.hpp"

namespace CoveringScenes {

API_Element Record(const API_Guid& element)
{
	std::optional<API_Element> record = HostControl::GetElement(element);
	return record.has_value() ? *record : ModelBuilder::NewRecord(API_ZombieElemID);
}

API_Guid AddCovering(API_Coord begin, API_Coord end, double arcAngle, bool flipped)
{
	API_Element covering = ModelBuilder::NewRecord(API_WallID);
	covering.wall.zoneRel = APIZRel_None;
	covering.wall.begC = begin;
	covering.wall.endC = end;
	covering.wall.angle = arcAngle;
	covering.wall.flipped = flipped;
	covering.wall.thickness = 0.02;
	covering.wall.height = 2.5;
	covering.wall.bottomOffset = 0.1;
	return HostControl::AddElement(covering);
}

ElementCovSettings HoleSettings(API_ElemTypeID type)
{
	const HostControl::DefaultProject& defaults = HostControl::Defaults();
	ElementCovSettings settings;
	settings.enabled = true;
	settings.toolElement = ModelBuilder::NewRecord(type);
	settings.toolElement.header.layer = 7;
	API_OpeningType& hole = settings.toolElement.door;
	hole.openingBase.libInd =
	    *HostControl::LibraryPartIndex(type == API_DoorID ? defaults.doorPart : defaults.windowPart);
	hole.openingBase.revealStyle = 3;
	hole.openingBase.revealPen = 4;
	hole.openingBase.reflected = true;
	hole.openingBase.openingSide = true;
	hole.openingBase.refSide = true;
	settings.memo.New();
	SettingsSamples::FillParams(*settings.memo, {SettingsSamples::RealParam(APIParT_Length, 0.5)});
	settings.favoriteName = type == API_DoorID ? "Door hole" : "Window hole";
	return settings;
}

std::vector<API_Guid> LinkTargets(const API_Guid& from, UInt32 flags)
{
	std::vector<API_Guid> targets;
	for (const HostControl::Link& link : HostControl::LinksFrom(from)) {
		if (link.flags == flags)
			targets.push_back(link.to);
	}
	return targets;
}

} // namespace CoveringScenes
