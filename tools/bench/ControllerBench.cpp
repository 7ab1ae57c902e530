// Start-up time, idle CPU share and memory of the controller against the
// simulated supply.
#include "ProcessProbe.h"

#include "SimulatedSupply.h"
#include "app/ControllerDialog.h"
#include "link/LinkState.h"
#include "settings/DiagnosticLog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdlib>

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
    ::setenv("TENDREL_SERIAL_PORTS", supply.devicePath().c_str(), 1);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        LinkState link;
        ControllerDialog dialog(link);
        dialog.initialise();
        while (link.controlsLive.load() == 0 && clock.elapsed() < 5000) {
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
    for (auto _ : state) {
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
    for (auto _ : state) {
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
    for (auto _ : state) {
        log.appendLine(line);
    }
    state.counters["lines"] = log.lineCount();
}

} // namespace

BENCHMARK(AppendToFullLog)->Unit(benchmark::kMicrosecond);
BENCHMARK(StartToControlsLive)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ConnectedAndIdle)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(NoPortOpens)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QTemporaryDir config;
    ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
