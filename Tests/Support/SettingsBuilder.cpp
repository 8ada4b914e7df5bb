#include "SettingsBuilder.hpp"

#include <cstring>

namespace SettingsBuilder {

API_Property StringValue(const API_Guid& property, const std::string& text)
{
	API_Property record;
	record.definition.guid = property;
	record.status = API_Property_HasValue;
	record.value.variantStatus = API_VariantStatusNormal;
	record.value.singleVariant.variant.type = API_PropertyStringValueType;
	record.value.singleVariant.variant.uniStringValue = text;
	return record;
}

std::optional<std::string> ElementText(const API_Guid& element, const API_Guid& property)
{
	HostControl::PCC pcc = HostControl::GetElementPCC(element);
	auto found = pcc.propertyValues.find(property);
	if (found == pcc.propertyValues.end())
		return std::nullopt;
	return found->second.singleVariant.variant.uniStringValue.ToCStr().Get();
}

API_ElemCategory CategoryRecord(const API_Guid& category)
{
	API_ElemCategory record;
	std::memset(static_cast<void*>(&record), 0, sizeof(record));
	record.guid = category;
	return record;
}

API_ElemCategoryValue CategoryValueRecord(const API_Guid& category, const API_Guid& value)
{
	API_ElemCategoryValue record;
	std::memset(static_cast<void*>(&record), 0, sizeof(record));
	record.guid = value;
	record.category = CategoryRecord(category);
	return record;
}

} // namespace SettingsBuilder
