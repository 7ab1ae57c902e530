#include "app/UpDownControl.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
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
    connect(up_, &QToolButton::clicked, this, [this] { emit stepped(direction()); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-direction()); });
}

void UpDownControl::setRange(int lower, int upper)
{
    lower_ = lower;
    upper_ = upper;
}
