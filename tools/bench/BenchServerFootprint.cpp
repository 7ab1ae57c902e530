// What each supply costs the controller, with and without its windows: four
// children, headless with the remote server or windowed, on one or on eight
// simulated supplies of their own, measured side by side once all are
// connected and idle. Anonymous memory and CPU share, and what follows from
// them: the cost of each supply past the first, and what the window costs.
// Expected: an added supply costs less than the whole program with one (growth
// at most linear), and headless with one supply costs less than windowed.
#include "ControllerChild.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <array>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::chrono::seconds kConnectTimeout{20};
constexpr std::chrono::seconds kSettle{5};
constexpr std::chrono::seconds kIdleWindow{20};
constexpr int kMany = 8;

struct Subject {
    const char* name;
    ControllerChild::Face face;
    int supplies;
};

enum Index { kHeadlessOne, kHeadlessMany, kWindowedOne, kWindowedMany };

constexpr std::array<Subject, 4> kSubjects{{
    {"headless1", ControllerChild::Face::Headless, 1},
    {"headless8", ControllerChild::Face::Headless, kMany},
    {"windowed1", ControllerChild::Face::Windowed, 1},
    {"windowed8", ControllerChild::Face::Windowed, kMany},
}};

using Children = std::vector<std::unique_ptr<ControllerChild>>;
using Figures = std::array<double, kSubjects.size()>;

// One after the other, so that no start competes with another's.
bool startAll(Children& children)
{
    for (const Subject& subject : kSubjects) {
        children.push_back(std::make_unique<ControllerChild>(subject.face, subject.supplies));
        if (!children.back()->waitUntilConnected(kConnectTimeout)) {
            return false;
        }
    }
    return true;
}

bool allCommandedNothing(const Children& children)
{
    for (const auto& child : children) {
        if (!child->commandedNothing()) {
            return false;
        }
    }
    return true;
}

Figures memoryOf(const Children& children)
{
    Figures megabytes{};
    for (std::size_t i = 0; i < children.size(); ++i) {
        megabytes.at(i) = children[i]->probe().privateAnonymousMegabytes();
    }
    return megabytes;
}

// Over one window for all, so that whatever else runs on the machine weighs on all alike.
Figures cpuPercentOf(const Children& children)
{
    std::vector<std::future<double>> shares;
    for (const auto& child : children) {
        const ProcessProbe& probe = child->probe();
        shares.push_back(std::async(std::launch::async, [&probe] { return probe.scheduledShareOver(kIdleWindow); }));
    }
    Figures percent{};
    for (std::size_t i = 0; i < shares.size(); ++i) {
        percent.at(i) = 100.0 * shares[i].get();
    }
    return percent;
}

void report(benchmark::State& state, const std::string& figure, const Figures& values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        state.counters[std::string(kSubjects.at(i).name) + "_" + figure] = values.at(i);
    }
    const double added = kMany - 1;
    state.counters["headless_per_added_supply_" + figure] = (values[kHeadlessMany] - values[kHeadlessOne]) / added;
    state.counters["windowed_per_added_supply_" + figure] = (values[kWindowedMany] - values[kWindowedOne]) / added;
    state.counters["windowed_over_headless1_" + figure] = values[kWindowedOne] - values[kHeadlessOne];
}

void reportExitCodes(benchmark::State& state, Children& children)
{
    for (std::size_t i = 0; i < children.size(); ++i) {
        const int code = children[i]->terminate();
        if (kSubjects.at(i).face == ControllerChild::Face::Headless) {
            state.counters[std::string(kSubjects.at(i).name) + "_exit_code"] = code;
        }
    }
}

void ServerBesideWindows(benchmark::State& state)
{
    Children children;
    if (!startAll(children)) {
        state.SkipWithError("a child never polled all its supplies");
        return;
    }
    std::this_thread::sleep_for(kSettle);
    if (!allCommandedNothing(children)) {
        state.SkipWithError("a child sent its supply a command");
        return;
    }
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        report(state, "anon_mb", memoryOf(children));
        report(state, "cpu_percent", cpuPercentOf(children));
        state.SetIterationTime(static_cast<double>(kIdleWindow.count()));
    }
    reportExitCodes(state, children);
}

} // namespace

BENCHMARK(ServerBesideWindows)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
