#pragma once

#include "controller/SupplyController.h"
#include "station/SupplyStation.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QContextMenuEvent;
class QPoint;
class CharacterMessages;
class DiagnosticLog;
class HotValuesMenu;
class HotValuesPanel;
class LogoPicture;
class PortAccessAdvice;
class ReadingsWindow;
class PortPermissionWatch;
class SetpointPanel;
class SupplyFrame;
class TimerPanel;

// The main window: it composes the window areas around the supply station's
// controller, connects them, exchanges the values of its edits, and starts and
// stops the station with its own life.
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

    // The --scpi option, which wins over the settings; before initialise().
    void setRemoteOption(std::optional<std::string> option) { remoteOption_ = std::move(option); }
    RemoteControl* remoteControl() const { return station_.remote(); }
    // Where refusals of the ports are heard; the process's own unless set before initialise().
    void setPortAccessAdvice(PortAccessAdvice& advice) { portAccess_ = &advice; }

    // The readings window, made when first wanted.
    ReadingsWindow& readings();

    SupplyController& controller() { return controller_; }
    const SupplyController& controller() const { return controller_; }
    double setVoltage() const { return setVoltage_; }
    double setCurrent() const { return setCurrent_; }
    int lastChar() const { return lastChar_; }
    std::uint8_t timerHours() const { return timerHours_; }
    std::uint8_t timerMinutes() const { return timerMinutes_; }
    std::uint8_t timerSeconds() const { return timerSeconds_; }

    void accept() override;
    void reject() override;

    // The window's handlers, public so that tests can drive them as the
    // platform would.
    void onVoltageEditChanged();
    void onCurrentEditChanged();
    void onVoltageSpin(int delta);
    void onCurrentSpin(int delta);
    void onHoursEdited();
    void onMinutesEdited();
    void onSecondsEdited();
    void applyHotValue();
    void showHotValuesMenu(const QPoint& globalPosition);
    void addCurrentAsHotValue();
    void addHotValueByDialog();
    void deleteHotValue();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void connectPrompts();
    void connectNotifications();
    void connectSupply();
    void connectTimer();
    void connectHotValues();
    void connectReadings();
    void arrangeTabOrder();
    void showLive(bool live);
    void onSetpointEditChanged(bool voltage);
    void showOutput(bool on);
    void showRunEnded();
    void onSecondsOrMinutesEdited(std::uint8_t& field);
    void showRemoteClients();
    void writeDataBack();
    // Reads the time fields and the setpoints back from their edits; false
    // when one of them holds no valid number, which prompt points out.
    bool updateData(bool prompt);

    // Counts the edit handlers running, one inside the other when a handler
    // rewrites its edit: a field without a number is pointed out once, by the
    // outermost.
    class EditHandling {
    public:
        explicit EditHandling(int& depth)
            : depth_(depth)
        {
            ++depth_;
        }
        ~EditHandling() { --depth_; }
        EditHandling(const EditHandling&) = delete;
        EditHandling& operator=(const EditHandling&) = delete;

    private:
        int& depth_;
    };

    SupplyStation& station_;
    SupplyController& controller_;
    ReadingsWindow* readings_ = nullptr;
    PortAccessAdvice* portAccess_;
    std::unique_ptr<PortPermissionWatch> permissionWatch_;
    std::optional<std::string> remoteOption_;
    std::unique_ptr<LogoPicture> logo_;
    std::unique_ptr<SupplyFrame> supplyFrame_;
    std::unique_ptr<SetpointPanel> setpoints_;
    std::unique_ptr<TimerPanel> timer_;
    std::unique_ptr<HotValuesPanel> hotValues_;
    std::unique_ptr<HotValuesMenu> hotMenu_;
    std::unique_ptr<DiagnosticLog> log_;
    std::unique_ptr<CharacterMessages> characters_;

    bool exchanging_ = false;
    bool closing_ = false;
    std::uint8_t timerHours_ = 0;
    std::uint8_t timerMinutes_ = 0;
    std::uint8_t timerSeconds_ = 0;
    int lastChar_ = 0;
    int editDepth_ = 0;
    double setVoltage_ = 0.0;
    double setCurrent_ = 0.0;
};
