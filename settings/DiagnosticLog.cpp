#include "settings/DiagnosticLog.h"

#include "app/DialogUnits.h"
#include "app/WindowLook.h"

#include <QPlainTextEdit>
#include <QScrollBar>

DiagnosticLog::DiagnosticLog(QWidget* window)
    : edit_(new QPlainTextEdit(window))
{
    edit_->setReadOnly(true);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setMaximumBlockCount(kMaxLines);
    WindowLook::paintReadOnlyText(edit_);
    DialogUnits::place(edit_, 1064, 8, 1, 330, 63);
    edit_->hide();
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
