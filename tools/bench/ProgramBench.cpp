// The program engine and the protection limits: a trip's reply to the
// output-off frame on the line, the steps' frames against their schedule,
// and the engine's cost per reading on the UI thread.
#include "SimulatedSupply.h"
#include "engine/ProgramRun.h"
#include "station/SupplyStation.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

bool waitFor(const std::function<bool()>& condition, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!condition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return condition();
}

void reportMilliseconds(benchmark::State& state, std::vector<double> seconds)
{
    std::sort(seconds.begin(), seconds.end());
    state.counters["min_ms"] = 1000 * seconds.front();
    state.counters["median_ms"] = 1000 * seconds[seconds.size() / 2];
    state.counters["p90_ms"] = 1000 * seconds[seconds.size() * 9 / 10];
    state.counters["max_ms"] = 1000 * seconds.back();
}

// The station on the simulated supply with 2 Ω across it, live.
struct LiveStation {
    LiveStation()
    {
        supply.start();
        // Set before the station's worker starts.
        ::setenv("TENDREL_SERIAL_PORTS", supply.devicePath().c_str(), 1); // NOLINT(concurrency-mt-unsafe)
        station = std::make_unique<SupplyStation>();
        station->settings().listPorts();
        station->start();
        waitFor([this] { return station->controller().live(); }, 5000);
    }
    ~LiveStation() { station->shutDown(); }
    LiveStation(const LiveStation&) = delete;
    LiveStation& operator=(const LiveStation&) = delete;

    SimulatedSupply supply;
    std::unique_ptr<SupplyStation> station;
};

// 3 V is the limit; 4 V set at a random phase of the poll crosses it.
void TripToOutputOff(benchmark::State& state)
{
    LiveStation live;
    SupplyController& controller = live.station->controller();
    ProtectionWatch& protection = live.station->protection();
    ProtectionLimits limits;
    limits.volts = 3.0;
    protection.setLimits(limits);
    Clock::time_point trippedAt;
    QObject::connect(&protection, &ProtectionWatch::trippedOn, [&] { trippedAt = Clock::now(); });
    std::mt19937 random(3);
    std::uniform_int_distribution<int> phase(0, 400);
    std::vector<double> latencies;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        protection.clear();
        controller.commandVoltage(2.0);
        controller.requestOutput(true);
        waitFor([&] { return live.supply.outputOn() && controller.commandsSettled(); }, 3000);
        waitFor([] { return false; }, phase(random));
        controller.commandVoltage(4.0);
        // Until the controller too has seen the output off, or the next round's
        // request would follow the toggle still on its way.
        waitFor([&] { return protection.tripped() && !controller.outputOn() && controller.commandsSettled(); }, 3000);
        const auto frames = live.supply.commandFrames();
        const auto off = std::find_if(frames.begin(), frames.end(), [&](const SimulatedSupply::Frame& frame) {
            return frame.lastByteAt >= trippedAt && frame.kind == SimulatedSupply::FrameKind::SetVoltageToggle;
        });
        latencies.push_back(
            off == frames.end() ? 1.0 : std::chrono::duration<double>(off->lastByteAt - trippedAt).count());
        state.SetIterationTime(latencies.back());
        live.supply.clearFrames();
    }
    reportMilliseconds(state, latencies);
}

// A ladder of half-second steps, their voltages rising in 40 rungs.
constexpr int kLadderSteps = 120;
constexpr auto kLadderDwell = std::chrono::milliseconds(500);

double ladderVolts(int step)
{
    return 1.0 + 0.05 * (step % 40);
}

Program ladder()
{
    Program program;
    for (int k = 0; k < kLadderSteps; ++k) {
        ProgramStep step;
        step.volts = ladderVolts(k);
        step.output = true;
        step.duration = step.maxDuration = kLadderDwell;
        program.body.items.push_back({step});
    }
    return program;
}

// In step order, how late each step's voltage frame came after its moment on
// the schedule, in seconds; up to the first step without one.
std::vector<double> scheduleErrors(
    const std::vector<SimulatedSupply::Frame>& frames, Clock::time_point start, double fullScale)
{
    std::vector<double> errors;
    auto next = frames.begin();
    for (int k = 0; k < kLadderSteps; ++k) {
        const double raw = ladderVolts(k) / fullScale * 1000.0;
        next = std::find_if(next, frames.end(), [&](const SimulatedSupply::Frame& frame) {
            return frame.kind != SimulatedSupply::FrameKind::SetCurrent && std::abs(frame.raw - raw) <= 1.0;
        });
        if (next == frames.end()) {
            break;
        }
        errors.push_back(std::chrono::duration<double>(next->lastByteAt - (start + k * kLadderDwell)).count());
    }
    return errors;
}

// The mean over ten steps from `from`, a step not found counting as none late.
double tenStepMean(const std::vector<double>& errors, std::size_t from)
{
    double sum = 0.0;
    for (std::size_t i = from; i < std::min(errors.size(), from + 10); ++i) {
        sum += errors[i];
    }
    return sum / 10;
}

// Each step's voltage frame against its moment on the schedule from the
// start; the last errors show any drift.
void StepFramesAgainstSchedule(benchmark::State& state)
{
    LiveStation live;
    const double full = live.station->controller().profile().voltageMax;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        ProgramEngine& engine = live.station->programs();
        engine.load(ladder());
        live.supply.clearFrames();
        const Clock::time_point start = Clock::now();
        engine.start();
        waitFor([&] { return !engine.active(); }, kLadderSteps * 600 + 5000);
        const Clock::time_point endedAt = Clock::now();
        const std::vector<double> errors = scheduleErrors(live.supply.commandFrames(), start, full);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.counters["steps_found"] = static_cast<double>(errors.size());
        state.counters["first10_mean_ms"] = 1000 * tenStepMean(errors, 0);
        state.counters["last10_mean_ms"] = 1000 * tenStepMean(errors, kLadderSteps - 10);
        state.counters["end_late_ms"]
            = 1000 * std::chrono::duration<double>(endedAt - (start + kLadderSteps * kLadderDwell)).count();
        reportMilliseconds(state, errors);
    }
}

// The run's work for one reading of a step that ends on the current.
void EngineWorkPerReading(benchmark::State& state)
{
    Program program;
    ProgramStep step;
    step.volts = 4.2;
    step.ends = {{EndCondition::Kind::CurrentAtMost, 0.05}, {EndCondition::Kind::Charge, 1e9},
        {EndCondition::Kind::VoltageDrop, 0.01}};
    step.maxDuration = std::chrono::hours(1000000);
    program.body.items.push_back({step});
    ProgramRun run(program,
        {[](double) {}, [](double) {}, [](bool) {}, [](double v) { return v; }, [](double a) { return a; },
            [](int) {}});
    const QDateTime wall = QDateTime::currentDateTime();
    Clock::time_point at = Clock::now();
    run.begin(at, wall);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        at += std::chrono::milliseconds(400);
        run.advance(at, wall);
        benchmark::DoNotOptimize(run.take(Measurement{4.2, 1.0, true, true, at}, true, wall));
    }
}

// The limits and the idle engine as the controller's signal reaches them.
void LimitsPerReading(benchmark::State& state)
{
    SupplyStation station;
    ProtectionLimits limits;
    limits.volts = 30.0;
    limits.amperes = 10.0;
    limits.watts = 100.0;
    limits.ampereHours = 1000.0;
    station.protection().setLimits(limits);
    Measurement measurement{4.2, 1.0, true, true, Clock::now()};
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        measurement.at += std::chrono::milliseconds(400);
        emit station.controller().measured(measurement);
    }
}

} // namespace

BENCHMARK(EngineWorkPerReading)->Unit(benchmark::kMicrosecond);
BENCHMARK(LimitsPerReading)->Unit(benchmark::kMicrosecond);
BENCHMARK(TripToOutputOff)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(StepFramesAgainstSchedule)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir config;
    // Set before any thread of ours starts.
    ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1); // NOLINT(concurrency-mt-unsafe)
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
