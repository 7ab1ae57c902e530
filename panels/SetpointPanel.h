#pragma once

#include "panels/OneDecimalRule.h"

#include <QString>

#include <cstdint>
#include <optional>

class ClassicEdit;
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
    // Writes a setpoint into its edit, which runs the edit's rule as typing would.
    void showSetpoint(bool voltage, double value);
    // The same without running the rule: a value set elsewhere.
    void showSetpointQuietly(bool voltage, double value);
    void disableOutputButtons();
    void enableEdits();

    // The setpoint to send after a change of an edit, if the rule gives one.
    std::optional<double> onVoltageEditChanged(int& lastChar, const ModelProfile& profile);
    std::optional<double> onCurrentEditChanged(int& lastChar, const ModelProfile& profile);
    void onVoltageSpin(int& lastChar, const ModelProfile& profile, int delta);
    void onCurrentSpin(int& lastChar, const ModelProfile& profile, int delta);

    ClassicEdit* voltageEdit() const { return voltageEdit_; }
    ClassicEdit* currentEdit() const { return currentEdit_; }
    UpDownControl* voltageSpin() const { return voltageSpin_; }
    UpDownControl* currentSpin() const { return currentSpin_; }
    QPushButton* onButton() const { return onButton_; }
    QPushButton* offButton() const { return offButton_; }

private:
    static OneDecimalRule::Bounds voltageBounds(const ModelProfile& profile);
    static OneDecimalRule::Bounds currentBounds(const ModelProfile& profile);

    ClassicEdit* voltageEdit_;
    UpDownControl* voltageSpin_;
    ClassicEdit* currentEdit_;
    UpDownControl* currentSpin_;
    QPushButton* onButton_;
    QPushButton* offButton_;
};
