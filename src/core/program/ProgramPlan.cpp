#include "program/ProgramPlan.h"

#include <algorithm>

namespace {

double secondsOf(std::chrono::milliseconds duration)
{
    return static_cast<double>(duration.count()) / 1000.0;
}

// Its duration, or its maximum where that is sooner or the step has none.
double drawnSeconds(const ProgramStep& step)
{
    const double maximum = secondsOf(step.maxDuration);
    if (!step.duration) {
        return std::max(maximum, 0.0);
    }
    const double duration = secondsOf(*step.duration);
    return std::max(maximum > 0.0 ? std::min(duration, maximum) : duration, 0.0);
}

int stepsIn(const ProgramGroup& group)
{
    int steps = 0;
    for (const ProgramNode& node : group.items) {
        const auto* inner = std::get_if<ProgramGroup>(&node.content);
        steps += inner == nullptr ? 1 : stepsIn(*inner);
    }
    return steps;
}

// A step cut short by its maximum leaves the ramp part of the way.
void applyRamp(const ProgramStep& step, ProgramPlan::Point& start, ProgramPlan::Point& end)
{
    const ProgramStep::Ramp& ramp = *step.ramp;
    const bool voltage = ramp.quantity == Quantity::Voltage;
    const double duration = step.duration ? secondsOf(*step.duration) : 0.0;
    const double reached = duration > 0.0 ? std::min((end.seconds - start.seconds) / duration, 1.0) : 1.0;
    (voltage ? start.volts : start.amperes) = ramp.from;
    (voltage ? end.volts : end.amperes) = ramp.from + (ramp.to - ramp.from) * reached;
}

} // namespace

ProgramPlan ProgramPlan::of(const Program& program, double startVolts, double startAmperes)
{
    ProgramPlan plan;
    plan.last_.volts = startVolts;
    plan.last_.amperes = startAmperes;
    plan.addRepeated(program.body, 1, false);
    if (!plan.endless_) {
        plan.maximumSeconds_ = plan.last_.seconds;
        if (!plan.measured_) {
            plan.knownSeconds_ = plan.last_.seconds;
        }
    }
    if (program.limits.time) {
        plan.limitTo(static_cast<double>(program.limits.time->count()));
    }
    return plan;
}

void ProgramPlan::limitTo(double seconds)
{
    if (maximumSeconds_ && *maximumSeconds_ <= seconds) {
        return;
    }
    timeLimit_ = seconds;
    maximumSeconds_ = seconds;
    knownSeconds_.reset();
}

// Every pass takes as long as the first, so the ones past the last point
// drawn only add time. Nothing after a group that repeats until stopped runs.
void ProgramPlan::addRepeated(const ProgramGroup& group, int firstStep, bool untilStopped)
{
    if (!group.count) {
        addGroup(group, firstStep, true);
        endless_ = true;
        return;
    }
    for (int pass = 0; pass < *group.count && !endless_; ++pass) {
        const double before = last_.seconds;
        addGroup(group, firstStep, untilStopped);
        if (points_.size() >= kMostPoints) {
            last_.seconds += (last_.seconds - before) * (*group.count - pass - 1);
            return;
        }
    }
}

void ProgramPlan::addGroup(const ProgramGroup& group, int firstStep, bool untilStopped)
{
    int number = firstStep;
    for (const ProgramNode& node : group.items) {
        if (endless_) {
            break;
        }
        if (const auto* inner = std::get_if<ProgramGroup>(&node.content)) {
            addRepeated(*inner, number, untilStopped);
            number += stepsIn(*inner);
        } else {
            addStep(std::get<ProgramStep>(node.content), number++, untilStopped);
        }
    }
}

void ProgramPlan::addStep(const ProgramStep& step, int number, bool untilStopped)
{
    Point start = last_;
    start.step = number;
    start.atMaximum = step.endsOnMeasurement();
    start.repeatsUntilStopped = untilStopped;
    start.volts = step.volts.value_or(start.volts);
    start.amperes = step.amperes.value_or(start.amperes);
    start.outputOn = step.output.value_or(start.outputOn);
    Point end = start;
    end.seconds += drawnSeconds(step);
    if (step.ramp) {
        applyRamp(step, start, end);
    }
    measured_ = measured_ || step.endsOnMeasurement();
    if (points_.size() < kMostPoints) {
        points_.push_back(start);
        points_.push_back(end);
    }
    last_ = end;
}
