// The fixed alerts of the room commands, with their texts from the add-on's
// resources. Each shows one alert with the single button "OK".
#pragma once

// No zone in the selection.
void AlertNoRoomsSelected();
// A favorite named in the covering settings cannot be fetched.
void ErrorFavUnavailable();
// An element of the covering settings has its top linked to a story.
void ErrorStoryLinkSettings();
// Zones that already had coverings were left alone.
void ErrorDoubleAdd();
// Zones with their top linked to a story were skipped.
void ErrorRoomStory();
// Zones whose coverings no longer match their walls or columns were skipped.
void ErrorUpdateInconsistency();
