#pragma once

class QString;
class QWidget;

// The program's one kind of message: a modal warning with an OK button.
class MessageBox {
public:
    static void warn(QWidget* parent, const QString& text);
};
