#include "panels/NoticeWindow.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

NoticeWindow::NoticeWindow(QWidget* parent)
    : QDialog(parent)
    , lines_(new QPlainTextEdit(this))
    , comingUp_(new QTimer(this))
{
    // Once the event loop runs, so that it comes up over the main window shown at its start.
    comingUp_->setSingleShot(true);
    comingUp_->setInterval(0);
    connect(comingUp_, &QTimer::timeout, this, [this] {
        show();
        raise();
        activateWindow();
    });
    setWindowTitle(tr("Сообщения"));
    setModal(false);
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines_);
    layout->addWidget(buttons);
    resize(560, 220);
}

void NoticeWindow::add(const QString& line)
{
    if (line != last_) {
        last_ = line;
        lines_->appendPlainText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss  ")) + line);
    }
    comingUp_->start();
}
