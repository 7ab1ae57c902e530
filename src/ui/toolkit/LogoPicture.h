#pragma once

class QLabel;
class QWidget;

// The maker's logo at the top of the window (picture 1065).
class LogoPicture {
public:
    explicit LogoPicture(QWidget* window);

    void hide();

private:
    QLabel* picture_;
};
