#include "ControllerChild.h"

#include <QTcpServer>

namespace {

// Two statuses in a row name the model; one more makes sure the poll goes on.
constexpr std::size_t kConnectedPolls = 3;
constexpr int kModelCodes = 6;

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

ControllerChild::ControllerChild(Face face, int supplies)
{
    for (int i = 0; i < supplies; ++i) {
        SimulatedSupply::Options options;
        options.modelCode = 1 + i % kModelCodes;
        supplies_.push_back(std::make_unique<SimulatedSupply>(options));
        supplies_.back()->start();
    }
    probe_
        = std::make_unique<ProcessProbe>(QStringLiteral(TENDREL_CONTROLLER_PATH), arguments(face), environment(face));
}

bool ControllerChild::waitUntilConnected(std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (const auto& supply : supplies_) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!supply->waitForPolls(kConnectedPolls, left)) {
            return false;
        }
    }
    return probe_->running();
}

bool ControllerChild::commandedNothing() const
{
    for (const auto& supply : supplies_) {
        if (supply->commandCount() != 0) {
            return false;
        }
    }
    return true;
}

QStringList ControllerChild::arguments(Face face) const
{
    QStringList arguments;
    if (face == Face::Headless) {
        arguments << QStringLiteral("--headless") << QStringLiteral("--scpi")
                  << QStringLiteral("127.0.0.1:%1").arg(freePort());
    }
    for (const auto& supply : supplies_) {
        arguments << QStringLiteral("--port") << QString::fromStdString(supply->devicePath());
    }
    return arguments;
}

QProcessEnvironment ControllerChild::environment(Face face) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
    if (face == Face::Windowed) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    return environment;
}
