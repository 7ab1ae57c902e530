#pragma once

#include <QEvent>

// Posted by the link worker to the supply controller after every poll.
class LinkReplyEvent final : public QEvent {
public:
    static const QEvent::Type kType;

    LinkReplyEvent();
};
