#include "Alerts.hpp"

#include "DG/Alerts.hpp"
#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"

namespace {

enum AlertTextIndex : Int32 {
	NoRoomsSelectedText = 1,
	CheckSettingsText = 4,
	FavUnavailableText = 6,
	FavUnavailableReasonText = 7,
	StoryLinkSettingsText = 8,
	DoubleAddText = 9,
	RoomStoryText = 10,
	UpdateInconsistencyText = 11,
	OthersProcessedText = 12,
	RemoveAndAddText = 13
};

GS::UniString AlertText(AlertTextIndex index)
{
	return RSGetIndString(ID_STR_ALERTS, index, ACAPI_GetOwnResModule(), 0);
}

void ShowError(AlertTextIndex main, const GS::UniString& detail)
{
	DG::ErrorAlert(AlertText(main), detail, "OK", "", "");
}

} // namespace

void AlertNoRoomsSelected()
{
	DG::InformationAlert(AlertText(NoRoomsSelectedText), "", "OK", "", "");
}

void ErrorFavUnavailable()
{
	ShowError(FavUnavailableText, AlertText(FavUnavailableReasonText) + "\n" + AlertText(CheckSettingsText));
}

void ErrorStoryLinkSettings()
{
	ShowError(StoryLinkSettingsText, AlertText(CheckSettingsText));
}

void ErrorDoubleAdd()
{
	ShowError(DoubleAddText, AlertText(OthersProcessedText));
}

void ErrorRoomStory()
{
	ShowError(RoomStoryText, AlertText(OthersProcessedText));
}

void ErrorUpdateInconsistency()
{
	ShowError(UpdateInconsistencyText, AlertText(RemoveAndAddText));
}
