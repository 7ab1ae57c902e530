#pragma once

#include <QObject>
#include <QString>

#include <string>

class QPlainTextEdit;
class QWidget;
class SupplyController;

// The diagnostic log pane at the top of the window, shown in diagnostic mode,
// and its copy in "Debug.txt". It shows the controller's log lines.
class DiagnosticLog final : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 501;
    static constexpr const char* kFileName = "Debug.txt";

    explicit DiagnosticLog(QWidget* window);

    void bind(SupplyController& supply) const;

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
