#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>

class QWidget;
class QLineEdit;
class QLabel;

// The window's colours, fonts and pictures, and the colour rule of each kind of control.
class WindowLook {
public:
    static QColor windowColour();
    static QColor readoutTextColour();

    static QFont dialogFont();
    static QFont clockFont();
    static QFont readoutFont();

    static void paintWindow(QWidget* window);
    // Black on white while enabled; on the window colour while disabled.
    static void paintWritableEdit(QWidget* edit);
    // Light yellow-green on black.
    static void paintReadout(QLineEdit* readout);
    // Read-only text on the window colour.
    static void paintReadOnlyText(QWidget* text);
    // Black on white, enabled or not.
    static void paintList(QWidget* list);

    static QLabel* makePicture(QWidget* parent, const char* resource);
    // The resource's pixmap for a screen of the given pixel ratio: above 1,
    // its twice-as-large NAME@2x.png, which keeps the same size on screen.
    static QPixmap picture(const QString& resource, qreal pixelRatio);
    // Both sizes of the icon, whatever the screen: the desktop chooses.
    static QIcon windowIcon();
};
