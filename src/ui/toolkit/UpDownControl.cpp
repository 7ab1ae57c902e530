#include "toolkit/UpDownControl.h"

#include "toolkit/ClassicEdit.h"

#include <QEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(100);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

} // namespace

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent)
    , up_(makeArrow(this, Qt::UpArrow))
    , down_(makeArrow(this, Qt::DownArrow))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    up_->installEventFilter(this);
    down_->installEventFilter(this);
    // Like the arrows it stands for, a step comes with the press, and again
    // with each repeat while the arrow is held.
    connect(up_, &QToolButton::pressed, this, [this] { arrowClicked(1); });
    connect(down_, &QToolButton::pressed, this, [this] { arrowClicked(-1); });
}

void UpDownControl::attach(ClassicEdit* buddy)
{
    // Like arrows with an automatic buddy, they make room for themselves: the
    // edit ends where they begin instead of running under them.
    const QRect edit = buddy->geometry();
    const int left = geometry().left();
    if (left > edit.left() && left <= edit.right()) {
        buddy->setGeometry(edit.left(), edit.top(), left - edit.left(), edit.height());
    }
    connect(buddy, &ClassicEdit::stepKey, this, [this](int sign) { emit stepped(sign * direction()); });
}

void UpDownControl::setRange(int lower, int upper)
{
    lower_ = lower;
    upper_ = upper;
}

int UpDownControl::acceleratedStep(qint64 heldMs)
{
    if (heldMs >= 5000) {
        return 20;
    }
    return heldMs >= 2000 ? 5 : 1;
}

// Auto-repeat presses and releases the arrow again and again; only the mouse
// tells how long it has really been held.
bool UpDownControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        held_.start();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        held_.invalidate();
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownControl::arrowClicked(int sign)
{
    const qint64 heldMs = held_.isValid() ? held_.elapsed() : 0;
    emit stepped(sign * direction() * acceleratedStep(heldMs));
}
