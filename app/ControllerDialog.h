#pragma once

#include "link/LinkState.h"
#include "link/LinkThread.h"
#include "link/SerialPort.h"
#include "settings/ControllerSettings.h"
#include "supply/ModelProfile.h"
#include "timer/TimerClock.h"

#include <QDialog>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AutoResetEvent;
class QAction;
class QContextMenuEvent;
class QPoint;
class CharacterMessages;
class DiagnosticLog;
class HotValuesPanel;
class LogoPicture;
class PortAccessAdvice;
class PortPermissionWatch;
class SetpointPanel;
class SupplyFrame;
class TimerPanel;

// The main window: it composes the window areas, starts and stops the link
// worker, and interprets every reply the worker brings back.
class ControllerDialog final : public QDialog {
    Q_OBJECT

public:
    static const char* const kTitle;
    static const char* const kNoPortsText;
    static const char* const kUnknownSupplyText;

    explicit ControllerDialog(LinkState& state, SerialPortFactory portFactory = {}, LinkTiming timing = {});
    ~ControllerDialog() override;

    // Lists the ports, reads the settings and starts the worker. False when
    // the window closed at once because the computer has no serial port.
    bool initialise();
    // Before initialise: this port alone, as a fixed "UsePort" would, while
    // the settings file keeps its own port entries.
    void usePortForThisRun(const std::string& device);
    // Before initialise: where the window hears of ports refused for lack of
    // permission, in place of the program's own advice.
    void setPortAccessAdvice(PortAccessAdvice& advice) { portAccess_ = &advice; }

    // Public for the worker's event and for tests driving replies directly.
    void onLinkReply();
    bool identifySupply(std::int32_t code);

    const LinkState& linkState() const { return state_; }
    const ModelProfile& profile() const { return profile_; }
    const std::string& lastPort() const { return lastPort_; }
    const std::string& usePort() const { return usePort_; }
    double setVoltage() const { return setVoltage_; }
    double setCurrent() const { return setCurrent_; }
    bool isLinkRunning() const { return link_.isRunning(); }
    bool diagnosticsOn() const { return diagnosticsOn_; }
    int lastChar() const { return lastChar_; }
    std::uint8_t timerHours() const { return timerHours_; }
    std::uint8_t timerMinutes() const { return timerMinutes_; }
    std::uint8_t timerSeconds() const { return timerSeconds_; }
    const std::vector<std::int32_t>& hotVoltageRaw() const { return hotVoltageRaw_; }
    const std::vector<std::int32_t>& hotCurrentRaw() const { return hotCurrentRaw_; }
    const std::string& settingsPath() const { return settings_.file().path(); }

    void accept() override;
    void reject() override;

    // The window's handlers, public so that tests can drive them as the
    // platform would (the clock's ticks among them).
    void onVoltageEditChanged();
    void onCurrentEditChanged();
    void onVoltageSpin(int delta);
    void onCurrentSpin(int delta);
    void onOutputButton();

    void startStopTimer(bool restart);
    void refreshTimerCaption(bool reset);
    void onTimerTick();
    void onHoursEdited();
    void onMinutesEdited();
    void onSecondsEdited();
    void applyHotValue();
    void showHotValuesMenu(const QPoint& globalPosition);
    void addCurrentAsHotValue();
    void addHotValueByDialog();
    void deleteHotValue();

    bool isClockTicking() const { return clockTimer_.isActive(); }
    bool timerRunning() const { return timerRunning_; }
    int timerCount() const { return clock_.count(); }

protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TimerClock::Preset preset() const;
    void startClock();
    void stopClock();
    void enableAfterRun();
    void onSecondsOrMinutesEdited(std::uint8_t& field);
    void writeDataBack();
    void runHotValuesCommand(const QAction* chosen);
    void addHotValue(double volts, double amperes);
    bool rowIsCurrent(int row) const;
    void connectNotifications();
    void arrangeTabOrder();
    void queueVoltage(std::int32_t raw);
    void queueCurrent(std::int32_t raw);
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
    void closeMainWindow();
    void startLink();
    void watchPortAccess();

    void writeDefaultSettings();
    void loadSettings(bool startup);
    void saveSettings();
    void choosePort(const ControllerSettings::Loaded& loaded);
    void showHotValues(const std::vector<ControllerSettings::HotPair>& pairs);

    void logReply();
    void handleStatusOnly(std::int32_t status);
    void handleNoAnswer();
    void handleFullStatus();
    void goLive();
    void followOutputState(std::int32_t status);
    std::int32_t followRegulation(std::int32_t voltageWord);
    void showVoltageReading(std::int32_t raw);
    void showCurrentReading(std::int32_t raw);
    void handBackTurn();

    LinkState& state_;
    ControllerSettings settings_;
    LinkThread link_;
    std::shared_ptr<AutoResetEvent> startEvent_;
    std::shared_ptr<AutoResetEvent> transmitEvent_;
    std::shared_ptr<AutoResetEvent> closeEvent_;

    std::unique_ptr<LogoPicture> logo_;
    std::unique_ptr<SupplyFrame> supplyFrame_;
    std::unique_ptr<SetpointPanel> setpoints_;
    std::unique_ptr<TimerPanel> timer_;
    std::unique_ptr<HotValuesPanel> hotValues_;
    std::unique_ptr<DiagnosticLog> log_;
    PortAccessAdvice* portAccess_ = nullptr;
    std::unique_ptr<PortPermissionWatch> permissionWatch_;

    std::string lastPort_;
    std::string usePort_;
    std::string portForThisRun_;
    std::string fileUsePort_;
    std::string fileLastPort_;
    std::unique_ptr<CharacterMessages> characters_;
    QTimer clockTimer_;
    TimerClock clock_;
    bool exchanging_ = false;

    std::uint8_t timerHours_ = 0;
    std::uint8_t timerMinutes_ = 0;
    std::uint8_t timerSeconds_ = 0;
    int lastChar_ = 0;
    int editDepth_ = 0;
    double setVoltage_ = 0.0;
    double setCurrent_ = 0.0;
    bool timerRunning_ = false;
    bool diagnosticsOn_ = false;
    bool closing_ = false;
    std::vector<std::int32_t> hotVoltageRaw_;
    std::vector<std::int32_t> hotCurrentRaw_;
    ModelProfile profile_;
};
