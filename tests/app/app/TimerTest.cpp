#include "DialogHarness.h"

#include "SimulatedSupply.h"
#include "timer/TimerClock.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// The real window, live on a supply whose output is off, with ticks driven by hand.
class Timer : public ::testing::Test {
protected:
    void SetUp() override { window.identify({1, 500, 200}); }

    QString clock() { return window.text(1045); }
    QString caption() { return window.text(1044); }
    void press(int id) { QTest::mouseClick(window.control<QPushButton>(id), Qt::LeftButton); }
    void setPreset(int id, const char* text) { window.control<QLineEdit>(id)->setText(QString::fromLatin1(text)); }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            window.station().timer().tick();
        }
    }
    // True once per output toggle the window asked for.
    bool toggleRequested() { return window.link().takeQueued().toggle; }
    void supplyReportsOutput(bool on) { window.reply({on ? 129 : 1, on ? 1524 : 500, 200}); }

    bool presetsEnabled() { return window.enabled(1040) && window.enabled(1041) && window.enabled(1042); }

    DialogHarness window{missingPorts()};
};

} // namespace

TEST_F(Timer, AZeroPresetRunsAStopwatch)
{
    EXPECT_EQ(caption(), QString::fromUtf8("Вкл. секундомер"));
    press(1044);
    EXPECT_EQ(caption(), QString::fromUtf8("Остановить"));
    EXPECT_TRUE(toggleRequested());
    EXPECT_TRUE(window.station().timer().clockTicking());
    EXPECT_FALSE(presetsEnabled());
    EXPECT_FALSE(window.enabled(1048));
    EXPECT_FALSE(window.enabled(1047));
    ticks(2);
    EXPECT_EQ(clock(), QStringLiteral("00:00:02"));
}

TEST_F(Timer, ACountdownSwitchesTheOutputOffAtZero)
{
    setPreset(1042, "5");
    EXPECT_EQ(caption(), QString::fromUtf8("Вкл. таймер"));
    EXPECT_EQ(clock(), QStringLiteral("00:00:05"));
    press(1044);
    EXPECT_TRUE(toggleRequested());
    supplyReportsOutput(true);
    ticks(4);
    EXPECT_EQ(clock(), QStringLiteral("00:00:01"));
    EXPECT_FALSE(toggleRequested());
    ticks(1);
    EXPECT_EQ(clock(), QStringLiteral("00:00:00"));
    EXPECT_TRUE(toggleRequested());
    EXPECT_FALSE(window.station().timer().clockTicking());
    EXPECT_FALSE(window.station().timer().running());
    EXPECT_EQ(caption(), QString::fromUtf8("Вкл. таймер"));
    EXPECT_FALSE(window.enabled(1047));
    EXPECT_TRUE(presetsEnabled());
    EXPECT_TRUE(window.enabled(1048));
}

TEST_F(Timer, AStoppedRunContinuesOrStartsAgain)
{
    press(1044);
    supplyReportsOutput(true);
    toggleRequested();
    ticks(70);
    press(1044);
    EXPECT_EQ(clock(), QStringLiteral("00:01:10"));
    EXPECT_EQ(caption(), QString::fromUtf8("Вкл. секундомер"));
    EXPECT_TRUE(toggleRequested());
    EXPECT_TRUE(window.enabled(1047));
    EXPECT_TRUE(presetsEnabled());
    supplyReportsOutput(false);

    press(1047);
    EXPECT_TRUE(toggleRequested());
    ticks(1);
    EXPECT_EQ(clock(), QStringLiteral("00:01:11"));
    press(1044); // pause
    press(1044); // and start afresh
    ticks(1);
    EXPECT_EQ(clock(), QStringLiteral("00:00:01"));
}

TEST_F(Timer, MinutesAndSecondsStopAtFiftyNine)
{
    setPreset(1041, "75");
    EXPECT_EQ(window.text(1041), QStringLiteral("59"));
    EXPECT_EQ(window.station().timer().preset().minutes, 59);
    EXPECT_EQ(clock(), QStringLiteral("00:59:00"));
    EXPECT_EQ(caption(), QString::fromUtf8("Вкл. таймер"));
    // The write-back shows the setpoints as they are held, and sends nothing.
    EXPECT_EQ(window.text(1016), QStringLiteral("7.9"));
    EXPECT_FALSE(window.link().queued().voltage);

    setPreset(1040, "123");
    EXPECT_EQ(clock(), QStringLiteral("123:59:00"));
    setPreset(1042, "300");
    EXPECT_EQ(window.messages.texts().size(), 1);
    EXPECT_EQ(window.station().timer().preset().seconds, 0);
}

TEST_F(Timer, EditingThePresetWhilePausedDiscardsTheCount)
{
    press(1044);
    ticks(3);
    press(1044);
    ASSERT_TRUE(window.enabled(1047));
    setPreset(1040, "1");
    EXPECT_FALSE(window.enabled(1047));
    EXPECT_EQ(clock(), QStringLiteral("01:00:00"));
    EXPECT_EQ(window.station().timer().count(), 0);
}

TEST_F(Timer, ALostLinkSuspendsTheRunAndItsReturnResumesIt)
{
    setPreset(1041, "2");
    press(1044);
    supplyReportsOutput(true);
    toggleRequested();
    ticks(10);
    window.reply({0});
    EXPECT_FALSE(window.station().timer().clockTicking());
    EXPECT_TRUE(window.station().timer().running());
    EXPECT_FALSE(window.controller().outputOn());
    EXPECT_EQ(caption(), QString::fromUtf8("Вкл. таймер"));
    EXPECT_FALSE(window.enabled(1044));
    EXPECT_EQ(clock(), QStringLiteral("00:01:50"));

    window.identify({1, 500, 200});
    EXPECT_TRUE(window.station().timer().clockTicking());
    EXPECT_TRUE(toggleRequested());
    EXPECT_EQ(caption(), QString::fromUtf8("Остановить"));
    ticks(1);
    EXPECT_EQ(clock(), QStringLiteral("00:01:49"));
}

TEST(TimerClockCount, TheStopwatchWrapsAfterNinetyNineHours)
{
    TimerClock clock;
    clock.start({});
    for (int i = 0; i < TimerClock::kStopwatchWrap; ++i) {
        clock.tick();
    }
    EXPECT_EQ(TimerClock::formatCount(clock.count()), "99:59:59");
    clock.tick();
    EXPECT_EQ(TimerClock::formatCount(clock.count()), "00:00:00");
    clock.tick();
    EXPECT_EQ(clock.count(), 1);
    EXPECT_EQ(TimerClock::format(255, 59, 59), "255:59:59");
    EXPECT_EQ(TimerClock::formatCount(921599), "255:59:59");
}

TEST(TimerEndToEnd, ACountdownRunsTheOutputForItsTime)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window({supply.devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.controller().controlsShown(); }, 2s));
    window.control<QLineEdit>(1042)->setText(QStringLiteral("3"));
    QTest::mouseClick(window.control<QPushButton>(1044), Qt::LeftButton);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return supply.outputOn(); }));
    QElapsedTimer on;
    on.start();
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !supply.outputOn(); }, 5s));
    EXPECT_NEAR(static_cast<double>(on.elapsed()), 3000.0, 600.0);
    EXPECT_EQ(window.text(1045), QStringLiteral("00:00:00"));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.controller().outputOn(); }));

    // A stopwatch through a link loss: frozen while the supply is silent, and
    // running again, output on, once it answers.
    window.control<QLineEdit>(1042)->setText(QStringLiteral("0"));
    QTest::mouseClick(window.control<QPushButton>(1044), Qt::LeftButton);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return supply.outputOn(); }));
    supply.setSilent(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.station().timer().clockTicking(); }));
    const QString frozen = window.text(1045);
    DialogHarness::waitUntil([] { return false; }, 1500ms);
    EXPECT_EQ(window.text(1045), frozen);
    supply.setSilent(false);
    ASSERT_TRUE(
        DialogHarness::waitUntil([&] { return window.station().timer().clockTicking() && supply.outputOn(); }, 4s));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.text(1045) != frozen; }, 3s));
}
