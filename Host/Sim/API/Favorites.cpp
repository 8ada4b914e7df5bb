#include <algorithm>
#include <cstring>

#include "API/Favorites.hpp"
#include "Sim/API/Project.hpp"
#include "Sim/Control/Faults.hpp"

namespace {

const Sim::StoredFavorite* FindFavorite(const GS::UniString& name)
{
	const auto& favorites = Sim::TheProject().favorites;
	auto found = std::find_if(favorites.begin(), favorites.end(),
	                          [&](const Sim::StoredFavorite& favorite) { return favorite.name == name; });
	return found == favorites.end() ? nullptr : &*found;
}

// A requested list receives the favorite's list, or stays empty when the
// favorite has none.
template <typename T>
void FillRequested(GS::Optional<GS::Array<T>>& requested, const std::optional<std::vector<T>>& held)
{
	if (!requested.HasValue())
		return;
	requested->Clear();
	if (held.has_value()) {
		for (const T& item : *held)
			requested->Push(item);
	}
}

} // namespace

API_Favorite::API_Favorite(const GS::UniString& name) : name(name)
{
	std::memset(static_cast<void*>(&element), 0, sizeof(element));
}

GSErrCode ACAPI_Favorite_Get(API_Favorite* favorite)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Favorite_Get"); fault != NoError)
		return fault;
	if (favorite == nullptr)
		return APIERR_BADPARS;
	Sim::Host().lastFavoriteRequest =
	    Sim::FavoriteRequest{favorite->name, favorite->memo.HasValue(), favorite->properties.HasValue(),
	                         favorite->classifications.HasValue(), favorite->elemCategoryValues.HasValue()};
	const Sim::StoredFavorite* stored = FindFavorite(favorite->name);
	if (stored == nullptr)
		return APIERR_BADNAME;
	favorite->element = stored->element;
	if (favorite->memo.HasValue())
		Sim::HandOutMemo(stored->memo.value_or(Sim::StoredMemo()), APIMemoMask_All, &favorite->memo.Get());
	FillRequested(favorite->properties, stored->properties);
	FillRequested(favorite->classifications, stored->classifications);
	FillRequested(favorite->elemCategoryValues, stored->categoryValues);
	return NoError;
}

GSErrCode ACAPI_Favorite_GetNum(const API_ElemType& type, short* count, GS::Array<GS::UniString>* names)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Favorite_GetNum"); fault != NoError)
		return fault;
	GS::Array<GS::UniString> found;
	for (const Sim::StoredFavorite& favorite : Sim::TheProject().favorites) {
		if (favorite.element.header.type == type)
			found.Push(favorite.name);
	}
	if (count != nullptr)
		*count = static_cast<short>(found.GetSize());
	if (names != nullptr)
		*names = found;
	return NoError;
}
