#pragma once

#include "BatteryPack.h"
#include "DeviceLink.h"
#include "PseudoTerminal.h"
#include "ReplyPacer.h"
#include "SupplyFrameParser.h"
#include "SupplyState.h"
#include "WakePipe.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

// A power supply at the far end of a pseudo-terminal, for trying the controller
// without hardware. A worker thread answers polls with line-speed timing; every
// setter may be called from any thread while it runs.
class SimulatedSupply {
public:
    struct Options {
        int modelCode = 1;
        int voltageRaw = 764;
        int currentRaw = 200;
        double loadOhms = 2.0;
        bool outputOn = false;
        std::string linkPath; // symbolic link to the slave device; none when empty
        // The output switches off when no poll came for this long.
        std::chrono::milliseconds linkWatchdog{2000};
        bool recordFrames = true; // off for long runs: frames() stays empty, the counts still work
        std::optional<BatteryPack> battery{}; // in place of the load
        double timeScale = 1.0; // simulated seconds of the battery per real second, up to kMaxTimeScale
    };

    static constexpr double kMaxTimeScale = 10000.0;

    struct BatteryStatus {
        double stateOfCharge; // a fraction; above 1 when overcharged
        double openCircuitVolts;
        double ampereHours; // out of the terminals since the start, leak included
        double simulatedSeconds;
    };

    enum class FrameKind { Poll, SetVoltage, SetVoltageToggle, SetCurrent, Ignored, Garbage };

    struct Frame {
        FrameKind kind;
        int code; // the addressed model code of a command; -1 for a poll or garbage
        int raw; // the data word as received; the byte itself for garbage
        std::chrono::steady_clock::time_point lastByteAt;
    };

    SimulatedSupply();
    explicit SimulatedSupply(Options options);
    ~SimulatedSupply();
    SimulatedSupply(const SimulatedSupply&) = delete;
    SimulatedSupply& operator=(const SimulatedSupply&) = delete;

    // Opens the pseudo-terminal (and link) and starts the worker; false on failure
    // or when already running. After vanish() it plugs the supply back in under a
    // new slave path; the link, if any, follows it.
    bool start();
    std::string devicePath() const; // the link when one was asked for, else the slave
    std::string slavePath() const;

    void setSilent(bool silent); // coming back from silent leaves the output off
    void setPanelSwitch(bool on);
    void setGarbage(bool on);
    void setModelCode(int code); // clamped to 0..127
    void setLoad(double ohms);
    void setOutput(bool on);
    void setSetpoints(int voltageRaw, int currentRaw); // each clamped to 0..1000
    void setBatteryLeak(double amperes); // clamped to 0..1000; nothing without a battery

    // Closes both ends and removes the link, like an adapter pulled from its socket.
    void vanish();

    bool outputOn() const;
    int voltageRaw() const;
    int currentRaw() const;
    int modelCode() const;
    std::optional<BatteryStatus> battery() const; // as of now; none without a battery

    std::vector<Frame> frames() const;
    std::vector<Frame> commandFrames() const; // SetVoltage, SetVoltageToggle, SetCurrent
    void clearFrames(); // also restarts both counts
    std::size_t pollCount() const;
    std::size_t commandCount() const;

    bool waitForCommandFrames(std::size_t n, std::chrono::milliseconds timeout) const;
    bool waitForPolls(std::size_t n, std::chrono::milliseconds timeout) const;

    // Receives one timestamped line per frame and per change made through a setter.
    void setLogSink(std::function<void(const std::string&)> sink);

private:
    using Clock = std::chrono::steady_clock;

    void run();
    bool keepRunning() const;
    void stopWorker();
    void closeDevice();
    int pollTimeout(Clock::time_point now, bool watchingMaster) const;
    void receive(short revents);
    void handleFrame(const SupplyFrameParser::Frame& frame, Clock::time_point at);
    void switchOffAfterIdleLink(Clock::time_point pollAt);
    void advanceBattery(SupplyState& state, Clock::time_point& from, Clock::time_point to) const;
    void record(const Frame& frame);
    void sendDueBytes();
    template <typename Change> void change(Change&& apply, const std::string& note);
    void log(const std::string& text) const;

    Options options_;
    std::mutex lifecycleMutex_; // start, vanish and destruction
    mutable std::mutex mutex_; // everything the worker shares with callers
    mutable std::condition_variable changed_;
    SupplyState state_;
    double timeScale_;
    Clock::time_point batteryAt_; // real time the battery has been moved on to
    std::vector<Frame> frames_;
    std::size_t polls_ = 0;
    std::size_t commands_ = 0;
    bool stopRequested_ = false;
    std::string slavePath_;

    PseudoTerminal pty_;
    DeviceLink link_;
    WakePipe wake_;
    SupplyFrameParser parser_;
    ReplyPacer pacer_;
    std::mt19937 random_;
    Clock::time_point masterQuietUntil_{};
    std::optional<Clock::time_point> lastPollAt_;

    mutable std::mutex sinkMutex_;
    std::function<void(const std::string&)> sink_;

    std::thread worker_;
};
