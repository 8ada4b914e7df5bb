// The palette's settings kept in the project as a client-only add-on object.
#include "API/AddOnObjects.hpp"
#include "GS/Memory.hpp"
#include "ScopeGuards.hpp"
#include "VelmoraPalette.hpp"

namespace {

constexpr const char* ADDON_OBJECT_NAME = "PaletteSettings";

// A null object when the project has no stored state, or the host's error;
// looked up each time, never kept.
ErrCode FindStoredState(API_Guid& object)
{
	object = APINULLGuid;
	ErrCode error = ACAPI_AddOnObject_GetClientOnlyObjectGuidFromName(ADDON_OBJECT_NAME, &object);
	if (error != APIERR_BADNAME)
		return error;
	object = APINULLGuid;
	return NoError;
}

// A null content leaves the defaults of stored as they are.
ErrCode ReadStoredState(GSConstHandle content, PaletteSettings& stored)
{
	if (content == nullptr)
		return NoError;
	GS::MemoryIChannel32 channel(*content, static_cast<USize>(BMGetHandleSize(content)));
	return stored.Read(channel);
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
	kindsInitialised = true;
}

void VelmoraPalette::ShowClearedState()
{
	ClearPaletteSettings();
	InitKinds();
}

bool VelmoraPalette::ShowStateNotTaken(ErrCode error)
{
	ShowPaletteError(error);
	if (kindsInitialised)
		return false;
	ShowClearedState();
	return true;
}

void VelmoraPalette::LeaveStateUnread(ErrCode error)
{
	bool showsClearedInstead = ShowStateNotTaken(error);
	if (showsClearedInstead || unreadStateError != NoError)
		unreadStateError = error;
}

void VelmoraPalette::ProjectOpened(ErrCode setupError)
{
	// Until this project's state is read, the palette holds another project's or none.
	unreadStateError = setupError != NoError ? setupError : stateNotReadYet;
	if (setupError == NoError)
		InitPaletteSettings();
}

void VelmoraPalette::TakeState(const CoveringSettings& loaded)
{
	settings = loaded;
	if (ErrCode error = settings.CopyResult(); error != NoError) {
		// Part of a kind was copied: the palette holds no whole state any more.
		kindsInitialised = false;
		LeaveStateUnread(error);
		return;
	}
	unreadStateError = NoError;
	SyncPaletteToCovSettings();
	InitKinds();
}

void VelmoraPalette::InitPaletteSettings()
{
	API_Guid object = APINULLGuid;
	GSHandle content = nullptr;
	HandleGuard<GSHandle> releaseContent(content);
	ErrCode error = FindStoredState(object);
	if (error == NoError && object == APINULLGuid) {
		ShowClearedState();
		unreadStateError = NoError;
		return;
	}
	if (error == NoError)
		error = ACAPI_AddOnObject_GetObjectContent(object, nullptr, &content);
	if (error != NoError) {
		LeaveStateUnread(error);
		return;
	}
	PaletteSettings stored;
	if (error = ReadStoredState(content, stored); error != NoError) {
		ShowStateNotTaken(error);
		// What cannot be read is overwritten by the next store.
		unreadStateError = NoError;
		return;
	}
	TakeState(stored.coveringSettings);
}

ErrCode VelmoraPalette::StorePaletteSettings()
{
	if (unreadStateError != NoError)
		return unreadStateError;
	PaletteSettings stored;
	stored.coveringSettings = settings;
	if (ErrCode error = stored.coveringSettings.CopyResult(); error != NoError)
		return error;
	GS::MemoryOChannel32 channel;
	if (ErrCode error = stored.Write(channel); error != NoError)
		return error;
	GSHandle content = nullptr;
	HandleGuard<GSHandle> releaseContent(content);
	// A failed copy leaves no content, which the host refuses below.
	BMPtrToHandle(channel.GetDestination(), &content, static_cast<GSSize>(channel.GetDataSize()));
	API_Guid object = APINULLGuid;
	if (ErrCode error = FindStoredState(object); error != NoError)
		return error;
	if (object == APINULLGuid)
		return ACAPI_AddOnObject_CreateClientOnlyObject(ADDON_OBJECT_NAME, content, &object);
	return ACAPI_AddOnObject_ModifyObject(object, nullptr, content);
}
