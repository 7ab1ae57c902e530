#include "panels/TimerPanel.h"

#include "controller/SupplyController.h"
#include "panels/WindowExchange.h"
#include "timer/TimerRun.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/WindowLook.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

QLineEdit* makePresetEdit(QWidget* window, int id, int x)
{
    auto* edit = new QLineEdit(QStringLiteral("0"), window);
    edit->setAlignment(Qt::AlignCenter);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setEnabled(false);
    edit->setMaxLength(3); // as many digits as the field shows
    edit->setTextMargins(0, 0, 0, 0);
    WindowLook::paintWritableEdit(edit);
    DialogUnits::place(edit, id, x, 86, 14, 12);
    return edit;
}

QPushButton* makeButton(QWidget* window, const QString& text, int id, int y)
{
    auto* button = new QPushButton(text, window);
    // Enter acts on no button of the main window.
    button->setAutoDefault(false);
    DialogUnits::place(button, id, 261, y, 71, 15);
    return button;
}

} // namespace

TimerPanel::TimerPanel(QWidget* window)
    : QObject(window)
    , hours_(makePresetEdit(window, 1040, 273))
    , minutes_(makePresetEdit(window, 1041, 289))
    , seconds_(makePresetEdit(window, 1042, 305))
{
    auto* frame = new QGroupBox(tr("Таймер/Секундомер"), window);
    frame->setAlignment(Qt::AlignHCenter);
    DialogUnits::place(frame, 0, 255, 66, 83, 124);
    frame->setObjectName(QStringLiteral("timerFrame"));
    frame->lower();

    auto* units = new QLabel(tr("ч   :  м  :   с"), window);
    units->setAlignment(Qt::AlignCenter);
    DialogUnits::place(units, 1046, 273, 98, 46, 10);

    start_ = makeButton(window, tr("Вкл. секундомер"), 1044, 110);

    clock_ = new QLabel(QStringLiteral("00:00:00"), window);
    clock_->setTextFormat(Qt::PlainText);
    clock_->setAlignment(Qt::AlignCenter);
    clock_->setFont(WindowLook::clockFont());
    DialogUnits::place(clock_, 1045, 261, 153, 69, 25);

    continue_ = makeButton(window, tr("Продолжить"), 1047, 128);
    continue_->setEnabled(false);
}

void TimerPanel::bind(SupplyController& supply, TimerRun& run, WindowExchange& exchange)
{
    supply_ = &supply;
    run_ = &run;
    exchange_ = &exchange;
    connectControls();
    connectRun();
}

void TimerPanel::connectControls()
{
    connect(start_, &QPushButton::clicked, run_, [this] { run_->startStop(true); });
    connect(continue_, &QPushButton::clicked, run_, [this] { run_->startStop(false); });
    connect(hours_, &QLineEdit::textChanged, this, &TimerPanel::onHoursEdited);
    connect(
        minutes_, &QLineEdit::textChanged, this, [this] { onMinutesOrSecondsEdited(&TimerClock::Preset::minutes); });
    connect(
        seconds_, &QLineEdit::textChanged, this, [this] { onMinutesOrSecondsEdited(&TimerClock::Preset::seconds); });
}

void TimerPanel::connectRun()
{
    connect(supply_, &SupplyController::linkLost, this, [this] { showLive(false); });
    connect(supply_, &SupplyController::controlsLive, this, [this] { showLive(true); });
    connect(run_, &TimerRun::startCaptionShown, this, &TimerPanel::showStartCaption);
    connect(run_, &TimerRun::clockShown, clock_, &QLabel::setText);
    connect(run_, &TimerRun::continueEnabled, continue_, &QPushButton::setEnabled);
    connect(run_, &TimerRun::runStarted, this, [this] {
        start_->setText(tr("Остановить"));
        setPresetsEnabled(false);
    });
    connect(run_, &TimerRun::runEnded, this, [this] { showLive(true); });
    connect(supply_, &SupplyController::outputLatchChanged, this, &TimerPanel::followLatch);
}

void TimerPanel::onHoursEdited()
{
    if (exchange_->writing()) {
        return;
    }
    exchange_->read(true);
    run_->refreshCaption(true);
}

void TimerPanel::onMinutesOrSecondsEdited(std::uint8_t TimerClock::Preset::*field)
{
    if (exchange_->writing()) {
        return;
    }
    exchange_->read(true);
    TimerClock::Preset preset = run_->preset();
    if (preset.*field > 59) {
        preset.*field = 59;
        run_->setPreset(preset);
        exchange_->write();
    }
    run_->refreshCaption(true);
}

void TimerPanel::showLive(bool live)
{
    setPresetsEnabled(live);
    start_->setEnabled(live && !supply_->outputLatched());
}

// A run cannot start while a protection trip keeps the output off; a running
// one can still be stopped.
void TimerPanel::followLatch()
{
    if (!run_->running() && supply_->live()) {
        start_->setEnabled(!supply_->outputLatched());
    }
}

void TimerPanel::setPresetsEnabled(bool enabled)
{
    for (QLineEdit* edit : {hours_, minutes_, seconds_}) {
        edit->setEnabled(enabled);
    }
}

void TimerPanel::showStartCaption(bool countdown)
{
    start_->setText(countdown ? tr("Вкл. таймер") : tr("Вкл. секундомер"));
}
