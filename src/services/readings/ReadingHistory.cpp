#include "readings/ReadingHistory.h"

#include "readings/ColumnReducer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

using std::chrono::milliseconds;

// A double outside float's range would be undefined behaviour to convert.
float stored(double value)
{
    constexpr double kMax = std::numeric_limits<float>::max();
    return std::isnan(value) ? std::numeric_limits<float>::quiet_NaN()
                             : static_cast<float>(std::clamp(value, -kMax, kMax));
}

// NaN stands for an unknown setpoint.
float stored(std::optional<double> value)
{
    return value ? stored(*value) : std::numeric_limits<float>::quiet_NaN();
}

std::optional<double> setpoint(float value)
{
    return std::isnan(value) ? std::nullopt : std::optional<double>(value);
}

template <class TimePoint> std::int64_t msSinceEpoch(TimePoint time)
{
    return std::chrono::floor<milliseconds>(time).time_since_epoch().count();
}

// Clamped to what the clock's time points hold, so that converting back cannot overflow.
template <class Clock> typename Clock::time_point fromMs(std::int64_t ms)
{
    const std::int64_t lowest = std::chrono::ceil<milliseconds>(Clock::time_point::min()).time_since_epoch().count();
    const std::int64_t highest = std::chrono::floor<milliseconds>(Clock::time_point::max()).time_since_epoch().count();
    return typename Clock::time_point(milliseconds(std::clamp(ms, lowest, highest)));
}

} // namespace

// The three curves' reducers fed from samples or from block summaries.
class ReadingHistory::SeriesReducers {
public:
    explicit SeriesReducers(Decimated& out)
        : voltage_(out.voltage)
        , current_(out.current)
        , power_(out.power)
    {
    }

    void add(const Sample& sample)
    {
        const double seconds = sample.ms / 1000.0;
        if ((sample.flags & kLinked) == 0) {
            voltage_.gap(seconds);
            current_.gap(seconds);
            power_.gap(seconds);
            return;
        }
        voltage_.add(seconds, sample.voltage);
        current_.add(seconds, sample.current);
        power_.add(seconds, double(sample.voltage) * double(sample.current));
    }
    void add(const Block& block)
    {
        add(voltage_, block.voltage);
        add(current_, block.current);
        add(power_, block.power);
    }
    void flush()
    {
        voltage_.flush();
        current_.flush();
        power_.flush();
    }

private:
    static void add(ColumnReducer& reducer, const Extremes& extremes)
    {
        if (extremes.min <= extremes.max) {
            reducer.add(extremes.minMs / 1000.0, extremes.min);
            reducer.add(extremes.maxMs / 1000.0, extremes.max);
        }
    }

    ColumnReducer voltage_;
    ColumnReducer current_;
    ColumnReducer power_;
};

void ReadingHistory::Extremes::add(std::uint32_t ms, double value)
{
    if (value < min) {
        min = value;
        minMs = ms;
    }
    if (value > max) {
        max = value;
        maxMs = ms;
    }
}

ReadingHistory::ReadingHistory(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1))
{
}

void ReadingHistory::clear()
{
    samples_.clear();
    events_.clear();
    blocks_.clear();
    wallOffsets_.clear();
    dropped_ = 0;
}

void ReadingHistory::append(const Reading& reading)
{
    const bool lostBefore = !samples_.empty() && (samples_.back().flags & kLinked) == 0;
    if (!reading.linked && lostBefore) {
        return; // one stored sample per link loss is enough for its gap
    }
    const std::int64_t monotonicMs = msSinceEpoch(reading.monotonic);
    if (samples_.empty()) {
        originMs_ = monotonicMs;
    }
    std::optional<std::uint32_t> ms = offsetOf(monotonicMs);
    if (!ms) {
        clear();
        originMs_ = monotonicMs;
        ms = 0;
    }
    noteWallOffset(msSinceEpoch(reading.time) - (originMs_ + *ms));
    Sample sample{*ms, 0.0F, 0.0F, 0.0F, 0.0F, 0};
    if (reading.linked) {
        sample = {*ms, stored(reading.voltage), stored(reading.current), stored(reading.setVoltage),
            stored(reading.setCurrent),
            static_cast<std::uint8_t>(
                kLinked | (reading.voltageRegulated ? kRegulatingVoltage : 0) | (reading.outputOn ? kOutputOn : 0))};
    }
    noteEvents(sample);
    // A trip first: of two marks at one moment the chart keeps the first.
    for (const auto& [word, kind] : {std::pair{"trip", EventKind::Trip}, std::pair{"step", EventKind::ProgramStep}}) {
        if (reading.events.find(word) != std::string::npos) {
            events_.mark(sample.ms, kind);
        }
    }
    samples_.push_back(sample);
    summarise(sample);
    if (samples_.size() > capacity_) {
        dropOldest();
    }
}

std::optional<std::uint32_t> ReadingHistory::offsetOf(std::int64_t monotonicMs)
{
    std::int64_t ms = monotonicMs - originMs_;
    if (!samples_.empty()) {
        ms = std::max<std::int64_t>(ms, samples_.back().ms);
    }
    if (ms >= kRebaseAfterMs) {
        rebase();
        ms = std::max<std::int64_t>(monotonicMs - originMs_, samples_.back().ms);
    }
    if (ms >= kRebaseAfterMs) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(ms);
}

void ReadingHistory::rebase()
{
    const std::uint32_t shift = samples_.front().ms;
    originMs_ += shift;
    for (Sample& sample : samples_) {
        sample.ms -= shift;
    }
    events_.rebase(shift);
    rebaseBlocks(shift);
}

// The front block may still summarise dropped samples older than the shift;
// it is never used whole, so clamping its times is enough.
void ReadingHistory::rebaseBlocks(std::uint32_t shift)
{
    for (Block& block : blocks_) {
        for (Extremes* extremes : {&block.voltage, &block.current, &block.power}) {
            extremes->minMs -= std::min(shift, extremes->minMs);
            extremes->maxMs -= std::min(shift, extremes->maxMs);
        }
    }
}

// The wall clock keeps its distance to the monotonic one until someone sets
// it or the machine sleeps: one entry per such step, not per sample.
void ReadingHistory::noteWallOffset(std::int64_t wallMinusMonotonicMs)
{
    if (wallOffsets_.empty()
        || std::llabs(wallMinusMonotonicMs - wallOffsets_.back().wallMinusMonotonicMs) > kWallJitterMs) {
        wallOffsets_.push_back({dropped_ + samples_.size(), wallMinusMonotonicMs});
    }
}

void ReadingHistory::summarise(const Sample& sample)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if ((dropped_ + samples_.size() - 1) % kBlock == 0) {
        const Extremes empty{kInfinity, -kInfinity, 0, 0};
        blocks_.push_back({empty, empty, empty, false});
    }
    Block& block = blocks_.back();
    if ((sample.flags & kLinked) == 0) {
        block.gap = true;
        return;
    }
    block.voltage.add(sample.ms, sample.voltage);
    block.current.add(sample.ms, sample.current);
    block.power.add(sample.ms, double(sample.voltage) * double(sample.current));
}

void ReadingHistory::noteEvents(const Sample& sample)
{
    events_.note(sample.ms,
        {(sample.flags & kLinked) != 0, (sample.flags & kOutputOn) != 0, sample.setVoltage, sample.setCurrent});
}

void ReadingHistory::dropOldest()
{
    samples_.pop_front();
    if (++dropped_ % kBlock == 0) {
        blocks_.pop_front();
    }
    events_.dropBefore(samples_.front().ms);
    while (wallOffsets_.size() > 1 && wallOffsets_[1].firstSample <= dropped_) {
        wallOffsets_.pop_front();
    }
}

double ReadingHistory::secondsAt(std::size_t index) const
{
    return samples_.at(index).ms / 1000.0;
}

std::chrono::steady_clock::time_point ReadingHistory::origin() const
{
    return fromMs<std::chrono::steady_clock>(originMs_);
}

std::int64_t ReadingHistory::wallOffsetAt(std::size_t index) const
{
    const std::size_t absolute = dropped_ + index;
    const auto after = std::partition_point(wallOffsets_.begin(), wallOffsets_.end(),
        [absolute](const WallOffset& offset) { return offset.firstSample <= absolute; });
    return std::prev(after)->wallMinusMonotonicMs;
}

Reading ReadingHistory::reading(std::size_t index) const
{
    const Sample& sample = samples_.at(index);
    const std::int64_t monotonicMs = originMs_ + sample.ms;
    Reading reading;
    reading.monotonic = fromMs<std::chrono::steady_clock>(monotonicMs);
    reading.time = fromMs<std::chrono::system_clock>(monotonicMs + wallOffsetAt(index));
    reading.linked = (sample.flags & kLinked) != 0;
    reading.voltage = sample.voltage;
    reading.current = sample.current;
    reading.voltageRegulated = (sample.flags & kRegulatingVoltage) != 0;
    reading.outputOn = (sample.flags & kOutputOn) != 0;
    reading.setVoltage = setpoint(sample.setVoltage);
    reading.setCurrent = setpoint(sample.setCurrent);
    return reading;
}

std::uint32_t ReadingHistory::toMs(double seconds)
{
    constexpr double kMax = std::numeric_limits<std::uint32_t>::max();
    if (!(seconds > 0.0)) {
        return 0;
    }
    return seconds * 1000.0 >= kMax ? std::numeric_limits<std::uint32_t>::max()
                                    : static_cast<std::uint32_t>(seconds * 1000.0);
}

std::size_t ReadingHistory::lowerBound(std::uint32_t ms) const
{
    const auto found
        = std::partition_point(samples_.begin(), samples_.end(), [ms](const Sample& sample) { return sample.ms < ms; });
    return static_cast<std::size_t>(found - samples_.begin());
}

std::size_t ReadingHistory::upperBound(std::uint32_t ms) const
{
    const auto found = std::partition_point(
        samples_.begin(), samples_.end(), [ms](const Sample& sample) { return sample.ms <= ms; });
    return static_cast<std::size_t>(found - samples_.begin());
}

std::size_t ReadingHistory::nearestIndex(double seconds) const
{
    const std::uint32_t ms = toMs(seconds);
    const std::size_t after = lowerBound(ms);
    if (after == samples_.size()) {
        return samples_.empty() ? 0 : after - 1;
    }
    if (after > 0 && ms - samples_[after - 1].ms <= samples_[after].ms - ms) {
        return after - 1;
    }
    return after;
}

std::vector<ReadingHistory::Event> ReadingHistory::eventsBetween(double from, double to) const
{
    return events_.between(toMs(from), toMs(to));
}

ReadingHistory::Decimated ReadingHistory::decimate(double from, double to, int columns) const
{
    Decimated out;
    if (samples_.empty() || columns <= 0 || !(to > from) || !std::isfinite(to - from)) {
        return out;
    }
    std::size_t first = lowerBound(toMs(from));
    std::size_t last = upperBound(toMs(to));
    first -= first > 0 ? 1 : 0;
    last += last < samples_.size() ? 1 : 0;
    reduce(first, last, from, (to - from) / columns, columns, out);
    return out;
}

void ReadingHistory::reduce(
    std::size_t first, std::size_t last, double from, double width, int columns, Decimated& out) const
{
    SeriesReducers reducers(out);
    std::size_t begin = first;
    // Column -1 holds the sample before the range, column `columns` the one after it.
    for (int column = -1; column <= columns; ++column) {
        const std::size_t end = column == columns ? last : columnEnd(begin, last, from + (column + 1) * width);
        if (end > begin) {
            reduceRange(begin, end, reducers);
            reducers.flush();
        }
        begin = end;
    }
}

std::size_t ReadingHistory::columnEnd(std::size_t begin, std::size_t last, double boundary) const
{
    const auto found = std::partition_point(samples_.begin() + static_cast<std::ptrdiff_t>(begin),
        samples_.begin() + static_cast<std::ptrdiff_t>(last),
        [boundary](const Sample& sample) { return sample.ms / 1000.0 < boundary; });
    return static_cast<std::size_t>(found - samples_.begin());
}

void ReadingHistory::reduceRange(std::size_t begin, std::size_t end, SeriesReducers& reducers) const
{
    std::size_t i = begin;
    while (i < end) {
        const std::size_t absolute = dropped_ + i;
        if (absolute % kBlock == 0 && end - i >= kBlock) {
            const Block& block = blocks_[absolute / kBlock - dropped_ / kBlock];
            if (!block.gap) {
                reducers.add(block);
                i += kBlock;
                continue;
            }
        }
        reducers.add(samples_[i]);
        ++i;
    }
}
