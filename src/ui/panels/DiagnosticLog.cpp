#include "panels/DiagnosticLog.h"

#include "controller/SupplyController.h"
#include "text/Cp1251.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/WindowLook.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <cstdio>
#include <memory>

DiagnosticLog::DiagnosticLog(QWidget* window)
    : QObject(window)
    , edit_(new QPlainTextEdit(window))
{
    edit_->setReadOnly(true);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setMaximumBlockCount(kMaxLines);
    edit_->setUndoRedoEnabled(false);
    WindowLook::paintReadOnlyText(edit_);
    DialogUnits::place(edit_, 1064, 8, 1, 330, 63);
    edit_->hide();
}

void DiagnosticLog::bind(SupplyController& supply) const
{
    connect(&supply, &SupplyController::logLine, this, &DiagnosticLog::appendLine);
}

void DiagnosticLog::show()
{
    edit_->show();
}

void DiagnosticLog::appendLine(const QString& line)
{
    edit_->appendPlainText(line);
    edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

int DiagnosticLog::lineCount() const
{
    return edit_->document()->isEmpty() ? 0 : edit_->document()->blockCount();
}

std::string DiagnosticLog::fileContent() const
{
    std::string content;
    for (QTextBlock block = edit_->document()->begin(); block.isValid(); block = block.next()) {
        if (block != edit_->document()->begin()) {
            content += '\r';
        }
        content += Cp1251::fromUtf8(block.text().toStdString());
    }
    return lineCount() == 0 ? std::string() : content;
}

bool DiagnosticLog::saveTo(const std::string& path) const
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        return false;
    }
    const std::string content = fileContent();
    return std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
}
