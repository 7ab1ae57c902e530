#pragma once

#include "controller/RemoteControl.h"
#include "controller/SupplyController.h"
#include "controller/SupplyPrompts.h"
#include "link/SupplyLink.h"

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

// The main window: it composes the window areas around the supply controller,
// connects them, and exchanges the values of its edits.
class ControllerDialog final : public QDialog, private SupplyPrompts {
    Q_OBJECT

public:
    static const char* const kTitle;
    static const char* const kNoPortsText;
    static const char* const kUnknownSupplyText;

    explicit ControllerDialog(SupplyLink& link);
    ~ControllerDialog() override;

    // Lists the ports, reads the settings and starts the worker. False when
    // the window closed at once because the computer has no serial port.
    bool initialise();

    // The --scpi option, which wins over the settings; before initialise().
    void setRemoteOption(std::optional<std::string> option) { remoteOption_ = std::move(option); }
    RemoteControl* remoteControl() const { return remote_.get(); }
    // Where refusals of the ports are heard; the process's own unless set before initialise().
    void setPortAccessAdvice(PortAccessAdvice& advice) { portAccess_ = &advice; }

    ReadingsWindow& readings() { return *readings_; }

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
    void unknownSupply() override;
    void settingsProblem(const QString& advice) override;
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
    void startRemoteControl();
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

    SupplyController controller_;
    std::unique_ptr<RemoteControl> remote_;
    ReadingsWindow* readings_;
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
