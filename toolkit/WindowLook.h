#pragma once

#include <QColor>
#include <QFont>

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
};
