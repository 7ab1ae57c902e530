#include "DialogHarness.h"

#include "SimulatedSupply.h"
#include "toolkit/ClassicEdit.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

bool controlled(DialogHarness& window)
{
    return window.controller().identified() && window.controller().controlsShown();
}

void settle(std::chrono::milliseconds time)
{
    DialogHarness::waitUntil([] { return false; }, time);
}

std::size_t toggles(const SimulatedSupply& supply)
{
    std::size_t count = 0;
    for (const auto& frame : supply.commandFrames()) {
        count += frame.kind == SimulatedSupply::FrameKind::SetVoltageToggle ? 1 : 0;
    }
    return count;
}

} // namespace

TEST(BenchSafety, ASupplyFoundWithItsOutputOnIsIdentifiedAndControlled)
{
    for (const auto& [code, model, reading] : {std::tuple{1, "Quarel", "12.0 В"}, std::tuple{3, "Tolvik", "48.1 В"}}) {
        SimulatedSupply::Options options;
        options.modelCode = code;
        options.outputOn = true;
        options.loadOhms = 20.0;
        SimulatedSupply supply(options);
        ASSERT_TRUE(supply.start());
        DialogHarness window({supply.devicePath()});
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s)) << model;
        EXPECT_EQ(window.text(1007), QString::fromUtf8(model));
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.enabled(1025); })) << model;
        EXPECT_EQ(window.text(1020), QString::fromUtf8(reading));

        // A cable wiggled for half a second: the supply keeps its output on.
        supply.setSilent(true);
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.controller().controlsShown(); }));
        settle(300ms);
        supply.setSilent(false);
        supply.setOutput(true);
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window) && window.enabled(1025); }, 3s));
        EXPECT_EQ(window.text(1007), QString::fromUtf8(model));
        EXPECT_EQ(window.text(1020), QString::fromUtf8(reading));

        // Frames go out under the model's own code: the supply takes them.
        auto* current = window.control<ClassicEdit>(1022);
        window.dialog().show();
        QApplication::setActiveWindow(&window.dialog());
        current->setFocus();
        current->setProgramText(QString());
        QTest::keyClick(current, '5');
        ASSERT_TRUE(supply.waitForCommandFrames(1, 2s));
        EXPECT_EQ(supply.commandFrames().front().code, code);
        EXPECT_TRUE(supply.outputOn());
    }
}

TEST(BenchSafety, EnterNeverSwitchesTheOutput)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window({supply.devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s));
    window.dialog().show();
    QApplication::setActiveWindow(&window.dialog());
    for (const bool on : {false, true}) {
        supply.setOutput(on);
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.enabled(on ? 1025 : 1024); }));
        for (const int id : {1016, 1022, 1048}) {
            QWidget* control = window.widget(id);
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Return);
            QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
        }
        settle(900ms);
        EXPECT_EQ(toggles(supply), 0U);
        EXPECT_EQ(supply.outputOn(), on);
        EXPECT_TRUE(window.dialog().isVisible());
    }
}

TEST(BenchSafety, QuickTimerClicksLeaveTheOutputAsTheLastClickMeant)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window({supply.devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s));
    auto* startStop = window.control<QPushButton>(1044);
    const auto clicks = [&](int count, std::chrono::milliseconds gap) {
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                settle(gap);
            }
            startStop->click();
        }
    };
    for (const auto gap : {0ms, 100ms, 300ms}) {
        clicks(2, gap); // start, stop
        settle(1500ms);
        EXPECT_FALSE(supply.outputOn()) << "start and stop " << gap.count() << " ms apart";
        EXPECT_FALSE(window.station().timer().running());

        clicks(3, gap); // start, stop, start
        settle(1500ms);
        EXPECT_TRUE(supply.outputOn()) << "start, stop, start " << gap.count() << " ms apart";
        EXPECT_TRUE(window.station().timer().running());
        clicks(1, 0ms);
        ASSERT_TRUE(DialogHarness::waitUntil([&] { return !supply.outputOn(); }, 2s));
        settle(900ms);
    }
}

TEST(BenchSafety, NoPathQueuesASetpointBeyondFullScale)
{
    DialogHarness window(missingPorts(),
        DialogHarness::Options{{}, {}, "[COM-Port]\nUsePort=Auto\n[HotValues]\nTotalZ=1\nV1=150.0\nI1=99.9\n"});
    // Adopted readings beyond full scale (a word of 1023) are what a toggle repeats.
    window.identify({1, 1023, 1023});
    EXPECT_EQ(window.link().voltageRaw(), 1000);
    EXPECT_EQ(window.link().currentRaw(), 1000);

    window.control<QListWidget>(1048)->setCurrentRow(0);
    window.hotMenu().apply();
    EXPECT_EQ(window.link().voltageRaw(), 1000);
    EXPECT_EQ(window.link().currentRaw(), 1000);

    window.link().holdVoltage(9554);
    EXPECT_EQ(window.link().voltageRaw(), 1000);
    window.link().holdCurrent(-5);
    EXPECT_EQ(window.link().currentRaw(), 0);
}
