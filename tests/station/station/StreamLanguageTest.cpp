#include "engine/ProtectionWatch.h"
#include "program/ProgramCheck.h"
#include "program/ProgramFile.h"
#include "readings/CsvRecorder.h"
#include "settings/SettingsAdvice.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace std::chrono_literals;

namespace {

// What the window shows, then what standard error and the event log say.
using Said = std::pair<QString, QString>;

Said bothOf(const Phrase& phrase)
{
    return {phrase.inWindow(), phrase.inEnglish()};
}

Said fileProblem(const char* json)
{
    const ProgramFile::Read read = ProgramFile::fromJson(json);
    return {read.problem, read.why.inEnglish()};
}

Program oneStep(double volts, std::optional<std::chrono::milliseconds> duration)
{
    ProgramStep step;
    step.volts = volts;
    step.duration = duration;
    return {{1, {{step}}}};
}

Said recorderFailure()
{
    CsvRecorder recorder;
    Said said;
    QObject::connect(&recorder, &CsvRecorder::failed, [&said](const QString& message, const QString& inEnglish) {
        said = {message, inEnglish};
    });
    recorder.start(QStringLiteral("/nonexistent-tendrel/run.csv"), CsvRecorder::Mode::Append);
    return said;
}

struct Case {
    const char* kind;
    std::function<Said()> say;
    const char* window;
    const char* english;
};

} // namespace

// Each kind of message that reaches standard error or the event log: the
// window keeps its Russian, numbers and all, and the streams get English.
TEST(StreamLanguage, EachKindOfMessageIsRussianInTheWindowAndEnglishInTheStreams)
{
    const ModelProfile model{1, "", "", 15.7, 5.0, 0.0, 0.0};
    const ProtectionTrip trip{
        ProtectionLimits::Limit::Current, 3.14159265, 3.0, QDateTime(QDate(2026, 1, 2), QTime(12, 0, 1))};
    const Case cases[] = {
        {"a program file's problem with its line",
            [] {
                return fileProblem("{\"format\": \"tendrel-program\", \"version\": 2,\n\"steps\": [],\n\"step\": 1}");
            },
            "строка 3: неизвестный ключ \"step\"", "line 3: unknown key \"step\""},
        {"a choice of values",
            [] { return fileProblem(R"({"format": "tendrel-program", "version": 2, "on_link_return": "x"})"); },
            "строка 1: \"on_link_return\" должно быть \"stop\" или \"resume\"",
            "line 1: \"on_link_return\" must be \"stop\" or \"resume\""},
        {"a JSON syntax error", [] { return fileProblem("{\n\"format\" \"x\"}"); },
            "строка 2: после ключа нет двоеточия", "line 2: missing colon after the key"},
        {"a refusal on loading", [] { return bothOf(ProgramCheck::timing(oneStep(1.0, std::nullopt), 400ms)->why); },
            "шаг 1: ему нечем закончиться: нет ни длительности, ни наибольшей длительности",
            "step 1: it can never end: it has neither a duration nor a maximum duration"},
        {"a refusal on starting", [&model] { return bothOf(ProgramCheck::range(oneStep(50.0, 1s), model, {})->why); },
            "шаг 1: напряжение 50 В выше предела модели 15.7 В",
            "step 1: voltage 50 V is above the model's maximum of 15.7 V"},
        {"a recording that fails", recorderFailure,
            "Запись в CSV остановлена: не удалось открыть файл «/nonexistent-tendrel/run.csv»: такой папки нет.",
            "CSV recording stopped: cannot open '/nonexistent-tendrel/run.csv': no such directory."},
        {"settings advice",
            [] { return bothOf(SettingsAdvice::about(SettingsFile::Problem::ReadOnly, "/home/o'neil/x.ini")); },
            "Файл настроек «/home/o'neil/x.ini» защищён от записи, настройки в него не сохраняются. Чтобы программа "
            "сохраняла их, выполните: chmod u+w '/home/o'\\''neil/x.ini'",
            "The settings file '/home/o'neil/x.ini' is write-protected, so settings are not saved to it. To have "
            "them saved, run: chmod u+w '/home/o'\\''neil/x.ini'"},
        {"a protection trip", [&trip] { return bothOf(ProtectionWatch::description(trip)); },
            "12:00:01: ток 3.14159 А выше предела 3 А", "12:00:01: current 3.14159 A above the 3 A limit"},
    };
    for (const Case& c : cases) {
        const auto [window, english] = c.say();
        EXPECT_EQ(window.toStdString(), c.window) << c.kind;
        EXPECT_EQ(english.toStdString(), c.english) << c.kind;
    }
}
