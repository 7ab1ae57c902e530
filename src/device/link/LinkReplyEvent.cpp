#include "link/LinkReplyEvent.h"

const QEvent::Type LinkReplyEvent::kType = static_cast<QEvent::Type>(QEvent::registerEventType(QEvent::User + 100));

LinkReplyEvent::LinkReplyEvent(const Reply& reply)
    : QEvent(kType)
    , reply_(reply)
{
}
