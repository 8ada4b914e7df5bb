// The model image that the command sweep compares: each kind of change that a
// command makes shows up, named by the part it touched.
#include <functional>

#include "API/Grouping.hpp"
#include "API/Properties.hpp"
#include "ModelBuilder.hpp"
#include "ModelImage.hpp"
#include "UndoScope.hpp"

namespace {

class ModelImageTest : public UndoScopeTest {};

TEST_F(ModelImageTest, EveryKindOfChangeIsNamed)
{
	const API_Guid wall = ModelBuilder::AddWall({0, 0}, {4, 0});
	const API_Guid zone = ModelBuilder::AddZone("1", {{{{0, 0}, {4, 0}, {4, 3}}}});
	const std::string wallName = APIGuidToString(wall).ToCStr().Get();
	const std::string zoneName = APIGuidToString(zone).ToCStr().Get();
	HostControl::AddLink(zone, wall, 1);
	HostControl::SetUserData(zone, {1, 0x6D6D, 0, std::vector<char>{1, 0}});
	struct Case {
		std::string difference;
		std::function<void()> change;
	};
	const Case cases[] = {
	    {"changed element " + wallName,
	     [&] {
		     API_Element record = *HostControl::GetElement(wall);
		     record.wall.thickness += 0.01;
		     HostControl::SetElement(record);
	     }},
	    {"changed links", [&] { HostControl::AddLink(wall, zone, 4); }},
	    {"changed user data of " + zoneName,
	     [&] {
		     HostControl::SetUserData(zone, {1, 0x6D6D, 0, std::vector<char>{1, 1}});
	     }},
	    {"added user data of " + wallName,
	     [&] {
		     HostControl::SetUserData(wall, {1, 0x6D6D, 0, std::vector<char>{0, 0, 0, 0}});
	     }},
	    {"changed properties of " + wallName,
	     [&] {
		     API_Property property;
		     ASSERT_EQ(ACAPI_Element_GetPropertyValue(wall, HostControl::Defaults().lastRunProperty, property),
		               NoError);
		     property.value.singleVariant.variant.uniStringValue = "run";
		     property.isDefault = false;
		     ASSERT_EQ(ACAPI_Element_SetProperty(wall, property), NoError);
	     }},
	    {"changed group suspension",
	     [] { ASSERT_EQ(ACAPI_Grouping_Tool({}, APITool_SuspendGroups, nullptr), NoError); }},
	    {"missing element " + wallName, [&] { ASSERT_EQ(ACAPI_Element_Delete({wall}), NoError); }},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.difference);
		ModelImage before = TakeModelImage();
		EXPECT_TRUE(ModelDifferences(before, TakeModelImage()).empty());
		c.change();
		std::vector<std::string> differences = ModelDifferences(before, TakeModelImage(), 1);
		ASSERT_EQ(differences.size(), 1u);
		EXPECT_EQ(differences[0], c.difference);
	}
}

} // namespace
