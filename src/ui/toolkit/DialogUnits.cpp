#include "toolkit/DialogUnits.h"

#include <QString>
#include <QWidget>

#include <cmath>

namespace {

int scaled(int units, double pixelsPerUnit)
{
    return static_cast<int>(std::lround(units * pixelsPerUnit));
}

} // namespace

QRect DialogUnits::toPixels(int x, int y, int width, int height)
{
    const int left = scaled(x, kPixelsPerUnitX);
    const int top = scaled(y, kPixelsPerUnitY);
    return {left, top, scaled(x + width, kPixelsPerUnitX) - left, scaled(y + height, kPixelsPerUnitY) - top};
}

QSize DialogUnits::toPixels(int width, int height)
{
    // A whole area is rounded up, so that nothing at its edge is cut off.
    return {
        static_cast<int>(std::ceil(width * kPixelsPerUnitX)), static_cast<int>(std::ceil(height * kPixelsPerUnitY))};
}

void DialogUnits::place(QWidget* control, int id, int x, int y, int width, int height)
{
    control->setObjectName(QString::number(id));
    control->setGeometry(toPixels(x, y, width, height));
}

void DialogUnits::placePicture(QWidget* picture, int id, int x, int y)
{
    picture->setObjectName(QString::number(id));
    picture->move(toPixels(x, y, 0, 0).topLeft());
    picture->adjustSize();
}

void DialogUnits::chainTabOrder(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}
