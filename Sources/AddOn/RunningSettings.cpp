#include "RunningSettings.hpp"

// Held here until the palette takes them over; nothing stores them yet.
CoveringSettings& GetRunningCoveringSettings()
{
	static CoveringSettings settings;
	return settings;
}

void StoreRunningCoveringSettings() {}
