#include "CoveringSettings.hpp"

#include <cstring>
#include <initializer_list>

ElementCovSettings::ElementCovSettings()
{
	// The element record is a union stored as raw bytes, so every byte is set, not just the first member.
	std::memset(static_cast<void*>(&toolElement), 0, sizeof(toolElement));
}

CoveringSettings PaletteDefaultSettings()
{
	CoveringSettings settings;
	settings.wall.enabled = true;
	settings.wall.innerContours = true;
	settings.ceiling.enabled = true;
	settings.floor.enabled = true;
	settings.floor.insets = true;
	settings.showSummary = true;
	return settings;
}

CoveringSettings ClearedPaletteSettings()
{
	CoveringSettings settings;
	settings.wall.enabled = true;
	settings.wall.innerContours = true;
	return settings;
}

GSErrCode CoveringSettings::CopyResult() const
{
	for (const ElementCovSettings* kind : std::initializer_list<const ElementCovSettings*>{
	         &wall, &wall.doorHoles, &wall.windowHoles, &ceiling, &floor}) {
		if (kind->memo.HasValue() && kind->memo->copyResult != NoError)
			return kind->memo->copyResult;
	}
	return NoError;
}

PaletteSettings::PaletteSettings() : coveringSettings(PaletteDefaultSettings()) {}
