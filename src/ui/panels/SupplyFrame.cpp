#include "panels/SupplyFrame.h"

#include "controller/SupplyController.h"
#include "supply/Conversions.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/WindowLook.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

const char* const SupplyFrame::kNoLinkCaption = QT_TRANSLATE_NOOP("SupplyFrame", "Нет связи");
const char* const SupplyFrame::kConnectedCaption = QT_TRANSLATE_NOOP("SupplyFrame", "Соединен");
const char* const SupplyFrame::kNoFreePortText = QT_TRANSLATE_NOOP(
    "SupplyFrame", "Нету свободных COM-портов! Закройте приложения использующие последовательные порты.");
const char* const SupplyFrame::kNoConnectionText = QT_TRANSLATE_NOOP("SupplyFrame",
    "Нет связи с источником питания. Убедитесь, что он включен в сеть и подключен к COM-порту компьютера.");
const char* const SupplyFrame::kPanelSwitchText = QT_TRANSLATE_NOOP(
    "SupplyFrame", "Управление источником питания возможно только при выключенном состоянии тумблера On/Off.");
const char* const SupplyFrame::kPortsRefusedText = QT_TRANSLATE_NOOP("SupplyFrame",
    "Нет доступа к COM-портам! Добавьте пользователя в группу dialout "
    "(sudo\u00a0usermod\u00a0-aG\u00a0dialout\u00a0$USER) и войдите в систему заново.");

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("SupplyFrame", text);
}

QLabel* makeLabel(QWidget* window, const QString& text, Qt::Alignment alignment, int id, QRect units)
{
    auto* label = new QLabel(text, window);
    label->setAlignment(alignment | Qt::AlignVCenter);
    DialogUnits::place(label, id, units.x(), units.y(), units.width(), units.height());
    label->hide();
    return label;
}

QLineEdit* makeReadout(QWidget* window, int id, int x)
{
    auto* readout = new QLineEdit(window);
    readout->setReadOnly(true);
    readout->setAlignment(Qt::AlignCenter);
    readout->setFocusPolicy(Qt::NoFocus);
    readout->setFont(WindowLook::readoutFont());
    WindowLook::paintReadout(readout);
    DialogUnits::place(readout, id, x, 149, 60, 18);
    readout->hide();
    return readout;
}

QLabel* makeLamp(QWidget* window, const char* resource, int id, int x)
{
    QLabel* picture = WindowLook::makePicture(window, resource);
    DialogUnits::placePicture(picture, id, x, 170);
    picture->hide();
    return picture;
}

} // namespace

SupplyFrame::SupplyFrame(QWidget* window)
    : QObject(window)
    , frame_(new QGroupBox(translated(kNoLinkCaption), window))
{
    frame_->setAlignment(Qt::AlignHCenter);
    DialogUnits::place(frame_, 1000, 99, 66, 148, 124);
    frame_->lower();
    createCaptions(window);
    createReadouts(window);
    createLamps(window);
}

void SupplyFrame::bind(SupplyController& supply)
{
    connect(&supply, &SupplyController::supplyIdentified, this, &SupplyFrame::showIdentified);
    connect(&supply, &SupplyController::panelSwitchReported, this, &SupplyFrame::showPanelSwitch);
    connect(&supply, &SupplyController::measured, this, [this] {
        if (panelSwitchShown_) {
            showControlsLive();
        }
    });
    connect(&supply, &SupplyController::linkLost, this, &SupplyFrame::showNoConnection);
    connect(&supply, &SupplyController::controlsLive, this, &SupplyFrame::showControlsLive);
    connect(&supply, &SupplyController::outputChanged, this, &SupplyFrame::showOutput);
    connect(&supply, &SupplyController::regulationChanged, this, &SupplyFrame::showRegulation);
    connect(&supply, &SupplyController::readingChanged, this, [this](Quantity quantity, double value) {
        if (quantity == Quantity::Voltage) {
            voltageReadout_->setText(QString::fromStdString(Conversions::voltageText(value)));
        } else {
            currentReadout_->setText(QString::fromStdString(Conversions::currentText(value)));
        }
    });
}

void SupplyFrame::createCaptions(QWidget* window)
{
    supplyCaption_ = makeLabel(window, tr("Источник питания"), Qt::AlignLeft, 1005, {103, 78, 65, 9});
    supplyName_ = makeLabel(window, QStringLiteral("Name"), Qt::AlignRight, 1004, {178, 78, 65, 9});
    modelCaption_ = makeLabel(window, tr("Модель"), Qt::AlignLeft, 1006, {103, 89, 65, 9});
    modelName_ = makeLabel(window, QStringLiteral("Model"), Qt::AlignRight, 1007, {178, 89, 65, 9});
}

void SupplyFrame::createReadouts(QWidget* window)
{
    voltageReadout_ = makeReadout(window, 1020, 108);
    currentReadout_ = makeReadout(window, 1021, 178);
}

void SupplyFrame::createLamps(QWidget* window)
{
    voltageLampOff_ = makeLamp(window, ":/res/lamp_off.png", 1027, 128);
    voltageLampLit_ = makeLamp(window, ":/res/lamp_green.png", 1028, 128);
    currentLampOff_ = makeLamp(window, ":/res/lamp_off.png", 1029, 205);
    currentLampLit_ = makeLamp(window, ":/res/lamp_orange.png", 1030, 205);
    message_ = makeLabel(window, translated(kNoFreePortText), Qt::AlignHCenter, 1031, {108, 118, 132, 46});
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    message_->show();
    regulationCaption_ = makeLabel(window, tr("Стабилизация"), Qt::AlignHCenter, 1035, {148, 172, 50, 9});
    letterI_ = makeLamp(window, ":/res/letter_i.png", 1060, 221);
    letterU_ = makeLamp(window, ":/res/letter_u.png", 1059, 112);
}

void SupplyFrame::showNoConnection()
{
    frame_->setTitle(translated(kNoLinkCaption));
    for (QWidget* control : {supplyName_, modelName_, supplyCaption_, modelCaption_}) {
        control->hide();
    }
    voltageReadout_->clear();
    currentReadout_->clear();
    hideReadings();
    showMessage(kNoConnectionText);
}

void SupplyFrame::showIdentified(const QString& supplyName, const QString& modelName)
{
    frame_->setTitle(translated(kConnectedCaption));
    supplyName_->setText(supplyName);
    modelName_->setText(modelName);
    for (QWidget* control : {supplyName_, modelName_, supplyCaption_, modelCaption_}) {
        control->show();
    }
    message_->hide();
}

void SupplyFrame::showPortsRefused()
{
    showMessage(kPortsRefusedText);
}

void SupplyFrame::showPortsMissing(const std::vector<std::string>& devices)
{
    QStringList names;
    for (const std::string& device : devices) {
        names << QString::fromStdString(device);
    }
    message_->setText(translated(kNoFreePortText) + '\n'
        + tr("Устройство %1 не существует; программа ждёт его появления.").arg(names.join(QStringLiteral(", "))));
    message_->show();
}

void SupplyFrame::hideReadings()
{
    for (QWidget* control : std::initializer_list<QWidget*>{voltageReadout_, currentReadout_, voltageLampOff_,
             currentLampOff_, voltageLampLit_, currentLampLit_, regulationCaption_, letterU_, letterI_}) {
        control->hide();
    }
}

// The readings stop while the switch is on: its text takes their place.
void SupplyFrame::showPanelSwitch()
{
    hideReadings();
    showMessage(kPanelSwitchText);
    panelSwitchShown_ = true;
}

void SupplyFrame::showControlsLive()
{
    panelSwitchShown_ = false;
    for (QWidget* control : std::initializer_list<QWidget*>{
             voltageReadout_, currentReadout_, voltageLampOff_, currentLampOff_, regulationCaption_}) {
        control->show();
    }
    message_->hide();
    letterU_->show();
    letterI_->show();
}

void SupplyFrame::showOutput(bool on)
{
    if (on) {
        voltageLampLit_->show();
    } else {
        voltageLampLit_->hide();
        currentLampLit_->hide();
    }
}

void SupplyFrame::showRegulation(bool voltageRegulated)
{
    voltageLampLit_->setVisible(voltageRegulated);
    currentLampLit_->setVisible(!voltageRegulated);
}

void SupplyFrame::showMessage(const char* text)
{
    message_->setText(translated(text));
    message_->show();
}
