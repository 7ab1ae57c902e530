#include "app/PortPermissionWatch.h"

#include "link/PortAccessAdvice.h"
#include "link/QtSerialPort.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

QEvent::Type checkEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace

PortPermissionWatch::PortPermissionWatch(
    PortAccessAdvice& advice, const std::vector<std::string>& portNames, AllRefused allRefused)
    : advice_(advice)
    , allRefused_(std::move(allRefused))
{
    for (const std::string& name : portNames) {
        devicePaths_.push_back(QtSerialPort::devicePath(name));
    }
    advice_.setListener([this] { QCoreApplication::postEvent(this, new QEvent(checkEvent())); });
}

PortPermissionWatch::~PortPermissionWatch()
{
    advice_.setListener({});
}

bool PortPermissionWatch::event(QEvent* event)
{
    if (event->type() != checkEvent()) {
        return QObject::event(event);
    }
    if (!told_ && advice_.refusedAll(devicePaths_)) {
        told_ = true;
        allRefused_(advice_.missing(devicePaths_));
    }
    return true;
}
