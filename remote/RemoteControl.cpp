#include "remote/RemoteControl.h"

#include "controller/SupplyController.h"
#include "link/SupplyLink.h"
#include "remote/RemoteConfig.h"

#include <ostream>

RemoteControl::RemoteControl(SupplyController& controller)
    : instrument_(controller)
    , server_(instrument_, TENDREL_VERSION)
{
    QObject::connect(&controller, &SupplyController::commandsDropped, &server_,
        [this](SupplyController::Frame frame, quint64 first, quint64 last) {
            server_.commandsDropped(SupplyInstrument::frameOf(frame), first, last);
        });
    QObject::connect(&controller, &SupplyController::unknownVoltageSent, &server_,
        [this](double volts) { server_.unknownSetpointSent(volts); });
    for (const auto signal :
        {&SupplyController::controlsLive, &SupplyController::linkLost, &SupplyController::measurementsStale}) {
        QObject::connect(&controller, signal, &server_, &ScpiServer::sampleConditions);
    }
    QObject::connect(&controller, &SupplyController::measured, &server_, &ScpiServer::sampleConditions);
    // After the controller, which took the reply first, has acted on it.
    QObject::connect(&controller.link(), &SupplyLink::replied, &server_, &ScpiServer::supplyReplied);
}

std::unique_ptr<RemoteControl> RemoteControl::start(
    SupplyController& controller, const std::optional<std::string>& option, std::ostream& messages)
{
    const auto& [enabled, listen, maxClients, idleTimeout] = controller.remoteKeys();
    RemoteConfig config = RemoteConfig::resolve(option, enabled, listen);
    if (config.enabled) {
        config.applyLimits(maxClients, idleTimeout);
    }
    if (!config.error.empty()) {
        messages << config.error << '\n';
    }
    if (!config.enabled) {
        return nullptr;
    }
    if (!config.warning.empty()) {
        messages << config.warning << '\n';
    }
    auto remote = std::make_unique<RemoteControl>(controller);
    remote->server_.setLimits(config.maxClients, config.idleTimeout);
    if (!remote->server_.listen(config.address)) {
        messages << remote->server_.errorMessage() << '\n';
        return nullptr;
    }
    return remote;
}
