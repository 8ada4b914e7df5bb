// Equality of the settings records and of the host records they hold, as the
// persistence self-tests compare them: field by field, with floating-point
// values equal only when neither is not-a-number.
#pragma once

#include "API/Memo.hpp"
#include "API/Properties.hpp"
#include "CoveringSettings.hpp"

// The same number of parameter records, each pair equal.
bool operator==(const ParamsMemo& left, const ParamsMemo& right);
// Every field of the three kinds and the run-wide switches.
bool operator==(const CoveringSettings& left, const CoveringSettings& right);

// Compares the header's element type, then the record of that type; only the
// types 0 (header only), 1 (wall) and 8 (slab) are known: any other throws
// std::runtime_error("NOT IMPLEMENTED!").
bool operator==(const API_Element& left, const API_Element& right);
bool operator==(const API_Elem_Head& left, const API_Elem_Head& right);
bool operator==(const API_WallType& left, const API_WallType& right);
bool operator==(const API_SlabType& left, const API_SlabType& right);
bool operator==(const API_PropertyDefinition& left, const API_PropertyDefinition& right);
bool operator==(const API_PropertyValue& left, const API_PropertyValue& right);
bool operator==(const API_SingleEnumerationVariant& left, const API_SingleEnumerationVariant& right);
// Values by their stored kind; the integer-like types compare their values
// truncated to whole numbers.
bool operator==(const API_AddParType& left, const API_AddParType& right);
