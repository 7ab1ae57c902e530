#include "DialogHarness.h"

#include "SimulatedSupply.h"
#include "chart/ReadingsWindow.h"
#include "panels/SupplyFrame.h"
#include "programs/ProgramsWindow.h"
#include "remote/ScpiSession.h"
#include "remote/SupplyInstrument.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

std::unique_ptr<SimulatedSupply> startSupply(SimulatedSupply::Options options = {})
{
    auto supply = std::make_unique<SimulatedSupply>(options);
    if (!supply->start()) {
        ADD_FAILURE() << "the simulated supply did not start";
    }
    return supply;
}

bool controlled(DialogHarness& window)
{
    return window.controller().identified() && window.controller().controlsShown();
}

// 2 V with the output on for half a minute.
Program holding()
{
    ProgramStep hold;
    hold.volts = 2.0;
    hold.output = true;
    hold.duration = hold.maxDuration = 30s;
    Program program;
    program.body.items.push_back({hold});
    return program;
}

} // namespace

TEST(EndToEnd, TheSupplyIsFoundIdentifiedAndShownLive)
{
    auto supply = startSupply();
    QElapsedTimer clock;
    clock.start();
    DialogHarness window({supply->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.text(1021).isEmpty(); }));
    EXPECT_EQ(window.text(1000), QString::fromUtf8(SupplyFrame::kConnectedCaption));
    EXPECT_EQ(window.text(1007), QStringLiteral("Quarel"));
    EXPECT_EQ(window.text(1020), QString::fromUtf8("12.0 В"));
    EXPECT_EQ(window.text(1021), QStringLiteral("12.6 A"));
    EXPECT_EQ(window.station().settings().lastPort(), supply->devicePath());

    // Output on into 2 ohms: 6 A is below the limit, so the supply holds the voltage.
    supply->setOutput(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.shown(1028); }));
    EXPECT_FALSE(window.shown(1030));
    EXPECT_TRUE(window.enabled(1025));
    EXPECT_FALSE(window.enabled(1024));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.text(1021) == QStringLiteral("6.0 A"); }));

    supply->setLoad(0.5); // 24 A wanted, 12.6 A allowed: the current limit takes over
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.shown(1030); }));
    EXPECT_FALSE(window.shown(1028));
    EXPECT_TRUE(supply->commandFrames().empty());
}

TEST(EndToEnd, ASilentSupplyIsLeftForTheNextPortAndFoundAgain)
{
    auto first = startSupply();
    SimulatedSupply::Options tolvik;
    tolvik.modelCode = 3;
    auto second = startSupply(tolvik);
    DialogHarness window({first->devicePath(), second->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    EXPECT_EQ(window.text(1007), QStringLiteral("Quarel"));

    first->setSilent(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.controller().identified(); }));
    EXPECT_EQ(window.text(1000), QString::fromUtf8(SupplyFrame::kNoLinkCaption));
    EXPECT_EQ(window.text(1031), QString::fromUtf8(SupplyFrame::kNoConnectionText));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s));
    EXPECT_EQ(window.text(1007), QStringLiteral("Tolvik"));
    EXPECT_EQ(window.station().settings().lastPort(), second->devicePath());
}

TEST(EndToEnd, ASupplyThatFallsSilentComesBackOnItsOnlyPort)
{
    auto supply = startSupply();
    DialogHarness window({supply->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    supply->setSilent(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.controller().identified(); }));
    EXPECT_TRUE(window.text(1020).isEmpty());
    supply->setSilent(false);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.text(1020) == QString::fromUtf8("12.0 В"); }));
}

TEST(EndToEnd, APortThatVanishesIsLeftAndTheOtherOneServes)
{
    auto first = startSupply();
    SimulatedSupply::Options brisna;
    brisna.modelCode = 2;
    auto second = startSupply(brisna);
    DialogHarness window({first->devicePath(), second->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    first->vanish();
    ASSERT_TRUE(DialogHarness::waitUntil(
        [&] { return controlled(window) && window.text(1007) == QStringLiteral("Brisna"); }, 4s));
    // Going round the ports again must still find the one that answers.
    second->setSilent(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.controller().identified(); }));
    second->setSilent(false);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 4s));
}

TEST(EndToEnd, AFrontPanelSwitchAllowsNoControl)
{
    auto supply = startSupply();
    supply->setPanelSwitch(true);
    supply->setModelCode(4);
    DialogHarness window({supply->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return supply->pollCount() >= 3; }));
    QApplication::processEvents();
    // 128 + 4 alone names no row: the window keeps waiting.
    EXPECT_FALSE(window.controller().identified());
    EXPECT_FALSE(window.controller().controlsShown());
    EXPECT_EQ(window.controller().missesInRow(), 0);
    supply->setPanelSwitch(false);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    EXPECT_EQ(window.text(1007), QStringLiteral("Mespor"));
}

// Switched on as on a bench, with nothing connected yet or into a short: a
// word of 0 is a reading, and the output shows on everywhere.
TEST(EndToEnd, AnOutputOnIntoNothingOrAShortIsShownOn)
{
    struct Case {
        double ohms;
        const char* voltageText;
        const char* currentText;
        const char* remoteAnswer;
    };
    const std::vector<Case> cases{
        {1e12, "12.0 В", "0.0 A", "11.995;0.000;CV"}, // the word at its own resolution
        {0.0, "0.0 В", "12.6 A", "0.000;12.600;CC"},
    };
    for (const Case& c : cases) {
        SimulatedSupply::Options options;
        options.loadOhms = c.ohms;
        auto supply = startSupply(options);
        DialogHarness window({supply->devicePath()});
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
        const QString csv = window.directory() + QStringLiteral("/run.csv");
        ASSERT_TRUE(window.station().readings().startRecording(csv, CsvRecorder::Mode::Overwrite));
        QSignalSpy measured(&window.dialog().controller(), &SupplyController::measured);

        supply->setOutput(true);
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return measured.count() >= 2; }));
        EXPECT_TRUE(window.enabled(1025)) << c.ohms;
        EXPECT_FALSE(window.enabled(1024)) << c.ohms;
        EXPECT_EQ(window.text(1020), QString::fromUtf8(c.voltageText)) << c.ohms;
        EXPECT_EQ(window.text(1021), QString::fromUtf8(c.currentText)) << c.ohms;
        SupplyInstrument instrument(window.dialog().controller(), window.station().programs(),
            window.station().protection(), window.station().outlook());
        ScpiSession session(instrument, "test");
        EXPECT_EQ(session.handleLine("MEAS:VOLT?;MEAS:CURR?;OUTP:MODE?").text, c.remoteAnswer) << c.ohms;
        window.station().readings().stopRecording();
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        EXPECT_TRUE(lines.back().contains(",on,")) << lines.back().constData();
    }
}

// Ctrl+P shows the programs window; closing the main one while a program
// runs asks, and the answer given by default stops it with the output off
// before the link goes.
TEST(EndToEnd, ClosingWhileAProgramRunsStopsItWithTheOutputOff)
{
    auto supply = startSupply();
    DialogHarness window({supply->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    window.dialog().show();
    QApplication::setActiveWindow(&window.dialog());
    QTest::keySequence(&window.dialog(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_TRUE(window.dialog().programs().isVisible());

    ProgramEngine& engine = window.station().programs();
    ASSERT_FALSE(engine.load(holding()));
    ASSERT_FALSE(engine.start());
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return supply->outputOn(); }));
    window.dialog().reject();
    EXPECT_FALSE(engine.active());
    ASSERT_FALSE(window.messages.texts().isEmpty());
    EXPECT_TRUE(window.messages.texts().back().startsWith(QStringLiteral("Выполняется программа")));
    EXPECT_FALSE(supply->outputOn()) << "off before the link stopped";
}

// Each answer to that question does what it says: Yes stops the run with the
// output off, No closes leaving the output on, Cancel keeps the window and the
// run. A window that closes ends the run's recording with its end.
TEST(EndToEnd, EachAnswerToTheCloseQuestionDoesWhatItSays)
{
    struct Case {
        QMessageBox::StandardButton answer;
        bool closes;
        bool outputOn;
    };
    for (const Case& c : {Case{QMessageBox::Yes, true, false}, Case{QMessageBox::No, true, true},
             Case{QMessageBox::Cancel, false, true}}) {
        auto supply = startSupply();
        DialogHarness window({supply->devicePath()});
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
        window.dialog().show();
        const QString csv = window.directory() + QStringLiteral("/run.csv");
        ASSERT_TRUE(window.station().readings().startRecording(csv, CsvRecorder::Mode::Overwrite));
        ProgramEngine& engine = window.station().programs();
        ASSERT_FALSE(engine.load(holding()));
        ASSERT_FALSE(engine.start());
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return supply->outputOn(); }));
        window.messages.answerWith(c.answer);
        window.dialog().reject();

        EXPECT_EQ(window.dialog().isVisible(), !c.closes) << c.answer;
        EXPECT_EQ(engine.active(), !c.closes) << c.answer;
        EXPECT_EQ(supply->outputOn(), c.outputOn) << c.answer;
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().contains("end\n"), c.closes) << c.answer;
    }
}
