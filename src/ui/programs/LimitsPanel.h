#pragma once

#include "program/ProtectionLimits.h"

#include <QWidget>

#include <array>
#include <optional>

class ProtectionWatch;
class QCheckBox;
class QLabel;
class QPushButton;
class UnitEdit;

// The software limits, each armed by its check box, applied together; and the
// latched trip in red until it is cleared. Each row says whether the watch
// holds it: only an armed limit carries the mark, and a row edited but not
// applied says so in a look of its own.
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
    void showStates();
    QString armedText(std::size_t row) const;
    void showTrip();

    ProtectionWatch& watch_;
    std::array<QCheckBox*, kQuantities> armed_{};
    std::array<UnitEdit*, kQuantities> values_{};
    std::array<QLabel*, kQuantities> states_{};
    // The armed value as its edit reads it back, so an edit is judged at the precision shown.
    std::array<std::optional<double>, kQuantities> armedShown_{};
    QLabel* trip_ = nullptr;
    QPushButton* clear_ = nullptr;
};
