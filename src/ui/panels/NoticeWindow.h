#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QTimer;

// Problems that would otherwise reach only standard error, which a window
// started from the desktop has nowhere to show: the options refused at start
// and the services that could not start or lost their server. Not modal, and
// it stays until closed; a line repeated at once is not listed again.
class NoticeWindow final : public QDialog {
    Q_OBJECT

public:
    explicit NoticeWindow(QWidget* parent);

    // Lists the line, then shows and raises the window.
    void add(const QString& line);

private:
    QPlainTextEdit* lines_;
    QTimer* comingUp_;
    QString last_;
};
