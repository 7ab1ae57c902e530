#pragma once

#include <initializer_list>

#include <QRect>
#include <QSize>

class QWidget;

// Window geometry in the dialog units of the window's templates.
class DialogUnits {
public:
    static constexpr double kPixelsPerUnitX = 1.5;
    static constexpr double kPixelsPerUnitY = 1.625;

    static QRect toPixels(int x, int y, int width, int height);
    static QSize toPixels(int width, int height);

    // Names a control by its numeric id and puts it at its place.
    static void place(QWidget* control, int id, int x, int y, int width, int height);
    // A picture takes the size of its image, whatever the template says.
    static void placePicture(QWidget* picture, int id, int x, int y);
    // The order in which Tab visits the controls, as the template lists them.
    static void chainTabOrder(std::initializer_list<QWidget*> controls);
};
