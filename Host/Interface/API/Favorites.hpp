// Favorites (named element settings) and the tools' default settings.
#pragma once

#include "API/Memo.hpp"
#include "API/Properties.hpp"

// A favorite request: name it, make present (and empty) the optional parts
// wanted, and ACAPI_Favorite_Get fills the element and those parts.
struct API_Favorite {
	explicit API_Favorite(const GS::UniString& name = GS::UniString());

	GS::UniString name;
	API_Element element;
	GS::Optional<API_ElementMemo> memo; // its handles then belong to the receiver
	GS::Optional<GS::Array<API_Property>> properties;
	GS::Optional<GS::Array<GS::Pair<API_Guid, API_Guid>>> classifications;
	GS::Optional<GS::Array<API_ElemCategoryValue>> elemCategoryValues;
};

// APIERR_BADNAME when no favorite has the name. A requested list that the
// favorite lacks comes back empty, a requested memo without parts.
GSErrCode ACAPI_Favorite_Get(API_Favorite* favorite);
// The names of the favorites of one element type, in the host's order.
GSErrCode ACAPI_Favorite_GetNum(const API_ElemType& type, short* count, GS::Array<GS::UniString>* names);

// The tool settings of the element type in element's header.
GSErrCode ACAPI_Element_GetDefaults(API_Element* element, API_ElementMemo* memo);
// Changes the fields whose mask bytes are set (a null mask: none), never the
// element type; a memo replaces the tool's whole memo.
GSErrCode ACAPI_Element_ChangeDefaults(API_Element* element, API_ElementMemo* memo, const API_Element* mask);
