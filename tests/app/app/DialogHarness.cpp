#include "DialogHarness.h"

#include "link/PortList.h"
#include "settings/SettingsFile.h"

#include <QDir>

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <cstdlib>
#include <fstream>
#include <iterator>

MessageBoxWatcher::MessageBoxWatcher()
    : texts_(std::make_shared<QStringList>())
    , answer_(std::make_shared<QMessageBox::StandardButton>(QMessageBox::Ok))
    , timer_(std::make_unique<QTimer>())
{
    timer_->setInterval(5);
    QObject::connect(timer_.get(), &QTimer::timeout, [texts = texts_, answer = answer_] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts->append(box->text());
            QAbstractButton* chosen = box->button(*answer);
            (chosen != nullptr ? chosen : box->defaultButton())->click();
        }
    });
    timer_->start();
}

DialogHarness::DialogHarness(const std::vector<std::string>& ports)
    : DialogHarness(ports, Options{})
{
}

DialogHarness::DialogHarness(const std::vector<std::string>& ports, Options options)
    : DialogHarness(ports, std::move(options), Steps{})
{
}

DialogHarness::DialogHarness(const std::vector<std::string>& ports, Options options,
    const std::function<void(const std::string& settingsPath)>& beforeStart)
    : DialogHarness(ports, std::move(options), Steps{beforeStart, {}})
{
}

DialogHarness::DialogHarness(
    const std::vector<std::string>& ports, Options options, const std::function<void(ControllerDialog&)>& prepare)
    : DialogHarness(ports, std::move(options), Steps{{}, prepare})
{
}

DialogHarness::DialogHarness(const std::vector<std::string>& ports, Options options, const Steps& steps)
    : previousDirectory_(QDir::currentPath())
{
    std::string list;
    for (const std::string& port : ports) {
        list += port + ":";
    }
    ::setenv(PortList::kOverrideVariable, list.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", directory_.path().toLocal8Bit().constData(), 1);
    QDir::setCurrent(directory_.path());
    if (options.settingsBytes) {
        std::ofstream(SettingsFile::defaultPath(), std::ios::binary) << *options.settingsBytes;
    }
    if (steps.beforeStart) {
        steps.beforeStart(SettingsFile::defaultPath());
    }
    // Made once the environment names the configuration directory.
    station_ = std::make_unique<SupplyStation>(std::move(options.portFactory), options.timing);
    dialog_ = std::make_unique<ControllerDialog>(*station_);
    if (steps.prepare) {
        steps.prepare(*dialog_);
    }
    initialised_ = dialog_->initialise();
}

DialogHarness::~DialogHarness()
{
    dialog_->reject();
    dialog_.reset();
    ::unsetenv(PortList::kOverrideVariable);
    QDir::setCurrent(previousDirectory_);
}

std::string DialogHarness::settingsBytes() const
{
    return fileBytes(station_->settings().path());
}

std::string DialogHarness::fileBytes(const std::string& name) const
{
    const std::string path
        = name.front() == '/' ? name : directory_.filePath(QString::fromStdString(name)).toStdString();
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

QString DialogHarness::text(int id)
{
    QWidget* w = widget(id);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        return edit->text();
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        return button->text();
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        return box->title();
    }
    return {};
}

bool DialogHarness::waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeout.count()) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

std::vector<std::string> missingPorts()
{
    return {"/nonexistent/tendrel-port"};
}
