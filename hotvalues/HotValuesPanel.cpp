#include "hotvalues/HotValuesPanel.h"

#include "app/DialogUnits.h"
#include "app/WindowLook.h"

#include <QGroupBox>
#include <QListWidget>

HotValuesPanel::HotValuesPanel(QWidget* window)
{
    auto* frame = new QGroupBox(QString::fromUtf8("Быстрые значения"), window);
    frame->setAlignment(Qt::AlignHCenter);
    DialogUnits::place(frame, 0, 8, 66, 83, 124);
    frame->setObjectName(QStringLiteral("hotValuesFrame"));
    frame->lower();

    list_ = new QListWidget(window);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    WindowLook::paintList(list_);
    DialogUnits::place(list_, 1048, 14, 82, 70, 97);
    list_->setEnabled(false);
}

void HotValuesPanel::setEnabled(bool enabled)
{
    list_->setEnabled(enabled);
}

void HotValuesPanel::clear()
{
    list_->clear();
}

void HotValuesPanel::addRow(const QString& text)
{
    list_->addItem(text);
}
