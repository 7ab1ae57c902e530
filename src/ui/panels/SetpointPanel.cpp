#include "panels/SetpointPanel.h"

#include "controller/SupplyController.h"
#include "panels/WindowExchange.h"
#include "supply/Conversions.h"
#include "supply/ModelProfile.h"
#include "timer/TimerRun.h"
#include "toolkit/CharacterMessages.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/UpDownControl.h"
#include "toolkit/WindowLook.h"

#include <QPushButton>
#include <QSignalBlocker>
#include <utility>

namespace {

ClassicEdit* makeSetpointEdit(QWidget* window, int id, int x)
{
    auto* edit = new ClassicEdit(window);
    edit->setText(QStringLiteral("0"));
    edit->setAlignment(Qt::AlignCenter);
    WindowLook::paintWritableEdit(edit);
    DialogUnits::place(edit, id, x, 133, 60, 13);
    edit->hide();
    return edit;
}

UpDownControl* makeSpin(QWidget* window, int id, int x, int width)
{
    auto* spin = new UpDownControl(window);
    DialogUnits::place(spin, id, x, 135, width, 13);
    spin->hide();
    return spin;
}

QPushButton* makeButton(QWidget* window, const QString& text, int id, int x)
{
    auto* button = new QPushButton(text, window);
    // Enter acts on no button of the main window.
    button->setAutoDefault(false);
    DialogUnits::place(button, id, x, 108, 45, 15);
    button->hide();
    return button;
}

// Five characters where the full scale needs three integer digits.
int lengthLimit(double fullScale)
{
    return fullScale >= 100 ? 5 : 4;
}

int tenths(double value)
{
    return static_cast<int>(value * 10);
}

} // namespace

SetpointPanel::SetpointPanel(QWidget* window)
    : QObject(window)
    , voltageEdit_(makeSetpointEdit(window, 1016, 108))
    , voltageSpin_(makeSpin(window, 1017, 155, 12))
    , currentEdit_(makeSetpointEdit(window, 1022, 178))
    , currentSpin_(makeSpin(window, 1023, 219, 11))
    , onButton_(makeButton(window, tr("Включить"), 1024, 127))
    , offButton_(makeButton(window, tr("Выключить"), 1025, 172))
    , characters_(new CharacterMessages(window, [this](int code) { lastChar_ = code; }))
{
    offButton_->setEnabled(false);
    voltageSpin_->attach(voltageEdit_);
    currentSpin_->attach(currentEdit_);
}

void SetpointPanel::bind(SupplyController& supply, TimerRun& run, WindowExchange& exchange)
{
    supply_ = &supply;
    exchange_ = &exchange;
    connectControls();
    connectSupply(run);
}

void SetpointPanel::connectControls()
{
    connect(voltageEdit_, &ClassicEdit::changed, this, [this] { onEditChanged(Quantity::Voltage); });
    connect(currentEdit_, &ClassicEdit::changed, this, [this] { onEditChanged(Quantity::Current); });
    connect(voltageSpin_, &UpDownControl::stepped, this,
        [this](int delta) { OneDecimalRule::onStep(*voltageEdit_, lastChar_, bounds(Quantity::Voltage), delta); });
    connect(currentSpin_, &UpDownControl::stepped, this,
        [this](int delta) { OneDecimalRule::onStep(*currentEdit_, lastChar_, bounds(Quantity::Current), delta); });
    connect(onButton_, &QPushButton::clicked, supply_, &SupplyController::toggleOutput);
    connect(offButton_, &QPushButton::clicked, supply_, &SupplyController::toggleOutput);
}

void SetpointPanel::connectSupply(TimerRun& run)
{
    SupplyController* supply = supply_;
    connect(supply, &SupplyController::supplyIdentified, this, [this] { applyLimits(supply_->profile()); });
    connect(supply, &SupplyController::linkLost, this, &SetpointPanel::hide);
    connect(supply, &SupplyController::controlsLive, this, &SetpointPanel::showLive);
    connect(supply, &SupplyController::outputChanged, this, &SetpointPanel::showOutput);
    connect(supply, &SupplyController::outputToggleWithdrawn, this, &SetpointPanel::showOutput);
    connect(supply, &SupplyController::outputTogglePending, this, &SetpointPanel::disableOutputButtons);
    connect(supply, &SupplyController::outputLatchChanged, this, &SetpointPanel::followOutput);
    // Under the supply's own switch nothing can be set: the controls give way
    // to the frame's text until a full status comes, with the output as it is.
    connect(supply, &SupplyController::panelSwitchReported, this, [this] {
        hide();
        hiddenBySwitch_ = true;
    });
    connect(supply, &SupplyController::measured, this, [this] {
        if (std::exchange(hiddenBySwitch_, false)) {
            showLive();
        }
    });
    connect(supply, &SupplyController::setpointChanged, this,
        [this](Quantity quantity, SupplyController::SetpointCause cause, double value) {
            // An adopted reading runs the edit's rule, as typing it would; a value set elsewhere does not.
            if (cause == SupplyController::SetpointCause::Adopted) {
                showSetpoint(quantity, value);
            } else {
                showSetpointQuietly(quantity, value);
            }
        });
    connect(&run, &TimerRun::runEnded, this, &SetpointPanel::enableEdits);
}

void SetpointPanel::onEditChanged(Quantity quantity)
{
    if (exchange_->writing() || supply_->adoptingReadings()) {
        return;
    }
    const EditHandling handling(editDepth_);
    const auto value = OneDecimalRule::onChange(*edit(quantity), lastChar_, bounds(quantity), {});
    if (value) {
        quantity == Quantity::Voltage ? supply_->setVoltage(*value) : supply_->setCurrent(*value);
        exchange_->read(editDepth_ == 1, WindowExchange::Computed{quantity, *value});
    }
}

void SetpointPanel::enterWrittenValues()
{
    lastChar_ = 1;
    onEditChanged(Quantity::Voltage);
    lastChar_ = 1;
    onEditChanged(Quantity::Current);
}

void SetpointPanel::hide()
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             voltageEdit_, voltageSpin_, currentEdit_, currentSpin_, onButton_, offButton_}) {
        control->hide();
    }
}

void SetpointPanel::showLive()
{
    for (QWidget* control : std::initializer_list<QWidget*>{voltageEdit_, voltageSpin_, currentEdit_, currentSpin_}) {
        control->show();
        control->setEnabled(true);
    }
    onButton_->show();
    offButton_->show();
    followOutput();
}

void SetpointPanel::applyLimits(const ModelProfile& profile)
{
    voltageEdit_->setTypingLimit(lengthLimit(profile.voltageMax));
    currentEdit_->setTypingLimit(lengthLimit(profile.currentMax));
    voltageSpin_->setRange(tenths(profile.voltageMin), tenths(profile.voltageMax));
    currentSpin_->setRange(tenths(profile.currentMin), tenths(profile.currentMax));
}

// "Включить" is enabled only when a click would switch the output on: not
// while a protection trip keeps it off.
void SetpointPanel::showOutput(bool on)
{
    onButton_->setEnabled(!on && !supply_->outputLatched());
    offButton_->setEnabled(on);
}

// The buttons as the supply stands, unless a toggle is still on its way.
void SetpointPanel::followOutput()
{
    if (supply_->outputHeading() == supply_->outputOn()) {
        showOutput(supply_->outputOn());
    }
}

void SetpointPanel::showSetpoint(Quantity quantity, double value)
{
    edit(quantity)->setProgramText(QString::fromStdString(Conversions::oneDecimal(value)));
}

void SetpointPanel::showSetpointQuietly(Quantity quantity, double value)
{
    const QSignalBlocker quiet(edit(quantity));
    showSetpoint(quantity, value);
}

ClassicEdit* SetpointPanel::edit(Quantity quantity) const
{
    return quantity == Quantity::Voltage ? voltageEdit_ : currentEdit_;
}

void SetpointPanel::enableEdits()
{
    for (QWidget* control : std::initializer_list<QWidget*>{voltageEdit_, voltageSpin_, currentEdit_, currentSpin_}) {
        control->setEnabled(true);
    }
}

void SetpointPanel::disableOutputButtons()
{
    onButton_->setEnabled(false);
    offButton_->setEnabled(false);
}

OneDecimalRule::Bounds SetpointPanel::bounds(Quantity quantity) const
{
    const ModelProfile& profile = supply_->profile();
    return quantity == Quantity::Voltage ? OneDecimalRule::Bounds{profile.voltageMin, profile.voltageMax}
                                         : OneDecimalRule::Bounds{profile.currentMin, profile.currentMax};
}
