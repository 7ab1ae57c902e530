#include "remote/RemoteControl.h"

#include "controller/SupplyController.h"
#include "link/SupplyLink.h"
#include "outlook/SupplyOutlook.h"
#include "remote/RemoteConfig.h"

#include <QStandardPaths>

#include <ostream>
#include <utility>

RemoteControl::RemoteControl(const std::vector<Parts>& supplies)
    : instruments_(instrumentsOf(supplies))
    , server_(channelsOf(instruments_), TENDREL_VERSION)
{
    for (std::size_t i = 0; i < supplies.size(); ++i) {
        follow(supplies[i], i + 1);
    }
}

std::vector<std::unique_ptr<SupplyInstrument>> RemoteControl::instrumentsOf(const std::vector<Parts>& supplies)
{
    std::vector<std::unique_ptr<SupplyInstrument>> instruments;
    instruments.reserve(supplies.size());
    for (const Parts& parts : supplies) {
        instruments.push_back(
            std::make_unique<SupplyInstrument>(parts.controller, parts.programs, parts.protection, parts.outlook));
    }
    return instruments;
}

RemoteChannels RemoteControl::channelsOf(const std::vector<std::unique_ptr<SupplyInstrument>>& instruments)
{
    std::vector<RemoteInstrument*> channels;
    channels.reserve(instruments.size());
    for (const auto& instrument : instruments) {
        channels.push_back(instrument.get());
    }
    return RemoteChannels(std::move(channels));
}

void RemoteControl::follow(const Parts& parts, std::size_t channel)
{
    SupplyController& controller = parts.controller;
    QObject::connect(&controller, &SupplyController::commandsDropped, &server_,
        [this, channel](Quantity frame, quint64 first, quint64 last, CommandRefusal why) {
            server_.commandsDropped(frame, first, last, channel, SupplyInstrument::resultOf(why));
        });
    QObject::connect(&controller, &SupplyController::refused, &server_,
        [this, channel](const CommandOrigin& origin, CommandRefusal refusal, bool deferred) {
            if (deferred && origin.kind == CommandOrigin::Kind::Remote) {
                server_.switchRefused(origin.client, SupplyInstrument::resultOf(refusal), channel);
            }
        });
    QObject::connect(&controller, &SupplyController::unknownVoltageSent, &server_,
        [this, channel](double volts) { server_.unknownSetpointSent(volts, channel); });
    followConditions(parts);
    // After the controller, which took the reply first, has acted on it.
    QObject::connect(&controller.link(), &SupplyLink::replied, &server_, &ScpiServer::supplyReplied);
}

void RemoteControl::followConditions(const Parts& parts)
{
    QObject::connect(&parts.outlook, &SupplyOutlook::changed, &server_, &ScpiServer::sampleConditions);
}

std::unique_ptr<RemoteControl> RemoteControl::start(
    const std::vector<Parts>& supplies, const ServiceChoice& choice, std::ostream& messages)
{
    if (supplies.empty()) {
        return nullptr;
    }
    const RemoteConfig config = RemoteConfig::resolve(choice);
    if (!config.error.empty()) {
        messages << config.error << '\n';
    }
    if (!config.enabled) {
        return nullptr;
    }
    if (!config.warning.empty()) {
        messages << config.warning << '\n';
    }
    auto remote = std::make_unique<RemoteControl>(supplies);
    remote->server_.setLimits(config.maxClients, config.idleTimeout);
    // Where the programs window saves them, unless the settings name another.
    remote->server_.setProgramsFolder(config.programs.empty()
            ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            : QString::fromStdString(config.programs));
    if (!remote->server_.listen(config.address)) {
        messages << remote->server_.errorMessage() << '\n';
        return nullptr;
    }
    return remote;
}
