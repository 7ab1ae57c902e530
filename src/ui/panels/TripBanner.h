#pragma once

#include <QObject>

class ProtectionWatch;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// Across the top of the window while a protection trip is latched: what
// tripped, that the output stays off, and the button that clears it. The
// output buttons and the timer cannot switch on until then.
class TripBanner final : public QObject {
    Q_OBJECT

public:
    explicit TripBanner(QWidget* window);

    void bind(ProtectionWatch& protection);
    QFrame* control() const { return frame_; }
    QLabel* text() const { return text_; }
    QPushButton* clearButton() const { return clear_; }

private:
    void follow();

    QFrame* frame_;
    QLabel* text_;
    QPushButton* clear_;
    ProtectionWatch* protection_ = nullptr;
};
