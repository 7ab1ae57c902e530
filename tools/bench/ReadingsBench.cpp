// Memory of a day of readings, the chart's redraw and live edge with that
// day behind it, and the recorder's cost per reading.
#include "chart/ReadingsWindow.h"
#include "readings/CsvRecorder.h"
#include "readings/ReadingHistory.h"
#include "readings/ReadingsModel.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <malloc.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr auto kPoll = 400ms;
constexpr int kDayOfPolls = 216000;
const std::chrono::system_clock::time_point kStart = std::chrono::sys_days{std::chrono::year{2024} / 5 / 3};

// A day on the bench: setpoint changes every ten minutes, the output off for
// five minutes each hour, a ten-second link loss every three hours.
Reading dayReading(int index)
{
    Reading reading;
    reading.time = kStart + index * kPoll;
    reading.monotonic = std::chrono::steady_clock::time_point(index * kPoll);
    const int second = index * 2 / 5;
    reading.linked = second % 10800 >= 10;
    reading.outputOn = second % 3600 >= 300;
    const double setVoltage = 12.0 + (second / 600) % 5;
    reading.setVoltage = setVoltage;
    reading.setCurrent = 3.0;
    reading.voltageRegulated = (second / 900) % 2 == 0;
    reading.voltage = reading.outputOn ? setVoltage - 0.1 * std::sin(index * 0.01) : 0.0;
    reading.current = reading.outputOn ? 1.5 + std::sin(index * 0.003) : 0.0;
    return reading;
}

// CPU time of the process: the machine is shared, wall time counts others' work.
double cpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void HistoryOfADay(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        const std::size_t before = ::mallinfo2().uordblks;
        ReadingHistory history;
        for (int i = 0; i < kDayOfPolls; ++i) {
            history.append(dayReading(i));
        }
        bytes = ::mallinfo2().uordblks - before;
        benchmark::DoNotOptimize(history.size());
    }
    state.counters["memory_mb"] = static_cast<double>(bytes) / 1e6;
    state.counters["bytes_per_sample"] = static_cast<double>(bytes) / kDayOfPolls;
}

void DecimateAllOfADay(benchmark::State& state)
{
    ReadingHistory history;
    for (int i = 0; i < kDayOfPolls; ++i) {
        history.append(dayReading(i));
    }
    const double day = history.secondsAt(history.size() - 1);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        benchmark::DoNotOptimize(history.decimate(0.0, day, 900));
    }
}

// The readings window on screen with a day of history behind it.
class DayWindow {
public:
    explicit DayWindow(ReadingsChart::Span span)
    {
        model.setFullScale(30.0, 5.0);
        window.resize(1000, 700);
        // Filled while hidden, as a window opened late in a long run is.
        for (int i = 0; i < kDayOfPolls; ++i) {
            model.addReading(dayReading(i));
        }
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
        window.chart().setSpan(span);
        QApplication::processEvents();
    }
    // One reading at the poll rate's next time, drawn.
    void next()
    {
        model.addReading(dayReading(polls++));
        QApplication::processEvents();
    }

    ReadingsModel model;
    ReadingsWindow window{model};
    bool exposed = false;
    int polls = kDayOfPolls;
};

void RedrawAllOfADay(benchmark::State& state)
{
    DayWindow day(ReadingsChart::Span::All);
    QImage image(day.window.size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> times;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        const double start = cpuSeconds();
        day.window.chart().historyChanged();
        day.window.chart().plot()->replot();
        QPainter painter(&image);
        day.window.render(&painter);
        times.push_back(cpuSeconds() - start);
        state.SetIterationTime(times.back());
    }
    state.counters["median_ms"] = 1000 * median(times);
    state.counters["points"] = day.window.chart().plot()->graph(0)->dataCount();
    state.counters["exposed"] = day.exposed ? 1 : 0;
}

// The share of a core that following the live edge takes at the poll rate.
void LiveEdgeOfADay(benchmark::State& state)
{
    DayWindow day(static_cast<ReadingsChart::Span>(state.range(0)));
    std::vector<double> times;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        const double start = cpuSeconds();
        day.next();
        times.push_back(cpuSeconds() - start);
        state.SetIterationTime(times.back());
    }
    const double perSecond = 1s / std::chrono::duration<double>(kPoll);
    state.counters["median_ms"] = 1000 * median(times);
    state.counters["cpu_percent"] = 100 * median(times) * perSecond;
}

void HiddenWindowPerReading(benchmark::State& state)
{
    ReadingsModel model;
    const ReadingsWindow window(model);
    int polls = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        model.addReading(dayReading(polls++ % kDayOfPolls));
    }
}

void RecordingPerReading(benchmark::State& state)
{
    QTemporaryDir directory;
    CsvRecorder recorder;
    recorder.start(directory.filePath(QStringLiteral("run.csv")), CsvRecorder::Mode::Overwrite);
    int polls = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is the idiom
        recorder.record(dayReading(polls++ % kDayOfPolls));
    }
    state.counters["recording"] = recorder.isRecording() ? 1 : 0;
}

} // namespace

BENCHMARK(HistoryOfADay)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DecimateAllOfADay)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawAllOfADay)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(LiveEdgeOfADay)
    ->Arg(static_cast<int>(ReadingsChart::Span::TenMinutes))
    ->Arg(static_cast<int>(ReadingsChart::Span::All))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);
BENCHMARK(HiddenWindowPerReading)->Unit(benchmark::kMicrosecond);
BENCHMARK(RecordingPerReading)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    // Set before any thread of ours starts.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0); // NOLINT(concurrency-mt-unsafe)
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
