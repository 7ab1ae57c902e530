#pragma once

#include "program/ProtectionLimits.h"

#include <QWidget>

#include <array>

class ProtectionWatch;
class QCheckBox;
class QLabel;
class QPushButton;
class UnitEdit;

// The software limits, each armed by its check box, applied together; and the
// latched trip in red until it is cleared.
class LimitsPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kQuantities = 6;

    explicit LimitsPanel(ProtectionWatch& watch, QWidget* parent = nullptr);

    // As entered: a limit is armed when checked with a value.
    ProtectionLimits entered() const;

private:
    QLayout* createRows();
    QLayout* createTripRow();
    void showLimits();
    void showTrip();

    ProtectionWatch& watch_;
    std::array<QCheckBox*, kQuantities> armed_{};
    std::array<UnitEdit*, kQuantities> values_{};
    QLabel* trip_ = nullptr;
    QPushButton* clear_ = nullptr;
};
