#include "programs/ProgramsWindow.h"
#include "ProgramSteps.h"
#include "controller/SupplyController.h"
#include "engine/ProgramClock.h"
#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"
#include "link/SupplyLink.h"
#include "program/ChargeProfile.h"
#include "program/ChemistryPractice.h"
#include "program/ProgramFile.h"
#include "programs/ChargeDialog.h"
#include "programs/EndConditionsDialog.h"
#include "programs/PlanChart.h"
#include "programs/ProgramEditor.h"
#include "programs/ProgramTree.h"
#include "programs/RunControls.h"
#include "programs/StepTexts.h"
#include "programs/UnitEdit.h"
#include "supply/ModelTable.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace std::chrono_literals;

namespace {

// Steady time a test moves on.
class MovedClock : public ProgramClock {
public:
    TimePoint now() const override { return ProgramClock::now() + ahead; }
    TimePoint at(TimePoint steady) const override { return steady + ahead; }
    std::chrono::milliseconds ahead{0};
};

// Runs act and answers the modal dialog it opens.
void answering(const std::function<void(QDialog&)>& reply, const std::function<void()>& act)
{
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            answer.stop();
            reply(*dialog);
        }
    });
    answer.start(0);
    act();
}

} // namespace

void PrintTo(const Program& program, std::ostream* out)
{
    *out << ProgramFile::toJson(program).toStdString();
}

namespace {

class ProgramsWindowTest : public ::testing::Test {
protected:
    QTreeWidget& tree() { return *window.editor().tree(); }
    QTreeWidgetItem& row(int index) { return *tree().topLevelItem(index); }
    template <class Widget> Widget& find(const char* name)
    {
        return *window.findChild<Widget*>(QString::fromLatin1(name));
    }
    template <class Widget> static Widget& in(const QObject& parent, const char* name)
    {
        return *parent.findChild<Widget*>(QString::fromLatin1(name));
    }
    void click(const char* button) { find<QPushButton>(button).click(); }
    // Types into a cell's editor and presses Enter, as the user does.
    void type(QTreeWidgetItem& item, int column, const QString& text)
    {
        tree().setCurrentItem(&item, column);
        tree().editItem(&item, column);
        auto* edit = qobject_cast<QLineEdit*>(tree().itemWidget(&item, column));
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view commits an edit queued
    }
    std::vector<double> plannedVolts()
    {
        std::vector<double> volts;
        for (const QCPGraphData& point : *window.chart().plot()->graph(0)->data()) {
            volts.push_back(point.value);
        }
        return volts;
    }

    // Twice, as one answer alone is not trusted to name a model, and again
    // until the supply has answered for the frames that were queued.
    void identify()
    {
        link.takeQueued();
        for (int i = 0; i < 4 && (i < 2 || !controller.identified()); ++i) {
            controller.onReply(kOutputOn);
        }
        ASSERT_TRUE(controller.live());
    }

    // Output on, 7.9 V and 12.6 A.
    const Reply kOutputOn{129, 1524, 200};
    SupplyLink link; // no port: the replies are handed over
    SupplyController controller{link};
    MovedClock clock;
    ProtectionWatch watch{controller, clock};
    ProgramEngine engine{controller, watch, 300ms, clock};
    ProgramsWindow window{controller, engine, watch};
};

} // namespace

TEST_F(ProgramsWindowTest, GivesBackTheProgramItShows)
{
    Program program;
    ProgramStep charge = levelStep(14.4, 2.0, 0ms);
    charge.duration.reset();
    charge.maxDuration = 3h;
    charge.ends = {{EndCondition::Kind::CurrentAtMost, 0.1}, {EndCondition::Kind::BecomesCc, 0.0}};
    ProgramStep ramp = levelStep({}, 1.0, 20min);
    ramp.ramp = ProgramStep::Ramp{Quantity::Voltage, 10.0, 13.8};
    ramp.maxDuration = 30min;
    ProgramStep rest = levelStep({}, {}, 10min);
    rest.output = false;
    program.body.items = {{charge}, {ProgramGroup{{}, {{ramp}, {ProgramGroup{3, {{rest}}}}}}}};
    program.onLinkReturn = Program::LinkReturn::Resume;
    window.editor().setProgram(program);

    EXPECT_EQ(window.editor().program(), program);
    EXPECT_EQ(row(1).text(ProgramTree::kNumber), QString::fromUtf8("Группа: повторять до остановки"));
    const QTreeWidgetItem& ramped = *row(1).child(0);
    EXPECT_EQ(ramped.text(ProgramTree::kNumber), QStringLiteral("2"));
    EXPECT_EQ(ramped.text(ProgramTree::kVoltage), QString::fromUtf8("10.0 → 13.8 В"));
    EXPECT_EQ(row(0).text(ProgramTree::kEnds), QString::fromUtf8("ток не выше 0.1\u00a0А или режим CC"));
    EXPECT_EQ(row(1).child(1)->child(0)->text(ProgramTree::kMaximum), QString::fromUtf8("—"));
    EXPECT_TRUE(find<QLabel>("planNote").text().contains(QString::fromUtf8("до остановки")));
}

TEST_F(ProgramsWindowTest, TheProgramAndItsPlanAreWhatTheUserTypes)
{
    click("addStep");
    type(row(0), ProgramTree::kVoltage, QStringLiteral("12,5"));
    type(row(0), ProgramTree::kCurrent, QStringLiteral("2"));
    type(row(0), ProgramTree::kMaximum, QStringLiteral("1:30"));
    EXPECT_EQ(plannedVolts(), (std::vector{12.5, 12.5}));
    click("addGroup");
    tree().editItem(&row(1), ProgramTree::kNumber);
    auto* repeats = qobject_cast<QSpinBox*>(tree().itemWidget(&row(1), ProgramTree::kNumber));
    ASSERT_NE(repeats, nullptr);
    repeats->setValue(3);
    QTest::keyClick(repeats, Qt::Key_Return);
    QCoreApplication::processEvents();
    type(*row(1).child(0), ProgramTree::kVoltage, QStringLiteral("5"));
    tree().setCurrentItem(row(1).child(0));
    click("duplicate");
    click("moveDown"); // out of the group, after it

    ProgramStep first = levelStep(12.5, 2.0, 60s);
    first.maxDuration = 90s;
    const ProgramStep repeated = levelStep(5.0, {}, 60s);
    Program expected;
    expected.body.items = {{first}, {ProgramGroup{3, {{repeated}}}}, {repeated}};
    EXPECT_EQ(window.editor().program(), expected);
    EXPECT_EQ(row(2).text(ProgramTree::kNumber), QStringLiteral("3"));
    EXPECT_EQ(plannedVolts().size(), 2U + 3 * 3 + 3) << "each step drawn with its jump from the one before";
    EXPECT_TRUE(find<QLabel>("planNote").text().contains(QString::fromUtf8("Длительность программы: 0:05:00.")));
}

TEST_F(ProgramsWindowTest, ARefusalNamesItsStepAndSelectsIt)
{
    identify();
    Program program;
    program.body.items = {{levelStep(5.0, 1.0, 10s)}, {levelStep(6.0, 1.0, 100ms)}};
    window.editor().setProgram(program);

    click("start");
    EXPECT_EQ(engine.state(), ProgramEngine::State::Idle);
    EXPECT_TRUE(window.runControls().refusal().contains(QString::fromUtf8("шаг 2")));
    EXPECT_EQ(tree().currentItem(), &row(1));
    EXPECT_TRUE(find<QPushButton>("start").isEnabled());
    EXPECT_FALSE(find<QPushButton>("stop").isEnabled());

    type(row(1), ProgramTree::kVoltage, QStringLiteral("99"));
    EXPECT_TRUE(window.runControls().refusal().isEmpty()) << "an edit answers it";
    EXPECT_EQ(ProgramTree::step(row(1)).volts, controller.profile().voltageMax) << "within the model's range";
    type(row(1), ProgramTree::kCurrent, QStringLiteral("0.1"));
    EXPECT_EQ(ProgramTree::step(row(1)).amperes, controller.profile().currentMin);
}

TEST_F(ProgramsWindowTest, FollowsTheRunAndShowsHowItEnded)
{
    identify();
    Program program;
    program.body.items = {{levelStep(5.0, 1.0, 10s)}};
    window.editor().setProgram(program);
    const auto enabled = [this] {
        std::string buttons;
        for (const char* name : {"start", "pause", "resume", "stop", "addStep"}) {
            buttons += find<QPushButton>(name).isEnabled() ? name[0] : '-';
        }
        return buttons;
    };
    EXPECT_EQ(enabled(), "s---a");

    click("start");
    EXPECT_EQ(enabled(), "-p-s-") << "nothing is edited while it runs";
    EXPECT_EQ(find<QLabel>("progressStep").text(), QString::fromUtf8("Шаг 1 из 1"));
    click("pause");
    EXPECT_EQ(enabled(), "--rs-");
    EXPECT_TRUE(find<QLabel>("progressWhy").text().contains(engine.why()));
    click("stop");
    EXPECT_EQ(enabled(), "s---a");
    const auto& summary = find<QLabel>("runSummary");
    EXPECT_FALSE(summary.isHidden());
    EXPECT_TRUE(summary.text().contains(engine.summary()->endReason));
}

TEST_F(ProgramsWindowTest, ALatchedTripIsShownUntilCleared)
{
    identify();
    const auto& trip = find<QLabel>("trip");
    EXPECT_TRUE(trip.isHidden());
    find<QLineEdit>("limit1").setText(QStringLiteral("5"));
    find<QCheckBox>("arm1").setChecked(true);
    click("applyLimits");
    EXPECT_EQ(watch.limits().amperes, 5.0);

    controller.onReply(kOutputOn);
    ASSERT_TRUE(watch.tripped());
    EXPECT_FALSE(trip.isHidden());
    EXPECT_TRUE(trip.text().contains(ProtectionWatch::describe(*watch.trip())));
    click("clearTrip");
    EXPECT_FALSE(watch.tripped());
    EXPECT_TRUE(trip.isHidden());
}

// Only a limit the watch holds is marked armed; one typed or unticked but not
// applied says so, in a look of its own, until it is applied or put back.
TEST_F(ProgramsWindowTest, TheLimitsTellWhatIsArmedFromWhatIsOnlyEdited)
{
    auto& value = find<QLineEdit>("limit0");
    const auto* state = window.findChild<QLabel*>(QStringLiteral("limitState0"));
    ASSERT_NE(state, nullptr);
    const auto typed = [&](const char* text) {
        return [&value, text] {
            value.selectAll();
            QTest::keyClicks(&value, QString::fromLatin1(text));
        };
    };
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* shown;
        std::optional<double> armed;
    };
    const Case cases[] = {{"typed", typed("3"), "не применено", std::nullopt},
        {"applied", [&] { click("applyLimits"); }, "✓ взведён", 3.0},
        {"retyped", typed("4"), "не применено,\nвзведён 3.0 В", 3.0}, {"put back", typed("3.0"), "✓ взведён", 3.0},
        {"unticked", [&] { find<QCheckBox>("arm0").setChecked(false); }, "не применено,\nвзведён 3.0 В", 3.0},
        {"disarmed", [&] { click("applyLimits"); }, "", std::nullopt}};
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(state->text(), QString::fromUtf8(c.shown)) << c.what;
        EXPECT_EQ(watch.limits().volts, c.armed) << c.what;
        const bool edited = QString::fromUtf8(c.shown).startsWith(QString::fromUtf8("не"));
        EXPECT_EQ(value.styleSheet().isEmpty(), !edited) << c.what;
    }
}

TEST_F(ProgramsWindowTest, KeepsAndShowsTheProgramsOwnLimitsAndBatteryThroughAnEdit)
{
    Program program;
    program.body.items = {{levelStep(4.2, 1.0, 60s)}};
    program.limits.volts = 4.25;
    program.limits.time = 3h + 30min;
    program.battery = ProgramBattery{"li-ion", 1, 2.0};
    window.editor().setProgram(program);
    type(row(0), ProgramTree::kVoltage, QStringLiteral("4.1"));

    std::get<ProgramStep>(program.body.items[0].content).volts = 4.1;
    EXPECT_EQ(window.editor().program(), program);
    EXPECT_EQ(find<QLabel>("programLimits").text(),
        QString::fromUtf8("Пределы программы: напряжение ≤ 4.25 В, время ≤ 3:30:00"));
    EXPECT_EQ(find<QLabel>("programBattery").text(), QString::fromUtf8("Аккумулятор: Li-ion / LiPo, 1 эл., 2.0 А·ч"));
    window.editor().setProgram({});
    EXPECT_TRUE(find<QLabel>("programLimits").isHidden());
    EXPECT_TRUE(find<QLabel>("programBattery").isHidden());
}

TEST(EndConditionsDialogTest, GivesBackWhichConditionsStopTheProgram)
{
    const std::vector<EndCondition> ends{
        {EndCondition::Kind::VoltageFlat, 900.0, true}, {EndCondition::Kind::BecomesCv, 0.0, false}};
    EXPECT_EQ(EndConditionsDialog(ends).conditions(), ends);
}

TEST_F(ProgramsWindowTest, TheChargeReportSaysHowItEndedAndHowFullTheBatteryGot)
{
    RunSummary charged;
    charged.battery = ProgramBattery{"li-ion", 1, 2.0};
    charged.ampereHours = 1.63;
    charged.endReason = ProgramEngine::tr("выполнена");
    charged.lastEnding = StepEnding{3, EndCondition{EndCondition::Kind::CurrentAtMost, 0.2}, false};
    RunSummary timedOut = charged;
    timedOut.lastEnding = StepEnding{3, {}, true};
    RunSummary tripped = charged;
    tripped.trip = ProtectionTrip{ProtectionLimits::Limit::Charge, 2.41, 2.4, {}};
    RunSummary stopped = charged;
    stopped.endReason = QString::fromUtf8("остановлена пользователем");
    const std::pair<RunSummary, QString> cases[] = {{charged, QString::fromUtf8("шаг 3: ток не выше 0.2\u00a0А")},
        {timedOut, QString::fromUtf8("шаг 3: по наибольшей длительности")},
        {tripped, QString::fromUtf8("предел программы: ") + ProtectionWatch::describe(*tripped.trip)},
        {stopped, stopped.endReason}};
    for (const auto& [summary, ending] : cases) {
        emit engine.finished(summary);
        const QString report = find<QLabel>("runSummary").text();
        EXPECT_TRUE(report.contains(QString::fromUtf8("Окончание: ") + ending + u'\n')) << report.toStdString();
        EXPECT_TRUE(report.contains(QString::fromUtf8("1.63 А·ч — 82\u00a0% от 2.0 А·ч"))) << report.toStdString();
    }
}

TEST_F(ProgramsWindowTest, TheChargeDialogOffersOnlyWhatTheSupplyCanHold)
{
    find<QAction>("chargeAction").trigger();
    const auto& dialog = *window.findChild<ChargeDialog*>();
    QPushButton& ok = *dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    const auto& refusal = in<QLabel>(dialog, "chargeRefusal");
    EXPECT_FALSE(ok.isEnabled()) << "the supply's steps are not known yet";
    identify();
    QCoreApplication::processEvents();
    EXPECT_TRUE(ok.isEnabled());

    auto& taper = in<QSpinBox>(dialog, "chargeTaper");
    taper.setValue(50); // 0.04 A of 2 A·h, under two of the 0.063 A steps
    EXPECT_FALSE(ok.isEnabled());
    EXPECT_TRUE(refusal.text().contains(QString::fromUtf8("не различит"))) << refusal.text().toStdString();
    taper.setValue(10);
    EXPECT_TRUE(refusal.isHidden());
    auto& chemistry = in<QComboBox>(dialog, "chargeChemistry");
    chemistry.setCurrentIndex(static_cast<int>(Chemistry::NiMH));
    EXPECT_EQ(in<QSpinBox>(dialog, "chargeCells").value(), 4) << "its defaults";
    chemistry.setCurrentIndex(static_cast<int>(Chemistry::LiIon));
    in<QComboBox>(dialog, "chargeRate").setCurrentIndex(1);
    EXPECT_EQ(in<UnitEdit>(dialog, "chargeCurrent").text(), QStringLiteral("0.5")) << "1 A of 2 A·h";

    ok.click();
    EXPECT_EQ(window.editor().program(),
        ChargeProfile::make(ChargeParameters::defaults(Chemistry::LiIon), controller.profile()).program);
    EXPECT_TRUE(window.path().isEmpty());
    EXPECT_TRUE(find<QLabel>("programFile").text().contains(QString::fromUtf8("(изменена)")));
}

TEST_F(ProgramsWindowTest, ANewProgramAsksFirstOnlyWhenChangesWouldBeLost)
{
    const auto answer = [this](QMessageBox::StandardButton choice) {
        window.findChild<QMessageBox*>()->button(choice)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    auto& fresh = find<QAction>("newProgram");
    click("addStep");
    fresh.trigger();
    answer(QMessageBox::Cancel);
    EXPECT_EQ(tree().topLevelItemCount(), 1);
    fresh.trigger();
    answer(QMessageBox::Discard);
    EXPECT_EQ(tree().topLevelItemCount(), 0);
    EXPECT_EQ(find<QLabel>("programFile").text(), QString::fromUtf8("Программа: новая программа"));
    fresh.trigger();
    EXPECT_EQ(window.findChild<QMessageBox*>(), nullptr) << "nothing to lose";
}

TEST_F(ProgramsWindowTest, ANewRampStartsWhereTheStepsBeforeLeftTheSupply)
{
    Program program;
    program.body.items = {{levelStep(12.5, 2.0, 60s)}, {levelStep({}, 1.5, 60s)}, {levelStep({}, {}, 60s)}};
    window.editor().setProgram(program);
    QStringList starts;
    const auto rampBoth = [&starts](QDialog& dialog) {
        dialog.findChild<QCheckBox*>()->setChecked(true);
        for (const int quantity : {0, 1}) {
            dialog.findChild<QComboBox*>()->setCurrentIndex(quantity);
            starts << dialog.findChildren<UnitEdit*>().at(1)->text();
        }
        dialog.accept();
    };
    answering(rampBoth, [this] {
        tree().setCurrentIndex(tree().model()->index(2, ProgramTree::kDuration));
        QTest::keyClick(&tree(), Qt::Key_F2);
    });
    EXPECT_EQ(starts, (QStringList{QStringLiteral("12.5"), QStringLiteral("1.5")}));
    EXPECT_EQ(ProgramTree::step(row(2)).ramp, (ProgramStep::Ramp{Quantity::Current, 1.5, 0.0}));
}

// Refused with a latched trip, as with no steps, no run is reported; the
// refusal goes once it no longer holds, and only then.
TEST_F(ProgramsWindowTest, AStartRefusalStaysOnlyWhileItHolds)
{
    identify();
    const auto refusal = [this] { return window.runControls().refusal(); };
    click("addStep");
    ProtectionLimits limits;
    limits.amperes = 5.0;
    watch.setLimits(limits);
    controller.onReply(kOutputOn);
    click("start");
    EXPECT_TRUE(refusal().contains(QString::fromUtf8("сбросьте её"))) << refusal().toStdString();
    click("clearTrip");
    EXPECT_TRUE(refusal().isEmpty());

    window.editor().setProgram({});
    click("start");
    EXPECT_EQ(refusal(), QString::fromUtf8("Не запущена: в программе нет шагов"));
    EXPECT_FALSE(engine.summary().has_value());
    EXPECT_TRUE(find<QLabel>("runSummary").isHidden());
    watch.clear();
    EXPECT_FALSE(refusal().isEmpty()) << "still no steps";
    click("addStep");
    EXPECT_TRUE(refusal().isEmpty());
}

TEST_F(ProgramsWindowTest, ThePlanMarksWhereTheRunStands)
{
    identify();
    Program program;
    program.body.items = {{ProgramGroup{2, {{levelStep(5.0, 1.0, 10s)}, {levelStep(6.0, 1.0, 10s)}}}}};
    window.editor().setProgram(program);
    click("start");
    clock.ahead = 23s; // the first step again, 3 s in
    engine.tick();
    EXPECT_NEAR(window.chart().runSeconds().value_or(0.0), 23.0, 0.5);
    click("stop");
    EXPECT_FALSE(window.chart().runSeconds());
}

TEST_F(ProgramsWindowTest, AChargePlanTakesNoLongerThanTheProgramsTimeLimit)
{
    const Program charge
        = *ChargeProfile::make(ChargeParameters::defaults(Chemistry::NiMH), ModelTable::find(0).value()).program;
    window.editor().setProgram(charge);
    const QString limit = StepTexts::seconds(static_cast<double>(charge.limits.time->count()));
    EXPECT_TRUE(find<QLabel>("programLimits").text().contains(QString::fromUtf8("время ≤ ") + limit));
    EXPECT_TRUE(find<QLabel>("planNote").text().contains(QString::fromUtf8("не больше ") + limit));
}

// On a laptop's 1366×768, under a title bar.
TEST_F(ProgramsWindowTest, FitsALaptopScreenAndCutsNoButtonOrTextWithoutSayingIt)
{
    window.show();
    const QSize least = window.minimumSizeHint();
    EXPECT_EQ(least.boundedTo({1366, 720}), least);
    EXPECT_LE(window.height(), std::max(least.height(), window.screen()->availableGeometry().height()));
    EndConditionsDialog conditions(std::vector<EndCondition>(1));
    conditions.show();
    const auto& remove = *conditions.findChild<QToolButton*>();
    EXPECT_GE(remove.width(), remove.sizeHint().width());

    Program program;
    program.body.items = {{levelStep(5.0, 1.0, 10s)}, {levelStep(5.0, 1.0, 10s)}};
    std::get<ProgramStep>(program.body.items[1].content).name = std::string(200, 'x');
    window.editor().setProgram(program);
    for (const int step : {0, 1}) {
        const QModelIndex name = tree().model()->index(step, ProgramTree::kName);
        QHelpEvent hover(QEvent::ToolTip, tree().visualRect(name).center(), {});
        QApplication::sendEvent(tree().viewport(), &hover);
        EXPECT_EQ(QToolTip::text(), step == 1 ? row(step).text(ProgramTree::kName) : QString()) << "only if cut";
        QToolTip::hideText();
    }
}

TEST_F(ProgramsWindowTest, TheChargeDialogStartsFromValuesTheSupplyHoldsAndSaysWhatWouldPass)
{
    for (int code = 0; code <= 6; ++code) {
        for (const ChemistryPractice& practice : ChemistryPractice::all()) {
            const ModelProfile model = ModelTable::find(code).value();
            const auto made = ChargeProfile::make(ChargeProfile::suited(practice.chemistry, model), model);
            EXPECT_TRUE(made.program) << code << ' ' << practice.key << ": " << made.refusal.toStdString();
        }
    }
    identify();
    find<QAction>("chargeAction").trigger();
    QCoreApplication::processEvents();
    const auto& dialog = *window.findChild<ChargeDialog*>();
    in<QComboBox>(dialog, "chargeChemistry").setCurrentIndex(static_cast<int>(Chemistry::NiMH));
    EXPECT_TRUE(dialog.program()) << "4 cells at 8 mV, the least this supply tells apart";
    in<QSpinBox>(dialog, "chargeDelta").setValue(5);
    EXPECT_TRUE(in<QLabel>(dialog, "chargeRefusal").text().contains(QString::fromUtf8("подойдёт −ΔV от 8 мВ/эл.")));
}
