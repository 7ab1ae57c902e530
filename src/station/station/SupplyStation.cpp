#include "station/SupplyStation.h"

#include "program/ProgramFile.h"
#include "station/DesktopNotifier.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <memory>

SupplyStation::SupplyStation(SerialPortFactory portFactory, LinkTiming timing, std::unique_ptr<ProgramClock> clock)
    : link_(std::move(portFactory), timing)
    , controller_(link_)
    , timer_(controller_)
    , settings_(link_, controller_)
    , clock_(std::move(clock))
    , protection_(controller_, *clock_)
    , programs_(controller_, protection_, timing.pause + timing.transmitWait, *clock_)
    , outlook_(controller_, programs_, protection_)
    , sleepLock_(QCoreApplication::translate("SupplyStation", "Источник питания выполняет программу или запись"))
{
    readings_.follow(outlook_);
    holdSleepLock();
    tellTrips();
}

bool SupplyStation::runProgramOnceLive(
    const QString& path, std::ostream& messages, const std::function<void(const QString&)>& inWindow)
{
    const auto tell = [&messages, inWindow](const Phrase& why) {
        messages << "--program: " << why.inEnglish().toStdString() << '\n';
        if (inWindow) {
            inWindow(why.inWindow());
        }
    };
    ProgramFile::Read read = ProgramFile::load(path);
    if (!read.program) {
        tell(read.why);
        return false;
    }
    if (const auto refusal = programs_.load(std::move(*read.program))) {
        tell(refusal->why);
        return false;
    }
    const auto start = [this, &messages, tell] {
        if (const auto refusal = programs_.start()) {
            tell(refusal->why);
        }
        messages.flush();
    };
    // At a reading: the supply's own setpoints have been taken up by then.
    if (controller_.live() && !controller_.adoptingReadings()) {
        start();
    } else {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(&controller_, &SupplyController::measured, &sleepLock_, [once, start] {
            QObject::disconnect(*once);
            start();
        });
    }
    return true;
}

// However the program closes, a run does not outlive it unrecorded: its end
// and summary go beside the readings even when no reading comes to carry them.
void SupplyStation::shutDown()
{
    programs_.leave();
    readings_.recordPendingEvents();
    settings_.shutDown();
    controller_.shutDown();
}

void SupplyStation::stopProgram()
{
    programs_.stop();
    waitForOutputOff();
}

void SupplyStation::requestSwitchOff()
{
    if (programs_.active()) {
        programs_.stop();
    } else if (controller_.live()) {
        controller_.requestOutput(false);
    }
}

bool SupplyStation::outputMayBeOn() const
{
    return controller_.live() && (controller_.outputOn() || controller_.outputHeading());
}

void SupplyStation::waitForOutputOff() const
{
    // Until the supply reports the output off: a toggle that switched it on
    // may still be on its way, and the one switching it off follows it.
    const QDeadlineTimer deadline(kStopWait);
    while (outputMayBeOn() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
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

std::string SupplyStation::portName() const
{
    const std::string& current = link_.currentPortName();
    return current.empty() ? settings_.usePort() : current;
}
