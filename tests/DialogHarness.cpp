#include "DialogHarness.h"

#include "link/PortList.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <cstdlib>

MessageBoxWatcher::MessageBoxWatcher()
    : texts_(std::make_shared<QStringList>())
    , timer_(std::make_unique<QTimer>())
{
    timer_->setInterval(5);
    QObject::connect(timer_.get(), &QTimer::timeout, [texts = texts_] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts->append(box->text());
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer_->start();
}

DialogHarness::DialogHarness(const std::vector<std::string>& ports, SerialPortFactory portFactory, LinkTiming timing)
{
    std::string list;
    for (const std::string& port : ports) {
        list += port + ":";
    }
    ::setenv(PortList::kOverrideVariable, list.c_str(), 1);
    dialog_ = std::make_unique<ControllerDialog>(state_, std::move(portFactory), timing);
    initialised_ = dialog_->initialise();
}

DialogHarness::~DialogHarness()
{
    dialog_->reject();
    dialog_.reset();
    ::unsetenv(PortList::kOverrideVariable);
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

void DialogHarness::reply(const std::vector<std::int32_t>& values)
{
    state_.replyValues = values;
    dialog_->onLinkReply();
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
