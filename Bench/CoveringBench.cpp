// velmora_bench: the time per zone of the three commands over projects of
// growing size, and the cost of one covering made as a multiple of one bare
// element create in the stand-in host.

#include <benchmark/benchmark.h>
#include <immintrin.h>
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "API/Commands.hpp"
#include "Coverings.hpp"
#include "DemoCoverings.hpp"
#include "HostControl.hpp"
#include "TiledSample.hpp"

namespace {

// The wall that the update benchmark moves in every apartment, and how far.
const char* const movedWall = "wall-bedroom-bath";
constexpr double wallMove = 0.1;

// Filled by the bare-create benchmark, which runs first.
double bareCreateSeconds = 0.0;

const Runner::SampleDescription& Sample()
{
	static const Runner::SampleDescription sample = [] {
		std::ifstream file(VELMORA_SAMPLE, std::ios::binary);
		std::ostringstream text;
		text << file.rdbuf();
		HostControl::ResetHost(); // the library lookup reads the libraries of a new project
		return Runner::ReadSampleDescription(text.str(), Runner::LibraryIndexInProject);
	}();
	return sample;
}

struct Apartments {
	Runner::LoadedProject project;
	CoveringSettings settings;
	std::size_t copies;
};

// Enough apartments for about the number of zones asked for.
Apartments Open(std::size_t zones)
{
	std::size_t perCopy = Sample().zones.size();
	std::size_t copies = std::max<std::size_t>(1, (zones + perCopy / 2) / perCopy);
	Runner::LoadedProject project = Runner::BuildSampleProject(Bench::TileSample(Sample(), copies));
	CoveringSettings settings =
	    Demo::CoveringSettingsForRun(Sample().favorites.front().name, HostControl::Defaults().lastRunProperty);
	return {std::move(project), std::move(settings), copies};
}

using ZoneStep = std::function<GSErrCode(const API_Guid&)>;

struct CommandRun {
	double seconds;
	std::size_t failedZones;
};

// Allocations below this come from the process's heap, which keeps what is freed.
constexpr int keptAllocationBytes = 64 << 20;
constexpr std::uintptr_t cacheLineBytes = 64;

struct AddressRange {
	std::uintptr_t begin;
	std::uintptr_t end;
};

// The process's writable memory, the project's among it, as the system lists its mappings.
std::vector<AddressRange> WritableMemory()
{
	std::ifstream maps("/proc/self/maps");
	std::vector<AddressRange> ranges;
	std::string line;
	while (std::getline(maps, line)) {
		unsigned long begin = 0;
		unsigned long end = 0;
		char permissions[5] = {};
		if (std::sscanf(line.c_str(), "%lx-%lx %4s", &begin, &end, permissions) == 3 && permissions[0] == 'r' &&
		    permissions[1] == 'w')
			ranges.push_back({begin, end});
	}
	return ranges;
}

// A user runs a command on a project that is not in the processor's caches; without this,
// a small project would be measured warm from the command before and a large one cold.
// Every line is flushed by address: reading a buffer larger than the last-level cache
// leaves much of a small project there, as that cache keeps lines a stream only passes.
void EvictCaches()
{
	for (const AddressRange& range : WritableMemory()) {
		for (std::uintptr_t line = range.begin; line < range.end; line += cacheLineBytes)
			_mm_clflush(reinterpret_cast<const void*>(line));
	}
	_mm_mfence();
}

// One undoable command over every zone, timed with the journal the host keeps for undo.
CommandRun RunCommand(const Apartments& apartments, const ZoneStep& step)
{
	std::size_t failed = 0;
	EvictCaches();
	auto start = std::chrono::steady_clock::now();
	GSErrCode result = ACAPI_CallUndoableCommand("Measured", [&] {
		for (const Runner::LoadedZone& zone : apartments.project.zones)
			failed += step(zone.guid) == NoError ? 0 : 1;
		return NoError;
	});
	std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
	if (result != NoError)
		throw std::runtime_error("the undoable command failed");
	return {elapsed.count(), failed};
}

GSErrCode AddStep(const Apartments& apartments, const API_Guid& zone)
{
	return AddCoveringsToRoom(zone, apartments.settings, "bench").Error();
}

void MoveOneWallInEachApartment(const Apartments& apartments)
{
	ACAPI_CallUndoableCommand("Move", [&] {
		for (std::size_t copy = 0; copy < apartments.copies; ++copy) {
			API_Element wall = *HostControl::GetElement(apartments.project.byId.at(Bench::CopyId(copy, movedWall)));
			API_Element mask = {};
			API_MASK_SET(mask, wall.begC);
			API_MASK_SET(mask, wall.endC);
			wall.wall.begC.x += wallMove;
			wall.wall.endC.x += wallMove;
			if (GSErrCode error = ACAPI_Element_Change(&wall, &mask, nullptr, 0, true); error != NoError)
				return error;
		}
		return NoError;
	});
}

double PeakMemoryMB()
{
	rusage usage = {};
	getrusage(RUSAGE_SELF, &usage);
	return double(usage.ru_maxrss) / 1024.0;
}

// One measured command over a new project, and what it made.
struct Measured {
	CommandRun run;
	std::size_t zones;
	std::size_t coverings; // elements the command added
};

using Scenario = Measured (*)(std::size_t zones);

Measured AddScenario(std::size_t zones)
{
	Apartments apartments = Open(zones);
	std::size_t before = HostControl::Elements().size();
	CommandRun run = RunCommand(apartments, [&](const API_Guid& zone) { return AddStep(apartments, zone); });
	Measured measured{run, apartments.project.zones.size(), HostControl::Elements().size() - before};
	HostControl::ResetHost(); // the project goes before the next is built
	return measured;
}

Measured UpdateScenario(std::size_t zones)
{
	Apartments apartments = Open(zones);
	RunCommand(apartments, [&](const API_Guid& zone) { return AddStep(apartments, zone); });
	MoveOneWallInEachApartment(apartments);
	CommandRun run = RunCommand(
	    apartments, [&](const API_Guid& zone) { return UpdateCoveringsOfRoom(zone, apartments.settings, "bench"); });
	return {run, apartments.project.zones.size(), 0};
}

Measured RemoveScenario(std::size_t zones)
{
	Apartments apartments = Open(zones);
	RunCommand(apartments, [&](const API_Guid& zone) { return AddStep(apartments, zone); });
	CommandRun run = RunCommand(apartments, RemoveCoveringsFromRoom);
	HostControl::ResetHost();
	return {run, apartments.project.zones.size(), 0};
}

// What the iterations of one benchmark measured. Times are the median of the runs, which
// a run disturbed by other work on the machine does not move.
struct Totals {
	std::vector<double> secondsPerZone;
	double zones = 0.0;
	double failedZones = 0.0;
	double coverings = 0.0;

	void Add(const Measured& measured)
	{
		secondsPerZone.push_back(measured.run.seconds / double(measured.zones));
		zones += double(measured.zones);
		failedZones += double(measured.run.failedZones);
		coverings += double(measured.coverings);
	}

	double MedianSecondsPerZone()
	{
		auto middle = secondsPerZone.begin() + std::ptrdiff_t(secondsPerZone.size() / 2);
		std::nth_element(secondsPerZone.begin(), middle, secondsPerZone.end());
		return *middle;
	}

	// The peak is the process's after the first run of this size: later runs of the same
	// size leave the heap more broken up, which adds to the peak but not to what a user sees.
	void Report(benchmark::State& state, double peakMB)
	{
		double iterations = double(state.iterations());
		double perZone = MedianSecondsPerZone();
		state.counters["zones"] = zones / iterations;
		state.counters["failed_zones"] = failedZones / iterations;
		state.counters["us_per_zone"] = perZone * 1e6;
		if (coverings == 0.0)
			return;
		double perCovering = perZone * zones / coverings;
		state.counters["coverings"] = coverings / iterations;
		state.counters["us_per_covering"] = perCovering * 1e6;
		state.counters["x_bare_create"] = perCovering / bareCreateSeconds;
		state.counters["peak_MB"] = peakMB;
	}
};

void BareCreate(benchmark::State& state)
{
	constexpr int creates = 10000;
	for (auto _ : state) {
		HostControl::ResetHost();
		API_Element wall = {};
		wall.header.type.typeID = API_WallID;
		wall.wall.thickness = 0.2;
		wall.wall.height = 3.0;
		auto start = std::chrono::steady_clock::now();
		ACAPI_CallUndoableCommand("Create", [&] {
			for (int i = 0; i < creates; ++i) {
				wall.wall.begC = {double(i), 0.0};
				wall.wall.endC = {double(i), 1.0};
				ACAPI_Element_Create(&wall, nullptr);
			}
			return NoError;
		});
		std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
		state.SetIterationTime(elapsed.count());
		double perCreate = elapsed.count() / creates;
		bareCreateSeconds = bareCreateSeconds == 0.0 ? perCreate : std::min(bareCreateSeconds, perCreate);
	}
	state.counters["us_per_create"] = bareCreateSeconds * 1e6;
}

// A first, uncounted run of the same size maps the memory such a project needs, so that
// no size pays the operating system's first touch of its pages and another not.
void RunScenario(benchmark::State& state, Scenario scenario)
{
	const auto zones = std::size_t(state.range(0));
	scenario(zones);
	double peakMB = PeakMemoryMB();
	Totals totals;
	for (auto _ : state) {
		Measured measured = scenario(zones);
		state.SetIterationTime(measured.run.seconds);
		totals.Add(measured);
	}
	totals.Report(state, peakMB);
}

} // namespace

int main(int argc, char** argv)
{
	benchmark::Initialize(&argc, argv);
	benchmark::RegisterBenchmark("BareCreate", BareCreate)
	    ->UseManualTime()
	    ->Unit(benchmark::kMillisecond)
	    ->Iterations(10);
	// Memory freed by one run stays with the process for the next, as a host keeps it.
	mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
	mallopt(M_MMAP_THRESHOLD, keptAllocationBytes);
	for (auto [name, scenario] :
	     {std::pair{"Add", AddScenario}, {"Update", UpdateScenario}, {"Remove", RemoveScenario}}) {
		// Fewer repetitions for the larger projects, whose building takes longer than the command.
		for (auto [zones, repetitions] : {std::pair{100, 20}, {1000, 5}, {10000, 3}}) {
			benchmark::RegisterBenchmark(name, RunScenario, scenario)
			    ->Arg(zones)
			    ->Iterations(repetitions)
			    ->UseManualTime()
			    ->Unit(benchmark::kMillisecond);
		}
	}
	benchmark::RunSpecifiedBenchmarks();
	benchmark::Shutdown();
	return 0;
}
