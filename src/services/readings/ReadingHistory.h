#pragma once

#include "readings/HistoryEvents.h"
#include "readings/Reading.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// The readings of the last hours, compact enough to keep a day of polls in a
// few megabytes, and their reduction to a few points per pixel column.
class ReadingHistory {
public:
    using EventKind = HistoryEvents::Kind;
    using Event = HistoryEvents::Event;

    // One curve: points in time order; a NaN value breaks the line.
    struct Series {
        std::vector<double> seconds;
        std::vector<double> values;
    };

    struct Decimated {
        Series voltage;
        Series current;
        Series power;
    };

    // Two days at the poll rate.
    static constexpr std::size_t kDefaultCapacity = 432000;

    explicit ReadingHistory(std::size_t capacity = kDefaultCapacity);

    void append(const Reading& reading);
    void clear();

    bool empty() const { return samples_.empty(); }
    std::size_t size() const { return samples_.size(); }
    // The monotonic time that secondsAt() counts from.
    std::chrono::steady_clock::time_point origin() const;
    double secondsAt(std::size_t index) const;
    Reading reading(std::size_t index) const;
    // The sample closest in time; size() when empty.
    std::size_t nearestIndex(double seconds) const;
    std::vector<Event> eventsBetween(double from, double to) const;

    // Per column of [from, to], the first and last extremes of each series
    // before and after a link loss in it, plus one sample beyond each end so
    // that lines reach the edges.
    Decimated decimate(double from, double to, int columns) const;

private:
    struct Sample {
        std::uint32_t ms; // monotonic, since originMs_
        float voltage;
        float current;
        float setVoltage;
        float setCurrent;
        std::uint8_t flags;
    };
    // The wall clock's distance to the stored monotonic times from one sample on.
    struct WallOffset {
        std::size_t firstSample; // counted like dropped_
        std::int64_t wallMinusMonotonicMs;
    };
    // The extremes of one series over a block of samples.
    struct Extremes {
        double min;
        double max;
        std::uint32_t minMs;
        std::uint32_t maxMs;

        void add(std::uint32_t ms, double value);
    };
    // A summary of kBlock consecutive samples, so that a column spanning many
    // samples costs a few blocks instead of every sample.
    struct Block {
        Extremes voltage;
        Extremes current;
        Extremes power;
        bool gap;
    };
    class SeriesReducers;

    static constexpr std::size_t kBlock = 64;

    static constexpr std::uint8_t kLinked = 1;
    static constexpr std::uint8_t kRegulatingVoltage = 2;
    static constexpr std::uint8_t kOutputOn = 4;
    // Offsets are rebased before they come near the 32-bit limit.
    static constexpr std::int64_t kRebaseAfterMs = std::int64_t{1} << 31;
    // The two clocks are read one after the other, so their distance in whole
    // milliseconds wobbles by one without either being set.
    static constexpr std::int64_t kWallJitterMs = 1;

    // Milliseconds since originMs_, never before the newest sample; nullopt
    // once the clock has jumped too far ahead to keep the stored samples.
    std::optional<std::uint32_t> offsetOf(std::int64_t monotonicMs);
    void noteWallOffset(std::int64_t wallMinusMonotonicMs);
    std::int64_t wallOffsetAt(std::size_t index) const;
    void rebase();
    void noteEvents(const Sample& sample);
    void dropOldest();
    void summarise(const Sample& sample);
    void rebaseBlocks(std::uint32_t shift);
    std::size_t lowerBound(std::uint32_t ms) const;
    std::size_t upperBound(std::uint32_t ms) const;
    void reduce(std::size_t first, std::size_t last, double from, double width, int columns, Decimated& out) const;
    void reduceRange(std::size_t begin, std::size_t end, SeriesReducers& reducers) const;
    std::size_t columnEnd(std::size_t begin, std::size_t last, double boundary) const;
    static std::uint32_t toMs(double seconds);

    std::size_t capacity_;
    std::int64_t originMs_ = 0; // monotonic
    std::deque<Sample> samples_;
    HistoryEvents events_;
    std::deque<Block> blocks_;
    std::deque<WallOffset> wallOffsets_;
    std::size_t dropped_ = 0; // samples dropped since the last clear(), for the block alignment
};
