#include "controller/LinkReplyEvent.h"

const QEvent::Type LinkReplyEvent::kType = static_cast<QEvent::Type>(QEvent::registerEventType(QEvent::User + 100));

LinkReplyEvent::LinkReplyEvent()
    : QEvent(kType)
{
}
