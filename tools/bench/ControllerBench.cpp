// Start-up time, idle CPU share and memory of the controller against the
// simulated supply, and the settings save that runs at every loss of the link.
#include "ProcessProbe.h"

#include "SimulatedSupply.h"
#include "app/ControllerDialog.h"
#include "panels/DiagnosticLog.h"
#include "settings/ControllerSettings.h"
#include "station/SupplyStation.h"
#include "toolkit/ClassicEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

QProcessEnvironment controllerEnvironment(const QString& ports, const QString& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TENDREL_SERIAL_PORTS"), ports);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    return environment;
}

void StartToControlsLive(benchmark::State& state)
{
    SimulatedSupply supply;
    supply.start();
    // Set before any thread of ours starts.
    ::setenv("TENDREL_SERIAL_PORTS", supply.devicePath().c_str(), 1); // NOLINT(concurrency-mt-unsafe)
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        QElapsedTimer clock;
        clock.start();
        SupplyStation station;
        ControllerDialog dialog(station);
        dialog.initialise();
        while (!dialog.controller().controlsShown() && clock.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
        dialog.reject();
        // Let the supply forget the last session before the next one starts.
        QThread::msleep(300);
    }
}

void ConnectedAndIdle(benchmark::State& state)
{
    QTemporaryDir config;
    SimulatedSupply supply;
    supply.start();
    ProcessProbe controller(QStringLiteral(TENDREL_CONTROLLER_PATH), {},
        controllerEnvironment(QString::fromStdString(supply.devicePath()), config.path()));
    QThread::sleep(2);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        state.counters["cpu_percent"] = 100.0 * controller.cpuShareOver(std::chrono::seconds(10));
        state.SetIterationTime(10.0);
    }
    state.counters["peak_rss_mb"] = controller.peakResidentMegabytes();
    state.counters["polls_per_s"] = static_cast<double>(supply.pollCount()) / 12.0;
}

void NoPortOpens(benchmark::State& state)
{
    QTemporaryDir config;
    ProcessProbe controller(QStringLiteral(TENDREL_CONTROLLER_PATH), {},
        controllerEnvironment(QStringLiteral("/nonexistent/a:/nonexistent/b"), config.path()));
    QThread::sleep(1);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        state.counters["cpu_percent"] = 100.0 * controller.cpuShareOver(std::chrono::seconds(10));
        state.SetIterationTime(10.0);
    }
    state.counters["peak_rss_mb"] = controller.peakResidentMegabytes();
}

void AppendToFullLog(benchmark::State& state)
{
    QWidget window;
    window.resize(525, 324);
    DiagnosticLog log(&window);
    log.show();
    window.show();
    const QString line = QString::fromUtf8("14:03:27 - [подключен] - принятые данные от блока: 1 764 512 ");
    for (int i = 0; i < DiagnosticLog::kMaxLines; ++i) {
        log.appendLine(line);
    }
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        log.appendLine(line);
    }
    state.counters["lines"] = log.lineCount();
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

// From an accepted keystroke in the voltage edit to the last byte of its
// frame on the line, at every phase of the worker's cycle.
void KeystrokeToFrame(benchmark::State& state)
{
    SimulatedSupply supply;
    supply.start();
    // Set before any thread of ours starts.
    ::setenv("TENDREL_SERIAL_PORTS", supply.devicePath().c_str(), 1); // NOLINT(concurrency-mt-unsafe)
    SupplyStation station;
    ControllerDialog dialog(station);
    dialog.initialise();
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    waitFor([&] { return dialog.controller().controlsShown(); }, 5000);
    auto* edit = dialog.findChild<ClassicEdit*>(QStringLiteral("1016"));
    edit->setFocus();
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pause(0, 450);
    std::vector<double> latencies;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        const int frames = static_cast<int>(supply.commandCount());
        waitFor([] { return false; }, pause(random));
        const auto pressed = std::chrono::steady_clock::now();
        QTest::keyClick(edit, latencies.size() % 2 == 0 ? Qt::Key_Up : Qt::Key_Down);
        waitFor([&] { return static_cast<int>(supply.commandCount()) > frames; }, 2000);
        const auto latency = supply.commandFrames().back().lastByteAt - pressed;
        latencies.push_back(std::chrono::duration<double>(latency).count());
        state.SetIterationTime(latencies.back());
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = 1000 * latencies[latencies.size() / 2];
    state.counters["max_ms"] = 1000 * latencies.back();
    dialog.reject();
}

// Into a file that holds the pairs already, as at every loss of the link.
void SaveTenThousandPairs(benchmark::State& state)
{
    QTemporaryDir directory;
    ControllerSettings settings(
        SettingsFile(directory.filePath(QStringLiteral("tendrel-controller.ini")).toStdString()));
    ControllerSettings::Saved saved{"Auto", "/dev/ttyUSB0", {}, {}};
    for (std::int32_t i = 0; i < 10000; ++i) {
        saved.hotVoltageTenths.push_back(i % 157);
        saved.hotCurrentTenths.push_back(630 - i % 630);
    }
    settings.save(saved);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        settings.save(saved);
    }
}

} // namespace

BENCHMARK(SaveTenThousandPairs)->Unit(benchmark::kMillisecond);
BENCHMARK(KeystrokeToFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK(AppendToFullLog)->Unit(benchmark::kMicrosecond);
BENCHMARK(StartToControlsLive)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ConnectedAndIdle)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(NoPortOpens)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv)
{
    // Set before any thread of ours starts.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0); // NOLINT(concurrency-mt-unsafe)
    QApplication application(argc, argv);
    QTemporaryDir config;
    // Set before any thread of ours starts.
    ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1); // NOLINT(concurrency-mt-unsafe)
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
