// Builds and reads element settings of a test project: property values and
// category records, through the host's control interface.
#pragma once

#include <ostream>
#include <string>

#include "HostControl.hpp"

inline void PrintTo(const API_Guid& guid, std::ostream* out)
{
	*out << APIGuidToString(guid).ToCStr().Get();
}

namespace SettingsBuilder {

// A property record that sets the string property to text.
API_Property StringValue(const API_Guid& property, const std::string& text);
// The text set on the element, or absent when the element holds the default.
std::optional<std::string> ElementText(const API_Guid& element, const API_Guid& property);

// Zeroed records that name a category and one of its values.
API_ElemCategory CategoryRecord(const API_Guid& category);
API_ElemCategoryValue CategoryValueRecord(const API_Guid& category, const API_Guid& value);

} // namespace SettingsBuilder
