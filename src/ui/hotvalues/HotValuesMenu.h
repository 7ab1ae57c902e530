#pragma once

#include <QObject>

class HotValuesPanel;
class QPoint;
class QWidget;
class SetpointPanel;
class StationSettings;
class SupplyController;
class WindowExchange;

// The hot-values list's commands: its context menu, setting a row as the
// present values, adding the present values or a pair typed into the
// add-values dialog, deleting the selected row. All of them need an
// identified supply; the present values are the window's exchanged ones.
class HotValuesMenu final : public QObject {
    Q_OBJECT

public:
    struct Parts {
        HotValuesPanel& panel;
        SetpointPanel& setpoints;
        WindowExchange& exchange;
    };

    HotValuesMenu(QWidget* window, const Parts& parts, SupplyController& supply, StationSettings& settings);

    // A right-click at a point of the screen.
    void show(const QPoint& at);
    // The selected row becomes the setpoints, through the edits as if typed.
    void apply();
    void addPresent();
    void addByDialog();
    void deleteSelected();

private:
    QWidget* window_;
    Parts parts_;
    SupplyController& supply_;
    StationSettings& settings_;
};
