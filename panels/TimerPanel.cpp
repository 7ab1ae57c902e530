#include "panels/TimerPanel.h"

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

QPushButton* makeButton(QWidget* window, const char* text, int id, int y)
{
    auto* button = new QPushButton(QString::fromUtf8(text), window);
    // Enter acts on no button of the main window.
    button->setAutoDefault(false);
    DialogUnits::place(button, id, 261, y, 71, 15);
    return button;
}

} // namespace

TimerPanel::TimerPanel(QWidget* window)
    : hours_(makePresetEdit(window, 1040, 273))
    , minutes_(makePresetEdit(window, 1041, 289))
    , seconds_(makePresetEdit(window, 1042, 305))
{
    auto* frame = new QGroupBox(QString::fromUtf8("Таймер/Секундомер"), window);
    frame->setAlignment(Qt::AlignHCenter);
    DialogUnits::place(frame, 0, 255, 66, 83, 124);
    frame->setObjectName(QStringLiteral("timerFrame"));
    frame->lower();

    auto* units = new QLabel(QString::fromUtf8("ч   :  м  :   с"), window);
    units->setAlignment(Qt::AlignCenter);
    DialogUnits::place(units, 1046, 273, 98, 46, 10);

    start_ = makeButton(window, "Вкл. секундомер", 1044, 110);

    clock_ = new QLabel(QStringLiteral("00:00:00"), window);
    clock_->setTextFormat(Qt::PlainText);
    clock_->setAlignment(Qt::AlignCenter);
    clock_->setFont(WindowLook::clockFont());
    DialogUnits::place(clock_, 1045, 261, 153, 69, 25);

    continue_ = makeButton(window, "Продолжить", 1047, 128);
    continue_->setEnabled(false);
}

void TimerPanel::setPresetsEnabled(bool enabled)
{
    for (QLineEdit* edit : {hours_, minutes_, seconds_}) {
        edit->setEnabled(enabled);
    }
}

void TimerPanel::setStartEnabled(bool enabled)
{
    start_->setEnabled(enabled);
}

void TimerPanel::setContinueEnabled(bool enabled)
{
    continue_->setEnabled(enabled);
}

void TimerPanel::showStartCaption(bool countdown)
{
    start_->setText(QString::fromUtf8(countdown ? "Вкл. таймер" : "Вкл. секундомер"));
}

void TimerPanel::showStopCaption()
{
    start_->setText(QString::fromUtf8("Остановить"));
}

void TimerPanel::showClock(const std::string& text)
{
    clock_->setText(QString::fromStdString(text));
}
