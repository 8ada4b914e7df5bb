// The palette's settings kept in the project as a client-only add-on object.
#include "API/AddOnObjects.hpp"
#include "GS/Memory.hpp"
#include "ScopeGuards.hpp"
#include "VelmoraPalette.hpp"

namespace {

constexpr const char* ADDON_OBJECT_NAME = "PaletteSettings";

// Null when the project has no stored state; looked up each time, never kept.
API_Guid StoredStateGuid()
{
	API_Guid guid = APINULLGuid;
	ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName(ADDON_OBJECT_NAME, &guid);
	return guid;
}

} // namespace

void VelmoraPalette::InitKinds()
{
	for (const CoveringKind& kind : Kinds()) {
		// Holes take their library part's parameters from a memo, so a stored state without one gets it here.
		bool isHole = kind.type == API_DoorID || kind.type == API_WindowID;
		if (isHole && !kind.settings.memo.HasValue())
			kind.settings.memo.New();
		InitElementSettings(kind.type, kind.settings, kind.settingsButton);
	}
}

void VelmoraPalette::InitPaletteSettings()
{
	API_Guid object = StoredStateGuid();
	GSHandle content = nullptr;
	HandleGuard<GSHandle> releaseContent(content);
	if (object == APINULLGuid || ACAPI_AddOnObject_GetObjectContent(object, nullptr, &content) != NoError) {
		ClearPaletteSettings();
		InitKinds();
		return;
	}
	PaletteSettings stored;
	if (content != nullptr) {
		GS::MemoryIChannel32 channel(*content, static_cast<USize>(BMGetHandleSize(content)));
		if (ErrCode error = stored.Read(channel); error != NoError) {
			ShowPaletteError(error);
			return;
		}
	}
	settings = stored.coveringSettings;
	SyncPaletteToCovSettings();
	InitKinds();
}

ErrCode VelmoraPalette::StorePaletteSettings()
{
	PaletteSettings stored;
	stored.coveringSettings = settings;
	GS::MemoryOChannel32 channel;
	if (ErrCode error = stored.Write(channel); error != NoError)
		return error;
	GSHandle content = nullptr;
	HandleGuard<GSHandle> releaseContent(content);
	// A failed copy leaves no content, which the host refuses below.
	BMPtrToHandle(channel.GetDestination(), &content, static_cast<GSSize>(channel.GetDataSize()));
	API_Guid object = StoredStateGuid();
	if (object == APINULLGuid)
		return ACAPI_AddOnObject_CreateClientOnlyObject(ADDON_OBJECT_NAME, content, &object);
	return ACAPI_AddOnObject_ModifyObject(object, nullptr, content);
}
