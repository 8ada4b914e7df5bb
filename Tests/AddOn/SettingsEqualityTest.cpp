#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostTest.hpp"
#include "ModelBuilder.hpp"
#include "SettingsEquality.hpp"
#include "SettingsSamples.hpp"

namespace {

using SettingsSamples::ArrayParam;
using SettingsSamples::ParamRecord;
using SettingsSamples::RealParam;
using SettingsSamples::TextParam;

class SettingsEqualityTest : public HostTest {};

const double notANumber = std::numeric_limits<double>::quiet_NaN();

HostControl::Param Changed(HostControl::Param param, const std::function<void(API_AddParType&)>& change)
{
	change(param.record);
	return param;
}

struct ParamPair {
	const char* name;
	HostControl::Param left;
	HostControl::Param right;
	bool equal;
};

TEST_F(SettingsEqualityTest, ParametersCompareByTheirStoredKind)
{
	HostControl::Param unterminated = TextParam(APIParT_CString, "");
	for (GS::UniChar& unit : unterminated.record.value.uStr)
		unit = u'x';
	HostControl::Param garbageAfterText = TextParam(APIParT_Title, "Oak");
	garbageAfterText.record.value.uStr[10] = u'!';

	const ParamPair pairs[] = {
	    {"integers by whole value", RealParam(APIParT_Integer, 2.2), RealParam(APIParT_Integer, 2.7), true},
	    {"pens by whole value", RealParam(APIParT_PenCol, -3.9), RealParam(APIParT_PenCol, -3.1), true},
	    {"integers of other whole values", RealParam(APIParT_Integer, 2.7), RealParam(APIParT_Integer, 3.0), false},
	    {"lengths exactly", RealParam(APIParT_Length, 2.2), RealParam(APIParT_Length, 2.7), false},
	    {"colours exactly", RealParam(APIParT_ColRGB, 0.5), RealParam(APIParT_ColRGB, 0.5), true},
	    {"integer not-a-number", RealParam(APIParT_Integer, notANumber), RealParam(APIParT_Integer, notANumber), false},
	    {"length not-a-number", RealParam(APIParT_Length, notANumber), RealParam(APIParT_Length, notANumber), false},
	    {"integers beyond 32 bits", RealParam(APIParT_Integer, 3e10), RealParam(APIParT_Integer, 3e10 + 0.5), true},
	    {"integers at infinity", RealParam(APIParT_Boolean, HUGE_VAL), RealParam(APIParT_Boolean, -HUGE_VAL), false},
	    {"texts up to their end", TextParam(APIParT_Title, "Oak"), garbageAfterText, true},
	    {"other texts", TextParam(APIParT_CString, "Oak"), TextParam(APIParT_CString, "Ash"), false},
	    {"texts without an end", unterminated, unterminated, true},
	    {"separators hold no value", RealParam(APIParT_Separator, 1.0), RealParam(APIParT_Separator, 2.0), true},
	    {"the host cache is ignored", RealParam(APIParT_Length, 1.0),
	     Changed(RealParam(APIParT_Length, 1.0), [](API_AddParType& p) { p.valueCache = 99; }), true},
	    {"names are ignored", RealParam(APIParT_Length, 1.0),
	     Changed(RealParam(APIParT_Length, 1.0), [](API_AddParType& p) { p.name[0] = 'x'; }), true},
	    {"other index", RealParam(APIParT_Length, 1.0),
	     Changed(RealParam(APIParT_Length, 1.0), [](API_AddParType& p) { p.index = 8; }), false},
	    {"other flags", RealParam(APIParT_Length, 1.0),
	     Changed(RealParam(APIParT_Length, 1.0), [](API_AddParType& p) { p.flags = 1; }), false},
	    {"other dimension", RealParam(APIParT_Length, 1.0),
	     Changed(RealParam(APIParT_Length, 1.0), [](API_AddParType& p) { p.dim2 = 5; }), false},
	    {"other type", RealParam(APIParT_Length, 1.0), RealParam(APIParT_Angle, 1.0), false},
	    {"array values alike", ArrayParam(APIParT_RealNum, {1, 2, 3}), ArrayParam(APIParT_RealNum, {1, 2, 3}), true},
	    {"array values apart", ArrayParam(APIParT_RealNum, {1, 2, 3}), ArrayParam(APIParT_RealNum, {1, 2, 4}), false},
	    {"array values of other sizes", ArrayParam(APIParT_RealNum, {1, 2}), ArrayParam(APIParT_RealNum, {1, 2, 0}),
	     false},
	    {"arrays without values",
	     {ParamRecord(APIParT_Length, API_ParArray), std::nullopt},
	     {ParamRecord(APIParT_Length, API_ParArray), std::nullopt},
	     true},
	    {"empty and missing array values",
	     ArrayParam(APIParT_Length, {}),
	     {ParamRecord(APIParT_Length, API_ParArray), std::nullopt},
	     true},
	    {"separator arrays",
	     {ParamRecord(APIParT_Separator, API_ParArray), std::nullopt},
	     {ParamRecord(APIParT_Separator, API_ParArray), std::nullopt},
	     false},
	    {"unknown modifier", RealParam(APIParT_Length, 1.0),
	     Changed(RealParam(APIParT_Length, 1.0), [](API_AddParType& p) { p.typeMod = 1; }), false},
	    {"unknown type", RealParam(static_cast<API_AddParID>(19), 1.0), RealParam(static_cast<API_AddParID>(19), 1.0),
	     false},
	};
	for (const ParamPair& pair : pairs) {
		SCOPED_TRACE(pair.name);
		ParamsMemo memo;
		SettingsSamples::FillParams(memo, {pair.left, pair.right});
		const API_AddParType& left = (*memo.elementMemo.params)[0];
		const API_AddParType& right = (*memo.elementMemo.params)[1];
		EXPECT_EQ(left == right, pair.equal);
		EXPECT_EQ(right == left, pair.equal);
	}
}

struct ElementPair {
	const char* name;
	API_Element left;
	API_Element right;
	bool equal;
};

API_Element Wall(const std::function<void(API_WallType&)>& change = nullptr)
{
	API_Element element = ModelBuilder::NewRecord(API_WallID);
	element.wall.thickness = 0.2;
	if (change)
		change(element.wall);
	return element;
}

API_Element Slab(const std::function<void(API_SlabType&)>& change = nullptr)
{
	API_Element element = ModelBuilder::NewRecord(API_SlabID);
	element.slab.level = 2.5;
	if (change)
		change(element.slab);
	return element;
}

TEST_F(SettingsEqualityTest, ElementsCompareByTheirTypesRecord)
{
	API_Element zombie = ModelBuilder::NewRecord(API_ZombieElemID);
	API_Element otherLayer = zombie;
	otherLayer.header.layer = 2;
	const ElementPair pairs[] = {
	    {"empty records", zombie, zombie, true},
	    {"headers apart", zombie, otherLayer, false},
	    {"walls alike", Wall(), Wall(), true},
	    {"wall thickness", Wall(), Wall([](API_WallType& w) { w.thickness = 0.3; }), false},
	    {"wall end point", Wall(), Wall([](API_WallType& w) { w.endC.y = 1.0; }), false},
	    {"wall flip", Wall(), Wall([](API_WallType& w) { w.flipped = 1; }), false},
	    {"wall not-a-number", Wall([](API_WallType& w) { w.height = notANumber; }),
	     Wall([](API_WallType& w) { w.height = notANumber; }), false},
	    {"wall header", Wall(), Wall([](API_WallType& w) { w.head.floorInd = 1; }), false},
	    {"slabs alike", Slab(), Slab(), true},
	    {"slab reference plane", Slab(),
	     Slab([](API_SlabType& s) { s.referencePlaneLocation = APISlabRefPlane_CoreTop; }), false},
	    {"slab polygon", Slab(), Slab([](API_SlabType& s) { s.poly.nArcs = 1; }), false},
	    {"wall and slab", Wall(), Slab(), false},
	    {"wall and door", Wall(), ModelBuilder::NewRecord(API_DoorID), false},
	};
	for (const ElementPair& pair : pairs) {
		SCOPED_TRACE(pair.name);
		EXPECT_EQ(pair.left == pair.right, pair.equal);
	}
}

TEST_F(SettingsEqualityTest, ElementsOfOtherTypesAreNotComparable)
{
	for (API_ElemTypeID type : {API_DoorID, API_WindowID, API_ObjectID, API_ZoneID, API_ColumnID}) {
		API_Element element = ModelBuilder::NewRecord(type);
		try {
			static_cast<void>(element == element);
			ADD_FAILURE() << "type " << type << " compared";
		} catch (const std::runtime_error& error) {
			EXPECT_STREQ(error.what(), "NOT IMPLEMENTED!");
		}
	}
}

API_Variant Variant(API_VariantType type, const std::function<void(API_Variant&)>& set = nullptr)
{
	API_Variant variant;
	variant.type = type;
	if (set)
		set(variant);
	return variant;
}

TEST_F(SettingsEqualityTest, PropertyValuesCompareTheMemberOfTheirType)
{
	struct VariantPair {
		const char* name;
		API_Variant left;
		API_Variant right;
		bool equal;
	};
	const VariantPair pairs[] = {
	    {"undefined ignores its members", Variant(API_PropertyUndefinedValueType),
	     Variant(API_PropertyUndefinedValueType, [](API_Variant& v) { v.intValue = 4; }), true},
	    {"integers", Variant(API_PropertyIntegerValueType),
	     Variant(API_PropertyIntegerValueType, [](API_Variant& v) { v.intValue = 4; }), false},
	    {"integers ignore other members", Variant(API_PropertyIntegerValueType),
	     Variant(API_PropertyIntegerValueType, [](API_Variant& v) { v.uniStringValue = "x"; }), true},
	    {"reals not-a-number", Variant(API_PropertyRealValueType, [](API_Variant& v) { v.doubleValue = notANumber; }),
	     Variant(API_PropertyRealValueType, [](API_Variant& v) { v.doubleValue = notANumber; }), false},
	    {"strings", Variant(API_PropertyStringValueType, [](API_Variant& v) { v.uniStringValue = "a"; }),
	     Variant(API_PropertyStringValueType, [](API_Variant& v) { v.uniStringValue = "b"; }), false},
	    {"booleans", Variant(API_PropertyBooleanValueType),
	     Variant(API_PropertyBooleanValueType, [](API_Variant& v) { v.boolValue = true; }), false},
	    {"guids", Variant(API_PropertyGuidValueType),
	     Variant(API_PropertyGuidValueType, [](API_Variant& v) { v.guidValue.time_low = 1; }), false},
	    {"types apart", Variant(API_PropertyIntegerValueType), Variant(API_PropertyBooleanValueType), false},
	    {"unknown types", Variant(static_cast<API_VariantType>(6)), Variant(static_cast<API_VariantType>(6)), false},
	};
	for (const VariantPair& pair : pairs) {
		SCOPED_TRACE(pair.name);
		API_PropertyValue left;
		left.singleVariant.variant = pair.left;
		API_PropertyValue right;
		right.singleVariant.variant = pair.right;
		EXPECT_EQ(left == right, pair.equal);
		API_PropertyValue leftList;
		leftList.listVariant.variants = {API_Variant(), pair.left};
		API_PropertyValue rightList;
		rightList.listVariant.variants = {API_Variant(), pair.right};
		EXPECT_EQ(leftList == rightList, pair.equal);
	}
}

struct SettingsChange {
	const char* name;
	std::function<void(CoveringSettings&)> change;
};

TEST_F(SettingsEqualityTest, EveryFieldOfTheSettingsCounts)
{
	const SettingsChange changes[] = {
	    {"wall switch", [](CoveringSettings& s) { s.wall.enabled = false; }},
	    {"wall element", [](CoveringSettings& s) { s.wall.toolElement.wall.height = 1.0; }},
	    {"property value",
	     [](CoveringSettings& s) { s.wall.properties[0].value.singleVariant.variant.uniStringValue = "Red"; }},
	    {"property status", [](CoveringSettings& s) { s.wall.properties[0].status = API_Property_NotEvaluated; }},
	    {"property default flag", [](CoveringSettings& s) { s.wall.properties[0].isDefault = false; }},
	    {"property definition", [](CoveringSettings& s) { s.wall.properties[0].definition.name = "Colour"; }},
	    {"enumeration text",
	     [](CoveringSettings& s) { s.wall.properties[0].definition.possibleEnumValues[0].nonLocalizedValue.Clear(); }},
	    {"property expressions",
	     [](CoveringSettings& s) { s.wall.properties[0].definition.defaultValue.propertyExpressions.Clear(); }},
	    {"one property less", [](CoveringSettings& s) { s.wall.properties.DeleteLast(); }},
	    {"classification item", [](CoveringSettings& s) { s.wall.classifications[0].second = APINULLGuid; }},
	    {"category value name", [](CoveringSettings& s) { s.wall.categoryValues[0].name[0] = u'e'; }},
	    {"category number", [](CoveringSettings& s) { s.wall.categoryValues[0].category.categoryID = {}; }},
	    {"category criteria switch", [](CoveringSettings& s) { s.wall.categoryValues[0].usableAsCriteria = false; }},
	    {"favorite name", [](CoveringSettings& s) { s.wall.favoriteName = "Plaster 20"; }},
	    {"favorite switch", [](CoveringSettings& s) { s.wall.useFavorite = true; }},
	    {"column coverings", [](CoveringSettings& s) { s.wall.columnCoverings = false; }},
	    {"inner contours", [](CoveringSettings& s) { s.wall.innerContours = false; }},
	    {"door hole parameter", [](CoveringSettings& s) { (*s.wall.doorHoles.memo->elementMemo.params)[0].dim1 = 9; }},
	    {"door hole parameters dropped", [](CoveringSettings& s) { s.wall.doorHoles.memo->Dispose(); }},
	    {"window hole memo absent", [](CoveringSettings& s) { s.wall.windowHoles.memo.Clear(); }},
	    {"door hole memo absent", [](CoveringSettings& s) { s.wall.doorHoles.memo.Clear(); }},
	    {"ceiling insets", [](CoveringSettings& s) { s.ceiling.insets = false; }},
	    {"ceiling level", [](CoveringSettings& s) { s.ceiling.toolElement.slab.level = 0.1; }},
	    {"floor insets", [](CoveringSettings& s) { s.floor.insets = true; }},
	    {"floor favorite", [](CoveringSettings& s) { s.floor.favoriteName.Clear(); }},
	    {"timestamp property", [](CoveringSettings& s) { s.timestampProperty = APINULLGuid; }},
	    {"summary", [](CoveringSettings& s) { s.showSummary = false; }},
	};
	const CoveringSettings original = SettingsSamples::RichSettings();
	EXPECT_TRUE(original == SettingsSamples::RichSettings());
	for (const SettingsChange& c : changes) {
		SCOPED_TRACE(c.name);
		CoveringSettings changed = original;
		c.change(changed);
		EXPECT_FALSE(changed == original);
		EXPECT_FALSE(original == changed) << "equality is symmetric";
	}
}

} // namespace
