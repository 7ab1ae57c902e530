#pragma once

#include "link/Reply.h"

#include <QEvent>

// Posted by the link worker to its link after every poll.
class LinkReplyEvent final : public QEvent {
public:
    static const QEvent::Type kType;

    explicit LinkReplyEvent(const Reply& reply);
    const Reply& reply() const { return reply_; }

private:
    Reply reply_;
};
