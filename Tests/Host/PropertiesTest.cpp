#include "API/Properties.hpp"
#include "API/Commands.hpp"
#include "GSPrinters.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "UndoScope.hpp"

using namespace ModelBuilder;
using namespace SettingsBuilder;
using HostControl::Defaults;
using HostControl::ElemType;

namespace {

class Properties : public UndoScopeTest {};

API_Guid AddColumn()
{
	return HostControl::AddElement(NewRecord(API_ColumnID));
}

TEST_F(Properties, AnElementHasTheAvailablePropertiesOnly)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	API_Guid column = AddColumn();
	struct Case {
		API_Guid element;
		API_Guid property;
		GSErrCode expected;
	};
	for (const Case& c :
	     {Case{wall, Defaults().elementIdProperty, NoError}, Case{column, Defaults().elementIdProperty, NoError},
	      Case{wall, Defaults().finishCodeProperty, NoError},
	      Case{column, Defaults().finishCodeProperty, APIERR_BADPROPERTY},
	      Case{wall, Defaults().generalGroup, APIERR_BADPROPERTY},
	      Case{Defaults().lastRunProperty, Defaults().lastRunProperty, APIERR_BADID}}) {
		API_Property read;
		EXPECT_EQ(ACAPI_Element_GetPropertyValue(c.element, c.property, read), c.expected);
		EXPECT_EQ(ACAPI_Element_SetProperty(c.element, StringValue(c.property, "x")), c.expected);
	}
}

TEST_F(Properties, AValueReadsBackUntilItIsResetToDefault)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	API_Property read;
	ASSERT_EQ(ACAPI_Element_GetPropertyValue(wall, Defaults().lastRunProperty, read), NoError);
	EXPECT_TRUE(read.isDefault);
	EXPECT_EQ(read.definition.name, GS::UniString("Last Covering Run"));
	EXPECT_EQ(read.value.singleVariant.variant.uniStringValue, GS::UniString());

	ASSERT_EQ(ACAPI_Element_SetProperty(wall, StringValue(Defaults().lastRunProperty, "W-1")), NoError);
	ASSERT_EQ(ACAPI_Element_GetPropertyValue(wall, Defaults().lastRunProperty, read), NoError);
	EXPECT_FALSE(read.isDefault);
	EXPECT_EQ(read.status, API_Property_HasValue);
	EXPECT_EQ(read.value.singleVariant.variant.uniStringValue, GS::UniString("W-1"));

	read.isDefault = true;
	ASSERT_EQ(ACAPI_Element_SetProperty(wall, read), NoError);
	EXPECT_EQ(ElementText(wall, Defaults().lastRunProperty), std::nullopt);
}

TEST_F(Properties, BuiltInElementIdIsTheElementsOwnValue)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	API_Property read;
	ASSERT_EQ(ACAPI_Element_GetPropertyValue(wall, Defaults().elementIdProperty, read), NoError);
	EXPECT_FALSE(read.isDefault);
	EXPECT_EQ(read.definition.name, GS::UniString("ElementID"));
	read.value.singleVariant.variant.uniStringValue = "W-2";
	ASSERT_EQ(ACAPI_Element_SetProperty(wall, read), NoError);
	EXPECT_EQ(ElementText(wall, Defaults().elementIdProperty), "W-2");
}

TEST_F(Properties, SettingSeveralIsAllOrNothing)
{
	API_Guid column = AddColumn();
	API_Property wrongType = StringValue(Defaults().checkedByProperty, "");
	wrongType.value.singleVariant.variant.type = API_PropertyIntegerValueType;
	struct Case {
		GS::Array<API_Property> properties;
		GSErrCode expected;
	};
	for (const Case& c :
	     {Case{{StringValue(Defaults().lastRunProperty, "today"), wrongType}, APIERR_BADVALUE},
	      Case{{StringValue(Defaults().lastRunProperty, "today"), StringValue(Defaults().finishCodeProperty, "F1")},
	           APIERR_BADPROPERTY}}) {
		EXPECT_EQ(ACAPI_Element_SetProperties(column, c.properties), c.expected);
		EXPECT_EQ(ElementText(column, Defaults().lastRunProperty), std::nullopt);
	}
	ASSERT_EQ(ACAPI_Element_SetProperties(column, {StringValue(Defaults().lastRunProperty, "today"),
	                                               StringValue(Defaults().checkedByProperty, "me")}),
	          NoError);
	EXPECT_EQ(ElementText(column, Defaults().checkedByProperty), "me");
}

TEST_F(Properties, GroupsAndDefinitionsComeInTheHostsOrder)
{
	GS::Array<API_PropertyGroup> groups;
	ASSERT_EQ(ACAPI_Property_GetPropertyGroups(groups), NoError);
	ASSERT_EQ(groups.GetSize(), 3u);
	EXPECT_EQ(groups[0].name, GS::UniString("GeneralElemProperties"));
	EXPECT_EQ(groups[0].groupType, API_PropertyStaticBuiltInGroupType);

	GS::Array<API_PropertyDefinition> definitions;
	ASSERT_EQ(ACAPI_Property_GetPropertyDefinitions(Defaults().trackingGroup, definitions), NoError);
	ASSERT_EQ(definitions.GetSize(), 2u);
	EXPECT_EQ(definitions[0].name, GS::UniString("Last Covering Run"));
	EXPECT_EQ(definitions[1].guid, Defaults().checkedByProperty);
	EXPECT_EQ(ACAPI_Property_GetPropertyDefinitions(Defaults().elementIdProperty, definitions), APIERR_BADID);

	API_PropertyDefinition definition;
	definition.guid = Defaults().elementIdProperty;
	ASSERT_EQ(ACAPI_Property_GetPropertyDefinition(definition), NoError);
	EXPECT_EQ(definition.valueType, API_PropertyStringValueType);
	EXPECT_EQ(definition.groupGuid, Defaults().generalGroup);
	HostControl::DropProperty(Defaults().elementIdProperty);
	EXPECT_EQ(ACAPI_Property_GetPropertyDefinition(definition), APIERR_BADID);
}

TEST_F(Properties, RedefiningRenamesInPlaceAndDroppingAGroupDropsItsProperties)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	HostControl::DefinePropertyGroup({API_PropertyCustomGroupType, Defaults().trackingGroup, "Renamed", ""});
	GS::Array<API_PropertyGroup> groups;
	ASSERT_EQ(ACAPI_Property_GetPropertyGroups(groups), NoError);
	EXPECT_EQ(groups[1].name, GS::UniString("Renamed"));

	HostControl::DropPropertyGroup(Defaults().trackingGroup);
	API_Property read;
	EXPECT_EQ(ACAPI_Element_GetPropertyValue(wall, Defaults().lastRunProperty, read), APIERR_BADPROPERTY);
	EXPECT_EQ(ACAPI_Element_GetPropertyValue(wall, Defaults().finishCodeProperty, read), NoError);
}

TEST_F(Properties, DefaultElementHoldsValuesOfItsOwn)
{
	API_ElemType wallType = ElemType(API_WallID);
	GS::Array<API_PropertyDefinition> definitions;
	struct Case {
		API_ElemType type;
		API_PropertyDefinitionFilter filter;
		USize count;
	};
	for (const Case& c : {Case{wallType, API_PropertyDefinitionFilter_All, 4},
	                      Case{wallType, API_PropertyDefinitionFilter_UserDefined, 3},
	                      Case{wallType, API_PropertyDefinitionFilter_BuiltIn, 1},
	                      Case{ElemType(API_ColumnID), API_PropertyDefinitionFilter_All, 3}}) {
		ASSERT_EQ(ACAPI_Element_GetPropertyDefinitionsOfDefaultElem(c.type, c.filter, definitions), NoError);
		EXPECT_EQ(definitions.GetSize(), c.count);
	}
	EXPECT_EQ(ACAPI_Element_GetPropertyDefinitionsOfDefaultElem(ElemType(API_ZoneID), API_PropertyDefinitionFilter_All,
	                                                            definitions),
	          APIERR_BADELEMENTTYPE);

	ASSERT_EQ(ACAPI_Element_SetPropertiesOfDefaultElem(wallType, {StringValue(Defaults().finishCodeProperty, "F2")}),
	          NoError);
	ASSERT_EQ(
	    ACAPI_Element_GetPropertyDefinitionsOfDefaultElem(wallType, API_PropertyDefinitionFilter_All, definitions),
	    NoError);
	GS::Array<API_Property> values;
	ASSERT_EQ(ACAPI_Element_GetPropertyValuesOfDefaultElem(wallType, definitions, values), NoError);
	ASSERT_EQ(values.GetSize(), 4u);
	EXPECT_EQ(values[3].value.singleVariant.variant.uniStringValue, GS::UniString("F2"));
	EXPECT_FALSE(values[3].isDefault);
	EXPECT_FALSE(values[0].isDefault) << "ElementID, built in, holds a value of its own";
	EXPECT_TRUE(values[1].isDefault);

	API_Guid wall = AddWall({0, 0}, {1, 0});
	EXPECT_EQ(ElementText(wall, Defaults().finishCodeProperty), std::nullopt) << "the tool's value is its own";
	EXPECT_EQ(ACAPI_Element_SetPropertiesOfDefaultElem(ElemType(API_ColumnID),
	                                                   {StringValue(Defaults().finishCodeProperty, "F2")}),
	          APIERR_BADPROPERTY);
}

TEST_F(Properties, AnElementHoldsOneItemPerClassificationSystem)
{
	API_Guid column = AddColumn();
	API_Guid other = HostControl::AddClassificationSystem("Other");
	API_Guid otherItem = HostControl::AddClassificationItem(other, "O1");
	ASSERT_EQ(ACAPI_Element_AddClassificationItem(column, Defaults().wallItem), NoError);
	ASSERT_EQ(ACAPI_Element_AddClassificationItem(column, otherItem), NoError);
	ASSERT_EQ(ACAPI_Element_AddClassificationItem(column, Defaults().columnItem), NoError);
	using Pairs = std::vector<GS::Pair<API_Guid, API_Guid>>;
	EXPECT_EQ(HostControl::GetElementPCC(column).classificationItems,
	          (Pairs{{Defaults().classificationSystem, Defaults().columnItem}, {other, otherItem}}));

	EXPECT_EQ(ACAPI_Element_RemoveClassificationItem(column, Defaults().wallItem), NoError) << "not held: no change";
	EXPECT_EQ(ACAPI_Element_RemoveClassificationItem(column, Defaults().columnItem), NoError);
	EXPECT_EQ(HostControl::GetElementPCC(column).classificationItems, (Pairs{{other, otherItem}}));

	HostControl::DropClassificationSystem(other);
	EXPECT_EQ(ACAPI_Element_AddClassificationItem(column, otherItem), APIERR_BADCLASSIFICATION);
	EXPECT_EQ(ACAPI_Element_RemoveClassificationItem(column, otherItem), APIERR_BADCLASSIFICATION);
	EXPECT_EQ(ACAPI_Element_AddClassificationItem(Defaults().wallItem, Defaults().wallItem), APIERR_BADID);
}

TEST_F(Properties, ANewElementReceivesItsTypesDefaultItems)
{
	API_ElemType wallType = ElemType(API_WallID);
	API_Guid other = HostControl::AddClassificationSystem("Other");
	API_Guid otherItem = HostControl::AddClassificationItem(other, "O1");
	ASSERT_EQ(ACAPI_Element_AddClassificationItemDefault(wallType, otherItem), NoError);
	ASSERT_EQ(ACAPI_Element_AddClassificationItemDefault(wallType, Defaults().finishItem), NoError);
	GS::Array<GS::Pair<API_Guid, API_Guid>> defaults;
	ASSERT_EQ(ACAPI_Element_GetClassificationItemsDefault(wallType, defaults), NoError);
	using Pairs = std::vector<GS::Pair<API_Guid, API_Guid>>;
	Pairs expected{{Defaults().classificationSystem, Defaults().finishItem}, {other, otherItem}};
	EXPECT_EQ(Pairs(defaults.begin(), defaults.end()), expected);

	API_Element wall = WallRecord({0, 0}, {1, 0});
	API_Element zone = NewRecord(API_ZoneID);
	ASSERT_EQ(ACAPI_Element_Create(&wall, nullptr), NoError);
	ASSERT_EQ(ACAPI_Element_Create(&zone, nullptr), NoError);
	EXPECT_EQ(HostControl::GetElementPCC(wall.header.guid).classificationItems, expected);
	EXPECT_TRUE(HostControl::GetElementPCC(zone.header.guid).classificationItems.empty()) << "zones have no tool";
	EXPECT_TRUE(HostControl::GetElementPCC(AddWall({0, 0}, {1, 0})).classificationItems.empty())
	    << "an element put in as it stands";
}

TEST_F(Properties, CategoryValuesFitTheirCategoryAndType)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	API_Guid door = AddOpening(API_DoorID, wall, 1.0);
	const auto& d = Defaults();
	struct Case {
		API_Guid element;
		API_Guid category;
		API_ElemCategoryValue value;
		GSErrCode expected;
	};
	for (const Case& c :
	     {Case{wall, d.structuralFunction, CategoryValueRecord(d.structuralFunction, d.nonLoadBearing), NoError},
	      Case{door, d.structuralFunction, CategoryValueRecord(d.structuralFunction, d.loadBearing), APIERR_BADPARS},
	      Case{wall, d.position, CategoryValueRecord(d.position, d.loadBearing), APIERR_BADPARS},
	      Case{wall, d.position, CategoryValueRecord(d.structuralFunction, d.exterior), APIERR_BADPARS},
	      Case{door, d.renovationStatus, CategoryValueRecord(d.renovationStatus, d.existing), NoError}}) {
		EXPECT_EQ(ACAPI_Category_SetCategoryValue(c.element, CategoryRecord(c.category), c.value), c.expected);
	}
	EXPECT_EQ(HostControl::GetElementPCC(wall).categoryValues,
	          (std::map<API_Guid, API_Guid>{{d.structuralFunction, d.nonLoadBearing}}));
	EXPECT_EQ(HostControl::GetElementPCC(door).categoryValues,
	          (std::map<API_Guid, API_Guid>{{d.renovationStatus, d.existing}}));
}

TEST_F(Properties, ToolsHaveCategoryDefaultsWhereTheCategoryApplies)
{
	const auto& d = Defaults();
	GS::Array<API_ElemCategory> categories;
	ASSERT_EQ(ACAPI_Category_GetElementCategories(&categories), NoError);
	ASSERT_EQ(categories.GetSize(), 3u);
	EXPECT_EQ(GS::UniString(categories[2].name), GS::UniString("Renovation Status"));

	API_ElemCategoryValue value = {};
	ASSERT_EQ(ACAPI_Category_GetCategoryValueDefault(ElemType(API_WallID), categories[0], &value), NoError);
	EXPECT_EQ(value.guid, d.loadBearing);
	EXPECT_EQ(GS::UniString(value.name), GS::UniString("Load-Bearing Element"));
	EXPECT_EQ(value.category.guid, d.structuralFunction);
	EXPECT_EQ(ACAPI_Category_GetCategoryValueDefault(ElemType(API_DoorID), categories[0], &value), APIERR_BADPARS);

	ASSERT_EQ(ACAPI_Category_SetCategoryValueDefault(ElemType(API_WallID), categories[0],
	                                                 CategoryValueRecord(d.structuralFunction, d.nonLoadBearing)),
	          NoError);
	ASSERT_EQ(ACAPI_Category_GetCategoryValueDefault(ElemType(API_WallID), categories[0], &value), NoError);
	EXPECT_EQ(value.guid, d.nonLoadBearing);
	HostControl::DropCategory(d.structuralFunction);
	EXPECT_EQ(ACAPI_Category_GetCategoryValueDefault(ElemType(API_WallID), categories[0], &value), APIERR_BADPARS);
}

TEST_F(Properties, UndoRestoresValuesItemsAndDefaults)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	ACAPI_CallUndoableCommand("Settings", [&] {
		ACAPI_Element_SetProperty(wall, StringValue(Defaults().lastRunProperty, "now"));
		ACAPI_Element_AddClassificationItem(wall, Defaults().finishItem);
		return ACAPI_Element_RemoveClassificationItemDefault(ElemType(API_WallID), Defaults().wallItem);
	});
	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_TRUE(HostControl::GetElementPCC(wall).classificationItems.empty());
	EXPECT_EQ(ElementText(wall, Defaults().lastRunProperty), std::nullopt);
	EXPECT_EQ(HostControl::GetToolPCC(ElemType(API_WallID)).classificationItems.size(), 1u);
}

TEST_F(Properties, DeletingAnElementDropsItsSettings)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	ASSERT_EQ(ACAPI_Element_SetProperty(wall, StringValue(Defaults().lastRunProperty, "now")), NoError);
	ASSERT_EQ(ACAPI_Element_Delete({wall}), NoError);
	EXPECT_EQ(ElementText(wall, Defaults().lastRunProperty), std::nullopt);
}

TEST_F(Properties, UndoingADeletionGivesBackTheElementsValuesAndData)
{
	API_Guid wall = AddWall({0, 0}, {1, 0});
	ASSERT_EQ(ACAPI_Element_SetProperty(wall, StringValue(Defaults().lastRunProperty, "now")), NoError);
	HostControl::SetUserData(wall, {1, 0x6D6D, 0, std::vector<char>{1, 2}});
	ASSERT_EQ(ACAPI_CallUndoableCommand("Delete", [&] { return ACAPI_Element_Delete({wall}); }), NoError);
	ASSERT_FALSE(HostControl::GetUserData(wall).has_value());

	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_EQ(ElementText(wall, Defaults().lastRunProperty), "now");
	ASSERT_TRUE(HostControl::GetUserData(wall).has_value());
	EXPECT_EQ(HostControl::GetUserData(wall)->payload, (std::vector<char>{1, 2}));
}

} // namespace
