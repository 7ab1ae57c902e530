#include "panels/SupplyFrame.h"

#include "supply/Conversions.h"

#include "toolkit/DialogUnits.h"
#include "toolkit/WindowLook.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

const char* const SupplyFrame::kNoLinkCaption = "Нет связи";
const char* const SupplyFrame::kConnectedCaption = "Соединен";
const char* const SupplyFrame::kNoFreePortText
    = "Нету свободных COM-портов! Закройте приложения использующие последовательные порты.";
const char* const SupplyFrame::kNoConnectionText
    = "Нет связи с источником питания. Убедитесь, что он включен в сеть и подключен к COM-порту компьютера.";
const char* const SupplyFrame::kPanelSwitchText
    = "Управление источником питания возможно только при выключенном состоянии тумблера On/Off.";
const char* const SupplyFrame::kPortsRefusedText
    = "Нет доступа к COM-портам! Добавьте пользователя в группу dialout "
      "(sudo\u00a0usermod\u00a0-aG\u00a0dialout\u00a0$USER) и войдите в систему заново.";

namespace {

QLabel* makeLabel(QWidget* window, const char* text, Qt::Alignment alignment, int id, QRect units)
{
    auto* label = new QLabel(QString::fromUtf8(text), window);
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
    : frame_(new QGroupBox(QString::fromUtf8(kNoLinkCaption), window))
{
    frame_->setAlignment(Qt::AlignHCenter);
    DialogUnits::place(frame_, 1000, 99, 66, 148, 124);
    frame_->lower();
    createCaptions(window);
    createReadouts(window);
    createLamps(window);
}

void SupplyFrame::createCaptions(QWidget* window)
{
    supplyCaption_ = makeLabel(window, "Источник питания", Qt::AlignLeft, 1005, {103, 78, 65, 9});
    supplyName_ = makeLabel(window, "Name", Qt::AlignRight, 1004, {178, 78, 65, 9});
    modelCaption_ = makeLabel(window, "Модель", Qt::AlignLeft, 1006, {103, 89, 65, 9});
    modelName_ = makeLabel(window, "Model", Qt::AlignRight, 1007, {178, 89, 65, 9});
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
    message_ = makeLabel(window, kNoFreePortText, Qt::AlignHCenter, 1031, {108, 118, 132, 46});
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    message_->show();
    regulationCaption_ = makeLabel(window, "Стабилизация", Qt::AlignHCenter, 1035, {148, 172, 50, 9});
    letterI_ = makeLamp(window, ":/res/letter_i.png", 1060, 221);
    letterU_ = makeLamp(window, ":/res/letter_u.png", 1059, 112);
}

void SupplyFrame::showNoConnection()
{
    frame_->setTitle(QString::fromUtf8(kNoLinkCaption));
    for (QWidget* control : {supplyName_, modelName_, supplyCaption_, modelCaption_}) {
        control->hide();
    }
    voltageReadout_->clear();
    currentReadout_->clear();
    for (QWidget* control : std::initializer_list<QWidget*>{voltageReadout_, currentReadout_, voltageLampOff_,
             currentLampOff_, voltageLampLit_, currentLampLit_, regulationCaption_, letterU_, letterI_}) {
        control->hide();
    }
    showMessage(kNoConnectionText);
}

void SupplyFrame::showIdentified(const QString& supplyName, const QString& modelName)
{
    frame_->setTitle(QString::fromUtf8(kConnectedCaption));
    supplyName_->setText(supplyName);
    modelName_->setText(modelName);
    for (QWidget* control : {supplyName_, modelName_, supplyCaption_, modelCaption_}) {
        control->show();
    }
    message_->hide();
}

void SupplyFrame::showPanelSwitchMessage()
{
    showMessage(kPanelSwitchText);
}

void SupplyFrame::showPortsRefused()
{
    showMessage(kPortsRefusedText);
}

void SupplyFrame::showControlsLive()
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             voltageReadout_, currentReadout_, voltageLampOff_, currentLampOff_, regulationCaption_}) {
        control->show();
    }
    message_->hide();
    letterU_->show();
    letterI_->show();
}

void SupplyFrame::showOutputOn()
{
    voltageLampLit_->show();
}

void SupplyFrame::showOutputOff()
{
    voltageLampLit_->hide();
    currentLampLit_->hide();
}

void SupplyFrame::showRegulation(bool voltage)
{
    voltageLampLit_->setVisible(voltage);
    currentLampLit_->setVisible(!voltage);
}

void SupplyFrame::showVoltage(double volts)
{
    voltageReadout_->setText(QString::fromStdString(Conversions::voltageText(volts)));
}

void SupplyFrame::showCurrent(double amperes)
{
    currentReadout_->setText(QString::fromStdString(Conversions::currentText(amperes)));
}

void SupplyFrame::showMessage(const char* text)
{
    message_->setText(QString::fromUtf8(text));
    message_->show();
}
