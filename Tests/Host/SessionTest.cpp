#include <algorithm>
#include <cstring>
#include <functional>
#include <sstream>

#include "API/Grouping.hpp"
#include "API/Teamwork.hpp"
#include "ModelBuilder.hpp"
#include "SettingsBuilder.hpp"
#include "UndoScope.hpp"

using namespace ModelBuilder;
using HostControl::Defaults;
using HostControl::Holder;

namespace {

class Session : public HostTest {};

GSErrCode CreateWall(API_Guid* guid = nullptr)
{
	API_Element wall = NewRecord(API_WallID);
	wall.wall.endC = {2, 0};
	wall.wall.thickness = 0.2;
	wall.wall.height = 3.0;
	GSErrCode result = ACAPI_Element_Create(&wall, nullptr);
	if (guid != nullptr)
		*guid = wall.header.guid;
	return result;
}

// Everything that one of the changes below could alter, as text.
std::string ModelState(const API_Guid& wall)
{
	std::ostringstream state;
	HostControl::PCC pcc = HostControl::GetElementPCC(wall);
	state << HostControl::Elements().size() << HostControl::Links().size() << HostControl::GroupsSuspended()
	      << HostControl::GetUserData(wall).has_value() << pcc.propertyValues.size() << pcc.categoryValues.size()
	      << pcc.classificationItems.size();
	if (std::optional<API_Element> record = HostControl::GetElement(wall))
		state << record->wall.thickness << (record->header.groupGuid != APINULLGuid);
	return state.str();
}

TEST_F(Session, EveryModelChangeNeedsAnUndoScopeAndInASharedProjectTheElement)
{
	using Change = std::function<GSErrCode(const API_Guid& wall, const API_Guid& other)>;
	API_Element thicker = NewRecord(API_WallID), mask = NewRecord(API_ZombieElemID);
	thicker.wall.thickness = 0.5;
	std::memset(&mask.wall.thickness, 0xFF, sizeof(mask.wall.thickness));
	API_UserData data = {};
	const std::vector<std::pair<const char*, Change>> ofTheWall = {
	    {"change",
	     [&](auto& w, auto&) {
		     thicker.header.guid = w;
		     return ACAPI_Element_Change(&thicker, &mask, nullptr, 0, true);
	     }},
	    {"delete", [](auto& w, auto&) { return ACAPI_Element_Delete({w}); }},
	    {"link", [](auto& w, auto& o) { return ACAPI_ElementLink_Link(w, o, 3); }},
	    {"element data",
	     [&](auto& w, auto&) {
		     API_Elem_Head head = {};
		     head.guid = w;
		     return ACAPI_Element_SetUserData(&head, &data);
	     }},
	    {"property",
	     [](auto& w, auto&) {
		     return ACAPI_Element_SetProperty(w, SettingsBuilder::StringValue(Defaults().lastRunProperty, "x"));
	     }},
	    {"properties",
	     [](auto& w, auto&) {
		     return ACAPI_Element_SetProperties(w, {SettingsBuilder::StringValue(Defaults().checkedByProperty, "x")});
	     }},
	    {"classification",
	     [](auto& w, auto&) { return ACAPI_Element_AddClassificationItem(w, Defaults().finishItem); }},
	    {"category",
	     [](auto& w, auto&) {
		     return ACAPI_Category_SetCategoryValue(
		         w, SettingsBuilder::CategoryRecord(Defaults().renovationStatus),
		         SettingsBuilder::CategoryValueRecord(Defaults().renovationStatus, Defaults().toBeDemolished));
	     }},
	    {"group",
	     [](auto& w, auto& o) {
		     return ACAPI_Grouping_CreateGroup({w, o}, nullptr, nullptr);
	     }},
	};
	const std::vector<std::pair<const char*, Change>> ofNoElement = {
	    {"create", [](auto&, auto&) { return CreateWall(); }},
	    {"group suspension", [](auto&, auto&) { return ACAPI_Grouping_Tool({}, APITool_SuspendGroups, nullptr); }},
	};
	struct Setting {
		const char* name;
		bool inScope, shared;
		Holder holder;
		GSErrCode ofTheWall, ofNoElement;
	};
	for (const Setting& s :
	     {Setting{"solo, outside", false, false, Holder::User, APIERR_NEEDSUNDOSCOPE, APIERR_NEEDSUNDOSCOPE},
	      Setting{"shared, outside", false, true, Holder::User, APIERR_NEEDSUNDOSCOPE, APIERR_NEEDSUNDOSCOPE},
	      Setting{"held by nobody", true, true, Holder::Nobody, APIERR_NOTMINE, NoError},
	      Setting{"held by another", true, true, Holder::OtherUser, APIERR_NOTMINE, NoError},
	      Setting{"reserved", true, true, Holder::User, NoError, NoError},
	      Setting{"solo, inside", true, false, Holder::Nobody, NoError, NoError}}) {
		for (const auto& [changes, expected] :
		     {std::pair(&ofTheWall, s.ofTheWall), std::pair(&ofNoElement, s.ofNoElement)}) {
			for (const auto& [name, change] : *changes) {
				SCOPED_TRACE(std::string(s.name) + ": " + name);
				HostControl::ResetHost();
				HostControl::SetSharedProject(s.shared);
				API_Guid wall = AddWall({0, 0}, {4, 0}), other = AddWall({4, 0}, {4, 4});
				HostControl::SetHolder(wall, s.holder);
				HostControl::SetHolder(other, Holder::User);
				std::string before = ModelState(wall);
				std::vector<API_Guid> told;
				HostControl::ObserveModelChanges([&](const API_Guid& element) { told.push_back(element); });
				EXPECT_EQ(s.inScope ? InUndoScope([&] { return change(wall, other); }) : change(wall, other), expected);
				EXPECT_EQ(ModelState(wall) != before, expected == NoError);
				EXPECT_EQ(std::count(told.begin(), told.end(), wall),
				          changes == &ofTheWall && expected == NoError ? 1 : 0);
			}
		}
	}
}

TEST_F(Session, ReservingTakesTheFreeElementsAndLeavesOthersTheirs)
{
	API_Guid free = AddWall({0, 0}, {1, 0}), held = AddWall({1, 0}, {1, 1}), mine = AddWall({1, 1}, {0, 1});
	EXPECT_TRUE(ACAPI_Element_Filter(free, APIFilt_InMyWorkspace)) << "a solo project is all the user's";
	EXPECT_EQ(ACAPI_Teamwork_ReserveElements({free}, nullptr, true), APIERR_NOTEAMWORKPROJECT);

	HostControl::SetSharedProject(true);
	HostControl::SetHolder(held, Holder::OtherUser);
	HostControl::SetHolder(mine, Holder::User);
	EXPECT_EQ(ACAPI_Teamwork_ReserveElements({free, Defaults().lastRunProperty}, nullptr, true), APIERR_BADID);
	GS::HashTable<API_Guid, short> conflicts;
	ASSERT_EQ(ACAPI_Teamwork_ReserveElements({free, held, mine}, &conflicts, true), NoError);
	std::vector<bool> inWorkspace;
	for (const API_Guid& wall : {free, held, mine, Defaults().lastRunProperty})
		inWorkspace.push_back(ACAPI_Element_Filter(wall, APIFilt_InMyWorkspace));
	EXPECT_EQ(inWorkspace, (std::vector<bool>{true, false, true, false}));
	EXPECT_TRUE(conflicts.ContainsKey(held) && conflicts.GetSize() == 1);
	API_Guid created = APINULLGuid;
	ASSERT_EQ(InUndoScope([&] { return CreateWall(&created); }), NoError);
	EXPECT_TRUE(ACAPI_Element_Filter(created, APIFilt_InMyWorkspace)) << "what the user creates is theirs";

	HostControl::SetClock(1796547723);
	EXPECT_EQ(TIGetTimeString(0, TI_DateAndTime), GS::UniString("2026-12-06 09:02:03"));
	EXPECT_EQ(TIGetTimeString(86400, TI_Date), GS::UniString("1970-01-02"));
	HostControl::ResetHost();
	EXPECT_FALSE(ACAPI_Teamwork_HasConnection());
	EXPECT_EQ(TIGetTimeString(0, TI_DateAndTime), GS::UniString("2026-01-05 09:30:00"));
}

} // namespace
