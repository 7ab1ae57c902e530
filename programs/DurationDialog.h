#pragma once

#include "program/ProgramStep.h"
#include "supply/ModelProfile.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class UnitEdit;

// How long a step lasts, and whether it moves the voltage or the current
// from one value to another over that time.
class DurationDialog : public QDialog {
    Q_OBJECT

public:
    // The profile all 0 while no supply is identified.
    DurationDialog(const ProgramStep& step, ModelProfile profile, QWidget* parent = nullptr);

    // A ramped quantity is no longer also set as a level.
    void applyTo(ProgramStep& step) const;

private:
    void chooseQuantity();

    ModelProfile profile_;
    UnitEdit* duration_;
    QCheckBox* ramped_;
    QComboBox* quantity_;
    UnitEdit* from_;
    UnitEdit* to_;
};
