// Element IDs of coverings, kept in the host's built-in "ElementID" property.
#include <algorithm>

#include "API/Properties.hpp"
#include "CoveringIdentity.hpp"
#include "GS/ValueConversion.hpp"
#include "PropertyHelpers.hpp"

namespace {

const GS::UniString separator(" - ");

// Reads the element's ElementID property, so that only its text changes.
ErrCode ReadElementId(const API_Guid& element, API_Property& property)
{
	API_Guid propertyGuid = APINULLGuid;
	if (ErrCode error = GetElemIdPropertyGuid(propertyGuid); error != NoError)
		return error;
	return ACAPI_Element_GetPropertyValue(element, propertyGuid, property);
}

ErrCode WriteElementId(const API_Guid& element, const GS::UniString& text)
{
	API_Property property;
	if (ErrCode error = ReadElementId(element, property); error != NoError)
		return error;
	property.value.singleVariant.variant.uniStringValue = text;
	return ACAPI_Element_SetProperty(element, property);
}

GS::UniString NumberText(UInt32 number)
{
	char buffer[256];
	return GS::valuetostr(number, buffer, sizeof(buffer)) ? GS::UniString(buffer) : GS::UniString();
}

} // namespace

GS::UniString ZoneNumberText(const API_Element& zone)
{
	const GS::UniChar* text = zone.zone.roomNoStr;
	const std::size_t capacity = sizeof(zone.zone.roomNoStr) / sizeof(GS::UniChar);
	return GS::UniString(text, static_cast<USize>(std::find(text, text + capacity, 0) - text));
}

ErrCode SetCovElementId(const API_Guid& element, const GS::UniString& zoneNumber, UInt32 number)
{
	return WriteElementId(element, "COV" + separator + "Z" + zoneNumber + separator + NumberText(number));
}

ErrCode SetCovElementId(const API_Guid& element, const GS::UniString& zoneNumber, SlabCovType type)
{
	const char* kind = IsCeilingCovering(type) ? "Ceiling" : "Floor";
	return WriteElementId(element, GS::UniString::Printf("COV - Z%s - %s", zoneNumber.ToCStr().Get(), kind));
}

ErrCode GetCovElementIdNr(const API_Guid& element, UInt32& number)
{
	API_Property property;
	if (ErrCode error = ReadElementId(element, property); error != NoError)
		return error;
	GS::ArrayFB<GS::UniString, 8> parts;
	if (property.value.singleVariant.variant.uniStringValue.Split(separator, &parts) != 3)
		return COVERR_ID;
	return GS::strtovalue(parts[2], number, GS::ConvertWhole, GS::WhiteSpaceForbidden) ? NoError : COVERR_ID;
}
