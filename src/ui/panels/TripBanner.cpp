#include "panels/TripBanner.h"

#include "engine/ProtectionWatch.h"
#include "toolkit/DialogUnits.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

TripBanner::TripBanner(QWidget* window)
    : QObject(window)
    , frame_(new QFrame(window))
    , text_(new QLabel(frame_))
    , clear_(new QPushButton(tr("Сбросить защиту"), frame_))
{
    QPalette alarm = frame_->palette();
    alarm.setColor(QPalette::Window, QColor(0xb3, 0x26, 0x1e));
    alarm.setColor(QPalette::WindowText, Qt::white);
    frame_->setPalette(alarm);
    frame_->setAutoFillBackground(true);
    text_->setPalette(alarm);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    auto* layout = new QHBoxLayout(frame_);
    layout->addWidget(text_, 1);
    layout->addWidget(clear_);
    DialogUnits::place(frame_, 1066, 8, 4, 334, 56);
    frame_->hide();
}

void TripBanner::bind(ProtectionWatch& protection)
{
    protection_ = &protection;
    connect(&protection, &ProtectionWatch::trippedOn, this, &TripBanner::follow);
    connect(&protection, &ProtectionWatch::cleared, this, &TripBanner::follow);
    connect(clear_, &QPushButton::clicked, &protection, &ProtectionWatch::clear);
    follow();
}

void TripBanner::follow()
{
    const auto& trip = protection_->trip();
    if (!trip) {
        frame_->hide();
        return;
    }
    text_->setText(tr("Сработала защита, выход выключен: %1. Выход можно будет включить после сброса.")
                       .arg(ProtectionWatch::describe(*trip)));
    frame_->show();
    frame_->raise();
}
