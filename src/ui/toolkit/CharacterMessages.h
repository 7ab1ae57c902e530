#pragma once

#include <QObject>

#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

// Sees every key press meant for one window, before the control it is meant
// for, and reports the character code it stands for: printable characters in
// cp1251, Backspace 8, Ctrl with a letter 1 to 26.
// Keys that make no character (Tab, Enter, Esc, Delete, arrows, Home, End,
// Shift, function keys) report nothing.
class CharacterMessages final : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(int code)>;

    CharacterMessages(QWidget* window, Handler handler);
    ~CharacterMessages() override;

    static std::optional<int> codeOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isForWindow(QObject* receiver) const;

    QWidget* window_;
    Handler handler_;
};
