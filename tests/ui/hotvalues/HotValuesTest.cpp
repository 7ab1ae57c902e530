#include "DialogHarness.h"

#include "SimulatedSupply.h"
#include "hotvalues/AddValuesDialog.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/UpDownControl.h"

#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Runs an action on the next popup menu or modal dialog the program opens.
class WhenShown {
public:
    explicit WhenShown(std::function<bool()> action)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, action = std::move(action)] {
            if (!done_ && action()) {
                done_ = true;
                timer_.stop();
            }
        });
        timer_.start();
    }
    bool done() const { return done_; }

private:
    QTimer timer_;
    bool done_ = false;
};

struct MenuState {
    bool shown = false;
    std::map<QString, bool> enabled;
};

// The window live on a supply with the given pairs in its settings.
class HotValues : public ::testing::Test {
protected:
    void start(int code, const std::string& pairs)
    {
        startWith(code, "[COM-Port]\nUsePort=Auto\n[HotValues]\n" + pairs);
    }
    void startWith(int code, const std::string& settings)
    {
        window.reset();
        window = std::make_unique<DialogHarness>(missingPorts(), DialogHarness::Options{{}, {}, settings});
        window->identify({code, 500, 200});
        window->dialog().show();
        QApplication::setActiveWindow(&window->dialog());
    }

    QListWidget* list() { return window->control<QListWidget>(1048); }
    QStringList rows()
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i) {
            texts << list()->item(i)->text();
        }
        return texts;
    }

    // Right-clicks at a point of the list; chooses an item of the menu, if any.
    MenuState rightClick(QPoint inList, const QString& choose = {})
    {
        MenuState state;
        WhenShown driver([&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return false;
            }
            state.shown = true;
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    state.enabled[action->text()] = action->isEnabled();
                }
                if (action->text() == choose) {
                    chosen = action;
                }
            }
            if (chosen != nullptr) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
            } else {
                menu->close();
            }
            return true;
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, inList, list()->mapToGlobal(inList));
        QApplication::sendEvent(list()->viewport(), &event);
        QApplication::processEvents();
        return state;
    }

    QPoint rowPoint(int row) { return list()->visualItemRect(list()->item(row)).center(); }
    // Types keys into an edit emptied first, as a user would.
    void type(int id, const char* keys)
    {
        auto* edit = window->control<ClassicEdit>(id);
        edit->setFocus();
        edit->setProgramText(QString());
        for (const char* key = keys; *key != '\0'; ++key) {
            QTest::keyClick(edit, *key);
        }
    }

    std::unique_ptr<DialogHarness> window;
};

const QString kApply = QString::fromUtf8("Установить как текущее");
const QString kAddValue = QString::fromUtf8("Добавить значение");
const QString kAddCurrent = QString::fromUtf8("Добавить текущее");
const QString kDelete = QString::fromUtf8("Удалить");

} // namespace

TEST_F(HotValues, ApplyingAPairQueuesVoltageThenCurrent)
{
    start(2, "TotalZ=1\nV1=12.3\nA1=5.0\n");
    EXPECT_EQ(window->station().settings().hotValues().voltages(), std::vector<std::int32_t>{123});
    list()->setCurrentRow(0);
    window->link().takeQueued();
    window->hotMenu().apply();
    EXPECT_EQ(window->text(1016), QStringLiteral("12.3"));
    EXPECT_EQ(window->text(1022), QStringLiteral("5.0"));
    EXPECT_EQ(window->link().voltageRaw(), 390);
    EXPECT_EQ(window->link().currentRaw(), 158);
    EXPECT_TRUE(window->link().queued().voltage);
    EXPECT_TRUE(window->link().queued().current);
    EXPECT_DOUBLE_EQ(window->exchange().voltage(), 12.3);
}

TEST_F(HotValues, TheMenuGreysWhatCannotApply)
{
    start(1, "TotalZ=0\n");
    MenuState empty = rightClick({10, 10});
    ASSERT_TRUE(empty.shown);
    EXPECT_FALSE(empty.enabled[kApply]);
    EXPECT_FALSE(empty.enabled[kDelete]);
    EXPECT_TRUE(empty.enabled[kAddValue]);
    EXPECT_TRUE(empty.enabled[kAddCurrent]);

    // The present values, 7.9 V and 12.6 A, become a row.
    rightClick({10, 10}, kAddCurrent);
    ASSERT_EQ(rows(), QStringList{QString::fromUtf8("7.9 В  12.6 A")});
    MenuState onCurrentRow = rightClick(rowPoint(0));
    EXPECT_FALSE(onCurrentRow.enabled[kApply]);
    EXPECT_TRUE(onCurrentRow.enabled[kDelete]);
    EXPECT_TRUE(list()->item(0)->isSelected());

    MenuState below = rightClick({10, list()->viewport()->height() - 5});
    EXPECT_FALSE(below.enabled[kDelete]);
    EXPECT_TRUE(list()->selectedItems().isEmpty());
}

TEST_F(HotValues, NoMenuOutsideTheListOrWithoutASupply)
{
    start(1, "TotalZ=0\n");
    WhenShown driver([] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->close();
            return true;
        }
        return false;
    });
    QContextMenuEvent outside(QContextMenuEvent::Mouse, {5, 5}, window->dialog().mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window->dialog(), &outside);
    window->reply({0});
    QContextMenuEvent disabled(QContextMenuEvent::Mouse, {10, 10}, list()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&window->dialog(), &disabled);
    QApplication::processEvents();
    EXPECT_FALSE(driver.done());
}

TEST_F(HotValues, AddingThePresentValuesTwiceAddsThemOnce)
{
    start(1, "TotalZ=2\nV1=7.9\nA1=12.6\nV2=1.0\nA2=1.0\n");
    window->hotMenu().addPresent();
    EXPECT_EQ(rows().size(), 2);
    EXPECT_TRUE(list()->item(0)->isSelected());
    list()->clearSelection();
    window->hotMenu().addPresent();
    EXPECT_EQ(rows().size(), 2);
}

TEST_F(HotValues, DeletingKeepsEveryRowWithItsOwnPair)
{
    start(1, "TotalZ=5\nV1=1.0\nA1=1.0\nV2=2.0\nA2=2.0\nV3=3.0\nA3=3.0\nV4=4.0\nA4=4.0\nV5=5.0\nA5=5.0\n");
    for (const int row : {0, 1, 2}) { // the first, then a middle one, then the last
        list()->setCurrentRow(row);
        window->hotMenu().deleteSelected();
    }
    EXPECT_EQ(rows(), (QStringList{QString::fromUtf8("2.0 В  2.0 A"), QString::fromUtf8("4.0 В  4.0 A")}));
    list()->setCurrentRow(1);
    window->hotMenu().apply();
    EXPECT_EQ(window->text(1016), QStringLiteral("4.0"));
    EXPECT_EQ(window->text(1022), QStringLiteral("4.0"));
}

// A pair sends what its row shows, the frames typing it sends (1.0 A on the
// 63 A model is step 15, not the 14 of 0.9 A), and the row, the file and the
// frames stay as they are through applying, adding, saving and restarting.
TEST_F(HotValues, APairSendsWhatItsRowShowsAndKeepsItAcrossRestarts)
{
    const struct {
        int model;
        const char* pairs; // in the file at start
        std::pair<const char*, const char*> typed; // then typed into the edits and added as the present pair
        const char* row; // the last row
        std::int32_t voltageRaw;
        std::int32_t currentRaw;
        const char* saved; // the file's pairs once saved
    } cases[] = {
        {1, "TotalZ=1\nV1=5.0\nA1=1.0\n", {}, "5.0 В  1.0 A", 318, 15, "TotalZ=1\nV1=5.0\nA1=1.0\n"},
        {3, "TotalZ=0\n", {"1", "1"}, "1.0 В  1.0 A", 15, 63, "TotalZ=1\nV1=1.0\nA1=1.0\n"},
        // 2.1 A and 2.2 A are one step of the 105 A model, and two rows.
        {5, "TotalZ=1\nV1=126\nA1=22\n", {"126", "2.1"}, "12.6 В  2.1 A", 802, 20,
            "TotalZ=2\nV1=12.6\nA1=2.2\nV2=12.6\nA2=2.1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        start(c.model, c.pairs);
        if (c.typed.first != nullptr) {
            type(1016, c.typed.first);
            type(1022, c.typed.second);
            window->hotMenu().addPresent();
        }
        std::string saved;
        for (const bool restarted : {false, true}) {
            ASSERT_EQ(rows().back().toStdString(), c.row) << restarted;
            list()->setCurrentRow(static_cast<int>(rows().size()) - 1);
            window->hotMenu().apply();
            EXPECT_EQ(window->link().voltageRaw(), c.voltageRaw) << restarted;
            EXPECT_EQ(window->link().currentRaw(), c.currentRaw) << restarted;
            EXPECT_EQ(
                (window->text(1016) + QString::fromUtf8(" В  ") + window->text(1022) + " A").toStdString(), c.row);
            window->reply({0}); // the lost link saves the list
            saved = window->settingsBytes();
            EXPECT_NE(saved.find(c.saved), std::string::npos) << saved;
            startWith(c.model, saved);
        }
    }
}

TEST_F(HotValues, ThePairOfTheDialogIsAddedOnceAndCancelChangesNothing)
{
    start(1, "TotalZ=1\nV1=13.8\nA1=10.0\n");
    WhenShown add([] {
        auto* dialog = qobject_cast<AddValuesDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return false;
        }
        dialog->findChild<ClassicEdit*>(QStringLiteral("1054"))->setProgramText(QStringLiteral("13.8"));
        dialog->findChild<ClassicEdit*>(QStringLiteral("1056"))->setProgramText(QStringLiteral("10.0"));
        dialog->accept();
        return true;
    });
    window->hotMenu().addByDialog();
    EXPECT_EQ(rows().size(), 1);
    EXPECT_TRUE(list()->item(0)->isSelected());

    WhenShown cancel([] {
        auto* dialog = qobject_cast<AddValuesDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return false;
        }
        dialog->reject();
        return true;
    });
    window->hotMenu().addByDialog();
    EXPECT_EQ(rows().size(), 1);
}

namespace {

// The add-values dialog on the Quarel row, opened with 13.8 V and 10 A.
class AddValues : public ::testing::Test {
protected:
    void open(double currentMax = 63.0, double currentMin = 0.6)
    {
        dialog = std::make_unique<AddValuesDialog>(
            nullptr, AddValuesDialog::Limits{15.7, currentMax, 0.8, currentMin}, 13.8, 10.0);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }
    ClassicEdit* edit(int id) { return dialog->findChild<ClassicEdit*>(QString::number(id)); }
    void type(int id, const char* keys)
    {
        edit(id)->setFocus();
        for (const char* key = keys; *key != '\0'; ++key) {
            QTest::keyClick(edit(id), *key);
        }
    }
    std::pair<int, int> selection(int id)
    {
        return {edit(id)->selectionStartPosition(), edit(id)->selectionEndPosition()};
    }

    std::unique_ptr<AddValuesDialog> dialog;
};

} // namespace

TEST_F(AddValues, OpensWithThePresentValuesAndEnterAddsThem)
{
    open();
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("13.8"));
    EXPECT_EQ(edit(1056)->text(), QStringLiteral("10.0"));
    EXPECT_EQ(QApplication::focusWidget(), dialog->findChild<QPushButton*>(QStringLiteral("1")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->voltage(), 13.8);
    EXPECT_EQ(dialog->current(), 10.0);
}

TEST_F(AddValues, KeepsTheOneDecimalFormWhileTyping)
{
    open();
    edit(1054)->setProgramText(QString());
    type(1054, "1");
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("1.0"));
    EXPECT_EQ(selection(1054), std::make_pair(1, 1));
    type(1054, "2");
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("12.0"));
    EXPECT_EQ(selection(1054), std::make_pair(3, 4));
    type(1054, "5");
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("12.5"));
    EXPECT_EQ(selection(1054), std::make_pair(4, 4));
    EXPECT_EQ(dialog->lastChar(), '5'); // unlike the main window, kept

    edit(1054)->selectAll();
    type(1054, "0");
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("0.8"));
    EXPECT_EQ(selection(1054), std::make_pair(1, 1));

    edit(1054)->selectAll();
    type(1054, "9");
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("9.0"));
    EXPECT_EQ(selection(1054), std::make_pair(2, 3));

    for (const char* refused : {"a", "\b"}) {
        type(1054, refused);
        EXPECT_EQ(edit(1054)->text(), QStringLiteral("9.0"));
    }
}

TEST_F(AddValues, AMarkSelectsTheTenthsAndIsNotClamped)
{
    open();
    edit(1054)->selectAll();
    type(1054, ".");
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("0.0"));
    EXPECT_EQ(selection(1054), std::make_pair(2, 3));
    edit(1056)->setProgramText(QStringLiteral("1.0"));
    edit(1056)->setCursorPosition(3);
    type(1056, ",");
    EXPECT_EQ(edit(1056)->text(), QStringLiteral("1.0"));
    EXPECT_EQ(selection(1056), std::make_pair(2, 3));
    edit(1056)->setCursorPosition(1);
    type(1056, ".");
    EXPECT_EQ(edit(1056)->text(), QStringLiteral("1.0"));
    EXPECT_EQ(selection(1056), std::make_pair(2, 3));
    dialog->accept();
    EXPECT_EQ(dialog->voltage(), 0.0);
}

TEST_F(AddValues, TheArrowsStepWithinTheLimits)
{
    open();
    auto* up = dialog->findChild<UpDownControl*>(QStringLiteral("1055"))->findChildren<QToolButton*>().at(0);
    edit(1054)->setProgramText(QStringLiteral("12.3"));
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("12.4"));
    edit(1054)->setProgramText(QStringLiteral("15.7"));
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("15.7"));
    edit(1054)->setFocus();
    edit(1054)->setProgramText(QStringLiteral("0.8"));
    QTest::keyClick(edit(1054), Qt::Key_Down);
    EXPECT_EQ(edit(1054)->text(), QStringLiteral("0.8"));
}

TEST_F(AddValues, AHundredAmpereModelTakesThreeWholeDigits)
{
    open(105.0, 0.8);
    edit(1056)->setProgramText(QString());
    type(1056, "1");
    EXPECT_EQ(edit(1056)->text(), QStringLiteral("1.0"));
    type(1056, "0");
    EXPECT_EQ(edit(1056)->text(), QStringLiteral("10.0"));
    type(1056, "0");
    EXPECT_EQ(edit(1056)->text(), QStringLiteral("100.0"));
    EXPECT_EQ(selection(1056), std::make_pair(4, 5));
    type(1056, "5");
    EXPECT_EQ(edit(1056)->text(), QStringLiteral("100.5"));
    EXPECT_EQ(selection(1056), std::make_pair(5, 5));
}

TEST_F(AddValues, AFieldWithoutANumberKeepsTheDialogOpen)
{
    MessageBoxWatcher messages;
    open();
    edit(1056)->setProgramText(QString());
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(messages.texts().size(), 1);
}

TEST(HotValuesEndToEnd, ADoubleClickSendsVoltageThenCurrent)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window(
        {supply.devicePath()}, {{}, {}, "[COM-Port]\nUsePort=Auto\n[HotValues]\nTotalZ=1\nV1=5.0\nA1=3.0\n"});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.enabled(1048); }, 2s));
    window.dialog().show();
    auto* list = window.control<QListWidget>(1048);
    const QPoint row = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return supply.commandCount() >= 2; }));
    const auto frames = supply.commandFrames();
    EXPECT_EQ(frames[0].kind, SimulatedSupply::FrameKind::SetVoltage);
    EXPECT_EQ(frames[0].raw, 318);
    EXPECT_EQ(frames[1].kind, SimulatedSupply::FrameKind::SetCurrent);
    EXPECT_EQ(frames[1].raw, 47);
}

TEST(HotValuesEndToEnd, APairAddedWhileTheLinkWentAwayReachesTheFile)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    DialogHarness window({supply.devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.enabled(1048); }, 2s));
    WhenShown add([&] {
        auto* dialog = qobject_cast<AddValuesDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return false;
        }
        supply.setSilent(true);
        DialogHarness::waitUntil([&] { return !window.controller().identified(); });
        dialog->findChild<ClassicEdit*>(QStringLiteral("1054"))->setProgramText(QStringLiteral("5.5"));
        dialog->accept();
        return true;
    });
    window.hotMenu().addByDialog();
    ASSERT_TRUE(add.done());
    EXPECT_NE(window.settingsBytes().find("TotalZ=2\nV1=13.8\nA1=10.0\nV2=5.5\nA2=12.6\n"), std::string::npos)
        << window.settingsBytes();
}
