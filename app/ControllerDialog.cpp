#include "app/ControllerDialog.h"

#include "app/CharacterMessages.h"
#include "app/ClassicEdit.h"
#include "app/DataExchange.h"
#include "app/DialogUnits.h"
#include "app/LinkReplyEvent.h"
#include "app/LogoPicture.h"
#include "app/MessageBox.h"
#include "app/PortPermissionWatch.h"
#include "app/UpDownControl.h"
#include "app/WindowLook.h"
#include "hotvalues/AddValuesDialog.h"
#include "hotvalues/HotValueMath.h"
#include "hotvalues/HotValuesPanel.h"
#include "link/EventRegistry.h"
#include "link/PortAccessAdvice.h"
#include "link/PortChooser.h"
#include "link/PortList.h"
#include "link/QtSerialPort.h"
#include "settings/DiagnosticLog.h"
#include "supply/Conversions.h"
#include "supply/ModelTable.h"
#include "supply/ReplyKind.h"
#include "supply/SetpointPanel.h"
#include "supply/SupplyFrame.h"
#include "timer/TimerPanel.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

const char* const ControllerDialog::kTitle = "Tendrel Electronics - Контроллер";
const char* const ControllerDialog::kNoPortsText = "В компьютере отсутствуют COM-порты! Программа будет закрыта.";
const char* const ControllerDialog::kUnknownSupplyText = "Найден неизвестный источник питания! Обновите программу!";

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ControllerDialog::ControllerDialog(LinkState& state, SerialPortFactory portFactory, LinkTiming timing)
    : QDialog(nullptr,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , state_(state)
    , settings_(SettingsFile(SettingsFile::defaultPath()))
    , link_(
          state, portFactory ? std::move(portFactory) : QtSerialPort::factory(),
          [this] { QCoreApplication::postEvent(this, new LinkReplyEvent); }, timing)
    , startEvent_(EventRegistry::obtain(LinkEvents::kStart, true))
    , transmitEvent_(EventRegistry::obtain(LinkEvents::kTransmit, false))
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
    log_ = std::make_unique<DiagnosticLog>(this);
    arrangeTabOrder();
    connectNotifications();
}

void ControllerDialog::connectNotifications()
{
    characters_ = std::make_unique<CharacterMessages>(this, [this](int code) { lastChar_ = code; });
    connect(setpoints_->voltageEdit(), &ClassicEdit::changed, this, &ControllerDialog::onVoltageEditChanged);
    connect(setpoints_->currentEdit(), &ClassicEdit::changed, this, &ControllerDialog::onCurrentEditChanged);
    connect(setpoints_->voltageSpin(), &UpDownControl::stepped, this, &ControllerDialog::onVoltageSpin);
    connect(setpoints_->currentSpin(), &UpDownControl::stepped, this, &ControllerDialog::onCurrentSpin);
    connect(setpoints_->onButton(), &QPushButton::clicked, this, &ControllerDialog::onOutputButton);
    connect(setpoints_->offButton(), &QPushButton::clicked, this, &ControllerDialog::onOutputButton);
    connect(timer_->startButton(), &QPushButton::clicked, this, [this] { startStopTimer(true); });
    connect(timer_->continueButton(), &QPushButton::clicked, this, [this] { startStopTimer(false); });
    connect(timer_->hoursEdit(), &QLineEdit::textChanged, this, &ControllerDialog::onHoursEdited);
    connect(timer_->minutesEdit(), &QLineEdit::textChanged, this, &ControllerDialog::onMinutesEdited);
    connect(timer_->secondsEdit(), &QLineEdit::textChanged, this, &ControllerDialog::onSecondsEdited);
    connect(hotValues_->list(), &QListWidget::itemDoubleClicked, this, &ControllerDialog::applyHotValue);
    clockTimer_.setInterval(1000);
    connect(&clockTimer_, &QTimer::timeout, this, &ControllerDialog::onTimerTick);
}

ControllerDialog::~ControllerDialog() = default;

void ControllerDialog::arrangeTabOrder()
{
    const std::initializer_list<QWidget*> order{setpoints_->voltageEdit(), setpoints_->currentEdit(),
        setpoints_->onButton(), timer_->hoursEdit(), timer_->minutesEdit(), timer_->secondsEdit(),
        timer_->startButton(), hotValues_->list(), setpoints_->offButton(), timer_->continueButton(), log_->control()};
    QWidget* previous = nullptr;
    for (QWidget* control : order) {
        if (previous != nullptr) {
            setTabOrder(previous, control);
        }
        previous = control;
    }
}

bool ControllerDialog::initialise()
{
    timerRunning_ = false;
    state_.portNames = portForThisRun_.empty() ? PortList::build() : std::vector{portForThisRun_};
    if (state_.portCount() < 1) {
        MessageBox::warn(this, QString::fromUtf8(kNoPortsText));
        closeMainWindow();
        return false;
    }
    if (!settings_.hasPortSetting()) {
        writeDefaultSettings();
    }
    loadSettings(true);
    if (diagnosticsOn_) {
        logo_->hide();
        log_->show();
    }
    state_.setVoltageRaw.store(0);
    state_.setCurrentRaw.store(0);
    state_.voltagePending.store(0);
    state_.currentPending.store(0);
    startLink();
    profile_.voltageMax = profile_.currentMax = profile_.voltageMin = profile_.currentMin = 0.0;
    return true;
}

void ControllerDialog::usePortForThisRun(const std::string& device)
{
    portForThisRun_ = device;
}

void ControllerDialog::startLink()
{
    watchPortAccess();
    link_.start();
}

void ControllerDialog::watchPortAccess()
{
    PortAccessAdvice& advice = portAccess_ != nullptr ? *portAccess_ : PortAccessAdvice::instance();
    permissionWatch_
        = std::make_unique<PortPermissionWatch>(advice, state_.portNames, [this] { supplyFrame_->showPortsRefused(); });
}

void ControllerDialog::writeDefaultSettings()
{
    settings_.writeDefaults();
}

void ControllerDialog::loadSettings(bool startup)
{
    hotValues_->clear();
    hotVoltageRaw_.clear();
    hotCurrentRaw_.clear();
    const ControllerSettings::Loaded loaded = settings_.load();
    diagnosticsOn_ = loaded.diagnosticsOn;
    if (startup) {
        choosePort(loaded);
    }
    showHotValues(loaded.hotValues);
}

void ControllerDialog::choosePort(const ControllerSettings::Loaded& loaded)
{
    fileUsePort_ = loaded.usePort;
    fileLastPort_ = loaded.lastPort;
    const std::string& wanted = portForThisRun_.empty() ? loaded.usePort : portForThisRun_;
    const PortChooser::Choice choice = PortChooser::choose(state_.portNames, wanted, loaded.lastPort);
    usePort_ = choice.usePort;
    lastPort_ = choice.lastPort;
    if (diagnosticsOn_) {
        log_->appendLine(fromUtf8(PortChooser::summary(choice)));
    }
}

void ControllerDialog::showHotValues(const std::vector<ControllerSettings::HotPair>& pairs)
{
    for (const ControllerSettings::HotPair& pair : pairs) {
        hotVoltageRaw_.push_back(pair.voltage.thousandths);
        hotCurrentRaw_.push_back(pair.current.thousandths);
        hotValues_->addRow(fromUtf8(Conversions::hotValueRow(pair.voltage.value, pair.current.value)));
    }
}

// Saving hands the pairs over to the file: the lists are reloaded from it at
// the next identification.
void ControllerDialog::saveSettings()
{
    const bool ownPorts = portForThisRun_.empty();
    settings_.save({ownPorts ? usePort_ : fileUsePort_, ownPorts ? lastPort_ : fileLastPort_, hotVoltageRaw_,
        hotCurrentRaw_, profile_.voltageMax, profile_.currentMax});
    hotVoltageRaw_.clear();
    hotCurrentRaw_.clear();
}

void ControllerDialog::accept()
{
    // Enter never closes the window.
}

void ControllerDialog::reject()
{
    closeMainWindow();
}

void ControllerDialog::closeMainWindow()
{
    if (closing_) {
        return;
    }
    closing_ = true;
    if (diagnosticsOn_) {
        log_->saveTo(DiagnosticLog::kFileName);
    }
    if (state_.identified.load() != 0) {
        saveSettings();
    }
    closeEvent_ = EventRegistry::obtain(LinkEvents::kClose, false);
    state_.dropPort.store(1);
    state_.stopLink.store(1);
    closeEvent_->set();
    transmitEvent_->set();
    // Unlike a bare pause, waiting for the worker guarantees that it has
    // closed the port and no longer touches this window.
    link_.finish(LinkThread::kFinishTimeout);
    QDialog::reject();
}

bool ControllerDialog::event(QEvent* event)
{
    if (event->type() == LinkReplyEvent::kType) {
        onLinkReply();
        return true;
    }
    return QDialog::event(event);
}

void ControllerDialog::onLinkReply()
{
    if (closing_) {
        state_.replyValues.clear();
        return;
    }
    logReply();
    switch (classifyReply(state_.replyValues)) {
    case ReplyKind::StatusOnly:
        handleStatusOnly(state_.replyValues.front());
        break;
    case ReplyKind::NoAnswer:
        handleNoAnswer();
        break;
    case ReplyKind::FullStatus:
        handleFullStatus();
        break;
    case ReplyKind::Incomplete:
        break;
    }
    handBackTurn();
}

void ControllerDialog::logReply()
{
    if (!diagnosticsOn_ || state_.replyValues.empty()) {
        return;
    }
    const char* linkText = state_.identified.load() != 0 ? "подключен" : "НЕ подкл.";
    QString line = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"))
        + QString::fromUtf8(" - [%1] - принятые данные от блока: ").arg(QString::fromUtf8(linkText));
    for (const std::int32_t value : state_.replyValues) {
        line += QString::number(value) + QLatin1Char(' ');
    }
    log_->appendLine(line);
}

void ControllerDialog::handleStatusOnly(std::int32_t status)
{
    lastPort_ = state_.currentPortName();
    state_.missCount.store(0);
    if (state_.identified.load() == 0 && identifySupply(status)) {
        supplyFrame_->showPanelSwitchMessage();
        state_.identified.store(1);
    }
}

void ControllerDialog::handleNoAnswer()
{
    if (timerRunning_) {
        refreshTimerCaption(false);
        stopClock();
    }
    state_.lastVoltageRaw.store(-1);
    state_.lastCurrentRaw.store(-1);
    hotValues_->setEnabled(false);
    timer_->setPresetsEnabled(false);
    timer_->setStartEnabled(false);
    setpoints_->hide();
    supplyFrame_->showNoConnection();
    state_.controlsLive.store(0);
    if (state_.identified.load() != 0) {
        saveSettings();
    }
    state_.identified.store(0);
    if (timerRunning_) {
        state_.outputOn.store(0);
    }
    state_.adoptReadings.store(1);
    state_.pollByte.store(100);
    if (state_.missCount.fetch_add(1) + 1 == 2) {
        state_.missCount.store(0);
        state_.dropPort.store(1);
    }
}

void ControllerDialog::handleFullStatus()
{
    const std::int32_t status = state_.replyValues[0];
    state_.missCount.store(0);
    lastPort_ = state_.currentPortName();
    const int code = statusModelCode(status);
    if (state_.identified.load() == 0 && identifySupply(code)) {
        state_.identified.store(1);
    }
    if (state_.controlsLive.load() == 0) {
        goLive();
        if (timerRunning_) {
            timerRunning_ = false;
            startStopTimer(false);
        }
    }
    if (code != state_.modelCode.load()) {
        return;
    }
    followOutputState(status);
    showVoltageReading(followRegulation(state_.replyValues[1]));
    showCurrentReading(state_.replyValues[2]);
    state_.adoptReadings.store(0);
}

void ControllerDialog::goLive()
{
    state_.controlsLive.store(1);
    hotValues_->setEnabled(true);
    timer_->setPresetsEnabled(true);
    setpoints_->showLive();
    supplyFrame_->showControlsLive();
    timer_->setStartEnabled(true);
}

void ControllerDialog::followOutputState(std::int32_t status)
{
    const bool reportedOn = statusOutputOn(status);
    if (!reportedOn && state_.outputOn.load() != 0) {
        state_.outputOn.store(0);
        supplyFrame_->showOutputOff();
        setpoints_->showOutputOff();
    } else if (reportedOn && state_.outputOn.load() == 0) {
        state_.outputOn.store(1);
        setpoints_->showOutputOn();
        supplyFrame_->showOutputOn();
    }
}

std::int32_t ControllerDialog::followRegulation(std::int32_t voltageWord)
{
    const bool outputOn = state_.outputOn.load() != 0;
    if (voltageWord >= 1024) {
        if (outputOn) {
            supplyFrame_->showRegulation(true);
        }
        return voltageWord - 1024;
    }
    if (outputOn) {
        supplyFrame_->showRegulation(false);
    }
    return voltageWord;
}

void ControllerDialog::showVoltageReading(std::int32_t raw)
{
    if (raw == state_.lastVoltageRaw.load()) {
        return;
    }
    state_.lastVoltageRaw.store(raw);
    setVoltage_ = Conversions::readingToValue(raw, profile_.voltageMax);
    if (state_.adoptReadings.load() != 0) {
        state_.setVoltageRaw.store(raw);
        setpoints_->setVoltageText(fromUtf8(Conversions::oneDecimal(setVoltage_)));
    }
    supplyFrame_->showVoltage(fromUtf8(Conversions::voltageText(setVoltage_)));
}

void ControllerDialog::showCurrentReading(std::int32_t raw)
{
    if (raw == state_.lastCurrentRaw.load()) {
        return;
    }
    state_.lastCurrentRaw.store(raw);
    setCurrent_ = Conversions::readingToValue(raw, profile_.currentMax);
    if (state_.adoptReadings.load() != 0) {
        state_.setCurrentRaw.store(raw);
        setpoints_->setCurrentText(fromUtf8(Conversions::oneDecimal(setCurrent_)));
    }
    supplyFrame_->showCurrent(fromUtf8(Conversions::currentText(setCurrent_)));
}

void ControllerDialog::handBackTurn()
{
    state_.replyValues.clear();
    state_.replyValues.shrink_to_fit();
    startEvent_->set();
}

void ControllerDialog::onVoltageEditChanged()
{
    if (exchanging_ || state_.adoptReadings.load() != 0) {
        return;
    }
    const EditHandling handling(editDepth_);
    if (const auto raw = setpoints_->onVoltageEditChanged(lastChar_, profile_)) {
        queueVoltage(*raw);
        updateData(editDepth_ == 1);
    }
}

void ControllerDialog::onCurrentEditChanged()
{
    if (exchanging_ || state_.adoptReadings.load() != 0) {
        return;
    }
    const EditHandling handling(editDepth_);
    if (const auto raw = setpoints_->onCurrentEditChanged(lastChar_, profile_)) {
        queueCurrent(*raw);
        updateData(editDepth_ == 1);
    }
}

void ControllerDialog::onVoltageSpin(int delta)
{
    setpoints_->onVoltageSpin(lastChar_, profile_, delta);
}

void ControllerDialog::onCurrentSpin(int delta)
{
    setpoints_->onCurrentSpin(lastChar_, profile_, delta);
}

void ControllerDialog::onOutputButton()
{
    state_.toggleOutput.store(1);
    setpoints_->disableOutputButtons();
    state_.voltagePending.store(1);
    transmitEvent_->set();
}

void ControllerDialog::queueVoltage(std::int32_t raw)
{
    state_.setVoltageRaw.store(raw);
    state_.voltagePending.store(1);
    transmitEvent_->set();
}

void ControllerDialog::queueCurrent(std::int32_t raw)
{
    state_.setCurrentRaw.store(raw);
    state_.currentPending.store(1);
    transmitEvent_->set();
}

bool ControllerDialog::updateData(bool prompt)
{
    struct ByteField {
        QLineEdit* edit;
        std::uint8_t* member;
    };
    for (const ByteField field : {ByteField{timer_->minutesEdit(), &timerMinutes_},
             ByteField{timer_->hoursEdit(), &timerHours_}, ByteField{timer_->secondsEdit(), &timerSeconds_}}) {
        const auto value = DataExchange::readByte(field.edit->text());
        if (!value) {
            if (prompt) {
                DataExchange::refuse(this, field.edit, DataExchange::kBytePrompt);
            }
            return false;
        }
        *field.member = *value;
    }
    struct DoubleField {
        QLineEdit* edit;
        double* member;
    };
    for (const DoubleField field :
        {DoubleField{setpoints_->voltageEdit(), &setVoltage_}, DoubleField{setpoints_->currentEdit(), &setCurrent_}}) {
        const auto value = DataExchange::readDouble(field.edit->text());
        if (!value) {
            if (prompt) {
                DataExchange::refuse(this, field.edit, DataExchange::kNumberPrompt);
            }
            return false;
        }
        *field.member = *value;
    }
    return true;
}

TimerClock::Preset ControllerDialog::preset() const
{
    return {timerHours_, timerMinutes_, timerSeconds_};
}

void ControllerDialog::refreshTimerCaption(bool reset)
{
    timer_->showStartCaption(!preset().isZero());
    if (reset) {
        clock_.reset();
        timer_->setContinueEnabled(false);
        timer_->showClock(TimerClock::format(timerHours_, timerMinutes_, timerSeconds_));
    }
}

void ControllerDialog::startStopTimer(bool restart)
{
    if (timerRunning_) {
        timerRunning_ = false;
        refreshTimerCaption(false);
        if (state_.outputOn.load() != 0) {
            onOutputButton();
        }
        stopClock();
        timer_->setContinueEnabled(true);
        enableAfterRun();
        return;
    }
    timer_->setContinueEnabled(false);
    timerRunning_ = true;
    refreshTimerCaption(restart);
    hotValues_->setEnabled(false);
    timer_->showStopCaption();
    timer_->setPresetsEnabled(false);
    if (clock_.count() == 0) {
        clock_.start(preset());
        timer_->showClock(TimerClock::format(timerHours_, timerMinutes_, timerSeconds_));
    }
    if (state_.outputOn.load() == 0) {
        onOutputButton();
    }
    startClock();
}

void ControllerDialog::onTimerTick()
{
    const bool expired = clock_.tick();
    timer_->showClock(TimerClock::formatCount(clock_.count()));
    if (!expired) {
        return;
    }
    timerRunning_ = false;
    refreshTimerCaption(false);
    if (state_.outputOn.load() != 0) {
        onOutputButton();
    }
    stopClock();
    enableAfterRun();
}

void ControllerDialog::startClock()
{
    clockTimer_.start();
}

void ControllerDialog::stopClock()
{
    clockTimer_.stop();
}

void ControllerDialog::enableAfterRun()
{
    hotValues_->setEnabled(true);
    timer_->setPresetsEnabled(true);
    timer_->setStartEnabled(true);
    setpoints_->enableEdits();
}

void ControllerDialog::onHoursEdited()
{
    if (exchanging_) {
        return;
    }
    updateData(true);
    refreshTimerCaption(true);
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
        writeDataBack();
    }
    refreshTimerCaption(true);
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

// Until a supply is identified the stored pairs are not in its units: the
// list then stays inert.
void ControllerDialog::applyHotValue()
{
    const auto row = hotValues_->selectedRow();
    if (!row || state_.identified.load() == 0 || static_cast<std::size_t>(*row) >= hotVoltageRaw_.size()) {
        return;
    }
    const auto index = static_cast<std::size_t>(*row);
    setVoltage_ = HotValueMath::storedToValue(hotVoltageRaw_[index], profile_.voltageMax);
    setCurrent_ = HotValueMath::storedToValue(hotCurrentRaw_[index], profile_.currentMax);
    writeDataBack();
    lastChar_ = 1;
    onVoltageEditChanged();
    lastChar_ = 1;
    onCurrentEditChanged();
}

bool ControllerDialog::rowIsCurrent(int row) const
{
    const auto index = static_cast<std::size_t>(row);
    return index < hotVoltageRaw_.size()
        && hotVoltageRaw_[index] == Conversions::valueToRaw(setVoltage_, profile_.voltageMax)
        && hotCurrentRaw_[index] == Conversions::valueToRaw(setCurrent_, profile_.currentMax);
}

void ControllerDialog::showHotValuesMenu(const QPoint& globalPosition)
{
    if (!hotValues_->isEnabled() || state_.identified.load() == 0 || !hotValues_->containsGlobal(globalPosition)) {
        return;
    }
    const auto row = hotValues_->selectRowAtGlobal(globalPosition);
    if (!row) {
        hotValues_->clearSelection();
    }
    QMenu* menu = hotValues_->prepareMenu(row.has_value(), row && rowIsCurrent(*row));
    runHotValuesCommand(menu->exec(globalPosition));
}

void ControllerDialog::runHotValuesCommand(const QAction* chosen)
{
    switch (HotValuesPanel::commandOf(chosen).value_or(HotValuesPanel::Command{})) {
    case HotValuesPanel::SetAsCurrent:
        applyHotValue();
        break;
    case HotValuesPanel::AddValue:
        addHotValueByDialog();
        break;
    case HotValuesPanel::AddCurrent:
        addCurrentAsHotValue();
        break;
    case HotValuesPanel::Delete:
        deleteHotValue();
        break;
    }
}

void ControllerDialog::addCurrentAsHotValue()
{
    if (state_.identified.load() != 0) {
        addHotValue(setVoltage_, setCurrent_);
    }
}

void ControllerDialog::addHotValueByDialog()
{
    if (state_.identified.load() == 0) {
        return;
    }
    const AddValuesDialog::Limits limits{
        profile_.voltageMax, profile_.currentMax, profile_.voltageMin, profile_.currentMin};
    AddValuesDialog dialog(this, limits, setVoltage_, setCurrent_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (state_.identified.load() == 0) {
        // The link went while the dialog was open and the list has been saved
        // already: the pair goes straight to the file, so it is not lost.
        settings_.appendPair(dialog.voltage(), dialog.current());
        return;
    }
    addHotValue(dialog.voltage(), dialog.current());
}

void ControllerDialog::addHotValue(double volts, double amperes)
{
    const std::int32_t voltage = Conversions::valueToRaw(volts, profile_.voltageMax);
    const std::int32_t current = Conversions::valueToRaw(amperes, profile_.currentMax);
    if (const auto existing = HotValueMath::lastRowWith(hotVoltageRaw_, hotCurrentRaw_, voltage, current)) {
        hotValues_->selectRow(static_cast<int>(*existing));
        return;
    }
    hotVoltageRaw_.push_back(voltage);
    hotCurrentRaw_.push_back(current);
    hotValues_->addRow(fromUtf8(Conversions::hotValueRow(volts, amperes)));
}

void ControllerDialog::deleteHotValue()
{
    const auto row = hotValues_->selectedRow();
    if (!row || static_cast<std::size_t>(*row) >= hotVoltageRaw_.size()) {
        return;
    }
    const auto offset = static_cast<std::ptrdiff_t>(*row);
    hotValues_->removeRow(*row);
    hotVoltageRaw_.erase(hotVoltageRaw_.begin() + offset);
    hotCurrentRaw_.erase(hotCurrentRaw_.begin() + offset);
}

bool ControllerDialog::identifySupply(std::int32_t code)
{
    const auto row = ModelTable::find(code);
    if (!row) {
        return false;
    }
    if (ModelTable::isFallback(code)) {
        MessageBox::warn(this, QString::fromUtf8(kUnknownSupplyText));
    }
    profile_ = *row;
    state_.modelCode.store(code);
    loadSettings(false);
    for (std::size_t i = 0; i < hotVoltageRaw_.size(); ++i) {
        hotVoltageRaw_[i] = Conversions::truncateToInt32(hotVoltageRaw_[i] / profile_.voltageMax);
        hotCurrentRaw_[i] = Conversions::truncateToInt32(hotCurrentRaw_[i] / profile_.currentMax);
    }
    setpoints_->applyLimits(profile_);
    supplyFrame_->showIdentified(fromUtf8(profile_.supplyName), fromUtf8(profile_.modelName));
    return true;
}
