#include "readings/ReadingHistory.h"
#include "program/ChargeCounters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

using namespace std::chrono_literals;

namespace {

const std::chrono::system_clock::time_point kStart = std::chrono::sys_days{std::chrono::year{2024} / 5 / 3} + 9h;
const std::chrono::steady_clock::time_point kBoot = std::chrono::steady_clock::time_point(5h);

Reading linked(std::chrono::milliseconds at, double volts, double amperes, bool outputOn = true)
{
    Reading reading;
    reading.time = kStart + at;
    reading.monotonic = kBoot + at;
    reading.linked = true;
    reading.voltage = volts;
    reading.current = amperes;
    reading.outputOn = outputOn;
    reading.setVoltage = 12.0;
    reading.setCurrent = 3.0;
    return reading;
}

Reading lost(std::chrono::milliseconds at)
{
    Reading reading;
    reading.time = kStart + at;
    reading.monotonic = kBoot + at;
    return reading;
}

ChargeCounters::Sample sampleOf(const Reading& reading)
{
    return {reading.monotonic, reading.voltage, reading.current, reading.linked && reading.outputOn};
}

std::vector<ReadingHistory::EventKind> kinds(const std::vector<ReadingHistory::Event>& events)
{
    std::vector<ReadingHistory::EventKind> found;
    found.reserve(events.size());
    for (const auto& event : events) {
        found.push_back(event.kind);
    }
    return found;
}

// Random readings with isolated link losses, all of them kept.
std::vector<Reading> randomReadings(int count)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(0.0, 30.0);
    std::uniform_int_distribution<int> step(50, 800);
    std::vector<Reading> readings;
    std::chrono::milliseconds at{0};
    for (int i = 0; i < count; ++i) {
        at += std::chrono::milliseconds(step(random));
        readings.push_back(i % 97 == 0 ? lost(at) : linked(at, value(random), value(random) / 10));
    }
    return readings;
}

// Every column keeps the extremes of its readings, with at most five points
// (two runs and a gap) per column.
void expectExtremesKept(
    const ReadingHistory& history, const std::vector<Reading>& readings, double from, double to, int columns)
{
    const double width = (to - from) / columns;
    const auto columnOf = [&](double seconds) { return static_cast<int>(std::floor((seconds - from) / width)); };
    std::map<int, std::pair<double, double>> expected;
    for (const Reading& reading : readings) {
        const int column = columnOf(std::chrono::duration<double>(reading.monotonic - history.origin()).count());
        if (reading.linked && column >= 0 && column < columns) {
            auto [slot, added] = expected.try_emplace(column, reading.current, reading.current);
            slot->second
                = {std::min(slot->second.first, reading.current), std::max(slot->second.second, reading.current)};
        }
    }
    const auto decimated = history.decimate(from, to, columns);
    std::map<int, std::vector<double>> kept;
    for (std::size_t i = 0; i < decimated.current.seconds.size(); ++i) {
        kept[columnOf(decimated.current.seconds[i])].push_back(decimated.current.values[i]);
    }
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(columns)) << "every column has readings";
    for (const auto& [column, extremes] : expected) {
        const auto& values = kept[column];
        EXPECT_LE(values.size(), 5U) << column;
        for (const double extreme : {extremes.first, extremes.second}) {
            EXPECT_NE(std::find(values.begin(), values.end(), static_cast<float>(extreme)), values.end())
                << columns << " columns, column " << column;
        }
    }
    EXPECT_TRUE(std::is_sorted(decimated.current.seconds.begin(), decimated.current.seconds.end()));
}

} // namespace

TEST(ReadingHistory, KeepsReadingsToTheMillisecondAndMarksWhatChanged)
{
    ReadingHistory history;
    history.append(linked(0ms, 12.1, 1.5, false));
    Reading second = linked(400ms, 12.0, 2.5);
    second.voltageRegulated = true;
    history.append(second);
    Reading third = linked(800ms, 12.0, 2.5);
    third.setVoltage = 13.8;
    history.append(third);
    history.append(lost(1200ms));
    history.append(lost(1600ms));
    history.append(linked(2000ms, 12.0, 2.5, false));

    ASSERT_EQ(history.size(), 5U) << "a run of link losses is one sample";
    EXPECT_EQ(history.origin(), kBoot);
    const Reading back = history.reading(1);
    EXPECT_EQ(back.time, kStart + 400ms);
    EXPECT_TRUE(back.linked && back.voltageRegulated && back.outputOn);
    EXPECT_FLOAT_EQ(static_cast<float>(back.voltage), 12.0F);
    EXPECT_FLOAT_EQ(static_cast<float>(back.current), 2.5F);
    EXPECT_FLOAT_EQ(static_cast<float>(history.reading(2).setVoltage.value_or(0.0)), 13.8F);
    EXPECT_FALSE(history.reading(3).linked);
    EXPECT_DOUBLE_EQ(history.secondsAt(4), 2.0);

    using Kind = ReadingHistory::EventKind;
    const auto events = history.eventsBetween(0.0, 10.0);
    EXPECT_EQ(kinds(events),
        (std::vector{Kind::OutputOn, Kind::SetpointChange, Kind::LinkLost, Kind::OutputOff, Kind::SetpointChange}))
        << "compared with the last linked reading, across the loss";
    EXPECT_DOUBLE_EQ(events[3].seconds, 2.0);
    EXPECT_EQ(kinds(history.eventsBetween(0.5, 1.2)), (std::vector{Kind::SetpointChange, Kind::LinkLost}));
}

TEST(ReadingHistory, FindsTheNearestSample)
{
    ReadingHistory history;
    EXPECT_EQ(history.nearestIndex(1.0), 0U);
    for (int i = 0; i < 10; ++i) {
        history.append(linked(i * 1000ms, i, 0.0));
    }
    EXPECT_EQ(history.nearestIndex(-5.0), 0U);
    EXPECT_EQ(history.nearestIndex(3.4), 3U);
    EXPECT_EQ(history.nearestIndex(3.6), 4U);
    EXPECT_EQ(history.nearestIndex(1e12), 9U);
    EXPECT_EQ(history.nearestIndex(std::nan("")), 0U);
}

TEST(ReadingHistory, DropsTheOldestSamplesAndTheirMarksBeyondItsCapacity)
{
    ReadingHistory history(4);
    history.append(linked(0ms, 1.0, 1.0, false));
    history.append(linked(1000ms, 1.0, 1.0, true));
    for (int i = 2; i < 6; ++i) {
        history.append(linked(i * 1000ms, i, 1.0));
    }
    ASSERT_EQ(history.size(), 4U);
    EXPECT_DOUBLE_EQ(history.secondsAt(0), 2.0);
    EXPECT_TRUE(history.eventsBetween(0.0, 100.0).empty());
}

TEST(ReadingHistory, ClockJumpsKeepTheTimesInOrder)
{
    ReadingHistory history(3);
    history.append(linked(10s, 1.0, 1.0));
    history.append(linked(5s, 2.0, 1.0));
    EXPECT_DOUBLE_EQ(history.secondsAt(1), 0.0) << "a step back in time stays at the newest sample";

    // Weeks of polls: the stored offsets are moved before they overflow.
    for (const auto days : {20, 21, 22, 26}) {
        history.append(linked(days * 24h, days, 1.0));
    }
    ASSERT_EQ(history.size(), 3U);
    EXPECT_EQ(history.reading(0).time, kStart + 21 * 24h);
    EXPECT_EQ(history.reading(2).time, kStart + 26 * 24h);
    EXPECT_DOUBLE_EQ(history.reading(2).voltage, 26.0);

    // Years ahead: nothing sensible spans that, the history starts again.
    history.append(linked(24h * 365 * 5, 4.0, 1.0));
    ASSERT_EQ(history.size(), 1U);
    EXPECT_EQ(history.origin(), kBoot + 24h * 365 * 5);
}

// Someone sets the wall clock back an hour: the curves go on in time order,
// each reading keeps the wall time it had, the counters count real seconds.
TEST(ReadingHistory, AWallClockSetBackMovesNoPosition)
{
    ReadingHistory history;
    ChargeCounters counters;
    for (int i = 0; i < 20; ++i) {
        Reading reading = linked(i * 400ms, 12.0, 1.0);
        reading.time -= i >= 10 ? 1h : 0h;
        history.append(reading);
        counters.add(sampleOf(reading));
    }
    for (std::size_t i = 0; i < history.size(); ++i) {
        EXPECT_DOUBLE_EQ(history.secondsAt(i), 0.4 * static_cast<double>(i));
        EXPECT_EQ(history.reading(i).time, kStart + i * 400ms - (i >= 10 ? 1h : 0h));
    }
    EXPECT_NEAR(counters.outputOnSeconds(), 19 * 0.4, 1e-9);
}

// An unknown setpoint comes back as unknown and marks no change; one that
// differs from the last known one does, even across the unknown stretch.
TEST(ReadingHistory, UnknownSetpointsStayUnknown)
{
    ReadingHistory history;
    const std::optional<double> setpoints[] = {std::nullopt, 12.0, std::nullopt, 12.0, std::nullopt, 13.0};
    for (std::size_t i = 0; i < std::size(setpoints); ++i) {
        Reading reading = linked(i * 1s, 12.0, 1.0);
        reading.setVoltage = setpoints[i];
        history.append(reading);
        EXPECT_EQ(history.reading(i).setVoltage.has_value(), setpoints[i].has_value()) << i;
    }
    const auto events = history.eventsBetween(0.0, 10.0);
    ASSERT_EQ(kinds(events), std::vector{ReadingHistory::EventKind::SetpointChange});
    EXPECT_DOUBLE_EQ(events[0].seconds, 5.0);
}

TEST(ReadingHistory, ExtremeValuesAreStoredWithoutOverflow)
{
    ReadingHistory history;
    history.append(linked(0ms, 1e300, -1e300));
    history.append(linked(1ms, std::nan(""), INFINITY));
    EXPECT_EQ(history.reading(0).voltage, static_cast<double>(std::numeric_limits<float>::max()));
    EXPECT_EQ(history.reading(0).current, static_cast<double>(std::numeric_limits<float>::lowest()));
    EXPECT_TRUE(std::isnan(history.reading(1).voltage));
    const auto decimated = history.decimate(0.0, 1.0, 10);
    EXPECT_TRUE(std::none_of(decimated.voltage.values.begin(), decimated.voltage.values.end(), [](double value) {
        return std::isnan(value);
    })) << "a NaN reading is no data, not a gap";
}

TEST(ReadingHistoryDecimation, KeepsEveryMinimumAndMaximumOfEachColumn)
{
    const std::vector<Reading> readings = randomReadings(20000);
    ReadingHistory history;
    for (const Reading& reading : readings) {
        history.append(reading);
    }
    expectExtremesKept(history, readings, 100.0, 7000.0, 640);
    // Hundreds of readings per column: summaries of whole blocks stand in for them.
    expectExtremesKept(history, readings, 100.0, 7000.0, 7);
}

TEST(ReadingHistoryDecimation, KeepsTheExtremesAfterTheOldestReadingsAreDropped)
{
    const std::vector<Reading> readings = randomReadings(20000);
    ReadingHistory history(5000);
    for (const Reading& reading : readings) {
        history.append(reading);
    }
    const std::vector<Reading> kept(readings.end() - 5000, readings.end());
    const double first = std::chrono::duration<double>(kept.front().monotonic - history.origin()).count();
    expectExtremesKept(history, kept, first, first + 2000.0, 5);
}

TEST(ReadingHistoryDecimation, LinkLossesBreakTheLinesAtAnyScale)
{
    ReadingHistory history;
    for (int i = 0; i < 100; ++i) {
        history.append(linked(i * 400ms, 12.0, 1.0));
    }
    history.append(lost(40s));
    history.append(linked(45s, 12.0, 1.0));
    history.append(lost(45200ms));
    history.append(lost(45300ms));
    history.append(linked(45400ms, 12.0, 1.0));
    history.append(linked(50s, 12.0, 1.0));

    const auto countGaps = [](const ReadingHistory::Series& series) {
        return std::count_if(
            series.values.begin(), series.values.end(), [](double value) { return std::isnan(value); });
    };
    const auto fine = history.decimate(0.0, 50.0, 500);
    EXPECT_EQ(countGaps(fine.voltage), 2);
    EXPECT_EQ(countGaps(fine.power), 2);
    // Both losses fall in one column here: the gap still shows.
    const auto coarse = history.decimate(0.0, 50.0, 2);
    EXPECT_EQ(countGaps(coarse.voltage), 1);
    ASSERT_GE(coarse.voltage.values.size(), 3U);
    EXPECT_DOUBLE_EQ(coarse.voltage.seconds.back(), 50.0);
    EXPECT_DOUBLE_EQ(coarse.power.values.back(), 12.0);
}

TEST(ReadingHistoryDecimation, ReachesOneSampleBeyondEachEdgeAndRejectsEmptyRanges)
{
    ReadingHistory history;
    for (int i = 0; i < 10; ++i) {
        history.append(linked(i * 10s, i, 0.0));
    }
    const auto zoomed = history.decimate(31.0, 49.0, 100);
    EXPECT_EQ(zoomed.voltage.seconds, (std::vector{30.0, 40.0, 50.0}));
    EXPECT_TRUE(history.decimate(10.0, 10.0, 100).voltage.values.empty());
    EXPECT_TRUE(history.decimate(0.0, 90.0, 0).voltage.values.empty());
    EXPECT_TRUE(history.decimate(std::nan(""), 90.0, 100).voltage.values.empty());
    EXPECT_TRUE(history.decimate(0.0, INFINITY, 100).voltage.values.empty());
    EXPECT_TRUE(ReadingHistory().decimate(0.0, 1.0, 100).voltage.values.empty());
}

TEST(ChargeCounters, IntegratesTheTrapezoidsOfRealSampleTimes)
{
    ChargeCounters counters;
    // A step from 0 A to 2 A, at an irregular poll.
    counters.add(sampleOf(linked(0ms, 10.0, 0.0)));
    counters.add(sampleOf(linked(1000ms, 10.0, 2.0)));
    counters.add(sampleOf(linked(1500ms, 10.0, 2.0)));
    counters.add(sampleOf(linked(3500ms, 12.0, 2.0)));
    EXPECT_NEAR(counters.ampereHours(), (1.0 * 1.0 + 2.0 * 0.5 + 2.0 * 2.0) / 3600, 1e-12);
    EXPECT_NEAR(counters.wattHours(), (10.0 * 1.0 + 20.0 * 0.5 + 22.0 * 2.0) / 3600, 1e-12);
    EXPECT_DOUBLE_EQ(counters.outputOnSeconds(), 3.5);

    ChargeCounters hour;
    for (int i = 0; i <= 9000; ++i) {
        hour.add(sampleOf(linked(i * 400ms, 5.0, 2.0)));
    }
    EXPECT_NEAR(hour.ampereHours(), 2.0, 1e-9);
    EXPECT_NEAR(hour.wattHours(), 10.0, 1e-9);
    EXPECT_NEAR(hour.outputOnSeconds(), 3600.0, 1e-6);
}

TEST(ChargeCounters, CountOnlyWhileTheOutputIsOnAndTheLinkHolds)
{
    ChargeCounters counters;
    counters.add(sampleOf(linked(0s, 10.0, 1.0, false)));
    counters.add(sampleOf(linked(1s, 10.0, 1.0, true))); // switched on: the first interval does not count
    counters.add(sampleOf(linked(2s, 10.0, 1.0, true)));
    counters.add(sampleOf(linked(3s, 10.0, 1.0, false)));
    counters.add(sampleOf(lost(4s)));
    counters.add(sampleOf(linked(5s, 10.0, 1.0, true)));
    counters.add(sampleOf(lost(6s)));
    counters.add(sampleOf(linked(7s, 10.0, 1.0, true))); // the loss pauses counting, the totals stay
    counters.add(sampleOf(linked(8s, 10.0, 1.0, true)));
    EXPECT_DOUBLE_EQ(counters.outputOnSeconds(), 2.0);
    EXPECT_NEAR(counters.ampereHours(), 2.0 / 3600, 1e-15);
}

TEST(ChargeCounters, SkipStallsClockStepsBackAndBadValuesAndResetOnDemand)
{
    ChargeCounters counters;
    counters.add(sampleOf(linked(0s, 10.0, 1.0)));
    counters.add(sampleOf(linked(60s, 10.0, 1.0)));
    counters.add(sampleOf(linked(59s, 10.0, 1.0)));
    counters.add(sampleOf(linked(60s, 10.0, 1.0)));
    counters.add(sampleOf(linked(61s, 10.0, NAN)));
    counters.add(sampleOf(linked(62s, 10.0, 1.0)));
    EXPECT_DOUBLE_EQ(counters.outputOnSeconds(), 1.0) << "only 59 s to 60 s counts";
    counters.add(sampleOf(linked(63s, 10.0, 1.0)));
    EXPECT_DOUBLE_EQ(counters.outputOnSeconds(), 2.0);

    counters.reset();
    EXPECT_EQ(counters.ampereHours(), 0.0);
    EXPECT_EQ(counters.wattHours(), 0.0);
    EXPECT_EQ(counters.outputOnSeconds(), 0.0);
    counters.add(sampleOf(linked(64s, 10.0, 1.0)));
    EXPECT_DOUBLE_EQ(counters.outputOnSeconds(), 1.0);
}
