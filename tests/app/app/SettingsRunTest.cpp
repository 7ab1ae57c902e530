#include "DialogHarness.h"

#include "FileSizeLimit.h"
#include "SimulatedSupply.h"
#include "panels/DiagnosticLog.h"
#include "text/Cp1251.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace std::chrono_literals;

namespace {

constexpr const char* kDefaults = "[COM-Port]\nUsePort=Auto\nLastPort=\n[HotValues]\nTotalZ=1\nV1=138\nA1=100\n";

QStringList rows(DialogHarness& window)
{
    QStringList texts;
    auto* list = window.control<QListWidget>(1048);
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

bool controlled(DialogHarness& window)
{
    return window.controller().identified() && window.controller().controlsShown();
}

QStringList logLines(DialogHarness& window)
{
    return window.control<QPlainTextEdit>(1064)->toPlainText().split(QLatin1Char('\n'));
}

} // namespace

TEST(SettingsRun, FirstStartWritesTheDefaultsAndListsTheirPair)
{
    DialogHarness window(missingPorts());
    EXPECT_EQ(window.settingsBytes(), kDefaults);
    EXPECT_EQ(rows(window), QStringList{QString::fromUtf8("13.8 В  10.0 A")});
    EXPECT_EQ(window.station().settings().hotValues().voltages(), std::vector<std::int32_t>{138});
    EXPECT_FALSE(window.dialog().controller().diagnosticsOn());
}

TEST(SettingsRun, WithoutPortsTheSettingsAreNotTouched)
{
    DialogHarness window({});
    EXPECT_FALSE(std::filesystem::exists(window.station().settings().path()));
}

TEST(SettingsRun, ThePortSettingsOrderTheList)
{
    {
        DialogHarness window({"A", "B", "C"}, {{}, {}, "[COM-Port]\nUsePort=Auto\nLastPort=C\n"});
        EXPECT_EQ(window.link().portNames(), (std::vector<std::string>{"C", "B", "A"}));
    }
    {
        DialogHarness window({"A", "B", "C"}, {{}, {}, "[COM-Port]\nUsePort=B\nLastPort=C\n[Debug]\nDebug=1\n"});
        EXPECT_EQ(window.link().portNames(), std::vector<std::string>{"B"});
        EXPECT_EQ(logLines(window).front(), QString::fromUtf8("Найдено 3 com-портов. Используем B"));
    }
    {
        DialogHarness window({"A", "B"}, {{}, {}, "[COM-Port]\nUsePort=D\nLastPort=B\n"});
        EXPECT_EQ(window.link().portNames(), (std::vector<std::string>{"A", "B"}));
        EXPECT_EQ(window.station().settings().usePort(), "Auto");
    }
}

TEST(SettingsRun, ClosingWhileNeverIdentifiedLeavesTheFileAsItWas)
{
    const std::string mine = "; hand-written\r\n[COM-Port]\r\nUsePort=COM7\r\n[HotValues]\r\nTotalZ=1\r\nV1=5.0\r\n"
                             "A1=1.0\r\nV2=9.9\r\n\xC2\r\n";
    DialogHarness window(missingPorts(), {{}, {}, mine});
    window.dialog().reject();
    EXPECT_EQ(window.settingsBytes(), mine);
}

TEST(SettingsRun, IdentificationKeepsThePairsAndALostLinkSavesTheFile)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window({supply.devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    EXPECT_EQ(window.station().settings().hotValues().voltages(), std::vector<std::int32_t>{138});
    EXPECT_EQ(window.station().settings().hotValues().currents(), std::vector<std::int32_t>{100});
    EXPECT_TRUE(window.enabled(1048));

    supply.setSilent(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.controller().identified(); }));
    EXPECT_EQ(window.settingsBytes(),
        "[COM-Port]\nUsePort=Auto\nLastPort=" + supply.devicePath() + "\n[HotValues]\nTotalZ=1\nV1=13.8\nA1=10.0\n");
    EXPECT_TRUE(window.station().settings().hotValues().voltages().empty());
    EXPECT_EQ(rows(window).size(), 1);

    // Back again: the pair comes back from the file as it was.
    supply.setSilent(false);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s));
    EXPECT_EQ(window.station().settings().hotValues().voltages(), std::vector<std::int32_t>{138});
}

TEST(SettingsRun, ClosingWhileIdentifiedSavesThePortItAnsweredOn)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window({"/nonexistent/first", supply.devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s));
    window.dialog().reject();
    EXPECT_NE(window.settingsBytes().find("LastPort=" + supply.devicePath() + "\n"), std::string::npos);
}

TEST(SettingsRun, DiagnosticModeLogsEveryReplyAndWritesDebugTxtAtClose)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window({supply.devicePath()}, {{}, {}, "[Debug]\nDebug=1\n"});
    EXPECT_TRUE(window.shown(1064));
    EXPECT_FALSE(window.shown(1065));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window) && logLines(window).size() >= 4; }, 3s));

    const QStringList lines = logLines(window);
    EXPECT_EQ(lines.front(), QString::fromUtf8("Найдено 1 com-портов. Используем все"));
    const QRegularExpression reply(
        QString::fromUtf8(R"(^\d\d:\d\d:\d\d - \[(подключен|НЕ подкл\.)\] - принятые данные от блока: (\d+ )+$)"));
    for (int i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(reply.match(lines[i]).hasMatch()) << lines[i].toStdString();
    }
    EXPECT_TRUE(lines[1].contains(QString::fromUtf8("[НЕ подкл.] - принятые данные от блока: 1 764 200 ")));

    window.dialog().reject();
    const QStringList closed = logLines(window);
    std::string expected;
    for (const QString& line : closed) {
        expected += (expected.empty() ? "" : "\r") + Cp1251::fromUtf8(line.toStdString());
    }
    EXPECT_EQ(window.fileBytes(DiagnosticLog::kFileName), expected);
    EXPECT_EQ(window.fileBytes(DiagnosticLog::kFileName).substr(0, 7), "\xCD\xE0\xE9\xE4\xE5\xED\xEE");
}

TEST(SettingsRun, ADebugTxtThatCannotBeWrittenDoesNotStopTheClose)
{
    DialogHarness window(missingPorts(), {{}, {}, "[Debug]\nDebug=1\n"});
    ASSERT_TRUE(QDir(window.directory()).mkdir(QString::fromLatin1(DiagnosticLog::kFileName)));
    window.dialog().reject();
    EXPECT_FALSE(window.dialog().controller().isLinkRunning());
    EXPECT_TRUE(window.link().stopped());
}

TEST(SettingsRun, ASaveThatFailsKeepsThePairsAndSaysSoOnce)
{
    DialogHarness window(missingPorts(), {{}, {}, "[COM-Port]\nUsePort=Auto\n[HotValues]\nTotalZ=1\nV1=5.0\nA1=3.0\n"});
    const std::string before = window.settingsBytes();
    window.identify({1, 500, 200});
    window.hotMenu().addPresent();
    {
        const FileSizeLimit diskFull(10);
        window.reply({0});
        window.identify({1, 500, 200});
        window.reply({0});
    }
    EXPECT_EQ(window.settingsBytes(), before);
    ASSERT_EQ(window.messages.texts().size(), 1);
    EXPECT_TRUE(window.messages.texts()[0].contains(QString::fromStdString(window.station().settings().path())));
    window.identify({1, 500, 200});
    EXPECT_EQ(rows(window).size(), 2);
    window.reply({0});
    EXPECT_NE(window.settingsBytes().find("TotalZ=2\nV1=5.0\nA1=3.0\nV2=7.9\nA2=12.6\n"), std::string::npos);
}

TEST(SettingsRun, AFileThatCannotBeReadIsLeftAloneAndNamedOnce)
{
    const auto directoryInstead = [](const std::string& path) { std::filesystem::create_directory(path); };
    DialogHarness window(missingPorts(), {}, directoryInstead);
    ASSERT_EQ(window.messages.texts().size(), 1);
    EXPECT_TRUE(window.messages.texts()[0].contains(QStringLiteral("chown")));
    EXPECT_EQ(rows(window), QStringList{QString::fromUtf8("13.8 В  10.0 A")});
    window.identify({1, 500, 200});
    window.reply({0});
    EXPECT_EQ(window.messages.texts().size(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(window.station().settings().path()));
}

TEST(SettingsRun, StartUpRemovesWhatAKilledSaveLeft)
{
    std::string temporary;
    DialogHarness window(missingPorts(), {{}, {}, kDefaults}, [&](const std::string& path) {
        temporary = path + ".Ab12Cd";
        std::ofstream(temporary) << kDefaults;
        std::filesystem::last_write_time(
            temporary, std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5));
    });
    EXPECT_FALSE(std::filesystem::exists(temporary));
}

TEST(DiagnosticLogPane, KeepsTheNewest501LinesAndSavesThemUnchanged)
{
    QWidget window;
    DiagnosticLog log(&window);
    EXPECT_EQ(log.fileContent(), "");
    log.appendLine(QStringLiteral("A"));
    log.appendLine(QStringLiteral("B 100% %s %n"));
    EXPECT_EQ(log.fileContent(), "A\rB 100% %s %n");
    for (int i = 0; i < 600; ++i) {
        log.appendLine(QString::number(i));
    }
    EXPECT_EQ(log.lineCount(), DiagnosticLog::kMaxLines);
    EXPECT_EQ(log.control()->document()->firstBlock().text(), QStringLiteral("99"));
}
