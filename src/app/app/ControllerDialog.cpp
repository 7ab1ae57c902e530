#include "app/ControllerDialog.h"

#include "app/PortPermissionWatch.h"

#include "chart/ReadingsWindow.h"
#include "hotvalues/HotValuesMenu.h"
#include "hotvalues/HotValuesPanel.h"
#include "link/PortAccessAdvice.h"
#include "panels/DiagnosticLog.h"
#include "panels/NoticeWindow.h"
#include "panels/SetpointPanel.h"
#include "panels/SupplyFrame.h"
#include "panels/TimerPanel.h"
#include "panels/TripBanner.h"
#include "panels/WindowExchange.h"
#include "programs/ProgramsWindow.h"
#include "remote/RemoteControl.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/LogoPicture.h"
#include "toolkit/MessageBox.h"
#include "toolkit/WindowLook.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("ControllerDialog", text);
}

} // namespace

const char* const ControllerDialog::kTitle = QT_TRANSLATE_NOOP("ControllerDialog", "Tendrel Electronics - Контроллер");
const char* const ControllerDialog::kNoPortsText
    = QT_TRANSLATE_NOOP("ControllerDialog", "В компьютере отсутствуют COM-порты! Программа будет закрыта.");
const char* const ControllerDialog::kUnknownSupplyText
    = QT_TRANSLATE_NOOP("ControllerDialog", "Найден неизвестный источник питания! Обновите программу!");

ControllerDialog::ControllerDialog(SupplyStation& station)
    : QDialog(nullptr,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , station_(station)
    , controller_(station.controller())
    , portAccess_(&PortAccessAdvice::instance())
{
    Q_INIT_RESOURCE(resources);
    setWindowTitle(translated(kTitle));
    setWindowIcon(WindowLook::windowIcon());
    setFont(WindowLook::dialogFont());
    setFixedSize(DialogUnits::toPixels(350, 199));
    WindowLook::paintWindow(this);
    composeAreas();
    arrangeTabOrder();
    connectPrompts();
    connectReadings();
}

ControllerDialog::~ControllerDialog() = default;

void ControllerDialog::composeAreas()
{
    logo_ = std::make_unique<LogoPicture>(this);
    supplyFrame_ = new SupplyFrame(this);
    setpoints_ = new SetpointPanel(this);
    timer_ = new TimerPanel(this);
    hotValues_ = new HotValuesPanel(this);
    log_ = new DiagnosticLog(this);
    exchange_ = new WindowExchange(this, *setpoints_, *timer_, controller_, station_.timer());
    hotMenu_ = new HotValuesMenu(this, {*hotValues_, *setpoints_, *exchange_}, controller_, station_.settings());
    log_->bind(controller_);
    hotValues_->bind(controller_, station_.settings().hotValues(), station_.timer());
    timer_->bind(controller_, station_.timer(), *exchange_);
    setpoints_->bind(controller_, station_.timer(), *exchange_);
    supplyFrame_->bind(controller_);
    tripBanner_ = new TripBanner(this);
    tripBanner_->bind(station_.protection());
}

void ControllerDialog::connectPrompts()
{
    connect(&controller_, &SupplyController::unknownSupplyFound, this,
        [this] { MessageBox::warn(this, translated(kUnknownSupplyText)); });
    connect(&station_.settings(), &StationSettings::settingsProblem, this,
        [this](const QString& advice) { MessageBox::warn(this, advice); });
}

void ControllerDialog::connectReadings()
{
    for (QWidget* readout : {supplyFrame_->voltageReadout(), supplyFrame_->currentReadout()}) {
        readout->setToolTip(
            tr("Правая кнопка: графики, запись в CSV, счётчики, программы. Графики: Ctrl+G, программы: Ctrl+P"));
        readout->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(readout, &QWidget::customContextMenuRequested, this,
            [this, readout](const QPoint& at) { showQuickMenu(readout->mapToGlobal(at)); });
    }
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this), &QShortcut::activated, this,
        [this] { readings().open(); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this), &QShortcut::activated, this,
        [this] { programs().open(); });
}

void ControllerDialog::showQuickMenu(const QPoint& globalPosition)
{
    QMenu menu;
    readings().fillQuickMenu(menu);
    menu.addSeparator();
    menu.addAction(tr("Программы…"), this, [this] { programs().open(); });
    menu.exec(globalPosition);
}

ProgramsWindow& ControllerDialog::programs()
{
    if (programs_ == nullptr) {
        programs_ = new ProgramsWindow(controller_, station_.programs(), station_.protection(), this);
    }
    return *programs_;
}

ReadingsWindow& ControllerDialog::readings()
{
    if (readings_ == nullptr) {
        readings_ = new ReadingsWindow(station_.readings(), this);
    }
    return *readings_;
}

NoticeWindow& ControllerDialog::notices()
{
    if (notices_ == nullptr) {
        notices_ = new NoticeWindow(this);
    }
    return *notices_;
}

void ControllerDialog::arrangeTabOrder()
{
    DialogUnits::chainTabOrder({setpoints_->voltageEdit(), setpoints_->currentEdit(), setpoints_->onButton(),
        timer_->hoursEdit(), timer_->minutesEdit(), timer_->secondsEdit(), timer_->startButton(), hotValues_->list(),
        setpoints_->offButton(), timer_->continueButton(), log_->control()});
}

bool ControllerDialog::initialise()
{
    if (!station_.settings().listPorts()) {
        MessageBox::warn(this, translated(kNoPortsText));
        reject();
        return false;
    }
    permissionWatch_ = std::make_unique<PortPermissionWatch>(
        *portAccess_, station_.settings().portNames(), [this](const std::vector<std::string>& missing) {
            if (missing.empty()) {
                supplyFrame_->showPortsRefused();
            } else {
                supplyFrame_->showPortsMissing(missing);
            }
        });
    station_.start();
    if (controller_.diagnosticsOn()) {
        logo_->hide();
        log_->show();
    }
    return true;
}

void ControllerDialog::namePortInTitle()
{
    portInTitle_ = true;
    // A hunting link names its port once the supply answers on it.
    connect(&controller_, &SupplyController::supplyIdentified, this, [this] { showTitle(); });
    showTitle();
}

void ControllerDialog::showRemoteClients(RemoteControl* remote)
{
    if (remote != nullptr) {
        connect(&remote->server(), &ScpiServer::clientCountChanged, this, [this](int clients) {
            remoteClients_ = clients;
            showTitle();
        });
    }
}

void ControllerDialog::showTitle()
{
    QString title = translated(kTitle);
    if (portInTitle_) {
        title += QStringLiteral(" — %1").arg(QString::fromStdString(station_.portName()));
    }
    setWindowTitle(remoteClients_ > 0 ? title + tr(" [удалённое управление]") : title);
}

void ControllerDialog::accept()
{
    // Enter never closes the window.
}

void ControllerDialog::reject()
{
    if (closing_ || !mayClose()) {
        return;
    }
    closing_ = true;
    if (controller_.diagnosticsOn()) {
        log_->saveTo(DiagnosticLog::kFileName);
    }
    station_.shutDown();
    QDialog::reject();
}

// Yes stops the run with the output off; No closes with the output left as
// it is, the shut-down ending the run and its recording; Cancel keeps the window.
bool ControllerDialog::mayClose()
{
    if (!station_.programs().active()) {
        return true;
    }
    const auto answer
        = QMessageBox::question(this, translated(kTitle), tr("Выполняется программа. Остановить её и выключить выход?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel) {
        return false;
    }
    if (answer == QMessageBox::Yes) {
        station_.stopProgram();
    }
    return true;
}

void ControllerDialog::contextMenuEvent(QContextMenuEvent* event)
{
    hotMenu_->show(event->globalPos());
}
