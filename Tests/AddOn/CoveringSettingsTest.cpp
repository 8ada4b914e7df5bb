#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "CoveringSettings.hpp"
#include "GS/Memory.hpp"
#include "HostTest.hpp"
#include "SettingsEquality.hpp"
#include "SettingsSamples.hpp"

namespace {

using SettingsSamples::ArrayValueCount;
using SettingsSamples::FillParams;
using SettingsSamples::MixedParams;

class CoveringSettingsTest : public HostTest {};

// The array value handles of a memo's parameters, in record order.
std::vector<GSHandle> ArrayValues(const ParamsMemo& memo)
{
	std::vector<GSHandle> values;
	for (USize i = 0; i < memo.GetParamCount(); ++i) {
		const API_AddParType& record = (*memo.elementMemo.params)[i];
		if (record.typeMod == API_ParArray)
			values.push_back(record.value.array);
	}
	return values;
}

// True when the two memos have no handle in common.
bool ShareNoHandle(const ParamsMemo& left, const ParamsMemo& right)
{
	if (left.elementMemo.params != nullptr && left.elementMemo.params == right.elementMemo.params)
		return false;
	for (GSHandle value : ArrayValues(left)) {
		for (GSHandle other : ArrayValues(right)) {
			if (value == other)
				return false;
		}
	}
	return true;
}

enum class MemoState { Absent, PresentWithoutParams, WithParams };

const char* Name(MemoState state)
{
	switch (state) {
	case MemoState::Absent:
		return "absent";
	case MemoState::PresentWithoutParams:
		return "present without parameters";
	case MemoState::WithParams:
		return "with parameters";
	}
	return "";
}

void SetMemo(ElementCovSettings& settings, MemoState state)
{
	if (state == MemoState::Absent)
		return;
	ParamsMemo& memo = settings.memo.New();
	if (state == MemoState::WithParams)
		FillParams(memo, MixedParams());
}

Int32 HandlesOf(MemoState state)
{
	return state == MemoState::WithParams ? 1 + ArrayValueCount(MixedParams()) : 0;
}

void ExpectMemoState(const ElementCovSettings& settings, MemoState state)
{
	ASSERT_EQ(settings.memo.HasValue(), state != MemoState::Absent);
	if (state == MemoState::PresentWithoutParams) {
		EXPECT_EQ(settings.memo->elementMemo.params, nullptr);
	}
	if (state == MemoState::WithParams) {
		ASSERT_EQ(settings.memo->GetParamCount(), MixedParams().size());
		for (USize i = 0; i < settings.memo->GetParamCount(); ++i)
			EXPECT_EQ((*settings.memo->elementMemo.params)[i].valueCache, 0u) << "record " << i;
	}
}

const MemoState allStates[] = {MemoState::Absent, MemoState::PresentWithoutParams, MemoState::WithParams};

TEST_F(CoveringSettingsTest, CopyingGivesAnEqualRecordThatSharesNoHandle)
{
	for (MemoState state : allStates) {
		SCOPED_TRACE(Name(state));
		Int32 before = HostControl::LiveHandleCount();
		{
			ElementCovSettings source;
			source.favoriteName = "Plaster";
			source.properties = {SettingsSamples::SampleProperty()};
			SetMemo(source, state);
			ElementCovSettings copy(source);
			EXPECT_EQ(HostControl::LiveHandleCount(), before + 2 * HandlesOf(state));
			ExpectMemoState(copy, state);
			EXPECT_TRUE(copy == source);
			if (state != MemoState::Absent) {
				EXPECT_TRUE(ShareNoHandle(*copy.memo, *source.memo));
			}
		}
		EXPECT_EQ(HostControl::LiveHandleCount(), before);
	}
}

TEST_F(CoveringSettingsTest, AssignmentReplacesTheMemoByAnUnsharedCopy)
{
	for (MemoState targetState : allStates) {
		for (MemoState sourceState : allStates) {
			SCOPED_TRACE(std::string(Name(targetState)) + " := " + Name(sourceState));
			Int32 before = HostControl::LiveHandleCount();
			{
				ElementCovSettings source;
				source.enabled = true;
				source.classifications = {{APIGuidFromString("60C07334-9F82-40BB-9487-D2738BA0AFB6"), APINULLGuid}};
				SetMemo(source, sourceState);
				ElementCovSettings target;
				target.favoriteName = "old";
				target.categoryValues = {SettingsSamples::SampleCategoryValue()};
				SetMemo(target, targetState);

				target = source;
				EXPECT_EQ(HostControl::LiveHandleCount(), before + 2 * HandlesOf(sourceState));
				ExpectMemoState(target, sourceState);
				EXPECT_TRUE(target == source);
				EXPECT_TRUE(target.categoryValues.IsEmpty());
				if (sourceState != MemoState::Absent) {
					EXPECT_TRUE(ShareNoHandle(*target.memo, *source.memo));
				}
			}
			EXPECT_EQ(HostControl::LiveHandleCount(), before);
		}
	}
}

TEST_F(CoveringSettingsTest, ChangingOneCopysArrayValueLeavesTheOtherIntact)
{
	ElementCovSettings source;
	FillParams(source.memo.New(), MixedParams());
	ElementCovSettings copy = source;
	std::vector<GSHandle> copied = ArrayValues(*copy.memo);
	ASSERT_FALSE(copied.empty());
	std::memset(*copied[0], 0x5A, static_cast<std::size_t>(BMGetHandleSize(copied[0])));
	EXPECT_FALSE(copy == source);

	// Disposing the copy's value handle must leave the source's readable.
	BMKillHandle(&(*copy.memo->elementMemo.params)[4].value.array);
	const std::vector<char> original = *MixedParams()[4].arrayValue;
	GSHandle kept = ArrayValues(*source.memo)[0];
	ASSERT_EQ(BMGetHandleSize(kept), static_cast<GSSize>(original.size()));
	EXPECT_EQ(std::memcmp(*kept, original.data(), original.size()), 0);
}

TEST_F(CoveringSettingsTest, SelfAssignmentChangesNothing)
{
	CoveringSettings settings = SettingsSamples::RichSettings();
	const CoveringSettings before = settings;
	API_AddParType** params = settings.wall.doorHoles.memo->elementMemo.params;
	std::vector<GSHandle> values = ArrayValues(*settings.wall.doorHoles.memo);
	Int32 handles = HostControl::LiveHandleCount();

	CoveringSettings& alias = settings;
	settings = alias;
	ElementCovSettings& holes = settings.wall.doorHoles;
	holes = *&holes;

	EXPECT_TRUE(settings == before);
	EXPECT_EQ(settings.wall.doorHoles.memo->elementMemo.params, params);
	EXPECT_EQ(ArrayValues(*settings.wall.doorHoles.memo), values);
	EXPECT_EQ(HostControl::LiveHandleCount(), handles);
	EXPECT_EQ(settings.wall.favoriteName, GS::UniString("Plaster 15"));
}

TEST_F(CoveringSettingsTest, DeepCopyCopiesAPartialRecordBytewiseAndNoValue)
{
	ParamsMemo source;
	FillParams(source, {SettingsSamples::ArrayParam(APIParT_RealNum, {1, 2})});
	GSHandle shortList = nullptr;
	BMPtrToHandle(reinterpret_cast<const char*>(*source.elementMemo.params), &shortList, 100);
	Int32 handles = HostControl::LiveHandleCount();

	ParamsMemo copy;
	EXPECT_EQ(copy.DeepCopy(reinterpret_cast<API_AddParType**>(shortList)), NoError);
	EXPECT_EQ(HostControl::LiveHandleCount(), handles + 1) << "the list only, no value handle";
	EXPECT_EQ(copy.GetParamCount(), 0u);
	ASSERT_EQ(BMGetHandleSize(copy.elementMemo.params), 100);
	EXPECT_EQ(std::memcmp(*copy.elementMemo.params, *shortList, 100), 0);
	BMKillHandle(&shortList);
}

TEST_F(CoveringSettingsTest, DeepCopyOfItsOwnListKeepsTheParameters)
{
	ParamsMemo memo;
	FillParams(memo, MixedParams());
	ParamsMemo expected(memo);
	Int32 handles = HostControl::LiveHandleCount();
	EXPECT_EQ(memo.DeepCopy(memo.elementMemo.params), NoError);
	EXPECT_TRUE(memo == expected);
	EXPECT_EQ(HostControl::LiveHandleCount(), handles);
}

TEST_F(CoveringSettingsTest, AFailedValueCopyLeavesNoSharedHandle)
{
	for (UInt32 failingCopy = 1; failingCopy <= 3; ++failingCopy) {
		SCOPED_TRACE(failingCopy);
		ParamsMemo source;
		FillParams(source, MixedParams());
		HostControl::FailCall("BMHandleToHandle", failingCopy, ErrMemoryFull);
		ParamsMemo copy;
		EXPECT_NE(copy.DeepCopy(source.elementMemo.params), NoError);
		HostControl::ClearFaults();
		EXPECT_TRUE(ShareNoHandle(copy, source));
		EXPECT_FALSE(copy == source);
	}
}

TEST_F(CoveringSettingsTest, CopiedSettingsOwnEveryNestedMemo)
{
	Int32 before = HostControl::LiveHandleCount();
	{
		CoveringSettings source = SettingsSamples::RichSettings();
		Int32 held = HostControl::LiveHandleCount() - before;
		CoveringSettings copy(source);
		EXPECT_EQ(HostControl::LiveHandleCount(), before + 2 * held);
		EXPECT_TRUE(copy == source);
		EXPECT_TRUE(ShareNoHandle(*copy.wall.doorHoles.memo, *source.wall.doorHoles.memo));
		EXPECT_TRUE(copy.wall.windowHoles.memo.HasValue());
		EXPECT_EQ(copy.wall.windowHoles.memo->elementMemo.params, nullptr);
		source = CoveringSettings();
		EXPECT_EQ(HostControl::LiveHandleCount(), before + held);
	}
	EXPECT_EQ(HostControl::LiveHandleCount(), before);
}

struct DefaultSet {
	const char* name;
	std::function<CoveringSettings()> make;
	bool wall, innerContours, ceiling, floor, floorInsets, showSummary;
};

TEST_F(CoveringSettingsTest, DefaultSetsSwitchOnTheirFieldsOnly)
{
	const DefaultSet sets[] = {
	    {"plain", [] { return CoveringSettings(); }, false, false, false, false, false, false},
	    {"palette defaults", [] { return PaletteSettings().coveringSettings; }, true, true, true, true, true, true},
	    {"palette defaults", PaletteDefaultSettings, true, true, true, true, true, true},
	    {"cleared palette", ClearedPaletteSettings, true, true, false, false, false, false},
	};
	for (const DefaultSet& set : sets) {
		SCOPED_TRACE(set.name);
		CoveringSettings settings = set.make();
		EXPECT_EQ(settings.wall.enabled, set.wall);
		EXPECT_EQ(settings.wall.innerContours, set.innerContours);
		EXPECT_EQ(settings.ceiling.enabled, set.ceiling);
		EXPECT_EQ(settings.floor.enabled, set.floor);
		EXPECT_EQ(settings.floor.insets, set.floorInsets);
		EXPECT_EQ(settings.showSummary, set.showSummary);
		// Everything else keeps the plain values.
		CoveringSettings plain;
		plain.wall.enabled = set.wall;
		plain.wall.innerContours = set.innerContours;
		plain.ceiling.enabled = set.ceiling;
		plain.floor.enabled = set.floor;
		plain.floor.insets = set.floorInsets;
		plain.showSummary = set.showSummary;
		EXPECT_TRUE(settings == plain);
		const std::vector<const ElementCovSettings*> kinds = {
		    &settings.wall, &settings.wall.doorHoles, &settings.wall.windowHoles, &settings.ceiling, &settings.floor};
		for (const ElementCovSettings* kind : kinds) {
			const char* bytes = reinterpret_cast<const char*>(&kind->toolElement);
			EXPECT_EQ(std::count(bytes, bytes + sizeof(API_Element), 0), static_cast<long>(sizeof(API_Element)));
			EXPECT_FALSE(kind->memo.HasValue());
		}
	}
}

TEST_F(CoveringSettingsTest, OnlyTheCeilingValueIsACeiling)
{
	const std::pair<Int16, bool> cases[] = {{0, false}, {1, true}, {2, false}, {3, false}, {-1, false}};
	for (const auto& [value, isCeiling] : cases)
		EXPECT_EQ(IsCeilingCovering(static_cast<SlabCovType>(value)), isCeiling) << value;
}

} // namespace
