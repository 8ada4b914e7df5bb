// The three room commands over the whole sample, each host call of a clean
// run failed once in turn, and then memory running out from each allocation
// on: no crash, nothing leaked, no failure passed off as success, undo back to
// the model as it was, and nothing of a failed add that a remove cannot find.
#include <algorithm>
#include <iostream>
#include <set>

#include <gtest/gtest.h>

#include "API/Commands.hpp"
#include "CoveringIdentity.hpp"
#include "Coverings.hpp"
#include "DemoCoverings.hpp"
#include "FaultControl.hpp"
#include "HostControl.hpp"
#include "ModelBuilder.hpp"
#include "ModelImage.hpp"
#include "SampleProject.hpp"

namespace {

enum class Command { Add, Update, Remove };

const char* NameOf(Command command)
{
	switch (command) {
	case Command::Add:
		return "Add";
	case Command::Update:
		return "Update";
	default:
		return "Remove";
	}
}

// The engine's codes on which the command goes on with the next zone.
bool SkipsZone(Command command, ErrCode error)
{
	switch (command) {
	case Command::Add:
		return error == COVERR_DOUBLE_ADD || error == COVERR_ZONE_STORY;
	case Command::Update:
		return error == COVERR_ZONE_STORY || error == COVERR_UPDATE_INCONSISTENCY;
	default:
		return false;
	}
}

// What one sweep saw, for its report.
struct SweepCount {
	UInt32 positions = 0;
	std::set<std::string> ignoredCalls; // failed, yet the run succeeded with a clean model
	UInt32 removedAfterFailedAdd = 0;   // elements that a failed add left and a remove deleted
};

class CommandSweep : public ::testing::TestWithParam<Command> {
protected:
	void TearDown() override { settings.reset(); }

	// A fresh host with the sample, covered already for an update or a remove.
	void Open(Command command)
	{
		settings.reset();
		HostControl::ResetHost();
		Runner::LoadResult loaded =
		    Runner::LoadSampleProject(VELMORA_SAMPLES_DIR "/apartment.json", Runner::LibraryIndexInProject);
		ASSERT_TRUE(loaded.project.has_value()) << loaded.message;
		zones = loaded.project->zones;
		settings.emplace(Demo::CoveringSettingsForRun("Plaster lining 15 mm", HostControl::Defaults().lastRunProperty));
		std::vector<API_Guid> doors = HostControl::Elements(API_DoorID);
		if (command != Command::Add) {
			ASSERT_EQ(Run(Command::Add), NoError);
		}
		if (command == Command::Update)
			MoveAndAddDoors(doors);
		HostControl::ResetCallCounts();
	}

	// The command as the room commands run it: every zone inside one undoable
	// command, in order, stopping at the first error that does not skip a zone.
	ErrCode Run(Command command)
	{
		return ACAPI_CallUndoableCommand(NameOf(command), [&] {
			for (const Runner::LoadedZone& zone : zones) {
				ErrCode error = RunOnZone(command, zone.guid);
				if (error != NoError && !SkipsZone(command, error))
					return error;
			}
			return NoError;
		});
	}

	ErrCode RunOnZone(Command command, const API_Guid& zone)
	{
		switch (command) {
		case Command::Add:
			return AddCoveringsToRoom(zone, *settings, "run").Error();
		case Command::Update:
			return UpdateCoveringsOfRoom(zone, *settings, "later run");
		default:
			return RemoveCoveringsFromRoom(zone);
		}
	}

	// The update then re-fits a moved door's holes and makes holes for a new one.
	static void MoveAndAddDoors(const std::vector<API_Guid>& doors)
	{
		ASSERT_FALSE(doors.empty());
		API_Element door = *HostControl::GetElement(doors.front());
		door.door.objLoc += 0.2;
		HostControl::SetElement(door);
		ModelBuilder::AddOpening(API_DoorID, door.door.owner, door.door.objLoc + 1.2);
	}

	struct CleanRun {
		UInt32 calls;
		UInt32 memoryCalls;
		ModelImage model;
	};

	CleanRun RunClean(Command command)
	{
		Open(command);
		EXPECT_EQ(Run(command), NoError) << "the clean run";
		return {HostControl::TotalCallCount(), HostControl::MemoryCallCount(), TakeModelImage()};
	}

	// Runs the command once with the fault that inject sets up and checks all
	// that must hold after it.
	// callPosition: the position of the one failed call; 0 when memory runs out.
	template <typename Inject>
	void RunFailing(Command command, const ModelImage& clean, UInt32 callPosition, Inject inject, SweepCount& count)
	{
		Open(command);
		ModelImage before = TakeModelImage();
		std::size_t undoSteps = HostControl::UndoStepNames().size();
		Int32 handles = HostControl::LiveHandleCount();
		Int32 pointers = HostControl::LivePointerCount();
		inject();
		ErrCode result = Run(command);
		HostControl::ClearFaults();
		EXPECT_EQ(HostControl::LiveHandleCount(), handles) << "memory handles leaked";
		EXPECT_EQ(HostControl::LivePointerCount(), pointers) << "pointer blocks leaked";
		++count.positions;
		if (result == NoError) {
			EXPECT_EQ(ModelDifferences(clean, TakeModelImage()), std::vector<std::string>())
			    << "a failure passed for success";
			std::vector<std::string> calls = HostControl::CallLog();
			count.ignoredCalls.insert(callPosition == 0 ? "memory" : calls.at(callPosition - 1));
		} else if (command == Command::Add)
			count.removedAfterFailedAdd += ExpectRemoveTakesWhatWasLeft(before);
		bool ran = HostControl::UndoStepNames().size() > undoSteps;
		if (ran) {
			ASSERT_TRUE(HostControl::UndoLastCommand());
		}
		EXPECT_EQ(ModelDifferences(before, TakeModelImage()), std::vector<std::string>()) << "undo restores";
	}

	// A later remove over every zone takes away every element and link that
	// the failed add made; only the zones' records of their hole kinds stay, as
	// after any remove. Returns how many elements the add had left. The remove
	// is undone again.
	UInt32 ExpectRemoveTakesWhatWasLeft(const ModelImage& beforeAdd)
	{
		UInt32 left = static_cast<UInt32>(HostControl::Elements().size() - ElementCount(beforeAdd));
		EXPECT_EQ(Run(Command::Remove), NoError) << "removing what a failed add left";
		ModelImage removed = TakeModelImage();
		for (const Runner::LoadedZone& zone : zones)
			removed.erase(UserDataPart(zone.guid));
		EXPECT_EQ(ModelDifferences(beforeAdd, removed), std::vector<std::string>())
		    << "the remove leaves something of the failed add";
		EXPECT_TRUE(HostControl::UndoLastCommand());
		return left;
	}

	static std::size_t ElementCount(const ModelImage& model)
	{
		return static_cast<std::size_t>(std::count_if(
		    model.begin(), model.end(), [](const auto& part) { return part.first.rfind("element ", 0) == 0; }));
	}

	void SweepCalls(Command command)
	{
		CleanRun clean = RunClean(command);
		SweepCount count;
		for (UInt32 nth = 1; nth <= clean.calls && !TooManyFailures(); ++nth) {
			SCOPED_TRACE(std::string(NameOf(command)) + ", failing host call " + std::to_string(nth));
			RunFailing(
			    command, clean.model, nth, [nth] { HostControl::FailAnyCall(nth, APIERR_GENERAL); }, count);
		}
		Report(command, "host call", count);
	}

	void SweepMemory(Command command)
	{
		CleanRun clean = RunClean(command);
		SweepCount count;
		for (UInt32 nth = 1; nth <= clean.memoryCalls && !TooManyFailures(); ++nth) {
			SCOPED_TRACE(std::string(NameOf(command)) + ", memory gone from allocation " + std::to_string(nth));
			RunFailing(
			    command, clean.model, 0, [nth] { HostControl::FailMemoryFrom(nth); }, count);
		}
		Report(command, "memory", count);
	}

	// A broken path fails at many positions; the first few tell it.
	bool TooManyFailures() const
	{
		return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() > 20;
	}

	static void Report(Command command, const char* what, const SweepCount& count)
	{
		std::cout << NameOf(command) << ": " << count.positions << " " << what
		          << " positions swept; each run checked for no leaked handle or pointer, a failure result or a "
		             "model exactly as after a clean run, undo back to the model before it";
		if (command == Command::Add)
			std::cout << ", and a later remove deleting all " << count.removedAfterFailedAdd
			          << " elements that failed adds left, with their links";
		std::cout << ". Failed calls that still gave a clean model:";
		for (const std::string& call : count.ignoredCalls)
			std::cout << " " << call;
		if (count.ignoredCalls.empty())
			std::cout << " none";
		std::cout << "\n";
	}

	std::vector<Runner::LoadedZone> zones;
	std::optional<CoveringSettings> settings;
};

TEST_P(CommandSweep, FailingEachHostCall)
{
	SweepCalls(GetParam());
}

TEST_P(CommandSweep, WithMemoryRunningOut)
{
	SweepMemory(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandSweep, ::testing::Values(Command::Add, Command::Update, Command::Remove),
                         [](const ::testing::TestParamInfo<Command>& info) { return NameOf(info.param); });

} // namespace
