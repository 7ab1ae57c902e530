#include "app/ControllerDialog.h"

#include "app/PortPermissionWatch.h"

#include "chart/ReadingsWindow.h"
#include "hotvalues/HotValuesMenu.h"
#include "hotvalues/HotValuesPanel.h"
#include "link/PortAccessAdvice.h"
#include "panels/DiagnosticLog.h"
#include "panels/SetpointPanel.h"
#include "panels/SupplyFrame.h"
#include "panels/TimerPanel.h"
#include "toolkit/CharacterMessages.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/DataExchange.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/LogoPicture.h"
#include "toolkit/MessageBox.h"
#include "toolkit/UpDownControl.h"
#include "toolkit/WindowLook.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include <iostream>

const char* const ControllerDialog::kTitle = "Tendrel Electronics - Контроллер";
const char* const ControllerDialog::kNoPortsText = "В компьютере отсутствуют COM-порты! Программа будет закрыта.";
const char* const ControllerDialog::kUnknownSupplyText = "Найден неизвестный источник питания! Обновите программу!";

ControllerDialog::ControllerDialog(SupplyStation& station)
    : QDialog(nullptr,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , station_(station)
    , controller_(station.controller())
    , portAccess_(&PortAccessAdvice::instance())
{
    Q_INIT_RESOURCE(resources);
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(WindowLook::windowIcon());
    setFont(WindowLook::dialogFont());
    setFixedSize(DialogUnits::toPixels(350, 199));
    WindowLook::paintWindow(this);

    logo_ = std::make_unique<LogoPicture>(this);
    supplyFrame_ = std::make_unique<SupplyFrame>(this);
    setpoints_ = std::make_unique<SetpointPanel>(this);
    timer_ = std::make_unique<TimerPanel>(this);
    hotValues_ = std::make_unique<HotValuesPanel>(this);
    hotMenu_ = std::make_unique<HotValuesMenu>(this, *hotValues_, controller_);
    log_ = std::make_unique<DiagnosticLog>(this);
    arrangeTabOrder();
    connectPrompts();
    connectNotifications();
    connectSupply();
    connectTimer();
    connectHotValues();
    connectReadings();
}

ControllerDialog::~ControllerDialog() = default;

void ControllerDialog::connectPrompts()
{
    connect(&controller_, &SupplyController::unknownSupplyFound, this,
        [this] { MessageBox::warn(this, QString::fromUtf8(kUnknownSupplyText)); });
    connect(&controller_, &SupplyController::settingsProblem, this,
        [this](const QString& advice) { MessageBox::warn(this, advice); });
}

void ControllerDialog::connectNotifications()
{
    characters_ = std::make_unique<CharacterMessages>(this, [this](int code) { lastChar_ = code; });
    connect(setpoints_->voltageEdit(), &ClassicEdit::changed, this, &ControllerDialog::onVoltageEditChanged);
    connect(setpoints_->currentEdit(), &ClassicEdit::changed, this, &ControllerDialog::onCurrentEditChanged);
    connect(setpoints_->voltageSpin(), &UpDownControl::stepped, this, &ControllerDialog::onVoltageSpin);
    connect(setpoints_->currentSpin(), &UpDownControl::stepped, this, &ControllerDialog::onCurrentSpin);
    connect(setpoints_->onButton(), &QPushButton::clicked, &controller_, &SupplyController::toggleOutput);
    connect(setpoints_->offButton(), &QPushButton::clicked, &controller_, &SupplyController::toggleOutput);
    connect(timer_->startButton(), &QPushButton::clicked, this, [this] { controller_.timer().startStop(true); });
    connect(timer_->continueButton(), &QPushButton::clicked, this, [this] { controller_.timer().startStop(false); });
    connect(timer_->hoursEdit(), &QLineEdit::textChanged, this, &ControllerDialog::onHoursEdited);
    connect(timer_->minutesEdit(), &QLineEdit::textChanged, this, &ControllerDialog::onMinutesEdited);
    connect(timer_->secondsEdit(), &QLineEdit::textChanged, this, &ControllerDialog::onSecondsEdited);
    connect(hotValues_->list(), &QListWidget::itemDoubleClicked, this, &ControllerDialog::applyHotValue);
}

void ControllerDialog::connectSupply()
{
    SupplyController* supply = &controller_;
    connect(supply, &SupplyController::logLine, this, [this](const QString& line) { log_->appendLine(line); });
    connect(supply, &SupplyController::supplyIdentified, this, [this](const QString& name, const QString& model) {
        setpoints_->applyLimits(controller_.profile());
        supplyFrame_->showIdentified(name, model);
    });
    connect(supply, &SupplyController::panelSwitchReported, this, [this] { supplyFrame_->showPanelSwitchMessage(); });
    connect(supply, &SupplyController::linkLost, this, [this] { showLive(false); });
    connect(supply, &SupplyController::controlsLive, this, [this] { showLive(true); });
    connect(supply, &SupplyController::outputChanged, this, &ControllerDialog::showOutput);
    connect(supply, &SupplyController::outputTogglePending, this, [this] { setpoints_->disableOutputButtons(); });
    connect(supply, &SupplyController::outputToggleWithdrawn, this,
        [this](bool on) { on ? setpoints_->showOutputOn() : setpoints_->showOutputOff(); });
    connect(supply, &SupplyController::regulationChanged, this,
        [this](bool voltage) { supplyFrame_->showRegulation(voltage); });
    connect(supply, &SupplyController::voltageAdopted, this,
        [this](double volts) { setpoints_->showSetpoint(true, volts); });
    connect(supply, &SupplyController::currentAdopted, this,
        [this](double amperes) { setpoints_->showSetpoint(false, amperes); });
    const auto showVoltage = [this](double volts) {
        setVoltage_ = volts;
        setpoints_->showSetpointQuietly(true, volts);
    };
    const auto showCurrent = [this](double amperes) {
        setCurrent_ = amperes;
        setpoints_->showSetpointQuietly(false, amperes);
    };
    connect(supply, &SupplyController::voltageCommanded, this, showVoltage);
    connect(supply, &SupplyController::currentCommanded, this, showCurrent);
    connect(supply, &SupplyController::voltageLearned, this, showVoltage);
    connect(supply, &SupplyController::currentLearned, this, showCurrent);
    connect(supply, &SupplyController::voltageRead, this, [this](double volts) {
        setVoltage_ = volts;
        supplyFrame_->showVoltage(volts);
    });
    connect(supply, &SupplyController::currentRead, this, [this](double amperes) {
        setCurrent_ = amperes;
        supplyFrame_->showCurrent(amperes);
    });
}

void ControllerDialog::connectTimer()
{
    TimerRun* run = &controller_.timer();
    connect(run, &TimerRun::startCaptionShown, this, [this](bool countdown) { timer_->showStartCaption(countdown); });
    connect(run, &TimerRun::clockShown, this, [this](const QString& text) { timer_->showClock(text.toStdString()); });
    connect(run, &TimerRun::continueEnabled, this, [this](bool enabled) { timer_->setContinueEnabled(enabled); });
    connect(run, &TimerRun::runStarted, this, [this] {
        hotValues_->setEnabled(false);
        timer_->showStopCaption();
        timer_->setPresetsEnabled(false);
    });
    connect(run, &TimerRun::runEnded, this, &ControllerDialog::showRunEnded);
}

void ControllerDialog::connectHotValues()
{
    HotValueBook* book = &controller_.hotValues();
    connect(book, &HotValueBook::replaced, this, [this](const QStringList& rows) {
        hotValues_->clear();
        for (const QString& row : rows) {
            hotValues_->addRow(row);
        }
    });
    connect(book, &HotValueBook::added, this, [this](const QString& row) { hotValues_->addRow(row); });
    connect(book, &HotValueBook::removed, this, [this](int row) { hotValues_->removeRow(row); });
    connect(book, &HotValueBook::selected, this, [this](int row) { hotValues_->selectRow(row); });
}

void ControllerDialog::connectReadings()
{
    for (QWidget* readout : {supplyFrame_->voltageReadout(), supplyFrame_->currentReadout()}) {
        readout->setToolTip(QString::fromUtf8("Правая кнопка: графики, запись в CSV, счётчики. Графики: Ctrl+G"));
        readout->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(readout, &QWidget::customContextMenuRequested, this,
            [this, readout](const QPoint& at) { readings().showQuickMenu(readout->mapToGlobal(at)); });
    }
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this), &QShortcut::activated, this,
        [this] { readings().open(); });
}

ReadingsWindow& ControllerDialog::readings()
{
    if (readings_ == nullptr) {
        readings_ = new ReadingsWindow(station_.readings(), this);
    }
    return *readings_;
}

void ControllerDialog::arrangeTabOrder()
{
    DialogUnits::chainTabOrder({setpoints_->voltageEdit(), setpoints_->currentEdit(), setpoints_->onButton(),
        timer_->hoursEdit(), timer_->minutesEdit(), timer_->secondsEdit(), timer_->startButton(), hotValues_->list(),
        setpoints_->offButton(), timer_->continueButton(), log_->control()});
}

bool ControllerDialog::initialise()
{
    if (!controller_.listPorts()) {
        MessageBox::warn(this, QString::fromUtf8(kNoPortsText));
        reject();
        return false;
    }
    permissionWatch_ = std::make_unique<PortPermissionWatch>(
        *portAccess_, controller_.portNames(), [this] { supplyFrame_->showPortsRefused(); });
    station_.start(remoteOption_, std::cerr);
    if (controller_.diagnosticsOn()) {
        logo_->hide();
        log_->show();
    }
    showRemoteClients();
    return true;
}

void ControllerDialog::showRemoteClients()
{
    if (RemoteControl* remote = station_.remote()) {
        connect(&remote->server(), &ScpiServer::clientCountChanged, this, [this](int clients) {
            const QString title = QString::fromUtf8(kTitle);
            setWindowTitle(clients > 0 ? title + QString::fromUtf8(" [удалённое управление]") : title);
        });
    }
}

void ControllerDialog::accept()
{
    // Enter never closes the window.
}

void ControllerDialog::reject()
{
    if (closing_) {
        return;
    }
    closing_ = true;
    if (controller_.diagnosticsOn()) {
        log_->saveTo(DiagnosticLog::kFileName);
    }
    station_.shutDown();
    QDialog::reject();
}

void ControllerDialog::showLive(bool live)
{
    hotValues_->setEnabled(live);
    timer_->setPresetsEnabled(live);
    if (live) {
        setpoints_->showLive();
        supplyFrame_->showControlsLive();
    } else {
        setpoints_->hide();
        supplyFrame_->showNoConnection();
    }
    timer_->setStartEnabled(live);
}

void ControllerDialog::showOutput(bool on)
{
    if (on) {
        setpoints_->showOutputOn();
        supplyFrame_->showOutputOn();
    } else {
        supplyFrame_->showOutputOff();
        setpoints_->showOutputOff();
    }
}

void ControllerDialog::showRunEnded()
{
    hotValues_->setEnabled(true);
    timer_->setPresetsEnabled(true);
    timer_->setStartEnabled(true);
    setpoints_->enableEdits();
}

void ControllerDialog::onVoltageEditChanged()
{
    onSetpointEditChanged(true);
}

void ControllerDialog::onCurrentEditChanged()
{
    onSetpointEditChanged(false);
}

void ControllerDialog::onSetpointEditChanged(bool voltage)
{
    if (exchanging_ || controller_.adoptingReadings()) {
        return;
    }
    const EditHandling handling(editDepth_);
    const ModelProfile& profile = controller_.profile();
    const auto value = voltage ? setpoints_->onVoltageEditChanged(lastChar_, profile)
                               : setpoints_->onCurrentEditChanged(lastChar_, profile);
    if (value) {
        voltage ? controller_.setVoltage(*value) : controller_.setCurrent(*value);
        updateData(editDepth_ == 1);
    }
}

void ControllerDialog::onVoltageSpin(int delta)
{
    setpoints_->onVoltageSpin(lastChar_, controller_.profile(), delta);
}

void ControllerDialog::onCurrentSpin(int delta)
{
    setpoints_->onCurrentSpin(lastChar_, controller_.profile(), delta);
}

bool ControllerDialog::updateData(bool prompt)
{
    const bool read = DataExchange::readInto(this, timer_->minutesEdit(), timerMinutes_, prompt)
        && DataExchange::readInto(this, timer_->hoursEdit(), timerHours_, prompt)
        && DataExchange::readInto(this, timer_->secondsEdit(), timerSeconds_, prompt)
        && DataExchange::readInto(this, setpoints_->voltageEdit(), setVoltage_, prompt)
        && DataExchange::readInto(this, setpoints_->currentEdit(), setCurrent_, prompt);
    controller_.timer().setPreset({timerHours_, timerMinutes_, timerSeconds_});
    return read;
}

void ControllerDialog::onHoursEdited()
{
    if (exchanging_) {
        return;
    }
    updateData(true);
    controller_.timer().refreshCaption(true);
}

void ControllerDialog::onMinutesEdited()
{
    onSecondsOrMinutesEdited(timerMinutes_);
}

void ControllerDialog::onSecondsEdited()
{
    onSecondsOrMinutesEdited(timerSeconds_);
}

void ControllerDialog::onSecondsOrMinutesEdited(std::uint8_t& field)
{
    if (exchanging_) {
        return;
    }
    updateData(true);
    if (field > 59) {
        field = 59;
        controller_.timer().setPreset({timerHours_, timerMinutes_, timerSeconds_});
        writeDataBack();
    }
    controller_.timer().refreshCaption(true);
}

// Shows the exchanged values in their fields without running any change handler.
void ControllerDialog::writeDataBack()
{
    exchanging_ = true;
    timer_->minutesEdit()->setText(QString::number(timerMinutes_));
    timer_->hoursEdit()->setText(QString::number(timerHours_));
    timer_->secondsEdit()->setText(QString::number(timerSeconds_));
    setpoints_->voltageEdit()->setProgramText(QString::number(setVoltage_, 'g', 15));
    setpoints_->currentEdit()->setProgramText(QString::number(setCurrent_, 'g', 15));
    exchanging_ = false;
}

void ControllerDialog::contextMenuEvent(QContextMenuEvent* event)
{
    showHotValuesMenu(event->globalPos());
}

void ControllerDialog::applyHotValue()
{
    const auto row = hotValues_->selectedRow();
    const auto pair = row ? controller_.hotValue(*row) : std::nullopt;
    if (!pair) {
        return;
    }
    std::tie(setVoltage_, setCurrent_) = *pair;
    writeDataBack();
    lastChar_ = 1;
    onVoltageEditChanged();
    lastChar_ = 1;
    onCurrentEditChanged();
}

void ControllerDialog::showHotValuesMenu(const QPoint& globalPosition)
{
    hotMenu_->show(globalPosition, setVoltage_, setCurrent_, [this] { applyHotValue(); });
}

void ControllerDialog::addCurrentAsHotValue()
{
    hotMenu_->addPresent(setVoltage_, setCurrent_);
}

void ControllerDialog::addHotValueByDialog()
{
    hotMenu_->addByDialog(setVoltage_, setCurrent_);
}

void ControllerDialog::deleteHotValue()
{
    hotMenu_->deleteSelected();
}
