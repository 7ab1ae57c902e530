#include "panels/SetpointPanel.h"

#include "supply/Conversions.h"
#include "supply/ModelProfile.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/UpDownControl.h"
#include "toolkit/WindowLook.h"

#include <QPushButton>
#include <QSignalBlocker>

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

QPushButton* makeButton(QWidget* window, const char* text, int id, int x)
{
    auto* button = new QPushButton(QString::fromUtf8(text), window);
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
    : voltageEdit_(makeSetpointEdit(window, 1016, 108))
    , voltageSpin_(makeSpin(window, 1017, 155, 12))
    , currentEdit_(makeSetpointEdit(window, 1022, 178))
    , currentSpin_(makeSpin(window, 1023, 219, 11))
    , onButton_(makeButton(window, "Включить", 1024, 127))
    , offButton_(makeButton(window, "Выключить", 1025, 172))
{
    offButton_->setEnabled(false);
    voltageSpin_->attach(voltageEdit_);
    currentSpin_->attach(currentEdit_);
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
}

void SetpointPanel::applyLimits(const ModelProfile& profile)
{
    voltageEdit_->setTypingLimit(lengthLimit(profile.voltageMax));
    currentEdit_->setTypingLimit(lengthLimit(profile.currentMax));
    voltageSpin_->setRange(tenths(profile.voltageMin), tenths(profile.voltageMax));
    currentSpin_->setRange(tenths(profile.currentMin), tenths(profile.currentMax));
}

void SetpointPanel::showOutputOn()
{
    onButton_->setEnabled(false);
    offButton_->setEnabled(true);
}

void SetpointPanel::showOutputOff()
{
    onButton_->setEnabled(true);
    offButton_->setEnabled(false);
}

void SetpointPanel::showSetpoint(bool voltage, double value)
{
    (voltage ? voltageEdit_ : currentEdit_)->setProgramText(QString::fromStdString(Conversions::oneDecimal(value)));
}

void SetpointPanel::showSetpointQuietly(bool voltage, double value)
{
    const QSignalBlocker quiet(voltage ? voltageEdit_ : currentEdit_);
    showSetpoint(voltage, value);
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

OneDecimalRule::Bounds SetpointPanel::voltageBounds(const ModelProfile& profile)
{
    return {profile.voltageMin, profile.voltageMax};
}

OneDecimalRule::Bounds SetpointPanel::currentBounds(const ModelProfile& profile)
{
    return {profile.currentMin, profile.currentMax};
}

std::optional<double> SetpointPanel::onVoltageEditChanged(int& lastChar, const ModelProfile& profile)
{
    return OneDecimalRule::onChange(*voltageEdit_, lastChar, voltageBounds(profile), {});
}

std::optional<double> SetpointPanel::onCurrentEditChanged(int& lastChar, const ModelProfile& profile)
{
    return OneDecimalRule::onChange(*currentEdit_, lastChar, currentBounds(profile), {});
}

void SetpointPanel::onVoltageSpin(int& lastChar, const ModelProfile& profile, int delta)
{
    OneDecimalRule::onStep(*voltageEdit_, lastChar, voltageBounds(profile), delta);
}

void SetpointPanel::onCurrentSpin(int& lastChar, const ModelProfile& profile, int delta)
{
    OneDecimalRule::onStep(*currentEdit_, lastChar, currentBounds(profile), delta);
}
