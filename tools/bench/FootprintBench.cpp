// The built controller beside a bare Qt dialog polling the same kind of line,
// each a child against its own simulated supply: anonymous memory and idle CPU
// once both have settled, and the time from start to the first poll.
// Goals: at most 3 MB of memory above the bare dialog, the same idle CPU share,
// and the first poll within 0.1 s of the start.
#include "ProcessProbe.h"

#include "SimulatedSupply.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kFirstPollTimeout{10};
constexpr std::chrono::seconds kSettle{5};
constexpr std::chrono::seconds kIdleWindow{10};

QString devicePath(const SimulatedSupply& supply)
{
    return QString::fromStdString(supply.devicePath());
}

QProcessEnvironment childEnvironment(const SimulatedSupply& supply, const QString& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TENDREL_SERIAL_PORTS"), devicePath(supply));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    return environment;
}

// To the last byte of the first poll the supply took in; negative when none came.
double secondsToFirstPoll(const SimulatedSupply& supply, Clock::time_point started)
{
    if (!supply.waitForPolls(1, kFirstPollTimeout)) {
        return -1.0;
    }
    const auto frames = supply.frames();
    const auto poll = std::find_if(frames.begin(), frames.end(),
        [](const SimulatedSupply::Frame& frame) { return frame.kind == SimulatedSupply::FrameKind::Poll; });
    if (poll == frames.end()) {
        return -1.0;
    }
    return std::chrono::duration<double>(poll->lastByteAt - started).count();
}

void reportSideBySide(benchmark::State& state, const std::string& figure, double bare, double controller)
{
    state.counters["bare_" + figure] = bare;
    state.counters["controller_" + figure] = controller;
    state.counters["extra_" + figure] = controller - bare;
}

// Over one window for both, so that whatever else runs on the machine meanwhile
// weighs on both alike.
void reportIdleCpu(benchmark::State& state, const ProcessProbe& bare, const ProcessProbe& controller)
{
    auto bareShare = std::async(std::launch::async, [&bare] { return bare.cpuShareOver(kIdleWindow); });
    const double controllerShare = controller.cpuShareOver(kIdleWindow);
    reportSideBySide(state, "cpu_percent", 100.0 * bareShare.get(), 100.0 * controllerShare);
}

void ControllerBesideBareDialog(benchmark::State& state)
{
    QTemporaryDir config;
    SimulatedSupply bareSupply;
    SimulatedSupply controllerSupply;
    bareSupply.start();
    controllerSupply.start();
    // One after the other, so that neither start competes with the other's.
    const auto bareStarted = Clock::now();
    const ProcessProbe bare(QStringLiteral(TENDREL_BARE_DIALOG_PATH), {devicePath(bareSupply)},
        childEnvironment(bareSupply, config.path()));
    const double bareFirstPoll = secondsToFirstPoll(bareSupply, bareStarted);
    const auto controllerStarted = Clock::now();
    const ProcessProbe controller(
        QStringLiteral(TENDREL_CONTROLLER_PATH), {}, childEnvironment(controllerSupply, config.path()));
    const double controllerFirstPoll = secondsToFirstPoll(controllerSupply, controllerStarted);
    if (bareFirstPoll < 0.0 || controllerFirstPoll < 0.0) {
        state.SkipWithError("a child never polled its supply");
        return;
    }
    std::this_thread::sleep_for(kSettle);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        reportSideBySide(state, "anon_mb", bare.privateAnonymousMegabytes(), controller.privateAnonymousMegabytes());
        reportIdleCpu(state, bare, controller);
        state.SetIterationTime(static_cast<double>(kIdleWindow.count()));
    }
    reportSideBySide(state, "first_poll_ms", 1000.0 * bareFirstPoll, 1000.0 * controllerFirstPoll);
}

} // namespace

BENCHMARK(ControllerBesideBareDialog)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
