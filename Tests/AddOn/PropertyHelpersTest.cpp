#include <functional>

#include "FaultSweep.hpp"
#include "ModelBuilder.hpp"
#include "PropertyHelpers.hpp"
#include "SettingsBuilder.hpp"
#include "UndoScope.hpp"

using namespace ModelBuilder;
using namespace SettingsBuilder;
using HostControl::Defaults;
using HostControl::StringPropertyDefinition;

namespace {

class PropertyHelpers : public UndoScopeTest {};

// --- The ElementID property ---

// The fixed GUID now names another property; the built-in group may be
// renamed, doubled or gone.
void RenameFixedProperty()
{
	API_PropertyDefinition renamed = StringPropertyDefinition(Defaults().generalGroup, "Old ID");
	renamed.guid = Defaults().elementIdProperty;
	HostControl::DefineProperty(renamed);
}

API_Guid AddGeneralGroupWithProperty(const char* propertyName)
{
	API_Guid group =
	    HostControl::DefinePropertyGroup({API_PropertyCustomGroupType, APINULLGuid, "GeneralElemProperties", ""});
	return HostControl::DefineProperty(StringPropertyDefinition(group, propertyName));
}

TEST_F(PropertyHelpers, TheFixedGuidIsTakenWithoutReadingGroups)
{
	API_Guid guid = APINULLGuid;
	ASSERT_EQ(GetElemIdPropertyGuid(guid), NoError);
	EXPECT_EQ(guid, Defaults().elementIdProperty);
	EXPECT_EQ(HostControl::CallLog(), std::vector<std::string>{"ACAPI_Property_GetPropertyDefinition"});
}

TEST_F(PropertyHelpers, OtherwiseTheFirstElementIdInAGeneralGroupIsTaken)
{
	struct Case {
		const char* scene;
		std::function<API_Guid()> build; // returns the GUID expected
		ErrCode expected;
	};
	const Case cases[] = {
	    {"renamed, found in a second general group",
	     [] {
		     RenameFixedProperty();
		     AddGeneralGroupWithProperty("Other");
		     API_Guid found = AddGeneralGroupWithProperty("ElementID");
		     AddGeneralGroupWithProperty("ElementID");
		     return found;
	     },
	     NoError},
	    {"renamed, only in a group of another name",
	     [] {
		     RenameFixedProperty();
		     HostControl::DefineProperty(StringPropertyDefinition(Defaults().trackingGroup, "ElementID"));
		     return Defaults().elementIdProperty;
	     },
	     COVERR_PROPERTY_ELEMENTID},
	    {"renamed, no groups at all",
	     [] {
		     RenameFixedProperty();
		     for (const API_Guid& group : {Defaults().generalGroup, Defaults().trackingGroup, Defaults().finishesGroup})
			     HostControl::DropPropertyGroup(group);
		     RenameFixedProperty();
		     return Defaults().elementIdProperty;
	     },
	     COVERR_PROPERTY_ELEMENTID},
	    {"fixed GUID unknown",
	     [] {
		     HostControl::DropProperty(Defaults().elementIdProperty);
		     AddGeneralGroupWithProperty("ElementID");
		     return Defaults().elementIdProperty;
	     },
	     APIERR_BADID},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.scene);
		HostControl::ResetHost();
		API_Guid expectedGuid = c.build();
		API_Guid guid = APINULLGuid;
		EXPECT_EQ(GetElemIdPropertyGuid(guid), c.expected);
		EXPECT_EQ(guid, expectedGuid);
	}
}

TEST_F(PropertyHelpers, AFailingLookupReturnsTheHostsCode)
{
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL,
	    [] {
		    RenameFixedProperty();
		    AddGeneralGroupWithProperty("ElementID");
	    },
	    [] {
		    API_Guid guid = APINULLGuid;
		    return GetElemIdPropertyGuid(guid);
	    },
	    [](const FaultRun& run, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    EXPECT_EQ(run.callsMade.back(), run.failedCall);
	    });
	EXPECT_EQ(failed, 4u) << "the fixed definition, the groups, and the definitions of both general groups";
}

// --- The timestamp property ---

struct Scene {
	API_Guid wall;
	API_Guid column;
	API_Guid slab;
	API_Guid lastColumn;
};

Scene BuildScene()
{
	Scene scene;
	scene.wall = AddWall({0, 0}, {1, 0});
	scene.column = HostControl::AddElement(NewRecord(API_ColumnID));
	scene.slab = HostControl::AddElement(NewRecord(API_SlabID));
	scene.lastColumn = HostControl::AddElement(NewRecord(API_ColumnID));
	return scene;
}

TEST_F(PropertyHelpers, TimestampSkipsElementsWithoutTheProperty)
{
	Scene scene = BuildScene();
	ASSERT_EQ(SetTimestampProperty({scene.wall, scene.column, scene.slab, scene.lastColumn},
	                               Defaults().finishCodeProperty, "2026-12-07 10:00"),
	          NoError);
	EXPECT_EQ(ElementText(scene.wall, Defaults().finishCodeProperty), "2026-12-07 10:00");
	EXPECT_EQ(ElementText(scene.slab, Defaults().finishCodeProperty), "2026-12-07 10:00");
	API_Property written;
	ASSERT_EQ(ACAPI_Element_GetPropertyValue(scene.wall, Defaults().finishCodeProperty, written), NoError);
	EXPECT_EQ(written.value.variantStatus, API_VariantStatusNormal);
	EXPECT_FALSE(written.isDefault);
}

TEST_F(PropertyHelpers, TimestampWithoutPropertyOrWithAnUnknownOneTouchesNothing)
{
	Scene scene = BuildScene();
	EXPECT_EQ(SetTimestampProperty({scene.wall}, APINULLGuid, "t"), NoError);
	EXPECT_TRUE(HostControl::CallLog().empty());
	EXPECT_EQ(SetTimestampProperty({scene.wall}, Defaults().wallItem, "t"), APIERR_BADID);
	EXPECT_EQ(HostControl::CallLog(), std::vector<std::string>{"ACAPI_Property_GetPropertyDefinition"});
	EXPECT_EQ(SetTimestampProperty({}, Defaults().lastRunProperty, "t"), NoError);
}

TEST_F(PropertyHelpers, TimestampStopsAtAnyOtherFailure)
{
	Scene scene = BuildScene();
	API_Guid deleted = AddWall({1, 0}, {2, 0});
	ASSERT_EQ(ACAPI_Element_Delete({deleted}), NoError);
	EXPECT_EQ(SetTimestampProperty({scene.wall, deleted, scene.slab}, Defaults().lastRunProperty, "t"), APIERR_BADID);
	EXPECT_EQ(ElementText(scene.wall, Defaults().lastRunProperty), "t");
	EXPECT_EQ(ElementText(scene.slab, Defaults().lastRunProperty), std::nullopt);

	API_PropertyDefinition number = StringPropertyDefinition(Defaults().trackingGroup, "Runs");
	number.valueType = API_PropertyIntegerValueType;
	API_Guid runs = HostControl::DefineProperty(number);
	EXPECT_EQ(SetTimestampProperty({scene.wall}, runs, "t"), APIERR_BADVALUE) << "not a text property";

	Scene swept;
	UInt32 failed = SweepFaults(
	    APIERR_GENERAL, [&] { swept = BuildScene(); },
	    [&] {
		    return SetTimestampProperty({swept.wall, swept.column, swept.slab}, Defaults().finishCodeProperty, "t");
	    },
	    [&](const FaultRun& run, ErrCode result) {
		    EXPECT_EQ(result, APIERR_GENERAL);
		    EXPECT_EQ(ElementText(swept.wall, Defaults().finishCodeProperty).has_value(), run.callsMade.size() > 2);
		    EXPECT_EQ(ElementText(swept.slab, Defaults().finishCodeProperty), std::nullopt);
	    });
	EXPECT_EQ(failed, 4u) << "the definition, then one write per element";
}

} // namespace
