// Lookups shared by the stand-in's property, classification, category, tool
// and favorite functions.
#pragma once

#include "Sim/API/Project.hpp"

namespace Sim {

// Where the properties, classification items and category values of an
// element or of a tool's default element live, and the element type that
// decides which properties and categories it can hold.
struct PCCTarget {
	StoredPCC* pcc;
	API_ElemTypeID type;
};

// APIERR_BADID for an unknown element.
GSErrCode FindElementTarget(const API_Guid& element, PCCTarget& target);
// APIERR_BADELEMENTTYPE for a type without a tool.
GSErrCode FindToolTarget(const API_ElemType& type, PCCTarget& target);
StoredTool* FindTool(const API_ElemType& type);

// An empty list of types stands for every type.
bool AppliesTo(const std::vector<API_ElemTypeID>& types, API_ElemTypeID type);

// A new element starts with the default classification items of its type.
void ReceiveToolDefaults(const API_Element& element);

// Fills the reset project with what every project of the host holds.
void BuildDefaultProject();

} // namespace Sim
