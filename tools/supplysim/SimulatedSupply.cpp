#include "SimulatedSupply.h"

#include "FrameLogFormatter.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <optional>
#include <poll.h>
#include <sstream>
#include <unistd.h>
#include <utility>

namespace {

// How long to stop watching a master that reports a hang-up, so that it cannot spin the loop.
constexpr std::chrono::milliseconds kHangupPause{50};
constexpr std::chrono::milliseconds kLongestWait{60000};
constexpr std::size_t kReadChunk = 256;

SimulatedSupply::FrameKind frameKind(SupplyFrameParser::Kind kind, std::optional<SupplyState::Outcome> outcome)
{
    if (outcome == SupplyState::Outcome::OtherModel) {
        return SimulatedSupply::FrameKind::Ignored;
    }
    switch (kind) {
    case SupplyFrameParser::Kind::Poll:
        return SimulatedSupply::FrameKind::Poll;
    case SupplyFrameParser::Kind::SetCurrent:
        return SimulatedSupply::FrameKind::SetCurrent;
    case SupplyFrameParser::Kind::SetVoltage:
        return SimulatedSupply::FrameKind::SetVoltage;
    case SupplyFrameParser::Kind::SetVoltageToggle:
        return SimulatedSupply::FrameKind::SetVoltageToggle;
    case SupplyFrameParser::Kind::Garbage:
        break;
    }
    return SimulatedSupply::FrameKind::Garbage;
}

bool isCommand(SimulatedSupply::FrameKind kind)
{
    return kind == SimulatedSupply::FrameKind::SetVoltage || kind == SimulatedSupply::FrameKind::SetVoltageToggle
        || kind == SimulatedSupply::FrameKind::SetCurrent;
}

std::string onOff(bool on)
{
    return on ? "on" : "off";
}

std::string ohmsText(double ohms)
{
    std::ostringstream text;
    text << ohms << " ohms";
    return text.str();
}

double validTimeScale(double scale)
{
    return scale > 0.0 ? std::min(scale, SimulatedSupply::kMaxTimeScale) : 1.0;
}

} // namespace

SimulatedSupply::SimulatedSupply()
    : SimulatedSupply(Options{})
{
}

SimulatedSupply::SimulatedSupply(Options options)
    : options_(std::move(options))
    , state_(options_.modelCode, options_.voltageRaw, options_.currentRaw, options_.loadOhms, options_.outputOn)
    , timeScale_(validTimeScale(options_.timeScale))
    , batteryAt_(Clock::now())
    , random_(std::random_device{}())
{
    if (options_.battery) {
        state_.attachBattery(*options_.battery);
    }
}

SimulatedSupply::~SimulatedSupply()
{
    std::lock_guard lifecycle(lifecycleMutex_);
    stopWorker();
    closeDevice();
}

bool SimulatedSupply::start()
{
    std::lock_guard lifecycle(lifecycleMutex_);
    if (worker_.joinable() || !wake_.isValid() || !pty_.open()) {
        return false;
    }
    if (!options_.linkPath.empty() && !link_.create(options_.linkPath, pty_.slavePath())) {
        pty_.close();
        return false;
    }
    parser_ = SupplyFrameParser();
    pacer_.clear();
    masterQuietUntil_ = {};
    {
        std::lock_guard lock(mutex_);
        slavePath_ = pty_.slavePath();
        stopRequested_ = false;
    }
    worker_ = std::thread(&SimulatedSupply::run, this);
    return true;
}

std::string SimulatedSupply::devicePath() const
{
    std::lock_guard lock(mutex_);
    return options_.linkPath.empty() || slavePath_.empty() ? slavePath_ : options_.linkPath;
}

std::string SimulatedSupply::slavePath() const
{
    std::lock_guard lock(mutex_);
    return slavePath_;
}

void SimulatedSupply::setSilent(bool silent)
{
    change([silent](SupplyState& state) { state.setSilent(silent); }, silent ? "silent" : "answering");
}

void SimulatedSupply::setPanelSwitch(bool on)
{
    change([on](SupplyState& state) { state.setPanelSwitch(on); }, "panel switch " + onOff(on));
}

void SimulatedSupply::setGarbage(bool on)
{
    change([on](SupplyState& state) { state.setGarbage(on); }, "garbage " + onOff(on));
}

void SimulatedSupply::setModelCode(int code)
{
    change([code](SupplyState& state) { state.setModelCode(code); }, "model code " + std::to_string(code));
}

void SimulatedSupply::setLoad(double ohms)
{
    change([ohms](SupplyState& state) { state.setLoad(ohms); }, "load " + ohmsText(ohms));
}

void SimulatedSupply::setOutput(bool on)
{
    change([on](SupplyState& state) { state.setOutput(on); }, "output " + onOff(on));
}

void SimulatedSupply::setSetpoints(int voltageRaw, int currentRaw)
{
    change([voltageRaw, currentRaw](SupplyState& state) { state.setSetpoints(voltageRaw, currentRaw); },
        "setpoints voltage=" + std::to_string(voltageRaw) + " current=" + std::to_string(currentRaw));
}

void SimulatedSupply::setBatteryLeak(double amperes)
{
    std::ostringstream note;
    note << "battery leak " << amperes << " A";
    change([amperes](SupplyState& state) { state.setBatteryLeak(amperes); }, note.str());
}

// The worker is stopped first: closing a descriptor it is polling would race with its reuse.
void SimulatedSupply::vanish()
{
    std::lock_guard lifecycle(lifecycleMutex_);
    if (!pty_.isOpen()) {
        return;
    }
    stopWorker();
    closeDevice();
    log("vanished");
}

bool SimulatedSupply::outputOn() const
{
    std::lock_guard lock(mutex_);
    return state_.outputOn();
}

int SimulatedSupply::voltageRaw() const
{
    std::lock_guard lock(mutex_);
    return state_.voltageRaw();
}

int SimulatedSupply::currentRaw() const
{
    std::lock_guard lock(mutex_);
    return state_.currentRaw();
}

int SimulatedSupply::modelCode() const
{
    std::lock_guard lock(mutex_);
    return state_.modelCode();
}

// A copy is moved on, so that reading the status changes nothing the next poll sees.
std::optional<SimulatedSupply::BatteryStatus> SimulatedSupply::battery() const
{
    std::lock_guard lock(mutex_);
    if (!state_.battery()) {
        return std::nullopt;
    }
    SupplyState now = state_;
    Clock::time_point from = batteryAt_;
    advanceBattery(now, from, Clock::now());
    const SimulatedBattery& battery = *now.battery();
    return BatteryStatus{
        battery.stateOfCharge(), battery.openCircuitVolts(), battery.ampereHours(), battery.simulatedSeconds()};
}

std::vector<SimulatedSupply::Frame> SimulatedSupply::frames() const
{
    std::lock_guard lock(mutex_);
    return frames_;
}

std::vector<SimulatedSupply::Frame> SimulatedSupply::commandFrames() const
{
    std::lock_guard lock(mutex_);
    std::vector<Frame> commands;
    std::copy_if(frames_.begin(), frames_.end(), std::back_inserter(commands),
        [](const Frame& frame) { return isCommand(frame.kind); });
    return commands;
}

void SimulatedSupply::clearFrames()
{
    std::lock_guard lock(mutex_);
    frames_.clear();
    polls_ = 0;
    commands_ = 0;
}

std::size_t SimulatedSupply::pollCount() const
{
    std::lock_guard lock(mutex_);
    return polls_;
}

std::size_t SimulatedSupply::commandCount() const
{
    std::lock_guard lock(mutex_);
    return commands_;
}

bool SimulatedSupply::waitForCommandFrames(std::size_t n, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this, n] { return commands_ >= n; });
}

bool SimulatedSupply::waitForPolls(std::size_t n, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this, n] { return polls_ >= n; });
}

void SimulatedSupply::setLogSink(std::function<void(const std::string&)> sink)
{
    std::lock_guard lock(sinkMutex_);
    sink_ = std::move(sink);
}

void SimulatedSupply::run()
{
    while (keepRunning()) {
        const Clock::time_point now = Clock::now();
        const bool watchMaster = pty_.isOpen() && now >= masterQuietUntil_;
        pollfd fds[2] = {{wake_.readFd(), POLLIN, 0}, {watchMaster ? pty_.masterFd() : -1, POLLIN, 0}};
        if (::poll(fds, 2, pollTimeout(now, watchMaster)) > 0) {
            if (fds[0].revents != 0) {
                wake_.drain();
            }
            if (fds[1].revents != 0) {
                receive(fds[1].revents);
            }
        }
        sendDueBytes();
    }
}

bool SimulatedSupply::keepRunning() const
{
    std::lock_guard lock(mutex_);
    return !stopRequested_;
}

void SimulatedSupply::stopWorker()
{
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void SimulatedSupply::closeDevice()
{
    link_.remove();
    pty_.close();
}

int SimulatedSupply::pollTimeout(Clock::time_point now, bool watchingMaster) const
{
    std::optional<Clock::time_point> deadline = pacer_.nextDue();
    if (pty_.isOpen() && !watchingMaster) {
        deadline = deadline ? std::min(*deadline, masterQuietUntil_) : masterQuietUntil_;
    }
    if (!deadline) {
        return -1;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*deadline - now);
    return static_cast<int>(std::clamp(wait, std::chrono::milliseconds::zero(), kLongestWait).count());
}

void SimulatedSupply::receive(short revents)
{
    if ((revents & POLLIN) != 0) {
        std::uint8_t buffer[kReadChunk];
        const ssize_t count = ::read(pty_.masterFd(), buffer, sizeof buffer);
        if (count > 0) {
            const Clock::time_point at = Clock::now();
            for (ssize_t i = 0; i < count; ++i) {
                if (const std::optional<SupplyFrameParser::Frame> frame = parser_.feed(buffer[i])) {
                    handleFrame(*frame, at);
                }
            }
            return;
        }
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        }
    }
    masterQuietUntil_ = Clock::now() + kHangupPause;
}

void SimulatedSupply::handleFrame(const SupplyFrameParser::Frame& frame, Clock::time_point at)
{
    std::string line;
    {
        std::lock_guard lock(mutex_);
        std::optional<SupplyState::Outcome> outcome;
        advanceBattery(state_, batteryAt_, at);
        if (frame.kind == SupplyFrameParser::Kind::Poll) {
            switchOffAfterIdleLink(at);
            pacer_.schedule(state_.answerPoll(random_), at);
        } else if (frame.kind != SupplyFrameParser::Kind::Garbage) {
            outcome = state_.apply(frame);
        }
        record({frameKind(frame.kind, outcome), frame.code, frame.raw, at});
        line = FrameLogFormatter::describe(frame, outcome, state_.outputOn());
    }
    changed_.notify_all();
    log(line);
}

void SimulatedSupply::switchOffAfterIdleLink(Clock::time_point pollAt)
{
    // Like a supply whose controller went away: the output does not stay on unattended.
    if (lastPollAt_ && pollAt - *lastPollAt_ > options_.linkWatchdog && state_.outputOn()) {
        state_.setOutput(false);
    }
    lastPollAt_ = pollAt;
}

// The current of the last change flows until now, or until the output switched off
// for want of polls; that switch itself waits for the next poll.
void SimulatedSupply::advanceBattery(SupplyState& state, Clock::time_point& from, Clock::time_point to) const
{
    if (!state.battery() || to <= from) {
        return;
    }
    const Clock::time_point cut = lastPollAt_ ? std::clamp(*lastPollAt_ + options_.linkWatchdog, from, to) : to;
    const auto simulated
        = [this](Clock::duration real) { return std::chrono::duration<double>(real).count() * timeScale_; };
    state.advanceBattery(simulated(cut - from), true);
    state.advanceBattery(simulated(to - cut), false);
    from = to;
}

void SimulatedSupply::record(const Frame& frame)
{
    if (frame.kind == FrameKind::Poll) {
        ++polls_;
    } else if (isCommand(frame.kind)) {
        ++commands_;
    }
    if (options_.recordFrames) {
        frames_.push_back(frame);
    }
}

// A full buffer means nobody is listening; the bytes are lost as they would be on a line.
void SimulatedSupply::sendDueBytes()
{
    std::vector<std::uint8_t> bytes;
    {
        std::lock_guard lock(mutex_);
        if (state_.silent()) {
            pacer_.clear();
        }
        bytes = pacer_.takeDue(Clock::now());
    }
    if (!bytes.empty() && pty_.isOpen()) {
        [[maybe_unused]] const ssize_t written = ::write(pty_.masterFd(), bytes.data(), bytes.size());
    }
}

template <typename Change> void SimulatedSupply::change(Change&& apply, const std::string& note)
{
    {
        std::lock_guard lock(mutex_);
        advanceBattery(state_, batteryAt_, Clock::now());
        apply(state_);
    }
    wake_.notify();
    changed_.notify_all();
    log(note);
}

void SimulatedSupply::log(const std::string& text) const
{
    std::lock_guard lock(sinkMutex_);
    if (sink_) {
        sink_(FrameLogFormatter::timestamp(std::chrono::system_clock::now()) + " " + text);
    }
}
