#pragma once

#include "controller/SupplyController.h"
#include "station/SupplyStation.h"

#include <QDialog>

#include <memory>

class QContextMenuEvent;
class RemoteControl;
class DiagnosticLog;
class HotValuesMenu;
class HotValuesPanel;
class LogoPicture;
class NoticeWindow;
class PortAccessAdvice;
class PortPermissionWatch;
class ProgramsWindow;
class ReadingsWindow;
class SetpointPanel;
class SupplyFrame;
class TripBanner;
class TimerPanel;
class WindowExchange;

// The main window: it composes the window areas, each of which binds itself
// to the supply station's controller, and starts and stops the station with
// its own life.
class ControllerDialog final : public QDialog {
    Q_OBJECT

public:
    static const char* const kTitle;
    static const char* const kNoPortsText;
    static const char* const kUnknownSupplyText;

    explicit ControllerDialog(SupplyStation& station);
    ~ControllerDialog() override;

    // Lists the ports and starts the station. False when the window closed
    // at once because the computer has no serial port.
    bool initialise();

    // One of several supplies: the title names its port.
    void namePortInTitle();
    // The title tells while remote clients are connected.
    void showRemoteClients(RemoteControl* remote);
    // Where refusals of the ports are heard; the process's own unless set before initialise().
    void setPortAccessAdvice(PortAccessAdvice& advice) { portAccess_ = &advice; }

    // The readings window, made when first wanted.
    ReadingsWindow& readings();
    // The programs window, made when first wanted.
    ProgramsWindow& programs();
    // What went only to standard error, made when first wanted.
    NoticeWindow& notices();

    SupplyStation& station() { return station_; }
    SupplyController& controller() { return controller_; }
    const SupplyController& controller() const { return controller_; }

    void accept() override;
    void reject() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void composeAreas();
    void connectPrompts();
    void connectReadings();
    void arrangeTabOrder();
    void showTitle();
    void showQuickMenu(const QPoint& globalPosition);
    // Asks what becomes of a running program; false when the window stays.
    bool mayClose();

    SupplyStation& station_;
    SupplyController& controller_;
    ReadingsWindow* readings_ = nullptr;
    ProgramsWindow* programs_ = nullptr;
    NoticeWindow* notices_ = nullptr;
    PortAccessAdvice* portAccess_;
    std::unique_ptr<PortPermissionWatch> permissionWatch_;
    bool portInTitle_ = false;
    int remoteClients_ = 0;
    std::unique_ptr<LogoPicture> logo_;
    // The areas are the window's children.
    SupplyFrame* supplyFrame_ = nullptr;
    TripBanner* tripBanner_ = nullptr;
    SetpointPanel* setpoints_ = nullptr;
    TimerPanel* timer_ = nullptr;
    HotValuesPanel* hotValues_ = nullptr;
    HotValuesMenu* hotMenu_ = nullptr;
    DiagnosticLog* log_ = nullptr;
    WindowExchange* exchange_ = nullptr;
    bool closing_ = false;
};
