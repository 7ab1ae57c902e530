#include "engine/ProgramRun.h"

#include <algorithm>
#include <cmath>

namespace {

using Milliseconds = std::chrono::milliseconds;

// A bound on groups entered and left without reaching a step, so that groups
// holding no step cannot keep the run looping.
constexpr int kMaxHopsWithoutStep = 100000;
constexpr double kSecondsPerDay = 86400.0;

Milliseconds stepLength(const ProgramStep& step)
{
    return step.duration ? std::min(*step.duration, step.maxDuration) : step.maxDuration;
}

std::optional<double> nodeMilliseconds(const ProgramNode& node);

std::optional<double> itemsMilliseconds(const std::vector<ProgramNode>& items, std::size_t from)
{
    double total = 0.0;
    for (std::size_t i = from; i < items.size(); ++i) {
        const auto length = nodeMilliseconds(items[i]);
        if (!length) {
            return std::nullopt;
        }
        total += *length;
    }
    return total;
}

// Known only where every step ends on its time and every group is counted.
std::optional<double> nodeMilliseconds(const ProgramNode& node)
{
    if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
        if (step->endsOnMeasurement()) {
            return std::nullopt;
        }
        return static_cast<double>(stepLength(*step).count());
    }
    const auto& group = std::get<ProgramGroup>(node.content);
    const auto once = itemsMilliseconds(group.items, 0);
    if (!group.count || !once) {
        return std::nullopt;
    }
    return *once * *group.count;
}

Milliseconds toMilliseconds(ProgramRun::Clock::duration duration)
{
    return std::max(Milliseconds{0}, std::chrono::duration_cast<Milliseconds>(duration));
}

} // namespace

ProgramRun::ProgramRun(const Program& program, Commands commands, double maxReadingGapSeconds)
    : program_(program)
    , index_(program)
    , commands_(std::move(commands))
    , stepCharge_(maxReadingGapSeconds)
    , total_(maxReadingGapSeconds)
    , stepTimes_(static_cast<std::size_t>(index_.size()))
    , stepEndings_(static_cast<std::size_t>(index_.size()))
{
}

bool ProgramRun::begin(Clock::time_point now, const QDateTime& wall)
{
    stack_ = {Level{&program_.body}};
    start_ = now;
    if (seek()) {
        beginStep(now, wall);
    }
    return !ended();
}

bool ProgramRun::seek()
{
    for (int hops = 0; hops < kMaxHopsWithoutStep && !stack_.empty(); ++hops) {
        Level& level = stack_.back();
        if (level.index < level.group->items.size()) {
            const ProgramNode& node = level.group->items[level.index++];
            if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
                step_ = step;
                return true;
            }
            stack_.push_back(Level{&std::get<ProgramGroup>(node.content)});
            continue;
        }
        ++level.pass;
        if (!level.group->count || level.pass < *level.group->count) {
            level.index = 0;
            continue;
        }
        stack_.pop_back();
    }
    step_ = nullptr;
    return false;
}

void ProgramRun::beginStep(Clock::time_point at, const QDateTime& wall)
{
    stepStart_ = at;
    rampSent_.reset();
    peakVolts_.reset();
    stepCharge_.reset();
    timeOfDay_.reset();
    const double wallSeconds = wall.time().msecsSinceStartOfDay() / 1000.0;
    for (const EndCondition& condition : step_->ends) {
        if (condition.kind != EndCondition::Kind::TimeOfDay) {
            continue;
        }
        double wait = condition.value - wallSeconds;
        wait += wait <= 0.0 ? kSecondsPerDay : 0.0;
        const auto moment = at + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(wait));
        timeOfDay_ = timeOfDay_ ? std::min(*timeOfDay_, moment) : moment;
    }
    lastOutput_ = step_->output;
    sendStep(at);
    commands_.stepBegun(stepNumber());
}

// The ramp's quantity goes out at its value now; the other setpoints and the
// output as the step asks. A switch-on goes last, so it switches on at the new
// values; a switch-off first, so the old output never sees them.
void ProgramRun::sendStep(Clock::time_point now)
{
    const auto& ramp = step_->ramp;
    const bool rampsVoltage = ramp && ramp->quantity == Quantity::Voltage;
    const bool rampsCurrent = ramp && ramp->quantity == Quantity::Current;
    const bool switchesOff = step_->output == std::optional<bool>(false);
    if (switchesOff) {
        commands_.output(false);
    }
    if (ramp) {
        rampSent_.reset();
        followRamp(now);
    }
    if (step_->volts && !rampsVoltage) {
        commands_.voltage(*step_->volts);
    }
    if (step_->amperes && !rampsCurrent) {
        commands_.current(*step_->amperes);
    }
    if (step_->output && !switchesOff) {
        commands_.output(true);
    }
}

void ProgramRun::endStep(Clock::time_point at, StepEnding ending)
{
    const auto index = static_cast<std::size_t>(stepNumber() - 1);
    stepTimes_.at(index) += timeInStep(at);
    stepEndings_.at(index) = ending;
    lastEnding_ = ending;
    lastEndAt_ = at;
}

void ProgramRun::halt(Clock::time_point now, StepEnding::Interruption by)
{
    if (ended()) {
        return;
    }
    const Clock::time_point at = pausedAt_.value_or(now);
    endStep(at, {stepNumber(), std::nullopt, false, by});
    stack_.clear();
    step_ = nullptr;
    pausedAt_.reset();
}

bool ProgramRun::endedByCondition() const
{
    return ended() && lastEnding_ && lastEnding_->condition && !lastEnding_->interruption;
}

StepEnding ProgramRun::timeEnding() const
{
    const bool timeOfDayFirst = timeOfDay_ && *timeOfDay_ < stepStart_ + stepLength(*step_);
    const bool maxFirst = !timeOfDayFirst && (!step_->duration || step_->maxDuration < *step_->duration);
    const auto timeOfDay = std::find_if(step_->ends.begin(), step_->ends.end(),
        [](const EndCondition& end) { return end.kind == EndCondition::Kind::TimeOfDay; });
    return {stepNumber(), timeOfDayFirst ? std::optional(*timeOfDay) : std::nullopt,
        maxFirst && step_->endsOnMeasurement()};
}

std::optional<ProgramRun::Clock::time_point> ProgramRun::deadline() const
{
    if (!step_ || pausedAt_) {
        return std::nullopt;
    }
    const Clock::time_point end = stepStart_ + stepLength(*step_);
    return timeOfDay_ ? std::min(end, *timeOfDay_) : end;
}

bool ProgramRun::advance(Clock::time_point now, const QDateTime& wall)
{
    for (auto due = deadline(); due && now >= *due; due = deadline()) {
        // A ramp whose time is up ends on its target, whatever the readings caught.
        followRamp(*due);
        endStep(*due, timeEnding());
        if (!seek()) {
            break;
        }
        beginStep(*due, wall.addMSecs(-toMilliseconds(now - *due).count()));
    }
    return !ended();
}

bool ProgramRun::take(const Measurement& measurement, bool showsStep, const QDateTime& wall)
{
    if (ended() || pausedAt_) {
        return !ended();
    }
    const ChargeCounters::Sample sample{measurement.at, measurement.volts, measurement.amperes, measurement.outputOn};
    stepCharge_.add(sample);
    total_.add(sample);
    reading_ = measurement;
    followRamp(measurement.at);
    if (!measurement.outputOn || !showsStep) {
        return true;
    }
    if (!peakVolts_ || measurement.volts > *peakVolts_) {
        peakVolts_ = measurement.volts;
        peakAt_ = measurement.at;
    }
    const auto ending = std::find_if(step_->ends.begin(), step_->ends.end(),
        [this](const EndCondition& condition) { return conditionHolds(condition); });
    if (ending == step_->ends.end()) {
        return true;
    }
    endStep(measurement.at, {stepNumber(), *ending});
    if (ending->stops) {
        stopped_ = true;
        stack_.clear();
        step_ = nullptr;
    } else if (seek()) {
        beginStep(measurement.at, wall);
    }
    return !ended();
}

bool ProgramRun::conditionHolds(const EndCondition& condition) const
{
    const Measurement& m = *reading_;
    switch (condition.kind) {
    case EndCondition::Kind::CurrentAtMost:
        return m.amperes <= condition.value;
    case EndCondition::Kind::CurrentAtLeast:
        return m.amperes >= condition.value;
    case EndCondition::Kind::VoltageAtMost:
        return m.volts <= condition.value;
    case EndCondition::Kind::VoltageAtLeast:
        return m.volts >= condition.value;
    case EndCondition::Kind::Charge:
        return stepCharge_.ampereHours() >= condition.value;
    case EndCondition::Kind::Energy:
        return stepCharge_.wattHours() >= condition.value;
    case EndCondition::Kind::BecomesCv:
        return m.voltageRegulated;
    case EndCondition::Kind::BecomesCc:
        return !m.voltageRegulated;
    case EndCondition::Kind::VoltageDrop:
        return *peakVolts_ - m.volts >= condition.value;
    case EndCondition::Kind::VoltageFlat:
        return secondsSincePeak() >= condition.value;
    case EndCondition::Kind::TimeOfDay:
        return false;
    }
    return false;
}

void ProgramRun::followRamp(Clock::time_point now)
{
    const auto& ramp = step_->ramp;
    if (!ramp) {
        return;
    }
    const bool voltage = ramp->quantity == Quantity::Voltage;
    const double value = voltage ? commands_.nearestVoltage(rampValue(now)) : commands_.nearestCurrent(rampValue(now));
    if (rampSent_ == value) {
        return;
    }
    rampSent_ = value;
    (voltage ? commands_.voltage : commands_.current)(value);
}

double ProgramRun::rampValue(Clock::time_point now) const
{
    const auto& ramp = *step_->ramp;
    const double length = static_cast<double>(stepLength(*step_).count());
    const double done
        = length > 0.0 ? std::clamp(static_cast<double>(timeInStep(now).count()) / length, 0.0, 1.0) : 1.0;
    return ramp.from + (ramp.to - ramp.from) * done;
}

void ProgramRun::pause(Clock::time_point now)
{
    if (!ended() && !pausedAt_) {
        pausedAt_ = now;
    }
}

void ProgramRun::resume(Clock::time_point now)
{
    if (ended() || !pausedAt_) {
        return;
    }
    const Clock::duration paused = now - *pausedAt_;
    stepStart_ += paused;
    start_ += paused;
    pausedAt_.reset();
    sendStep(now);
}

double ProgramRun::secondsSincePeak() const
{
    return std::chrono::duration<double>(reading_->at - peakAt_).count();
}

std::chrono::milliseconds ProgramRun::timeInStep(Clock::time_point now) const
{
    return toMilliseconds(pausedAt_.value_or(now) - stepStart_);
}

std::optional<double> ProgramRun::present(const EndCondition& condition) const
{
    switch (condition.kind) {
    case EndCondition::Kind::CurrentAtMost:
    case EndCondition::Kind::CurrentAtLeast:
        return reading_ ? std::optional(reading_->amperes) : std::nullopt;
    case EndCondition::Kind::VoltageAtMost:
    case EndCondition::Kind::VoltageAtLeast:
        return reading_ ? std::optional(reading_->volts) : std::nullopt;
    case EndCondition::Kind::Charge:
        return stepCharge_.ampereHours();
    case EndCondition::Kind::Energy:
        return stepCharge_.wattHours();
    case EndCondition::Kind::VoltageDrop:
        return peakVolts_ && reading_ ? std::optional(*peakVolts_ - reading_->volts) : std::nullopt;
    case EndCondition::Kind::VoltageFlat:
        return peakVolts_ ? std::optional(secondsSincePeak()) : std::nullopt;
    case EndCondition::Kind::BecomesCv:
    case EndCondition::Kind::BecomesCc:
    case EndCondition::Kind::TimeOfDay:
        return std::nullopt;
    }
    return std::nullopt;
}

// What is left after the running step, level by level outwards: the rest of
// each group's pass and its passes still to come.
std::optional<std::chrono::milliseconds> ProgramRun::remainingAfterStep() const
{
    double total = 0.0;
    for (std::size_t i = stack_.size(); i-- > 0;) {
        const Level& level = stack_[i];
        const auto rest = itemsMilliseconds(level.group->items, level.index);
        const auto once = itemsMilliseconds(level.group->items, 0);
        if (!rest || !level.group->count || !once) {
            return std::nullopt;
        }
        total += *rest + *once * std::max(0, *level.group->count - level.pass - 1);
    }
    return Milliseconds{static_cast<Milliseconds::rep>(std::min(total, 1e15))};
}

std::chrono::milliseconds ProgramRun::runTime(Clock::time_point now) const
{
    return toMilliseconds((ended() ? lastEndAt_ : pausedAt_.value_or(now)) - start_);
}

ProgramProgress ProgramRun::progress(Clock::time_point now) const
{
    ProgramProgress progress;
    progress.steps = stepCount();
    if (ended()) {
        return progress;
    }
    progress.step = stepNumber();
    progress.inStep = timeInStep(now);
    progress.elapsed = runTime(now);
    progress.stepLeft = std::max(Milliseconds{0}, stepLength(*step_) - progress.inStep);
    if (timeOfDay_) {
        progress.stepLeft = std::min(progress.stepLeft, toMilliseconds(*timeOfDay_ - pausedAt_.value_or(now)));
    }
    const auto after = remainingAfterStep();
    if (!step_->endsOnMeasurement() && after) {
        progress.remaining = progress.stepLeft + *after;
    }
    for (const EndCondition& condition : step_->ends) {
        progress.conditions.push_back({condition, present(condition)});
    }
    return progress;
}
