#include "SettingsEquality.hpp"

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "GS/Memory.hpp"
#include "HostRecordStream.hpp"

namespace {

constexpr USize TextBlockUnits = 256;

// Not-a-number is equal to nothing, itself included.
bool SameReal(double left, double right)
{
	return !(left < right) && !(left > right) && !std::isnan(left) && !std::isnan(right);
}

// Compared as whole numbers; truncating in floating point keeps values beyond
// the 32-bit range and not-a-number well defined.
bool SameWholeNumber(double left, double right)
{
	return SameReal(std::trunc(left), std::trunc(right));
}

bool SameCoord(const API_Coord& left, const API_Coord& right)
{
	return SameReal(left.x, right.x) && SameReal(left.y, right.y);
}

// A text block compares up to its terminating zero, and never past its end
// when damaged data left it without one.
bool SameText(const GS::UniChar* left, const GS::UniChar* right)
{
	for (USize i = 0; i < TextBlockUnits; ++i) {
		if (left[i] != right[i])
			return false;
		if (left[i] == 0)
			return true;
	}
	return true;
}

template <typename T, typename Same> bool SameItems(const GS::Array<T>& left, const GS::Array<T>& right, Same same)
{
	if (left.GetSize() != right.GetSize())
		return false;
	for (UIndex i = 0; i < left.GetSize(); ++i) {
		if (!same(left[i], right[i]))
			return false;
	}
	return true;
}

bool SameVariant(const API_Variant& left, const API_Variant& right)
{
	if (left.type != right.type)
		return false;
	switch (left.type) {
	case API_PropertyUndefinedValueType:
		return true;
	case API_PropertyIntegerValueType:
		return left.intValue == right.intValue;
	case API_PropertyRealValueType:
		return SameReal(left.doubleValue, right.doubleValue);
	case API_PropertyStringValueType:
		return left.uniStringValue == right.uniStringValue;
	case API_PropertyBooleanValueType:
		return left.boolValue == right.boolValue;
	case API_PropertyGuidValueType:
		return left.guidValue == right.guidValue;
	}
	return false;
}

bool SameArrayValue(GSConstHandle left, GSConstHandle right)
{
	GSSize size = BMGetHandleSize(left);
	return size == BMGetHandleSize(right) && (size == 0 || std::memcmp(*left, *right, size) == 0);
}

bool IsRealValuedParamType(Int32 typeID)
{
	return typeID == APIParT_Length || typeID == APIParT_Angle || typeID == APIParT_RealNum || typeID == APIParT_ColRGB;
}

// Both records have the same type code and type modifier.
bool SameParamValue(const API_AddParType& left, const API_AddParType& right)
{
	switch (GetParamValueKind(left)) {
	case ParamValueKind::Real:
		return IsRealValuedParamType(left.typeID) ? SameReal(left.value.real, right.value.real)
		                                          : SameWholeNumber(left.value.real, right.value.real);
	case ParamValueKind::Text:
		return SameText(left.value.uStr, right.value.uStr);
	case ParamValueKind::Nothing:
		return true;
	case ParamValueKind::ArrayBytes:
		return SameArrayValue(left.value.array, right.value.array);
	case ParamValueKind::Unsupported:
		break;
	}
	return false;
}

// Both absent, or both present with equal values.
template <typename T> bool SameOptional(const GS::Optional<T>& left, const GS::Optional<T>& right)
{
	if (left.HasValue() != right.HasValue())
		return false;
	return !left.HasValue() || *left == *right;
}

bool SameProperty(const API_Property& left, const API_Property& right)
{
	return left.definition == right.definition && left.isDefault == right.isDefault && left.status == right.status &&
	       left.value == right.value;
}

bool SameCategoryValue(const API_ElemCategoryValue& left, const API_ElemCategoryValue& right)
{
	return left.guid == right.guid && left.category.guid == right.category.guid &&
	       left.category.categoryID == right.category.categoryID && SameText(left.category.name, right.category.name) &&
	       SameText(left.name, right.name) && left.usableAsCriteria == right.usableAsCriteria &&
	       left.usableAsPropertyFilter == right.usableAsPropertyFilter;
}

} // namespace

bool operator==(const ParamsMemo& left, const ParamsMemo& right)
{
	USize count = left.GetParamCount();
	if (count != right.GetParamCount())
		return false;
	for (USize i = 0; i < count; ++i) {
		if (!((*left.elementMemo.params)[i] == (*right.elementMemo.params)[i]))
			return false;
	}
	return true;
}

bool ElementCovSettings::operator==(const ElementCovSettings& other) const
{
	return SameOptional(memo, other.memo) && enabled == other.enabled && toolElement == other.toolElement &&
	       SameItems(properties, other.properties, SameProperty) && classifications == other.classifications &&
	       SameItems(categoryValues, other.categoryValues, SameCategoryValue) && useFavorite == other.useFavorite &&
	       favoriteName == other.favoriteName;
}

bool operator==(const CoveringSettings& left, const CoveringSettings& right)
{
	const ElementCovSettings& leftWall = left.wall;
	const ElementCovSettings& leftCeiling = left.ceiling;
	const ElementCovSettings& leftFloor = left.floor;
	return leftWall == right.wall && left.wall.columnCoverings == right.wall.columnCoverings &&
	       left.wall.innerContours == right.wall.innerContours && left.wall.doorHoles == right.wall.doorHoles &&
	       left.wall.windowHoles == right.wall.windowHoles && leftCeiling == right.ceiling &&
	       left.ceiling.insets == right.ceiling.insets && leftFloor == right.floor &&
	       left.floor.insets == right.floor.insets && left.timestampProperty == right.timestampProperty &&
	       left.showSummary == right.showSummary;
}

bool operator==(const API_Element& left, const API_Element& right)
{
	if (left.header.type != right.header.type)
		return false;
	switch (left.header.type.typeID) {
	case API_ZombieElemID:
		return left.header == right.header;
	case API_WallID:
		return left.wall == right.wall;
	case API_SlabID:
		return left.slab == right.slab;
	default:
		throw std::runtime_error("NOT IMPLEMENTED!");
	}
}

bool operator==(const API_Elem_Head& left, const API_Elem_Head& right)
{
	return left.type == right.type && left.guid == right.guid && left.floorInd == right.floorInd &&
	       left.layer == right.layer && left.groupGuid == right.groupGuid && left.modiStamp == right.modiStamp;
}

bool operator==(const API_WallType& left, const API_WallType& right)
{
	return left.head == right.head && left.zoneRel == right.zoneRel &&
	       left.buildingMaterial == right.buildingMaterial && SameCoord(left.begC, right.begC) &&
	       SameCoord(left.endC, right.endC) && SameReal(left.angle, right.angle) &&
	       SameReal(left.thickness, right.thickness) && SameReal(left.height, right.height) &&
	       SameReal(left.bottomOffset, right.bottomOffset) && SameReal(left.topOffset, right.topOffset) &&
	       left.relativeTopStory == right.relativeTopStory && left.flipped == right.flipped;
}

bool operator==(const API_SlabType& left, const API_SlabType& right)
{
	return left.head == right.head && SameReal(left.thickness, right.thickness) && SameReal(left.level, right.level) &&
	       left.referencePlaneLocation == right.referencePlaneLocation &&
	       left.buildingMaterial == right.buildingMaterial && left.poly.nCoords == right.poly.nCoords &&
	       left.poly.nSubPolys == right.poly.nSubPolys && left.poly.nArcs == right.poly.nArcs;
}

bool operator==(const API_PropertyDefinition& left, const API_PropertyDefinition& right)
{
	return left.definitionType == right.definitionType && left.guid == right.guid &&
	       left.groupGuid == right.groupGuid && left.name == right.name && left.description == right.description &&
	       left.collectionType == right.collectionType && left.valueType == right.valueType &&
	       left.measureType == right.measureType && left.defaultValue.basicValue == right.defaultValue.basicValue &&
	       left.defaultValue.propertyExpressions == right.defaultValue.propertyExpressions &&
	       left.defaultValue.hasExpression == right.defaultValue.hasExpression &&
	       left.availability == right.availability && left.possibleEnumValues == right.possibleEnumValues &&
	       left.canValueBeEditable == right.canValueBeEditable;
}

bool operator==(const API_PropertyValue& left, const API_PropertyValue& right)
{
	return SameVariant(left.singleVariant.variant, right.singleVariant.variant) &&
	       SameItems(left.listVariant.variants, right.listVariant.variants, SameVariant) &&
	       left.variantStatus == right.variantStatus;
}

bool operator==(const API_SingleEnumerationVariant& left, const API_SingleEnumerationVariant& right)
{
	return SameVariant(left.keyVariant, right.keyVariant) && SameVariant(left.displayVariant, right.displayVariant) &&
	       SameOptional(left.nonLocalizedValue, right.nonLocalizedValue);
}

bool operator==(const API_AddParType& left, const API_AddParType& right)
{
	return left.typeID == right.typeID && left.typeMod == right.typeMod && left.dim1 == right.dim1 &&
	       left.dim2 == right.dim2 && SameParamValue(left, right) && left.index == right.index &&
	       left.flags == right.flags;
}
