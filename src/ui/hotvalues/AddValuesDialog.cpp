#include "hotvalues/AddValuesDialog.h"

#include "supply/Conversions.h"
#include "toolkit/CharacterMessages.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/DataExchange.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/UpDownControl.h"
#include "toolkit/WindowLook.h"

#include <QLabel>
#include <QPushButton>

const char* const AddValuesDialog::kTitle = QT_TRANSLATE_NOOP("AddValuesDialog", "Добавление значений");

namespace {

QString oneDecimal(double value)
{
    return QString::fromStdString(Conversions::oneDecimal(value));
}

int lengthLimit(double fullScale)
{
    return fullScale < 100 ? 4 : 5;
}

} // namespace

AddValuesDialog::AddValuesDialog(QWidget* owner, Limits limits, double voltage, double current)
    : QDialog(owner,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
    , limits_(limits)
    , voltage_(voltage)
    , current_(current)
{
    setWindowTitle(tr(kTitle));
    setFont(WindowLook::dialogFont());
    setFixedSize(DialogUnits::toPixels(142, 71));
    createControls();
    connectNotifications();
    initialise();
}

AddValuesDialog::~AddValuesDialog() = default;

void AddValuesDialog::createControls()
{
    add_ = new QPushButton(tr("Добавить"), this);
    DialogUnits::place(add_, 1, 14, 44, 50, 14);
    add_->setDefault(true);
    cancel_ = new QPushButton(tr("Отмена"), this);
    DialogUnits::place(cancel_, 2, 78, 44, 50, 14);
    voltageEdit_ = new ClassicEdit(this);
    voltageEdit_->setAlignment(Qt::AlignCenter);
    DialogUnits::place(voltageEdit_, 1054, 17, 17, 52, 14);
    voltageArrows_ = new UpDownControl(this);
    DialogUnits::place(voltageArrows_, 1055, 61, 17, 12, 13);
    currentEdit_ = new ClassicEdit(this);
    currentEdit_->setAlignment(Qt::AlignCenter);
    DialogUnits::place(currentEdit_, 1056, 71, 17, 52, 14);
    currentArrows_ = new UpDownControl(this);
    DialogUnits::place(currentArrows_, 1057, 115, 18, 11, 13);
    auto* volts = new QLabel(tr("Вольт"), this);
    DialogUnits::place(volts, 0, 27, 7, 30, 9);
    auto* amperes = new QLabel(tr("Ампер"), this);
    DialogUnits::place(amperes, 0, 81, 7, 26, 9);
    voltageArrows_->attach(voltageEdit_);
    currentArrows_->attach(currentEdit_);
    setTabOrder(add_, cancel_);
    setTabOrder(cancel_, voltageEdit_);
    setTabOrder(voltageEdit_, currentEdit_);
}

void AddValuesDialog::connectNotifications()
{
    characters_ = std::make_unique<CharacterMessages>(this, [this](int code) { lastChar_ = code; });
    connect(voltageEdit_, &ClassicEdit::changed, this, &AddValuesDialog::onVoltageTextChanged);
    connect(currentEdit_, &ClassicEdit::changed, this, &AddValuesDialog::onCurrentTextChanged);
    connect(currentArrows_, &UpDownControl::stepped, this, &AddValuesDialog::onCurrentArrow);
    connect(voltageArrows_, &UpDownControl::stepped, this, &AddValuesDialog::onVoltageArrow);
    connect(add_, &QPushButton::clicked, this, &AddValuesDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &AddValuesDialog::reject);
}

void AddValuesDialog::initialise()
{
    voltageEdit_->setProgramText(QString::number(voltage_, 'g', 15));
    currentEdit_->setProgramText(QString::number(current_, 'g', 15));
    voltageArrows_->setRange(static_cast<int>(limits_.voltageMin), static_cast<int>(limits_.voltageMax));
    currentArrows_->setRange(static_cast<int>(limits_.currentMin), static_cast<int>(limits_.currentMax));
    ready_ = true;
    voltageEdit_->setTypingLimit(lengthLimit(limits_.voltageMax));
    currentEdit_->setTypingLimit(lengthLimit(limits_.currentMax));
    currentEdit_->setProgramText(oneDecimal(current_));
    voltageEdit_->setProgramText(oneDecimal(voltage_));
    add_->setFocus();
}

void AddValuesDialog::onVoltageTextChanged()
{
    if (ready_) {
        OneDecimalRule::onChange(*voltageEdit_, lastChar_, voltageBounds(), {OneDecimalRule::Window::AddValues});
    }
}

void AddValuesDialog::onCurrentTextChanged()
{
    if (ready_) {
        OneDecimalRule::onChange(*currentEdit_, lastChar_, currentBounds(), {OneDecimalRule::Window::AddValues, true});
    }
}

void AddValuesDialog::onVoltageArrow(int delta)
{
    OneDecimalRule::onStep(*voltageEdit_, lastChar_, voltageBounds(), delta);
}

void AddValuesDialog::onCurrentArrow(int delta)
{
    OneDecimalRule::onStep(*currentEdit_, lastChar_, currentBounds(), delta);
}

void AddValuesDialog::accept()
{
    const auto voltage = DataExchange::readDouble(voltageEdit_->text());
    if (!voltage) {
        DataExchange::refuse(this, voltageEdit_, DataExchange::kNumberPrompt);
        return;
    }
    voltage_ = *voltage;
    const auto current = DataExchange::readDouble(currentEdit_->text());
    if (!current) {
        DataExchange::refuse(this, currentEdit_, DataExchange::kNumberPrompt);
        return;
    }
    current_ = *current;
    QDialog::accept();
}
