#include "hotvalues/HotValuesMenu.h"

#include "controller/SupplyController.h"
#include "hotvalues/AddValuesDialog.h"
#include "hotvalues/HotValuesPanel.h"

HotValuesMenu::HotValuesMenu(QWidget* window, HotValuesPanel& panel, SupplyController& supply)
    : window_(window)
    , panel_(panel)
    , supply_(supply)
{
}

void HotValuesMenu::show(const QPoint& at, double volts, double amperes, const std::function<void()>& apply)
{
    if (!panel_.isEnabled() || !supply_.identified()) {
        return;
    }
    const auto command = panel_.runMenu(
        at, [&](int row) { return supply_.hotValues().table().holdsAt(row, volts, amperes, supply_.profile()); });
    switch (command.value_or(HotValuesPanel::Command{})) {
    case HotValuesPanel::SetAsCurrent:
        apply();
        break;
    case HotValuesPanel::AddValue:
        addByDialog(volts, amperes);
        break;
    case HotValuesPanel::AddCurrent:
        addPresent(volts, amperes);
        break;
    case HotValuesPanel::Delete:
        deleteSelected();
        break;
    }
}

void HotValuesMenu::addPresent(double volts, double amperes)
{
    if (supply_.identified()) {
        supply_.addHotValue(volts, amperes);
    }
}

void HotValuesMenu::addByDialog(double volts, double amperes)
{
    if (!supply_.identified()) {
        return;
    }
    const ModelProfile& profile = supply_.profile();
    const AddValuesDialog::Limits limits{
        profile.voltageMax, profile.currentMax, profile.voltageMin, profile.currentMin};
    AddValuesDialog dialog(window_, limits, volts, amperes);
    if (dialog.exec() == QDialog::Accepted) {
        // Should the link have gone meanwhile, the controller keeps the pair in the file.
        supply_.addHotValue(dialog.voltage(), dialog.current());
    }
}

void HotValuesMenu::deleteSelected()
{
    if (const auto row = panel_.selectedRow()) {
        supply_.hotValues().remove(*row);
    }
}
