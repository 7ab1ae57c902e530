// Eight supplies in one headless controller publishing each poll to a broker
// of Debian's, beside the same program on eight other supplies without MQTT:
// the CPU share of each over the same window, so that whatever else runs on
// the machine meanwhile weighs on both alike.
#include "ProcessProbe.h"

#include "SimulatedSupply.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <future>
#include <memory>
#include <thread>

namespace {

constexpr std::size_t kSupplies = 8;
constexpr std::chrono::seconds kSettle{5};
constexpr std::chrono::seconds kWindow{10};

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Each run has its own settings: publishing at the poll rate for the one with MQTT.
QProcessEnvironment environmentIn(const QString& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.remove(QStringLiteral("DISPLAY"));
    return environment;
}

QStringList headlessOn(const std::array<std::unique_ptr<SimulatedSupply>, kSupplies>& supplies)
{
    QStringList arguments{QStringLiteral("--headless"), QStringLiteral("--scpi"), QString::number(freePort())};
    for (const auto& supply : supplies) {
        arguments << QStringLiteral("--port") << QString::fromStdString(supply->devicePath());
    }
    return arguments;
}

std::array<std::unique_ptr<SimulatedSupply>, kSupplies> startSupplies()
{
    std::array<std::unique_ptr<SimulatedSupply>, kSupplies> supplies;
    for (auto& supply : supplies) {
        supply = std::make_unique<SimulatedSupply>();
        supply->start();
    }
    return supplies;
}

void EightSuppliesWithAndWithoutMqtt(benchmark::State& state)
{
    const QString mosquitto = QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {"/usr/sbin", "/usr/bin"});
    if (mosquitto.isEmpty()) {
        state.SkipWithError("mosquitto is not installed (tools/install-deps.sh)");
        return;
    }
    QTemporaryDir directory;
    const quint16 brokerPort = freePort();
    QDir(directory.path()).mkpath(QStringLiteral("with/"));
    QFile settings(directory.filePath(QStringLiteral("with/tendrel-controller.ini")));
    settings.open(QIODevice::WriteOnly);
    settings.write("[MQTT]\r\nPublish=poll\r\nDiscovery=1\r\n");
    settings.close();
    QProcess broker;
    broker.start(mosquitto, {QStringLiteral("-p"), QString::number(brokerPort)});
    broker.waitForStarted();
    const auto plainSupplies = startSupplies();
    const auto mqttSupplies = startSupplies();
    const ProcessProbe plain(QStringLiteral(TENDREL_CONTROLLER_PATH), headlessOn(plainSupplies),
        environmentIn(directory.filePath("without")));
    const ProcessProbe mqtt(QStringLiteral(TENDREL_CONTROLLER_PATH),
        headlessOn(mqttSupplies) << QStringLiteral("--mqtt") << QStringLiteral("127.0.0.1:%1").arg(brokerPort),
        environmentIn(directory.filePath("with")));
    std::this_thread::sleep_for(kSettle);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        auto plainShare = std::async(std::launch::async, [&plain] { return plain.cpuShareOver(kWindow); });
        const double mqttShare = mqtt.cpuShareOver(kWindow);
        state.counters["without_mqtt_cpu_percent"] = 100.0 * plainShare.get();
        state.counters["with_mqtt_cpu_percent"] = 100.0 * mqttShare;
        state.SetIterationTime(static_cast<double>(kWindow.count()));
    }
    if (!plain.running() || !mqtt.running()) {
        state.SkipWithError("a controller ended early");
    }
    broker.kill();
    broker.waitForFinished();
}

} // namespace

BENCHMARK(EightSuppliesWithAndWithoutMqtt)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
