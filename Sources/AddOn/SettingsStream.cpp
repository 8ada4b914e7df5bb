// The stored form of the palette state: version 6 written and read, versions 2
// to 5 read.
#include "CoveringSettings.hpp"
#include "HostRecordStream.hpp"

namespace {

// The tool element is stored as its memory image; a record of another size
// would make every stored palette state unreadable.
constexpr USize storedElementSize = 5272;
static_assert(sizeof(API_Element) == storedElementSize, "the stored tool element is a 5272-byte element record");

GSErrCode WriteToolElement(GS::OChannel& channel, const API_Element& element)
{
	return channel.WriteBin(reinterpret_cast<const char*>(&element), storedElementSize);
}

GSErrCode ReadToolElement(GS::IChannel& channel, API_Element& element)
{
	return channel.ReadBin(reinterpret_cast<char*>(&element), storedElementSize);
}

// The three lists; their results are left to the caller's final status.
void WriteLists(GS::OChannel& channel, const ElementCovSettings& settings)
{
	Write(channel, settings.properties);
	Write(channel, settings.classifications);
	Write(channel, settings.categoryValues);
}

void ReadLists(GS::IChannel& channel, ElementCovSettings& settings)
{
	Read(channel, settings.properties);
	Read(channel, settings.classifications);
	Read(channel, settings.categoryValues);
}

// A wall, ceiling or floor setting of versions 4 and 5.
void ReadOlderElement(GS::IChannel& channel, ElementCovSettings& settings, bool withLists)
{
	channel.Read(settings.enabled);
	ReadToolElement(channel, settings.toolElement);
	if (withLists)
		ReadLists(channel, settings);
	channel.Read(settings.useFavorite);
	channel.Read(settings.favoriteName);
}

void ReadOlderHole(GS::IChannel& channel, ElementCovSettings& hole)
{
	channel.Read(hole.enabled);
	channel.Read(hole.favoriteName);
}

void ReadVersion2Or3(GS::IChannel& channel, CoveringSettings& settings, bool isVersion3)
{
	if (isVersion3)
		channel.Read(settings.wall.enabled);
	channel.Read(settings.wall.favoriteName);
	channel.Read(settings.wall.doorHoles.favoriteName);
	channel.Read(settings.wall.windowHoles.favoriteName);
	channel.Read(settings.ceiling.enabled);
	channel.Read(settings.ceiling.favoriteName);
	channel.Read(settings.floor.enabled);
	channel.Read(settings.floor.favoriteName);
	if (isVersion3)
		channel.Read(settings.floor.insets);
}

void ReadVersion4Or5(GS::IChannel& channel, CoveringSettings& settings, bool isVersion5)
{
	ReadOlderElement(channel, settings.wall, isVersion5);
	if (isVersion5)
		channel.Read(settings.wall.innerContours);
	channel.Read(settings.wall.columnCoverings);
	ReadOlderHole(channel, settings.wall.doorHoles);
	ReadOlderHole(channel, settings.wall.windowHoles);
	ReadOlderElement(channel, settings.ceiling, isVersion5);
	ReadOlderElement(channel, settings.floor, isVersion5);
	channel.Read(settings.floor.insets);
	Read(channel, settings.timestampProperty);
	if (isVersion5)
		channel.Read(settings.showSummary);
}

// What older versions did not store but implied.
void SetOlderVersionValues(CoveringSettings& settings, PaletteSettings::PaletteSettingsVersion version)
{
	settings.wall.doorHoles.useFavorite = true;
	settings.wall.windowHoles.useFavorite = true;
	if (version <= PaletteSettings::Version3) {
		settings.wall.useFavorite = true;
		settings.ceiling.useFavorite = true;
		settings.floor.useFavorite = true;
		settings.wall.columnCoverings = false;
		settings.wall.doorHoles.enabled = true;
		settings.wall.windowHoles.enabled = true;
		settings.timestampProperty = APINULLGuid;
	}
	if (version <= PaletteSettings::Version4) {
		settings.wall.innerContours = true;
		settings.showSummary = true;
	}
	if (version == PaletteSettings::Version2)
		settings.floor.insets = true;
}

} // namespace

GSErrCode ElementCovSettings::Write(GS::OChannel& channel) const
{
	channel.Write(enabled);
	WriteToolElement(channel, toolElement);
	channel.Write(memo.HasValue());
	if (memo.HasValue()) {
		if (GSErrCode error = memo->WriteParams(channel); error != NoError)
			return error;
	}
	WriteLists(channel, *this);
	channel.Write(useFavorite);
	channel.Write(favoriteName);
	return channel.GetOutputStatus();
}

GSErrCode ElementCovSettings::Read(GS::IChannel& channel)
{
	channel.Read(enabled);
	ReadToolElement(channel, toolElement);
	bool hasMemo = false;
	channel.Read(hasMemo);
	if (hasMemo) {
		if (!memo.HasValue())
			memo.New();
		if (GSErrCode error = memo->ReadParams(channel); error != NoError)
			return error;
	}
	ReadLists(channel, *this);
	channel.Read(useFavorite);
	channel.Read(favoriteName);
	return channel.GetInputStatus();
}

GSErrCode CoveringSettings::Write(GS::OChannel& channel) const
{
	if (GSErrCode error = wall.Write(channel); error != NoError)
		return error;
	channel.Write(wall.innerContours);
	channel.Write(wall.columnCoverings);
	if (GSErrCode error = wall.doorHoles.Write(channel); error != NoError)
		return error;
	if (GSErrCode error = wall.windowHoles.Write(channel); error != NoError)
		return error;
	if (GSErrCode error = channel.GetOutputStatus(); error != NoError)
		return error;
	if (GSErrCode error = ceiling.Write(channel); error != NoError)
		return error;
	if (GSErrCode error = channel.Write(ceiling.insets); error != NoError)
		return error;
	if (GSErrCode error = floor.Write(channel); error != NoError)
		return error;
	if (GSErrCode error = channel.Write(floor.insets); error != NoError)
		return error;
	::Write(channel, timestampProperty);
	channel.Write(showSummary);
	return channel.GetOutputStatus();
}

GSErrCode CoveringSettings::Read(GS::IChannel& channel)
{
	if (GSErrCode error = wall.Read(channel); error != NoError)
		return error;
	channel.Read(wall.innerContours);
	channel.Read(wall.columnCoverings);
	if (GSErrCode error = wall.doorHoles.Read(channel); error != NoError)
		return error;
	if (GSErrCode error = wall.windowHoles.Read(channel); error != NoError)
		return error;
	if (GSErrCode error = channel.GetInputStatus(); error != NoError)
		return error;
	if (GSErrCode error = ceiling.Read(channel); error != NoError)
		return error;
	if (GSErrCode error = channel.Read(ceiling.insets); error != NoError)
		return error;
	if (GSErrCode error = floor.Read(channel); error != NoError)
		return error;
	if (GSErrCode error = channel.Read(floor.insets); error != NoError)
		return error;
	::Read(channel, timestampProperty);
	channel.Read(showSummary);
	return channel.GetInputStatus();
}

GSErrCode PaletteSettings::Write(GS::OChannel& channel) const
{
	channel.Write(static_cast<Int16>(CurrentVersion));
	if (GSErrCode error = coveringSettings.Write(channel); error != NoError)
		return error;
	return channel.GetOutputStatus();
}

GSErrCode PaletteSettings::Read(GS::IChannel& channel)
{
	Int16 version = 0;
	if (GSErrCode error = channel.Read(version); error != NoError)
		return error;
	GSErrCode error = NoError;
	if (version >= Version2 && version <= Version5)
		error = ReadOlder(channel, static_cast<PaletteSettingsVersion>(version));
	else if (version == Version6)
		error = coveringSettings.Read(channel);
	else
		return ErrIO;
	return error != NoError ? error : channel.GetInputStatus();
}

GSErrCode PaletteSettings::ReadOlder(GS::IChannel& channel, PaletteSettingsVersion version)
{
	if (version <= Version3)
		ReadVersion2Or3(channel, coveringSettings, version == Version3);
	else
		ReadVersion4Or5(channel, coveringSettings, version == Version5);
	SetOlderVersionValues(coveringSettings, version);
	return channel.GetInputStatus();
}
