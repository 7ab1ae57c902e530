#pragma once

#include <functional>

class HotValuesPanel;
class QPoint;
class QWidget;
class SupplyController;

// The hot-values list's commands: its context menu, adding the present values
// or a pair typed into the add-values dialog, deleting the selected row. All
// of them need an identified supply.
class HotValuesMenu {
public:
    HotValuesMenu(QWidget* window, HotValuesPanel& panel, SupplyController& supply);

    // A right-click at a point of the screen; "set as current" runs apply.
    void show(const QPoint& at, double volts, double amperes, const std::function<void()>& apply);
    void addPresent(double volts, double amperes);
    void addByDialog(double volts, double amperes);
    void deleteSelected();

private:
    QWidget* window_;
    HotValuesPanel& panel_;
    SupplyController& supply_;
};
