#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

// The diagnostic log pane at the top of the window, shown in diagnostic mode.
class DiagnosticLog {
public:
    static constexpr int kMaxLines = 501;

    explicit DiagnosticLog(QWidget* window);

    void show();
    void appendLine(const QString& line);
    QPlainTextEdit* control() const { return edit_; }

private:
    QPlainTextEdit* edit_;
};
