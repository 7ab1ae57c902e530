#pragma once

#include "program/ChargeProfile.h"

#include <QDialog>

#include <optional>

class ChargeForm;
class ChargeResolutionView;
class QPushButton;
class SupplyController;

// A charge program made from a battery's few values for the identified
// supply, showing as they are typed what its steps make of them. OK only
// while a program can be made.
class ChargeDialog : public QDialog {
    Q_OBJECT

public:
    explicit ChargeDialog(const SupplyController& controller, QWidget* parent = nullptr);

    // None while refused or no supply is identified.
    const std::optional<Program>& program() const { return made_.program; }

private:
    void followSupply();
    void remake();

    const SupplyController& controller_;
    ChargeForm* form_;
    ChargeResolutionView* resolution_;
    QPushButton* ok_ = nullptr;
    ChargeProfile::Made made_;
};
