#include "hotvalues/HotValuesMenu.h"

#include "controller/SupplyController.h"
#include "hotvalues/AddValuesDialog.h"
#include "hotvalues/HotValuesPanel.h"
#include "panels/SetpointPanel.h"
#include "panels/WindowExchange.h"
#include "station/StationSettings.h"

#include <QListWidget>

HotValuesMenu::HotValuesMenu(QWidget* window, const Parts& parts, SupplyController& supply, StationSettings& settings)
    : QObject(window)
    , window_(window)
    , parts_(parts)
    , supply_(supply)
    , settings_(settings)
{
    connect(parts.panel.list(), &QListWidget::itemDoubleClicked, this, &HotValuesMenu::apply);
}

void HotValuesMenu::show(const QPoint& at)
{
    if (!parts_.panel.isEnabled() || !supply_.identified()) {
        return;
    }
    const double volts = parts_.exchange.voltage();
    const double amperes = parts_.exchange.current();
    const auto command = parts_.panel.runMenu(
        at, [&](int row) { return settings_.hotValues().table().holdsAt(row, volts, amperes, supply_.profile()); });
    switch (command.value_or(HotValuesPanel::Command{})) {
    case HotValuesPanel::SetAsCurrent:
        apply();
        break;
    case HotValuesPanel::AddValue:
        addByDialog();
        break;
    case HotValuesPanel::AddCurrent:
        addPresent();
        break;
    case HotValuesPanel::Delete:
        deleteSelected();
        break;
    }
}

void HotValuesMenu::apply()
{
    const auto row = parts_.panel.selectedRow();
    const auto pair = row ? settings_.hotValue(*row) : std::nullopt;
    if (!pair) {
        return;
    }
    parts_.exchange.write(pair->first, pair->second);
    parts_.setpoints.enterWrittenValues();
}

void HotValuesMenu::addPresent()
{
    if (supply_.identified()) {
        settings_.addHotValue(parts_.exchange.voltage(), parts_.exchange.current());
    }
}

void HotValuesMenu::addByDialog()
{
    if (!supply_.identified()) {
        return;
    }
    const ModelProfile& profile = supply_.profile();
    const AddValuesDialog::Limits limits{
        profile.voltageMax, profile.currentMax, profile.voltageMin, profile.currentMin};
    AddValuesDialog dialog(window_, limits, parts_.exchange.voltage(), parts_.exchange.current());
    if (dialog.exec() == QDialog::Accepted) {
        // Should the link have gone meanwhile, the controller keeps the pair in the file.
        settings_.addHotValue(dialog.voltage(), dialog.current());
    }
}

void HotValuesMenu::deleteSelected()
{
    if (const auto row = parts_.panel.selectedRow()) {
        settings_.hotValues().remove(*row);
    }
}
