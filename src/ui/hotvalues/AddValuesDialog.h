#pragma once

#include "panels/OneDecimalRule.h"

#include <QDialog>

#include <memory>

class CharacterMessages;
class ClassicEdit;
class QPushButton;
class UpDownControl;

// "Добавление значений": asks for a voltage and a current with the same
// one-decimal editing as the main window. Sends nothing and stores nothing.
class AddValuesDialog final : public QDialog {
    Q_OBJECT

public:
    static const char* const kTitle;

    struct Limits {
        double voltageMax = 0.0;
        double currentMax = 0.0;
        double voltageMin = 0.0;
        double currentMin = 0.0;
    };

    AddValuesDialog(QWidget* owner, Limits limits, double voltage, double current);
    ~AddValuesDialog() override;

    // The values read from the edits once the dialog was accepted.
    double voltage() const { return voltage_; }
    double current() const { return current_; }
    int lastChar() const { return lastChar_; }

    void onVoltageTextChanged();
    void onCurrentTextChanged();
    void onVoltageArrow(int delta);
    void onCurrentArrow(int delta);

    void accept() override;

private:
    void createControls();
    void connectNotifications();
    void initialise();
    OneDecimalRule::Bounds voltageBounds() const { return {limits_.voltageMin, limits_.voltageMax}; }
    OneDecimalRule::Bounds currentBounds() const { return {limits_.currentMin, limits_.currentMax}; }

    Limits limits_;
    double voltage_;
    double current_;
    int lastChar_ = 0;
    bool ready_ = false;

    QPushButton* add_ = nullptr;
    QPushButton* cancel_ = nullptr;
    ClassicEdit* voltageEdit_ = nullptr;
    UpDownControl* voltageArrows_ = nullptr;
    ClassicEdit* currentEdit_ = nullptr;
    UpDownControl* currentArrows_ = nullptr;
    std::unique_ptr<CharacterMessages> characters_;
};
