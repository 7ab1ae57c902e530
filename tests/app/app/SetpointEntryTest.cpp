#include "DialogHarness.h"

#include "SimulatedSupply.h"
#include "panels/OneDecimalRule.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/DataExchange.h"
#include "toolkit/UpDownControl.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QToolButton>

#include <gtest/gtest.h>

#include <tuple>

using namespace std::chrono_literals;

namespace {

struct Selection {
    int start;
    int end;
    bool operator==(const Selection&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Selection& s)
{
    return out << "(" << s.start << ", " << s.end << ")";
}

// The real window, live on a supply of the given model, with the focus in
// the voltage edit.
class SetpointEntry : public ::testing::Test {
protected:
    void SetUp() override { goLive(1); }

    void goLive(int code)
    {
        window.identify({code, 500, 200});
        window.dialog().show();
        QApplication::setActiveWindow(&window.dialog());
        focus(voltage());
    }

    ClassicEdit* voltage() { return window.control<ClassicEdit>(1016); }
    ClassicEdit* current() { return window.control<ClassicEdit>(1022); }

    void focus(ClassicEdit* edit)
    {
        QApplication::setActiveWindow(&window.dialog());
        edit->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), edit);
    }

    void clear(ClassicEdit* edit) { edit->setProgramText(QString()); }

    // Types one key and returns the raw value queued for the worker, if any.
    std::optional<std::int32_t> type(ClassicEdit* edit, char key)
    {
        return afterKey([&] { QTest::keyClick(edit, key); }, edit == voltage());
    }

    std::optional<std::int32_t> press(ClassicEdit* edit, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        return afterKey([&] { QTest::keyClick(edit, key, modifiers); }, edit == voltage());
    }

    template <typename Action> std::optional<std::int32_t> afterKey(Action action, bool isVoltage)
    {
        window.link().takeQueued();
        action();
        const SupplyLink::Queued queued = window.link().queued();
        if (!(isVoltage ? queued.voltage : queued.current)) {
            return std::nullopt;
        }
        return isVoltage ? window.link().voltageRaw() : window.link().currentRaw();
    }

    static Selection selection(ClassicEdit* edit)
    {
        return {edit->selectionStartPosition(), edit->selectionEndPosition()};
    }

    DialogHarness window{missingPorts()};
};

} // namespace

TEST_F(SetpointEntry, DigitsAreRewrittenWithOneDecimalAndSentAtOnce)
{
    clear(voltage());
    EXPECT_EQ(type(voltage(), '1'), 63);
    EXPECT_EQ(voltage()->text(), QStringLiteral("1.0"));
    EXPECT_EQ(selection(voltage()), (Selection{1, 1}));
    EXPECT_EQ(type(voltage(), '2'), 764);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.0"));
    EXPECT_EQ(selection(voltage()), (Selection{3, 4}));
    EXPECT_EQ(type(voltage(), '5'), 796);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.5"));
    EXPECT_EQ(selection(voltage()), (Selection{4, 4}));
    EXPECT_EQ(window.exchange().voltage(), 12.5);
    EXPECT_EQ(window.setpoints().lastChar(), 0);
}

TEST_F(SetpointEntry, ValuesAreClampedToTheModel)
{
    clear(voltage());
    EXPECT_EQ(type(voltage(), '9'), 573);
    EXPECT_EQ(voltage()->text(), QStringLiteral("9.0"));
    EXPECT_EQ(selection(voltage()), (Selection{2, 3}));

    clear(voltage());
    type(voltage(), '1');
    EXPECT_EQ(type(voltage(), '6'), 1000);
    EXPECT_EQ(voltage()->text(), QStringLiteral("15.7"));
    EXPECT_EQ(selection(voltage()), (Selection{3, 4}));

    clear(voltage());
    EXPECT_EQ(type(voltage(), '0'), 50);
    EXPECT_EQ(voltage()->text(), QStringLiteral("0.8"));
    EXPECT_EQ(selection(voltage()), (Selection{1, 1}));
}

TEST_F(SetpointEntry, ADecimalMarkOnlyMovesTheSelectionToTheTenths)
{
    clear(voltage());
    EXPECT_EQ(type(voltage(), '.'), 50); // raised to the minimum, the text stays
    EXPECT_EQ(voltage()->text(), QStringLiteral("0.0"));
    EXPECT_EQ(selection(voltage()), (Selection{2, 3}));

    voltage()->setProgramText(QStringLiteral("12"));
    voltage()->setCursorPosition(2);
    EXPECT_EQ(type(voltage(), ','), 764);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.0"));
    EXPECT_EQ(selection(voltage()), (Selection{3, 4}));

    voltage()->setProgramText(QStringLiteral("1.5"));
    voltage()->setCursorPosition(1);
    EXPECT_EQ(type(voltage(), '.'), 95);
    EXPECT_EQ(voltage()->text(), QStringLiteral("1.5"));
    EXPECT_EQ(selection(voltage()), (Selection{2, 3}));

    // A full edit refuses the mark like any other fifth character.
    voltage()->setProgramText(QStringLiteral("12.5"));
    voltage()->setCursorPosition(1);
    EXPECT_EQ(type(voltage(), ','), std::nullopt);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.5"));
}

TEST_F(SetpointEntry, AMarkAfterADeletedPointSendsNoMoreThanFullScale)
{
    // "15.0" less its point is "150"; a point typed at the end makes 150.0.
    for (const auto& [edit, first, second, top] : {std::tuple{voltage(), '1', '5', QStringLiteral("15.7")},
             std::tuple{current(), '6', '3', QStringLiteral("63.0")}}) {
        focus(edit);
        clear(edit);
        type(edit, first);
        type(edit, second);
        edit->setSelectionRange(2, 2);
        EXPECT_EQ(press(edit, Qt::Key_Delete), std::nullopt);
        ASSERT_EQ(edit->text().size(), 3);
        press(edit, Qt::Key_End);
        EXPECT_EQ(type(edit, '.'), 1000) << edit->objectName().toStdString();
        EXPECT_EQ(edit->text(), top);
    }
}

TEST_F(SetpointEntry, TabEnterAndEscAreNoCharacters)
{
    type(voltage(), 'x'); // taken back, and kept as the last character
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}) {
        focus(voltage());
        press(voltage(), key);
        EXPECT_EQ(window.setpoints().lastChar(), 'x') << key;
    }
    // Tabbed into the current edit after an accepted digit, Delete edits its
    // text and sends nothing.
    focus(voltage());
    type(voltage(), '5');
    QTest::keyClick(voltage(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), current());
    current()->setSelectionRange(0, 0);
    const QString before = current()->text();
    EXPECT_EQ(press(current(), Qt::Key_Delete), std::nullopt);
    EXPECT_EQ(current()->text(), before.mid(1));
}

TEST_F(SetpointEntry, OtherCharactersAreTakenBackAtOnce)
{
    voltage()->setProgramText(QStringLiteral("12.5"));
    voltage()->setCursorPosition(4);
    for (const char key : {'a', '-', ' '}) {
        EXPECT_EQ(type(voltage(), key), std::nullopt) << key;
        EXPECT_EQ(voltage()->text(), QStringLiteral("12.5")) << key;
    }
    EXPECT_EQ(press(voltage(), Qt::Key_Backspace), std::nullopt);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.5"));

    QGuiApplication::clipboard()->setText(QStringLiteral("9"));
    voltage()->selectAll();
    EXPECT_EQ(press(voltage(), Qt::Key_V, Qt::ControlModifier), std::nullopt);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.5"));
    EXPECT_EQ(window.setpoints().lastChar(), 22);

    // An undo typed by the user is itself undone, once.
    voltage()->setCursorPosition(4);
    type(voltage(), '1'); // refused: the limit is four characters
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.5"));
    EXPECT_EQ(window.setpoints().lastChar(), '1');
    EXPECT_EQ(press(voltage(), Qt::Key_Z, Qt::ControlModifier), std::nullopt);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.5"));
}

TEST_F(SetpointEntry, DeleteMakesNoCharacter)
{
    clear(voltage());
    type(voltage(), '1');
    type(voltage(), '2'); // 12.0 with the tenths selected
    EXPECT_EQ(press(voltage(), Qt::Key_Delete), std::nullopt);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12."));
    EXPECT_EQ(type(voltage(), '5'), 796);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.5"));

    // After a refused character a Delete is taken back as well.
    voltage()->setCursorPosition(0);
    type(voltage(), 'x');
    EXPECT_EQ(press(voltage(), Qt::Key_Delete), std::nullopt);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.5"));
}

TEST_F(SetpointEntry, TheArrowsStepByATenthWithinTheLimits)
{
    voltage()->setProgramText(QStringLiteral("12.3"));
    EXPECT_EQ(press(voltage(), Qt::Key_Up), 789);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.4"));
    auto* arrows = window.control<UpDownControl>(1017);
    auto* down = arrows->findChildren<QToolButton*>().at(1);
    window.link().takeQueued();
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(voltage()->text(), QStringLiteral("12.3"));
    EXPECT_TRUE(window.link().queued().voltage);

    voltage()->setProgramText(QStringLiteral("15.7"));
    EXPECT_EQ(press(voltage(), Qt::Key_Up), 1000);
    EXPECT_EQ(voltage()->text(), QStringLiteral("15.7"));
    voltage()->setProgramText(QStringLiteral("0.8"));
    EXPECT_EQ(press(voltage(), Qt::Key_Down), 50);
    EXPECT_EQ(voltage()->text(), QStringLiteral("0.8"));

    focus(current());
    current()->setProgramText(QStringLiteral("12.6"));
    EXPECT_EQ(press(current(), Qt::Key_Down), 198);
    EXPECT_EQ(current()->text(), QStringLiteral("12.5"));
}

TEST(SetpointArrows, AHeldArrowStepsFaster)
{
    EXPECT_EQ(UpDownControl::acceleratedStep(0), 1);
    EXPECT_EQ(UpDownControl::acceleratedStep(1999), 1);
    EXPECT_EQ(UpDownControl::acceleratedStep(2000), 5);
    EXPECT_EQ(UpDownControl::acceleratedStep(5000), 20);
}

// 47.2 × 1000 / 47.2 is 999.99999999999989 in doubles: the step is still the top one.
TEST_F(SetpointEntry, TheTopVoltageOfAFortySevenVoltModelIsSentAsFullScale)
{
    window.reply({0});
    goLive(4);
    clear(voltage());
    type(voltage(), '4');
    type(voltage(), '7');
    EXPECT_EQ(voltage()->text(), QStringLiteral("47.0"));
    EXPECT_EQ(type(voltage(), '2'), 1000);
    EXPECT_EQ(voltage()->text(), QStringLiteral("47.2"));
}

TEST_F(SetpointEntry, NothingIsSentWhileReadingsAreAdopted)
{
    window.reply({0});
    ASSERT_TRUE(window.controller().adoptingReadings());
    clear(voltage());
    EXPECT_EQ(type(voltage(), '5'), std::nullopt);
    EXPECT_EQ(voltage()->text(), QStringLiteral("5"));
}

TEST_F(SetpointEntry, AFieldWithoutANumberIsPointedOutAndKeepsItsValue)
{
    const double before = window.exchange().current();
    current()->setProgramText(QString());
    clear(voltage());
    EXPECT_EQ(type(voltage(), '5'), 318);
    ASSERT_EQ(window.messages.texts().size(), 1);
    EXPECT_EQ(window.messages.texts().front(), QString::fromUtf8(DataExchange::kNumberPrompt));
    EXPECT_EQ(window.exchange().current(), before);
    EXPECT_EQ(window.exchange().voltage(), 5.0); // read before the current
    EXPECT_EQ(window.dialog().focusWidget(), current());

    current()->setProgramText(QStringLiteral("1.0"));
    window.control<QLineEdit>(1041)->setText(QStringLiteral("300")); // pointed out at once
    ASSERT_EQ(window.messages.texts().size(), 2);
    focus(voltage());
    type(voltage(), '6');
    ASSERT_EQ(window.messages.texts().size(), 3);
    EXPECT_EQ(window.messages.texts().back(), QString::fromUtf8(DataExchange::kBytePrompt));
    EXPECT_EQ(window.station().timer().preset().minutes, 0);
    EXPECT_EQ(window.dialog().focusWidget(), window.widget(1041));
    EXPECT_EQ(window.control<QLineEdit>(1041)->selectedText(), QStringLiteral("300"));
}

TEST(SetpointRule, TheMarkerRewritesAProgramText)
{
    QWidget window;
    ClassicEdit edit(&window);
    int lastChar = 0;
    std::optional<double> sent;
    QObject::connect(&edit, &ClassicEdit::changed, [&] {
        if (auto value = OneDecimalRule::onChange(edit, lastChar, {0.8, 15.7}, {})) {
            sent = value;
        }
    });
    for (const auto& [text, shown, start, end] :
        std::vector<std::tuple<QString, QString, int, int>>{{"12", "12.0", 2, 3}, {"5", "5.0", 2, 3}}) {
        edit.setProgramText(text);
        lastChar = 1;
        sent.reset();
        OneDecimalRule::onChange(edit, lastChar, {0.8, 15.7}, {});
        EXPECT_EQ(edit.text(), shown);
        EXPECT_EQ(edit.selectionStartPosition(), start);
        EXPECT_EQ(edit.selectionEndPosition(), end);
        EXPECT_EQ(lastChar, 0);
    }
}

TEST(SetpointEndToEnd, KeysReachTheSupplyAndTheOutputButtonsFollowIt)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window({supply.devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.controller().controlsShown(); }, 2s));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.text(1021) == QStringLiteral("12.6 A"); }));
    window.dialog().show();
    QApplication::setActiveWindow(&window.dialog());
    auto* voltage = window.control<ClassicEdit>(1016);
    voltage->setFocus();
    voltage->setProgramText(QString());

    // Two keys while the worker waits for its turn: one frame, the later value.
    // The turn handed back last lets it finish one more cycle before it waits.
    QThread::msleep(1200);
    QTest::keyClick(voltage, '1');
    QTest::keyClick(voltage, '0');
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return supply.commandCount() >= 1; }));
    DialogHarness::waitUntil([] { return false; }, 300ms);
    auto frames = supply.commandFrames();
    ASSERT_EQ(frames.size(), 1U);
    EXPECT_EQ(frames[0].kind, SimulatedSupply::FrameKind::SetVoltage);
    EXPECT_EQ(frames[0].raw, 636);
    EXPECT_EQ(supply.voltageRaw(), 636);

    // A whole on/off cycle of the output.
    QTest::mouseClick(window.control<QPushButton>(1024), Qt::LeftButton);
    EXPECT_FALSE(window.enabled(1024));
    EXPECT_FALSE(window.enabled(1025));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.enabled(1025); }));
    EXPECT_FALSE(window.enabled(1024));
    EXPECT_TRUE(supply.outputOn());
    EXPECT_EQ(supply.commandFrames().back().kind, SimulatedSupply::FrameKind::SetVoltageToggle);
    EXPECT_EQ(supply.commandFrames().back().raw, 636);
    QTest::mouseClick(window.control<QPushButton>(1025), Qt::LeftButton);
    EXPECT_FALSE(window.enabled(1025));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.enabled(1024); }));
    EXPECT_FALSE(window.enabled(1025));
    EXPECT_FALSE(supply.outputOn());
}
