#pragma once

#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;
class UpDownControl;
struct ModelProfile;

// The setpoint edits with their arrows and the two output buttons.
class SetpointPanel {
public:
    explicit SetpointPanel(QWidget* window);

    void hide();
    void showLive();
    void applyLimits(const ModelProfile& profile);
    void showOutputOn();
    void showOutputOff();
    void setVoltageText(const QString& text);
    void setCurrentText(const QString& text);

    QLineEdit* voltageEdit() const { return voltageEdit_; }
    QLineEdit* currentEdit() const { return currentEdit_; }
    UpDownControl* voltageSpin() const { return voltageSpin_; }
    UpDownControl* currentSpin() const { return currentSpin_; }
    QPushButton* onButton() const { return onButton_; }
    QPushButton* offButton() const { return offButton_; }

private:
    QLineEdit* voltageEdit_;
    UpDownControl* voltageSpin_;
    QLineEdit* currentEdit_;
    UpDownControl* currentSpin_;
    QPushButton* onButton_;
    QPushButton* offButton_;
};
