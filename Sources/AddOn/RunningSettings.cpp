#include "RunningSettings.hpp"

#include "VelmoraPalette.hpp"

CoveringSettings& GetRunningCoveringSettings()
{
	return VelmoraPalette::GetInstance().settings;
}

// The summary answer that calls this has shown its own alert; a failed store
// is written again with the palette's next one.
void StoreRunningCoveringSettings()
{
	VelmoraPalette::GetInstance().StorePaletteSettings();
}
