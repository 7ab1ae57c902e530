#pragma once

#include <QString>

#include <string>

class QPlainTextEdit;
class QWidget;

// The diagnostic log pane at the top of the window, shown in diagnostic mode,
// and its copy in "Debug.txt".
class DiagnosticLog {
public:
    static constexpr int kMaxLines = 501;
    static constexpr const char* kFileName = "Debug.txt";

    explicit DiagnosticLog(QWidget* window);

    void show();
    // Drops the oldest line once the log holds more than 500.
    void appendLine(const QString& line);
    int lineCount() const;
    // The lines in cp1251, each pair separated by a single CR.
    std::string fileContent() const;
    // Failures are not reported: closing the window goes on regardless.
    bool saveTo(const std::string& path) const;

    QPlainTextEdit* control() const { return edit_; }

private:
    QPlainTextEdit* edit_;
};
