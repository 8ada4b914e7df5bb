#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <set>

#include "API/Commands.hpp"
#include "API/ElementFunctions.hpp"
#include "API/Grouping.hpp"
#include "API/Relations.hpp"
#include "API/Selection.hpp"
#include "GS/Memory.hpp"
#include "ModelBuilder.hpp"
#include "Sim/API/GuidTable.hpp"
#include "Sim/API/NodePool.hpp"
#include "UndoScope.hpp"

using namespace ModelBuilder;

namespace {

class ModelStore : public UndoScopeTest {};

constexpr API_ElemType doorType = {API_DoorID, APIVarId_Generic, APINULLGuid};
constexpr API_ElemType windowType = {API_WindowID, APIVarId_Generic, APINULLGuid};

GSErrCode InCommand(const std::function<GSErrCode()>& change)
{
	return ACAPI_CallUndoableCommand("Change", change);
}

std::vector<std::pair<API_Guid, API_Guid>> LinkPairs()
{
	std::vector<std::pair<API_Guid, API_Guid>> pairs;
	for (const HostControl::Link& link : HostControl::Links())
		pairs.emplace_back(link.from, link.to);
	return pairs;
}

std::vector<API_Guid> Selected()
{
	API_SelectionInfo info = {};
	GS::Array<API_Neig> neigs;
	EXPECT_EQ(ACAPI_Selection_Get(&info, &neigs, false, true), NoError);
	BMKillHandle(&info.marquee.coords);
	std::vector<API_Guid> guids;
	for (const API_Neig& neig : neigs)
		guids.push_back(neig.guid);
	return guids;
}

std::vector<API_Guid> Connected(const API_Guid& wall, const API_ElemType& type)
{
	GS::Array<API_Guid> connected;
	EXPECT_EQ(ACAPI_Grouping_GetConnectedElements(wall, type, &connected), NoError);
	return std::vector<API_Guid>(connected.begin(), connected.end());
}

// Every element a zone's relation names, wall parts first.
std::vector<API_Guid> NamedInRelation(const API_Guid& zone)
{
	API_RoomRelation relation;
	EXPECT_EQ(ACAPI_Element_GetRelations(zone, {API_WallID, APIVarId_Generic, APINULLGuid}, &relation), NoError);
	std::vector<API_Guid> named;
	for (const API_WallPart& part : relation.wallPart)
		named.push_back(part.guid);
	for (API_ElemTypeID type : {API_WallID, API_ColumnID, API_DoorID, API_WindowID}) {
		if (const auto* list = relation.elementsGroupedByType.GetPtr({type, APIVarId_Generic, APINULLGuid}))
			named.insert(named.end(), list->begin(), list->end());
	}
	ACAPI_DisposeRoomRelationHdls(&relation);
	return named;
}

// Two zones around three walls; a door in the first wall, a window in the second,
// a column grouped with the third wall, links between them, and a selection.
struct Scene {
	API_Guid wall1 = AddWall({0, 0}, {5, 0});
	API_Guid wall2 = AddWall({5, 0}, {5, 5});
	API_Guid wall3 = AddWall({5, 5}, {0, 5});
	API_Guid door = AddOpening(API_DoorID, wall1, 1.0);
	API_Guid window = AddOpening(API_WindowID, wall2, 2.0);
	API_Guid column = HostControl::AddElement(NewRecord(API_ColumnID));
	API_Guid zone = AddZone("1", {{{{0, 0}, {5, 0}, {5, 5}, {0, 5}}}});
	API_Guid other = AddZone("2", {{{{5, 0}, {9, 0}, {9, 5}, {5, 5}}}});
	API_Guid group = APINULLGuid;

	Scene()
	{
		HostControl::RoomRelation relation;
		relation.wallParts = {{wall1, 1, 0, 5}, {wall2, 2, 0, 5}, {wall3, 3, 0, 5}};
		relation.elementsByType = {{API_WallID, {wall1, wall2, wall3}}, {API_ColumnID, {column}}, {API_DoorID, {door}}};
		HostControl::SetRoomRelation(zone, relation);
		HostControl::SetRoomRelation(other, {{{wall2, 4, 0, 5}}, {{API_WindowID, {window}}}, {}});
		EXPECT_EQ(ACAPI_Grouping_CreateGroup({wall3, column}, &group), NoError);
		for (auto [from, to] : {std::pair{zone, wall1}, {wall2, wall3}, {zone, wall2}, {wall3, zone}, {other, wall2}})
			EXPECT_EQ(ACAPI_ElementLink_Link(from, to, 1), NoError);
		HostControl::Select({zone, wall1, wall2, other});
	}
};

TEST_F(ModelStore, DeletionLeavesNoTraceOfTheDeletedInAnyList)
{
	Scene s;
	EXPECT_EQ(HostControl::LinkSources(s.wall2), (std::vector<API_Guid>{s.zone, s.other}));
	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.wall1}); }), NoError);
	EXPECT_EQ(HostControl::Elements(), (std::vector<API_Guid>{s.wall2, s.wall3, s.window, s.column, s.zone, s.other}))
	    << "the door went with its wall; the rest keep creation order";
	EXPECT_EQ(NamedInRelation(s.zone), (std::vector<API_Guid>{s.wall2, s.wall3, s.wall2, s.wall3, s.column}));
	EXPECT_EQ(NamedInRelation(s.other), (std::vector<API_Guid>{s.wall2, s.window}));
	EXPECT_EQ(LinkPairs(), (std::vector<std::pair<API_Guid, API_Guid>>{
	                           {s.wall2, s.wall3}, {s.zone, s.wall2}, {s.wall3, s.zone}, {s.other, s.wall2}}));
	EXPECT_EQ(Selected(), (std::vector<API_Guid>{s.zone, s.wall2, s.other}));

	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.column}); }), NoError);
	EXPECT_FALSE(HostControl::GetElement(s.wall3).has_value()) << "the column takes its group";
	EXPECT_TRUE(HostControl::GroupMembers(s.group).empty());
	EXPECT_EQ(NamedInRelation(s.zone), (std::vector<API_Guid>{s.wall2, s.wall2}));
	EXPECT_EQ(LinkPairs(), (std::vector<std::pair<API_Guid, API_Guid>>{{s.zone, s.wall2}, {s.other, s.wall2}}));
	EXPECT_TRUE(HostControl::LinkSources(s.zone).empty());
	GS::Array<API_Guid> fromZone;
	ASSERT_EQ(ACAPI_ElementLink_GetLinks(s.zone, &fromZone), NoError);
	EXPECT_EQ(fromZone, GS::Array<API_Guid>({s.wall2}));

	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.zone}); }), NoError);
	EXPECT_EQ(Selected(), (std::vector<API_Guid>{s.wall2, s.other}));
	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.wall2}); }), NoError);
	EXPECT_TRUE(NamedInRelation(s.other).empty()) << "the window went with its wall";
	EXPECT_TRUE(HostControl::Links().empty());
}

TEST_F(ModelStore, DeletingAnElementLinkedToItselfAndOthersDropsEachOfItsLinksOnce)
{
	Scene s;
	ASSERT_EQ(InCommand([&] { return ACAPI_ElementLink_Link(s.wall2, s.wall2, 2); }), NoError);
	std::vector<std::pair<API_Guid, API_Guid>> before = LinkPairs();
	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.wall2}); }), NoError);
	EXPECT_EQ(LinkPairs(), (std::vector<std::pair<API_Guid, API_Guid>>{{s.zone, s.wall1}, {s.wall3, s.zone}}));
	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_EQ(LinkPairs(), before);
}

TEST_F(ModelStore, UndoRestoresEveryListSoThatLaterChangesFindThemRight)
{
	Scene s;
	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.wall1, s.column}); }), NoError);
	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_EQ(HostControl::Elements().size(), 8u);
	EXPECT_EQ(NamedInRelation(s.zone).size(), 8u);
	EXPECT_EQ(Connected(s.wall1, doorType), std::vector<API_Guid>{s.door});
	EXPECT_EQ(HostControl::Links().size(), 5u);
	EXPECT_EQ(Selected().size(), 4u);
	EXPECT_EQ(HostControl::GroupMembers(s.group), (std::vector<API_Guid>{s.wall3, s.column}));

	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.wall3}); }), NoError);
	EXPECT_FALSE(HostControl::GetElement(s.column).has_value()) << "the group came back with the undo";
	EXPECT_EQ(NamedInRelation(s.zone), (std::vector<API_Guid>{s.wall1, s.wall2, s.wall1, s.wall2, s.door}));
}

// The lists a command may change, in the order the host reports them.
struct Lists {
	std::vector<API_Guid> elements;
	std::vector<std::pair<API_Guid, API_Guid>> links;
	std::vector<API_Guid> namedByZone;
	std::vector<API_Guid> selected;
	std::vector<API_Guid> grouped;

	static Lists Of(const Scene& s)
	{
		return {HostControl::Elements(), LinkPairs(), NamedInRelation(s.zone), Selected(),
		        HostControl::GroupMembers(s.group)};
	}
	bool operator==(const Lists& other) const
	{
		return elements == other.elements && links == other.links && namedByZone == other.namedByZone &&
		       selected == other.selected && grouped == other.grouped;
	}
};

TEST_F(ModelStore, UndoingStepAfterStepPutsEveryListBackInItsOrder)
{
	Scene s;
	Lists original = Lists::Of(s);
	ASSERT_EQ(InCommand([&] {
		          ACAPI_ElementLink_Unlink(s.zone, s.wall1);
		          ACAPI_ElementLink_Link(s.other, s.wall3, 1);
		          return ACAPI_Element_Delete({s.wall1});
	          }),
	          NoError);
	Lists afterFirst = Lists::Of(s);
	ASSERT_EQ(InCommand([&] {
		          HostControl::AddElement(NewRecord(API_ColumnID));
		          ACAPI_ElementLink_Link(s.wall2, s.other, 1);
		          return ACAPI_Element_Delete({s.column});
	          }),
	          NoError);
	ASSERT_NE(Lists::Of(s).elements, afterFirst.elements);

	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_TRUE(Lists::Of(s) == afterFirst) << "the made element went, the deleted group came back";
	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_TRUE(Lists::Of(s) == original) << "the deleted wall and door took their old places";
	EXPECT_EQ(Connected(s.wall1, doorType), std::vector<API_Guid>{s.door});
}

TEST_F(ModelStore, UndoPutsBackWhatAKeyHeldBeforeItWasDroppedAndMadeAgainInOneStep)
{
	Scene s;
	Lists original = Lists::Of(s);
	ASSERT_EQ(InCommand([&] {
		          // The second zone's only link goes and comes back twice, its list with it.
		          for (const API_Guid& target : {s.wall3, s.wall1}) {
			          ACAPI_ElementLink_Unlink(s.other, target == s.wall3 ? s.wall2 : s.wall3);
			          ACAPI_ElementLink_Link(s.other, target, 2);
		          }
		          return ACAPI_Element_Delete({s.wall2});
	          }),
	          NoError);
	ASSERT_FALSE(Lists::Of(s) == original);
	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_TRUE(Lists::Of(s) == original);
	UInt32 flags = 0;
	EXPECT_EQ(ACAPI_ElementLink_GetLinkFlags(s.other, s.wall2, &flags), NoError);
	EXPECT_EQ(flags, 1u);
}

TEST_F(ModelStore, CommandsThatGrowAndThinTheTablesManyTimesAreUndoneInOrder)
{
	Scene s;
	const Lists before = Lists::Of(s);
	std::vector<API_Guid> made;
	ASSERT_EQ(InCommand([&] {
		          for (int i = 0; i < 2000; ++i) {
			          API_Element wall = WallRecord({double(i), 10}, {double(i), 11}, 0.0, 0.2);
			          if (GSErrCode error = ACAPI_Element_Create(&wall, nullptr); error != NoError)
				          return error;
			          made.push_back(wall.header.guid);
			          if (GSErrCode error = ACAPI_ElementLink_Link(s.zone, made.back(), 1); error != NoError)
				          return error;
		          }
		          return NoError;
	          }),
	          NoError);
	GS::Array<API_Guid> everyOther;
	for (std::size_t i = 0; i < made.size(); i += 2)
		everyOther.Push(made[i]);
	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete(everyOther); }), NoError);
	GS::Array<API_Guid> fromZone;
	ASSERT_EQ(ACAPI_ElementLink_GetLinks(s.zone, &fromZone), NoError);
	ASSERT_EQ(fromZone.GetSize(), 2u + made.size() / 2);
	EXPECT_EQ(fromZone[2], made[1]);
	EXPECT_EQ(fromZone[fromZone.GetSize() - 1], made.back());

	ASSERT_TRUE(HostControl::UndoLastCommand());
	ASSERT_EQ(ACAPI_ElementLink_GetLinks(s.zone, &fromZone), NoError);
	EXPECT_EQ(std::vector<API_Guid>(fromZone.begin() + 2, fromZone.end()), made) << "back in the order made";
	ASSERT_TRUE(HostControl::UndoLastCommand());
	EXPECT_TRUE(Lists::Of(s) == before);
}

TEST_F(ModelStore, UndoGivesBackElementsAsTheyWereBeforeTheirChanges)
{
	Scene s;
	API_Element before = *HostControl::GetElement(s.wall1);
	API_Element moved = before;
	moved.wall.endC = {6, 0};
	API_Element mask = NewRecord(API_ZombieElemID);
	API_MASK_SET(mask, wall.endC);
	ASSERT_EQ(InCommand([&] {
		          ACAPI_Element_Change(&moved, &mask, nullptr, 0, true);
		          return ACAPI_Grouping_CreateGroup({s.wall1, s.wall2});
	          }),
	          NoError);
	EXPECT_EQ(HostControl::GetElement(s.wall1)->wall.endC.x, 6.0);
	EXPECT_NE(HostControl::GetElement(s.wall2)->header.groupGuid, APINULLGuid);

	ASSERT_TRUE(HostControl::UndoLastCommand());
	API_Element after = *HostControl::GetElement(s.wall1);
	EXPECT_EQ(std::memcmp(&after, &before, sizeof(API_Element)), 0) << "the undo step kept its own copy";
	EXPECT_EQ(HostControl::GetElement(s.wall2)->header.groupGuid, APINULLGuid);
}

TEST_F(ModelStore, AnOpeningMovedToAnotherWallIsListedThereInCreationOrder)
{
	Scene s;
	API_Guid laterDoor = AddOpening(API_DoorID, s.wall2, 4.0);
	API_Element moved = NewRecord(API_DoorID);
	moved.header.guid = s.door;
	moved.door.owner = s.wall2;
	API_Element mask = NewRecord(API_ZombieElemID);
	API_MASK_SET(mask, door.owner);
	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Change(&moved, &mask, nullptr, 0, true); }), NoError);

	EXPECT_TRUE(Connected(s.wall1, doorType).empty());
	EXPECT_EQ(Connected(s.wall2, doorType), (std::vector<API_Guid>{s.door, laterDoor}));
	EXPECT_EQ(Connected(s.wall2, windowType), std::vector<API_Guid>{s.window});
	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.wall1}); }), NoError);
	EXPECT_TRUE(HostControl::GetElement(s.door).has_value()) << "the door no longer sits in the deleted wall";
	ASSERT_EQ(InCommand([&] { return ACAPI_Element_Delete({s.wall2}); }), NoError);
	EXPECT_FALSE(HostControl::GetElement(s.door).has_value());
	GS::Array<API_Guid> doors;
	ASSERT_EQ(ACAPI_Element_GetElemList(doorType, &doors), NoError);
	EXPECT_TRUE(doors.IsEmpty());
}

TEST(NodePool, HandsOutSeparateAlignedEntriesAndReusesFreedOnes)
{
	// An odd size, so that rounding and block ends are exercised.
	Sim::NodePool pool(40);
	std::set<char*> live;
	for (int i = 0; i < 5000; ++i) {
		auto* entry = static_cast<char*>(pool.Allocate());
		EXPECT_EQ(reinterpret_cast<std::uintptr_t>(entry) % __STDCPP_DEFAULT_NEW_ALIGNMENT__, 0u);
		std::memset(entry, i, 40); // would overwrite a neighbour if entries overlapped
		ASSERT_TRUE(live.insert(entry).second);
	}
	for (auto next = live.begin(); next != live.end(); next = live.erase(next))
		EXPECT_EQ(static_cast<unsigned char>((*next)[39]), static_cast<unsigned char>((*next)[0]));

	void* freed = pool.Allocate();
	pool.Release(freed);
	EXPECT_EQ(pool.Allocate(), freed);
}

// Keys made one after another, as the host makes them, among keys of no order.
std::vector<API_Guid> MixedKeys()
{
	std::vector<API_Guid> keys;
	std::mt19937 random(7);
	for (unsigned i = 0; i < 600; ++i) {
		char text[40];
		std::snprintf(text, sizeof text, "5A17C0DE-0000-4000-8000-%012X", i);
		keys.push_back(APIGuidFromString(text));
		API_Guid other = {UInt32(random()), UInt16(random()), UInt16(random()), {1, 2}, {3, 4, 5, 6, 7, UInt8(i)}};
		keys.push_back(other);
	}
	return keys;
}

std::map<API_Guid, int> Contents(const Sim::GuidTable<int>& table)
{
	return std::map<API_Guid, int>(table.begin(), table.end());
}

TEST(GuidTable, KeepsWhatAnOrderedMapKeepsThroughGrowthErasureAndCopies)
{
	const std::vector<API_Guid> keys = MixedKeys();
	std::mt19937 random(11);
	Sim::GuidTable<int> table;
	std::map<API_Guid, int> expected;
	for (int step = 0; step < 20000; ++step) {
		const API_Guid& key = keys[random() % keys.size()];
		if (random() % 3 == 0) {
			EXPECT_EQ(table.erase(key), expected.erase(key));
		} else {
			table[key] += step;
			expected[key] += step;
		}
		auto found = table.find(key);
		ASSERT_EQ(found != table.end(), expected.count(key) == 1);
		if (found != table.end()) {
			EXPECT_EQ(found->second, expected[key]);
		}
		if (step % 2500 == 0) {
			Sim::GuidTable<int> copy = table;
			copy[keys.front()] = -1; // a copy shares no entry with its original
			EXPECT_EQ(Contents(table), expected);
			Sim::GuidTable<int> moved = std::move(copy);
			EXPECT_EQ(moved.size(), expected.size() + (expected.count(keys.front()) == 1 ? 0 : 1));
		}
	}
	EXPECT_EQ(table.size(), expected.size());
	EXPECT_EQ(Contents(table), expected);
}

} // namespace
