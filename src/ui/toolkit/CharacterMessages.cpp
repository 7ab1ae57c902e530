#include "toolkit/CharacterMessages.h"

#include "text/Cp1251.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

CharacterMessages::CharacterMessages(QWidget* window, Handler handler)
    : QObject(window)
    , window_(window)
    , handler_(std::move(handler))
{
    qApp->installEventFilter(this);
}

CharacterMessages::~CharacterMessages()
{
    qApp->removeEventFilter(this);
}

std::optional<int> CharacterMessages::codeOf(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers.testFlag(Qt::AltModifier)) {
        return std::nullopt;
    }
    const int key = event.key();
    if (modifiers.testFlag(Qt::ControlModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) {
            return key - Qt::Key_A + 1;
        }
        return std::nullopt;
    }
    // Tab, Enter and Esc are the dialog's own keys and never become characters.
    if (key == Qt::Key_Backspace) {
        return 8;
    }
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint()) {
        return std::nullopt;
    }
    const std::string byte = Cp1251::fromUtf8(QString(text.front()).toStdString());
    return static_cast<unsigned char>(byte.front());
}

bool CharacterMessages::isForWindow(QObject* receiver) const
{
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (widget == nullptr || widget->window() != window_) {
        return false;
    }
    // A key the receiver ignores travels on to its parents: count it once.
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? widget == focus : widget == window_;
}

bool CharacterMessages::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isForWindow(watched)) {
        if (const auto code = codeOf(*static_cast<QKeyEvent*>(event))) {
            handler_(*code);
        }
    }
    return false;
}
