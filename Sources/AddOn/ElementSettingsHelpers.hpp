// Element settings exchanged with the host: favorites with their properties,
// classifications and category values, the tools' defaults, the lists of a
// favorite applied to one element, and the default library parts of holes.
#pragma once

#include "API/Favorites.hpp"
#include "CoveringSettings.hpp"
#include "ErrorCodes.hpp"
#include "GS/Optional.hpp"
#include "ParamsMemo.hpp"

using ClassificationList = GS::Array<GS::Pair<API_Guid, API_Guid>>; // (system, item)

// A request for the named favorite that asks for the memo and for the lists
// of properties, classifications and category values as told.
API_Favorite FavoriteRequest(const GS::UniString& name, bool withMemo, bool withPCC);

// Loads the favorite with its lists. A present memo receives the favorite's
// memo handles (it stays present, and empty when the favorite has none); an
// absent memo asks the host for none. On failure every output stays as it was.
ErrCode LoadFavoriteWithPCC(const GS::UniString& name, API_Element& element, GS::Optional<ParamsMemo>& memo,
                            GS::Array<API_Property>& properties, ClassificationList& classifications,
                            GS::Array<API_ElemCategoryValue>& categoryValues);
// The same into the kind's toolElement, memo and lists: from the favorite
// settings.favoriteName, or from the favorite name with favoriteName left alone.
ErrCode LoadFavoriteWithPCC(ElementCovSettings& settings);
ErrCode LoadFavoriteWithPCC(ElementCovSettings& settings, const GS::UniString& name);

// Reads the tool defaults of the type that element's header holds, with the
// default values of the given categories; a category without a readable
// default is left out. A failure may leave the outputs partly filled.
ErrCode GetCurrentToolDefaults(const API_ElemType& type, API_Element& element, GS::Optional<ParamsMemo>& memo,
                               GS::Array<API_Property>& properties, ClassificationList& classifications,
                               GS::Array<API_ElemCategoryValue>& categoryValues,
                               const GS::Array<API_ElemCategory>& categories);

// Makes the settings the tool defaults of the type: the whole record, the memo
// when present, exactly the given classification items, the properties and
// the category values. What changed before a failure stays changed.
ErrCode SetToolDefaults(const API_ElemType& type, API_Element& element, GS::Optional<ParamsMemo>& memo,
                        const GS::Array<API_Property>& properties, const ClassificationList& classifications,
                        const GS::Array<API_ElemCategoryValue>& categoryValues);

// Applies the lists that the favorite carries to the element; oldItems are the
// classification items to take off first (a new element's defaults).
ErrCode SetClassPropCatOfElement(API_Guid element, const API_Favorite& favorite, ClassificationList oldItems);

// The default library part of the door (5) or window (4) tool, for holes: its
// library index, and its default parameters in place of memo's parameters.
ErrCode GetDefaultLibPart(API_ElemTypeID type, API_ElementMemo& memo, int& libInd);
