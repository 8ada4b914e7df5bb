#include <cstring>
#include <functional>
#include <sstream>

#include "API/Commands.hpp"
#include "API/Grouping.hpp"
#include "API/Teamwork.hpp"
#include "GSPrinters.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "UndoScope.hpp"

using namespace ModelBuilder;
using HostControl::Defaults;
using HostControl::Holder;

namespace {

class Session : public HostTest {};

API_Element WallRecord()
{
	API_Element wall = NewRecord(API_WallID);
	wall.wall.endC = {2, 0};
	wall.wall.thickness = 0.2;
	wall.wall.height = 3.0;
	return wall;
}

struct ModelChange {
	const char* name;
	bool touchesElement; // false: nothing that a user holds
	bool showsInModel;   // false: it undoes itself or finds nothing to remove
	std::function<GSErrCode(const API_Guid& element, const API_Guid& other)> run;
};

const std::vector<ModelChange>& ModelChanges()
{
	static const std::vector<ModelChange> changes = {
	    {"create", false, true,
	     [](const API_Guid&, const API_Guid&) {
		     API_Element wall = WallRecord();
		     return ACAPI_Element_Create(&wall, nullptr);
	     }},
	    {"change", true, true,
	     [](const API_Guid& element, const API_Guid&) {
		     API_Element record = NewRecord(API_WallID);
		     record.header.guid = element;
		     record.wall.thickness = 0.5;
		     API_Element mask = NewRecord(API_ZombieElemID);
		     std::memset(&mask.wall.thickness, 0xFF, sizeof(mask.wall.thickness));
		     return ACAPI_Element_Change(&record, &mask, nullptr, 0, true);
	     }},
	    {"delete", true, true,
	     [](const API_Guid& element, const API_Guid&) { return ACAPI_Element_Delete({element}); }},
	    {"link", true, true,
	     [](const API_Guid& element, const API_Guid& other) { return ACAPI_ElementLink_Link(element, other, 3); }},
	    {"unlink", true, false,
	     [](const API_Guid& element, const API_Guid& other) {
		     ACAPI_ElementLink_Link(element, other, 3);
		     return ACAPI_ElementLink_Unlink(element, other);
	     }},
	    {"element data", true, true,
	     [](const API_Guid& element, const API_Guid&) {
		     API_Elem_Head head = {};
		     head.guid = element;
		     API_UserData data = {};
		     data.dataVersion = 1;
		     return ACAPI_Element_SetUserData(&head, &data);
	     }},
	    {"property", true, true,
	     [](const API_Guid& element, const API_Guid&) {
		     return ACAPI_Element_SetProperty(element,
		                                      SettingsBuilder::StringValue(Defaults().lastRunProperty, "changed"));
	     }},
	    {"properties", true, true,
	     [](const API_Guid& element, const API_Guid&) {
		     return ACAPI_Element_SetProperties(
		         element, {SettingsBuilder::StringValue(Defaults().checkedByProperty, "changed")});
	     }},
	    {"classification added", true, true,
	     [](const API_Guid& element, const API_Guid&) {
		     return ACAPI_Element_AddClassificationItem(element, Defaults().finishItem);
	     }},
	    {"classification removed", true, false,
	     [](const API_Guid& element, const API_Guid&) {
		     return ACAPI_Element_RemoveClassificationItem(element, Defaults().wallItem);
	     }},
	    {"category", true, true,
	     [](const API_Guid& element, const API_Guid&) {
		     return ACAPI_Category_SetCategoryValue(
		         element, SettingsBuilder::CategoryRecord(Defaults().renovationStatus),
		         SettingsBuilder::CategoryValueRecord(Defaults().renovationStatus, Defaults().toBeDemolished));
	     }},
	    {"group", true, true,
	     [](const API_Guid& element, const API_Guid& other) {
		     return ACAPI_Grouping_CreateGroup({element, other}, nullptr, nullptr);
	     }},
	    {"group suspension", false, true,
	     [](const API_Guid&, const API_Guid&) { return ACAPI_Grouping_Tool({}, APITool_SuspendGroups, nullptr); }},
	};
	return changes;
}

// Everything that one of the changes above could alter, as text.
std::string ModelState(const API_Guid& element)
{
	std::ostringstream state;
	state << HostControl::Elements().size() << " elements, " << HostControl::Links().size() << " links, data "
	      << HostControl::GetUserData(element).has_value() << ", groups suspended " << HostControl::GroupsSuspended();
	if (std::optional<API_Element> record = HostControl::GetElement(element))
		state << ", thickness " << record->wall.thickness << ", grouped " << (record->header.groupGuid != APINULLGuid);
	HostControl::PCC pcc = HostControl::GetElementPCC(element);
	state << ", " << pcc.propertyValues.size() << " values, " << pcc.classificationItems.size() << " items, "
	      << pcc.categoryValues.size() << " categories";
	return state.str();
}

TEST_F(Session, EveryModelChangeNeedsAnUndoScopeAndInASharedProjectTheElement)
{
	struct Setting {
		const char* name;
		bool inScope;
		bool shared;
		Holder holder;
		GSErrCode expected;      // for a change of an element
		GSErrCode expectedOther; // for a change that touches no element
	};
	const Setting settings[] = {
	    {"solo, outside a command", false, false, Holder::Nobody, APIERR_NEEDSUNDOSCOPE, APIERR_NEEDSUNDOSCOPE},
	    {"shared, reserved, outside a command", false, true, Holder::User, APIERR_NEEDSUNDOSCOPE,
	     APIERR_NEEDSUNDOSCOPE},
	    {"shared, held by nobody", true, true, Holder::Nobody, APIERR_NOTMINE, NoError},
	    {"shared, held by another user", true, true, Holder::OtherUser, APIERR_NOTMINE, NoError},
	    {"shared, reserved", true, true, Holder::User, NoError, NoError},
	    {"solo, inside a command", true, false, Holder::Nobody, NoError, NoError},
	};
	for (const Setting& setting : settings) {
		for (const ModelChange& change : ModelChanges()) {
			SCOPED_TRACE(std::string(setting.name) + ": " + change.name);
			HostControl::ResetHost();
			HostControl::SetSharedProject(setting.shared);
			API_Guid element = AddWall({0, 0}, {4, 0});
			API_Guid other = AddWall({4, 0}, {4, 4});
			HostControl::SetHolder(element, setting.holder);
			HostControl::SetHolder(other, Holder::User);
			std::string before = ModelState(element);

			GSErrCode expected = change.touchesElement ? setting.expected : setting.expectedOther;
			GSErrCode result =
			    setting.inScope ? InUndoScope([&] { return change.run(element, other); }) : change.run(element, other);
			EXPECT_EQ(result, expected);
			EXPECT_EQ(ModelState(element) != before, expected == NoError && change.showsInModel);
		}
	}
}

TEST_F(Session, ReservingTakesTheFreeElementsAndLeavesOthersTheirs)
{
	API_Guid free = AddWall({0, 0}, {1, 0});
	API_Guid held = AddWall({1, 0}, {1, 1});
	API_Guid mine = AddWall({1, 1}, {0, 1});
	API_Guid unknown = Defaults().lastRunProperty; // no element

	EXPECT_FALSE(ACAPI_Teamwork_HasConnection());
	EXPECT_TRUE(ACAPI_Element_Filter(free, APIFilt_InMyWorkspace)) << "a solo project is all the user's";
	EXPECT_EQ(ACAPI_Teamwork_ReserveElements({free}, nullptr, true), APIERR_NOTEAMWORKPROJECT);

	HostControl::SetSharedProject(true);
	HostControl::SetHolder(held, Holder::OtherUser);
	HostControl::SetHolder(mine, Holder::User);
	EXPECT_TRUE(ACAPI_Teamwork_HasConnection());
	struct Before {
		API_Guid element;
		bool inWorkspace;
	};
	for (const Before& b : {Before{free, false}, Before{held, false}, Before{mine, true}, Before{unknown, false}})
		EXPECT_EQ(ACAPI_Element_Filter(b.element, APIFilt_InMyWorkspace), b.inWorkspace);

	EXPECT_EQ(ACAPI_Teamwork_ReserveElements({free, unknown}, nullptr, true), APIERR_BADID);
	EXPECT_EQ(HostControl::GetHolder(free), Holder::Nobody) << "a refused reservation reserves nothing";

	GS::HashTable<API_Guid, short> conflicts;
	ASSERT_EQ(ACAPI_Teamwork_ReserveElements({free, held, mine}, &conflicts, true), NoError);
	EXPECT_TRUE(ACAPI_Element_Filter(free, APIFilt_InMyWorkspace));
	EXPECT_FALSE(ACAPI_Element_Filter(held, APIFilt_InMyWorkspace));
	EXPECT_TRUE(ACAPI_Element_Filter(mine, APIFilt_InMyWorkspace));
	EXPECT_EQ(conflicts.GetSize(), 1u);
	EXPECT_TRUE(conflicts.ContainsKey(held));

	API_Guid created = InUndoScope([] {
		API_Element wall = WallRecord();
		EXPECT_EQ(ACAPI_Element_Create(&wall, nullptr), NoError);
		return wall.header.guid;
	});
	EXPECT_TRUE(ACAPI_Element_Filter(created, APIFilt_InMyWorkspace)) << "what the user creates is theirs";

	HostControl::ResetHost();
	EXPECT_FALSE(ACAPI_Teamwork_HasConnection()) << "a reset project is solo";
}

TEST_F(Session, TimeTextComesFromTheClock)
{
	struct Case {
		GSTime clock;
		GSTime time;
		Int32 format;
		const char* text;
	};
	for (const Case& c :
	     {Case{0, 0, TI_DateAndTime, "2026-01-05 09:30:00"}, Case{1796547723, 0, TI_DateAndTime, "2026-12-06 09:02:03"},
	      Case{1796547723, 0, TI_Date, "2026-12-06"}, Case{1796547723, 86400, TI_DateAndTime, "1970-01-02 00:00:00"}}) {
		if (c.clock != 0)
			HostControl::SetClock(c.clock);
		EXPECT_EQ(TIGetTimeString(c.time, c.format), GS::UniString(c.text));
	}
	HostControl::ResetHost();
	EXPECT_EQ(TIGetTimeString(0, TI_DateAndTime), GS::UniString("2026-01-05 09:30:00"));
}

} // namespace
