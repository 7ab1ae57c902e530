#include "toolkit/LogoPicture.h"

#include "toolkit/DialogUnits.h"
#include "toolkit/WindowLook.h"

#include <QLabel>

LogoPicture::LogoPicture(QWidget* window)
    : picture_(WindowLook::makePicture(window, ":/res/logo.png"))
{
    DialogUnits::placePicture(picture_, 1065, 104, 10);
}

void LogoPicture::hide()
{
    picture_->hide();
}
