#include "CoveringElementSource.hpp"

#include "CoveringIdentity.hpp"
#include "PropertyHelpers.hpp"

namespace {

// The add-on does not read story levels: a linked top counts 3 m per story.
constexpr double assumedStoryHeight = 3.0;

bool Has(SourceParts parts, SourceParts part)
{
	return (parts & part) != 0;
}

ErrCode NumberAndLinkToZone(const API_Guid& covering, const API_Element& zone, UInt32 number)
{
	if (ErrCode error = SetCovElementId(covering, ZoneNumberText(zone), number); error != NoError)
		return error;
	return ACAPI_ElementLink_Link(zone.header.guid, covering, LinkZoneCovering);
}

// The Element ID of a covering is the add-on's, and the update reads it back:
// a template's own value, applied after it, would overwrite it.
ErrCode LeaveOutElementId(GS::Optional<GS::Array<API_Property>>& properties)
{
	if (!properties.HasValue() || properties->IsEmpty())
		return NoError;
	API_Guid elementId = APINULLGuid;
	if (ErrCode error = GetElemIdPropertyGuid(elementId); error != NoError)
		return error;
	for (UIndex i = properties->GetSize(); i > 0; --i) {
		if ((*properties)[i - 1].definition.guid == elementId)
			properties->Delete(i - 1);
	}
	return NoError;
}

} // namespace

ElementSource::ElementSource(const ElementCovSettings& settings, SourceParts parts)
    : settings(settings), parts(parts),
      favorite(FavoriteRequest(settings.favoriteName, settings.useFavorite && Has(parts, SourceMemo),
                               Has(parts, SourcePCC))),
      releaseMemo(favorite)
{
}

ErrCode ElementSource::Fetch()
{
	if (settings.useFavorite) {
		ErrCode error = ACAPI_Favorite_Get(&favorite);
		return error != NoError && Has(parts, SourceElement) ? COVERR_FAV_UNAVAILABLE : error;
	}
	if (Has(parts, SourceMemo) && !settings.memo.HasValue())
		return COVERR_GENERAL;
	if (Has(parts, SourcePCC)) {
		favorite.properties.Get() = settings.properties;
		favorite.classifications.Get() = settings.classifications;
		favorite.elemCategoryValues.Get() = settings.categoryValues;
	}
	return NoError;
}

const API_Element& ElementSource::Template() const
{
	return settings.useFavorite ? favorite.element : settings.toolElement;
}

API_ElementMemo* ElementSource::Memo()
{
	if (!Has(parts, SourceMemo))
		return nullptr;
	if (settings.useFavorite)
		return &favorite.memo.Get();
	// The stored memo stays the settings' own; the host only copies from it.
	return const_cast<API_ElementMemo*>(&settings.memo.Get().elementMemo);
}

ErrCode GetDefaultClassificationItems(API_ElemTypeID type, ClassificationList& items)
{
	return ACAPI_Element_GetClassificationItemsDefault({type, APIVarId_Generic, APINULLGuid}, items);
}

ErrCode ElementSource::ApplyPCC(const GS::Array<API_Guid>& elements, const ClassificationList& defaults)
{
	if (parts == SourceElementAndPCC) {
		if (ErrCode error = LeaveOutElementId(favorite.properties); error != NoError)
			return error;
	}
	for (const API_Guid& element : elements) {
		if (ErrCode error = SetClassPropCatOfElement(element, favorite, defaults); error != NoError)
			return error;
	}
	return NoError;
}

ErrCode DeleteUnreached(const API_Guid& element, ErrCode error)
{
	ACAPI_Element_Delete({element});
	return error;
}

CovResult<API_Guid> MakeCoveringWall(API_Element covering, const API_Element& zone, const API_Guid& base, UInt32 number)
{
	API_WallType& wall = covering.wall;
	wall.zoneRel = APIZRel_None;
	wall.head.floorInd = zone.header.floorInd;
	if (wall.relativeTopStory != 0)
		wall.topOffset = (-assumedStoryHeight * wall.relativeTopStory + wall.bottomOffset) + wall.height;
	if (ErrCode error = ACAPI_Element_Create(&covering, nullptr); error != NoError)
		return CovError{error};
	const API_Guid& guid = covering.header.guid;
	if (ErrCode error = NumberAndLinkToZone(guid, zone, number); error != NoError)
		return CovError{DeleteUnreached(guid, error)};
	if (ErrCode error = MakeLinks({{base, guid, LinkElemCovering}, {guid, base, LinkCoveringElem}}); error != NoError)
		return CovError{error};
	return guid;
}
