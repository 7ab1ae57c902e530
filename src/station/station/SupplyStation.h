#pragma once

#include "controller/SupplyController.h"
#include "engine/ProgramClock.h"
#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"
#include "link/LinkTiming.h"
#include "link/SerialPort.h"
#include "link/SupplyLink.h"
#include "outlook/SupplyOutlook.h"
#include "readings/ReadingsModel.h"
#include "station/SleepInhibitor.h"
#include "station/StationSettings.h"
#include "timer/TimerRun.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

// One supply of the program: its link, the controller on it, what the
// settings keep of it, the timer, the protection limits and the program
// engine beside it, the outlook that tells their
// state, and the readings model that follows it. It needs no display; a window binds itself to its parts.
class SupplyStation {
public:
    // A test may give the programs a clock of its own.
    explicit SupplyStation(SerialPortFactory portFactory = {}, LinkTiming timing = {},
        std::unique_ptr<ProgramClock> clock = std::make_unique<ProgramClock>());
    ~SupplyStation();
    SupplyStation(const SupplyStation&) = delete;
    SupplyStation& operator=(const SupplyStation&) = delete;

    SupplyLink& link() { return link_; }
    SupplyController& controller() { return controller_; }
    const SupplyController& controller() const { return controller_; }
    StationSettings& settings() { return settings_; }
    const StationSettings& settings() const { return settings_; }
    TimerRun& timer() { return timer_; }
    ProtectionWatch& protection() { return protection_; }
    ProgramEngine& programs() { return programs_; }
    const ProgramEngine& programs() const { return programs_; }
    // Its outward state, which every service that reports it reads.
    const SupplyOutlook& outlook() const { return outlook_; }
    ReadingsModel& readings() { return readings_; }
    // The port named for this run, or the one the link is on.
    std::string portName() const;

    // Reads the settings and starts the link, after the ports have been listed.
    void start() { settings_.start(); }
    // Ends a running program with its output left as it is, records its end,
    // then saves and stops as the controller does.
    void shutDown();
    // Loads the program file now and runs it once a supply is live, telling
    // `messages` in English what stops it. False when the file cannot be read
    // or loaded.
    bool runProgramOnceLive(
        const QString& path, std::ostream& messages, const std::function<void(const QString&)>& inWindow = {});
    // Stops a running program and waits, a bounded time, until the supply
    // reports its output off, as before the link stops.
    void stopProgram();
    // Stops a running program, or switches the output off, without waiting.
    void requestSwitchOff();
    // The supply may still report its output on: a toggle is on its way, or its status not yet in.
    bool outputMayBeOn() const;
    // How long to wait, at most, until no output may be on.
    static constexpr std::chrono::milliseconds stopWait() { return kStopWait; }

private:
    // A toggle on its way, one after it and the status that shows it: about five poll cycles.
    static constexpr std::chrono::milliseconds kStopWait{2000};

    void waitForOutputOff() const;
    void holdSleepLock();
    void tellTrips();

    SupplyLink link_;
    SupplyController controller_;
    // First to hear of a lost link: a run is suspended before anyone is told.
    TimerRun timer_;
    // Reads a supply's lists before anyone else hears of it.
    StationSettings settings_;
    std::unique_ptr<ProgramClock> clock_;
    // Before the engine: a reading that trips switches off before the program hears of it.
    ProtectionWatch protection_;
    ProgramEngine programs_;
    SupplyOutlook outlook_;
    ReadingsModel readings_;
    // Held while a program runs or a recording is on.
    SleepInhibitor sleepLock_;
};
