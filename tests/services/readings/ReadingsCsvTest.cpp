#include "readings/CsvExport.h"
#include "readings/CsvLine.h"
#include "readings/CsvRecorder.h"
#include "readings/CsvTail.h"
#include "readings/FileSyncer.h"
#include "readings/ReadingHistory.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const std::chrono::system_clock::time_point kNoonUtc = std::chrono::sys_days{std::chrono::year{2024} / 5 / 3} + 12h;

Reading reading(std::chrono::milliseconds after, double volts = 12.1, double amperes = 1.5)
{
    Reading reading;
    reading.time = kNoonUtc + after;
    reading.monotonic = std::chrono::steady_clock::time_point(1h + after);
    reading.linked = true;
    reading.voltage = volts;
    reading.current = amperes;
    reading.voltageRegulated = true;
    reading.outputOn = true;
    reading.setVoltage = 12.1;
    reading.setCurrent = 3.0;
    return reading;
}

// Sets the time zone for one test and puts the old one back.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        const char* old = std::getenv("TZ"); // NOLINT(concurrency-mt-unsafe): tests run on one thread
        if (old != nullptr) {
            old_ = old;
        }
        ::setenv("TZ", zone, 1); // NOLINT(concurrency-mt-unsafe)
        ::tzset();
    }
    ~TimeZone()
    {
        if (old_.empty()) {
            ::unsetenv("TZ"); // NOLINT(concurrency-mt-unsafe)
        } else {
            ::setenv("TZ", old_.c_str(), 1); // NOLINT(concurrency-mt-unsafe)
        }
        ::tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::string old_;
};

// A decimal comma everywhere the process could take its numbers from.
struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

std::string readFile(const QString& path)
{
    std::ifstream file(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class Recorder : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(
            &recorder, &CsvRecorder::failed, [this](const QString& message) { messages.push_back(message); });
    }

    QString path(const char* name) const { return directory.filePath(QString::fromUtf8(name)); }

    QTemporaryDir directory;
    CsvRecorder recorder;
    QStringList messages;
    TimeZone zone{"UTC0"};
};

// The descriptor the recorder writes to, found by the file it points at.
int descriptorOf(const QString& path)
{
    const std::filesystem::path target = std::filesystem::canonical(path.toStdString());
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == target) {
            return std::stoi(entry.path().filename().string());
        }
    }
    return -1;
}

// A stand-in for fdatasync that counts its calls and fails as told.
struct FakeSync {
    std::shared_ptr<std::atomic<int>> calls = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> failWith = std::make_shared<std::atomic<int>>(0);

    FileSyncer::Sync function() const
    {
        return [calls = calls, failWith = failWith](int) {
            ++*calls;
            errno = failWith->load();
            return errno == 0 ? 0 : -1;
        };
    }
    bool waitForCalls(int count) const
    {
        for (int i = 0; i < 500 && calls->load() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return calls->load() >= count;
    }
};

} // namespace

TEST(FileSyncer, SyncsAfterWritesAndOnceMoreBeforeItStops)
{
    FakeSync fake;
    {
        FileSyncer syncer(7, fake.function());
        syncer.request();
        ASSERT_TRUE(fake.waitForCalls(1));
        *fake.failWith = EINVAL;
        syncer.request();
        ASSERT_TRUE(fake.waitForCalls(2));
        EXPECT_EQ(syncer.error(), 0) << "nothing to sync on a pipe or a terminal";
        *fake.failWith = EIO;
        syncer.request();
        ASSERT_TRUE(fake.waitForCalls(3));
        *fake.failWith = ENOSPC;
        syncer.request();
        ASSERT_TRUE(fake.waitForCalls(4));
        EXPECT_EQ(syncer.error(), EIO) << "the first failure is kept";
        syncer.request();
    }
    EXPECT_EQ(fake.calls->load(), 5) << "a pending request is honoured before stopping";
    {
        const FileSyncer idle(7, fake.function());
    }
    EXPECT_EQ(fake.calls->load(), 5);
}

TEST(CsvLine, WritesLocalTimeWithItsOffsetAndPointDecimalsWhateverTheLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr); // NOLINT(concurrency-mt-unsafe)
    for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) { // NOLINT(concurrency-mt-unsafe)
            break;
        }
    }
    {
        const TimeZone moscow("MSK-3");
        EXPECT_EQ(CsvLine::format(reading(400ms), 0.4),
            "2024-05-03T15:00:00.400+03:00,0.400,12.100,1.500,18.150,CV,on,12.100,3.000,,\n");
    }
    {
        const TimeZone newfoundland("NST3:30");
        Reading off = reading(-1ms, 0.0, 0.0);
        off.outputOn = false;
        off.setCurrent.reset();
        EXPECT_EQ(
            CsvLine::format(off, 86400.0), "2024-05-03T08:29:59.999-03:30,86400.000,0.000,0.000,0.000,,off,12.100,,,\n")
            << "no mode without output, no unknown setpoint";
    }
    static_cast<void>(std::setlocale(LC_NUMERIC, numeric.c_str())); // NOLINT(concurrency-mt-unsafe)
    std::locale::global(previous);
}

TEST(CsvLine, KeepsItsFieldsForLinkLossesProgramsAndValuesNoNumberFits)
{
    const TimeZone utc("UTC0");
    EXPECT_EQ(CsvLine::header(),
        "time,elapsed_s,voltage_V,current_A,power_W,mode,output,set_voltage_V,set_current_A,step,event\n");
    Reading lost = reading(0ms);
    lost.linked = false;
    lost.programStep = 3;
    lost.events = "link_lost";
    EXPECT_EQ(CsvLine::format(lost, 1.25), "2024-05-03T12:00:00.000+00:00,1.250,,,,,,,,3,link_lost\n");
    EXPECT_EQ(CsvLine::format(lost, 1.25, false), "2024-05-03T12:00:00.000+00:00,1.250,,,,,,,\n");

    const QStringList odd = QString::fromStdString(CsvLine::format(reading(0ms, NAN, 1e300), -0.5)).split(u',');
    ASSERT_EQ(odd.size(), 11);
    EXPECT_EQ(odd[1], QStringLiteral("-0.500"));
    EXPECT_TRUE(odd[2].isEmpty());
    EXPECT_TRUE(odd[3].startsWith(QStringLiteral("1000000")) && odd[3].endsWith(QStringLiteral(".000")));
    EXPECT_TRUE(odd[4].isEmpty());
    EXPECT_EQ(CsvLine::isoTime(std::chrono::system_clock::time_point::min()).find(','), std::string::npos);
}

TEST_F(Recorder, EachLineIsInTheFileAsSoonAsItIsRecorded)
{
    ASSERT_TRUE(recorder.start(path("run.csv"), CsvRecorder::Mode::Overwrite));
    EXPECT_TRUE(recorder.isRecording());
    recorder.record(reading(0ms));
    const std::string first = CsvLine::header() + CsvLine::format(reading(0ms), 0.0);
    EXPECT_EQ(readFile(path("run.csv")), first);
    recorder.record(reading(2500ms));
    EXPECT_EQ(readFile(path("run.csv")), first + CsvLine::format(reading(2500ms), 2.5));
    recorder.stop();
    EXPECT_FALSE(recorder.isRecording());
    recorder.record(reading(3000ms));
    EXPECT_EQ(readFile(path("run.csv")), first + CsvLine::format(reading(2500ms), 2.5));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Recorder, AppendsAfterTheOldLinesAndOverwritesOnlyWhenAsked)
{
    std::ofstream(path("old.csv").toStdString()) << CsvLine::header() << "2024-05-03T11:00:00.000+00:00,0.000,1.0";
    ASSERT_TRUE(recorder.start(path("old.csv"), CsvRecorder::Mode::Append));
    recorder.record(reading(0ms));
    recorder.stop();
    const std::string appended = readFile(path("old.csv"));
    EXPECT_EQ(
        appended, CsvLine::header() + "2024-05-03T11:00:00.000+00:00,0.000,1.0\n" + CsvLine::format(reading(0ms), 0.0))
        << "a cut-short last line is ended before the new ones";

    // A recording from before the program's columns keeps its nine.
    std::ofstream(path("nine.csv").toStdString()) << CsvLine::headerWithoutProgram();
    ASSERT_TRUE(recorder.start(path("nine.csv"), CsvRecorder::Mode::Append));
    recorder.record(reading(0ms));
    recorder.stop();
    EXPECT_EQ(readFile(path("nine.csv")), CsvLine::headerWithoutProgram() + CsvLine::format(reading(0ms), 0.0, false));

    ASSERT_TRUE(recorder.start(path("old.csv"), CsvRecorder::Mode::Append));
    recorder.record(reading(0ms));
    recorder.stop();
    EXPECT_EQ(readFile(path("old.csv")), appended + CsvLine::format(reading(0ms), 0.0)) << "no second header";

    std::ofstream(path("old.csv").toStdString(), std::ios::app) << "2024-05-03T11:00:07.813+00:00,7.813,,,,,,,\n";
    ASSERT_TRUE(recorder.start(path("old.csv"), CsvRecorder::Mode::Append));
    recorder.record(reading(60s));
    recorder.record(reading(62s));
    recorder.stop();
    EXPECT_TRUE(readFile(path("old.csv"))
                    .ends_with(CsvLine::format(reading(60s), 7.813) + CsvLine::format(reading(62s), 9.813)))
        << "elapsed_s goes on from the last line";

    ASSERT_TRUE(recorder.start(path("empty.csv"), CsvRecorder::Mode::Append));
    recorder.stop();
    EXPECT_EQ(readFile(path("empty.csv")), CsvLine::header());

    ASSERT_TRUE(recorder.start(path("old.csv"), CsvRecorder::Mode::Overwrite));
    recorder.stop();
    EXPECT_EQ(readFile(path("old.csv")), CsvLine::header());
}

TEST(CsvTail, FindsTheLastWholeElapsedTime)
{
    const std::pair<std::string_view, std::optional<double>> lines[]
        = {{"2024-05-03T11:00:00.000+00:00,7.813,,,,,,,", 7.813}, {"t,-3591.788,", -3591.788}, {"t,7.8", std::nullopt},
            {"time,elapsed_s,voltage_V", std::nullopt}, {"t,1e400,", std::nullopt}, {"t,,", std::nullopt},
            {"", std::nullopt}, {"t,7.8x,", std::nullopt}};
    for (const auto& [line, elapsed] : lines) {
        EXPECT_EQ(CsvTail::elapsedOf(line), elapsed) << line;
    }
}

// The wall clock is set back an hour while recording: elapsed_s does not follow it.
TEST_F(Recorder, ElapsedTimeRunsOnTheMonotonicClock)
{
    ASSERT_TRUE(recorder.start(path("run.csv"), CsvRecorder::Mode::Overwrite));
    recorder.record(reading(0ms));
    Reading stepped = reading(400ms);
    stepped.time -= 1h;
    recorder.record(stepped);
    EXPECT_EQ(readFile(path("run.csv")),
        CsvLine::header() + CsvLine::format(reading(0ms), 0.0) + CsvLine::format(stepped, 0.4));
}

// Two recorders of one file: the second is refused, even to overwrite, and
// lines appended by anyone else stay between the recorder's own.
TEST_F(Recorder, OneFileHasOneRecorderAndKeepsOthersLines)
{
    ASSERT_TRUE(recorder.start(path("run.csv"), CsvRecorder::Mode::Overwrite));
    recorder.record(reading(0ms));
    std::ofstream(path("run.csv").toStdString(), std::ios::app) << "by hand\n";
    recorder.record(reading(400ms));
    const std::string expected
        = CsvLine::header() + CsvLine::format(reading(0ms), 0.0) + "by hand\n" + CsvLine::format(reading(400ms), 0.4);
    EXPECT_EQ(readFile(path("run.csv")), expected);

    CsvRecorder second;
    QStringList refusals;
    QObject::connect(
        &second, &CsvRecorder::failed, [&refusals](const QString& message) { refusals.push_back(message); });
    for (const auto mode : {CsvRecorder::Mode::Overwrite, CsvRecorder::Mode::Append}) {
        EXPECT_FALSE(second.start(path("run.csv"), mode));
    }
    ASSERT_EQ(refusals.size(), 2);
    EXPECT_EQ(refusals[0],
        QString::fromUtf8("Запись в CSV остановлена: файл «%1» уже записывает другая программа.").arg(path("run.csv")));
    EXPECT_EQ(readFile(path("run.csv")), expected);
    EXPECT_TRUE(recorder.isRecording());

    recorder.stop();
    EXPECT_TRUE(second.start(path("run.csv"), CsvRecorder::Mode::Append)) << "free once the first has stopped";
}

// The file may grow no more: the line that did not fit leaves no fragment.
TEST_F(Recorder, AFullFileEndsWithItsLastWholeLine)
{
    ASSERT_TRUE(recorder.start(path("run.csv"), CsvRecorder::Mode::Overwrite));
    recorder.record(reading(0ms));
    const std::string whole = readFile(path("run.csv"));
    {
        const FileSizeLimit limit(whole.size() + 3);
        recorder.record(reading(400ms));
    }
    EXPECT_EQ(readFile(path("run.csv")), whole);
    EXPECT_FALSE(recorder.isRecording());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].endsWith(QString::fromUtf8("файл достиг предельного размера.")))
        << messages[0].toStdString();
}

TEST_F(Recorder, AFileThatCannotBeOpenedStopsWithAClearMessage)
{
    std::ofstream(path("plain").toStdString()) << "a file, not a folder";
    std::vector<bool> changes;
    QObject::connect(&recorder, &CsvRecorder::recordingChanged, [&changes](bool on) { changes.push_back(on); });
    EXPECT_FALSE(recorder.start(path("plain/run.csv"), CsvRecorder::Mode::Append));
    EXPECT_FALSE(recorder.isRecording());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8("Запись в CSV остановлена: не удалось открыть файл «")));
    EXPECT_TRUE(messages[0].contains(QString::fromUtf8("в пути файл стоит на месте папки")));
    EXPECT_TRUE(changes.empty());
    recorder.record(reading(0ms));

    EXPECT_FALSE(recorder.start(QStringLiteral("/dev/full"), CsvRecorder::Mode::Overwrite));
    EXPECT_TRUE(messages.last().contains(QString::fromUtf8("на диске нет места")));
    EXPECT_TRUE(changes.empty()) << "opened, but failed at the header before recording";
}

// The disk fills while recording: the lines before stay, the recording stops
// once and later readings are ignored.
TEST_F(Recorder, AFailedWriteStopsTheRecordingAndKeepsEarlierLines)
{
    ASSERT_TRUE(recorder.start(path("run.csv"), CsvRecorder::Mode::Overwrite));
    recorder.record(reading(0ms));
    const int fd = descriptorOf(path("run.csv"));
    ASSERT_GE(fd, 0);
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC); // NOLINT(cppcoreguidelines-pro-type-vararg)
    ASSERT_GE(full, 0);
    ASSERT_EQ(::dup2(full, fd), fd);
    ::close(full);

    recorder.record(reading(400ms));
    EXPECT_FALSE(recorder.isRecording());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0],
        QString::fromUtf8("Запись в CSV остановлена: не удалось записать в файл «%1»: на диске нет места.")
            .arg(path("run.csv")));
    recorder.record(reading(800ms));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(readFile(path("run.csv")), CsvLine::header() + CsvLine::format(reading(0ms), 0.0));
    EXPECT_EQ(descriptorOf(QStringLiteral("/dev/full")), -1) << "the descriptor is closed";
}

// The medium went away: the kernel took the lines, the sync failed.
TEST_F(Recorder, AFailedSyncStopsTheRecordingAtTheNextReading)
{
    FakeSync fake;
    CsvRecorder syncing(nullptr, fake.function());
    QObject::connect(&syncing, &CsvRecorder::failed, [this](const QString& message) { messages.push_back(message); });
    ASSERT_TRUE(syncing.start(path("run.csv"), CsvRecorder::Mode::Overwrite));
    *fake.failWith = EIO;
    syncing.record(reading(0ms));
    ASSERT_TRUE(fake.waitForCalls(1));
    // The failure is seen at a later reading, once the syncing thread has noted it.
    for (int i = 1; i < 1000 && syncing.isRecording(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        syncing.record(reading(i * 400ms));
    }
    EXPECT_FALSE(syncing.isRecording());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].endsWith(QString::fromUtf8("ошибка ввода-вывода, возможно, носитель извлечён.")));
    EXPECT_EQ(readFile(path("run.csv")).rfind(CsvLine::header() + CsvLine::format(reading(0ms), 0.0), 0), 0U);
}

TEST_F(Recorder, ExportWritesTheWholeHistoryOrLeavesTheOldFile)
{
    ReadingHistory history;
    history.append(reading(1000ms));
    Reading lost = reading(1400ms);
    lost.linked = false;
    history.append(lost);
    history.append(reading(3000ms, 12.0, 0.5));
    EXPECT_TRUE(CsvExport::write(history, path("export.csv")).isEmpty());
    EXPECT_EQ(readFile(path("export.csv")),
        CsvLine::header() + CsvLine::format(reading(1000ms), 0.0) + CsvLine::format(lost, 0.4)
            + CsvLine::format(reading(3000ms, 12.0, 0.5), 2.0));

    std::ofstream(path("plain").toStdString()) << "a file, not a folder";
    EXPECT_TRUE(CsvExport::write(history, path("plain/export.csv")).startsWith(QString::fromUtf8("Не удалось")));
    EXPECT_EQ(readFile(path("plain")), "a file, not a folder");
}
