#include "station/SupplyStation.h"

#include "station/DesktopNotifier.h"

#include <QCoreApplication>

SupplyStation::SupplyStation(SerialPortFactory portFactory, LinkTiming timing)
    : link_(std::move(portFactory), timing)
    , controller_(link_)
    , protection_(controller_, clock_)
    , programs_(controller_, protection_, timing.pause + timing.transmitWait, clock_)
    , sleepLock_(QCoreApplication::translate("SupplyStation", "Источник питания выполняет программу или запись"))
{
    readings_.follow(controller_);
    readings_.followPrograms(programs_, protection_);
    holdSleepLock();
    tellTrips();
}

void SupplyStation::holdSleepLock()
{
    const auto follow = [this] { sleepLock_.setWanted(programs_.active() || readings_.isRecording()); };
    QObject::connect(&programs_, &ProgramEngine::stateChanged, &sleepLock_, follow);
    QObject::connect(&readings_, &ReadingsModel::recordingChanged, &sleepLock_, follow);
}

void SupplyStation::tellTrips()
{
    QObject::connect(&protection_, &ProtectionWatch::trippedOn, &sleepLock_, [](const ProtectionTrip& trip) {
        DesktopNotifier::notify(QCoreApplication::translate("SupplyStation", "Сработала защита, выход выключен"),
            ProtectionWatch::describe(trip));
    });
}

SupplyStation::~SupplyStation()
{
    shutDown();
}

void SupplyStation::start(const std::optional<std::string>& remoteOption, std::ostream& messages)
{
    controller_.start();
    remote_ = RemoteControl::start(controller_, remoteOption, messages);
}

void SupplyStation::shutDown()
{
    remote_.reset();
    controller_.shutDown();
}
