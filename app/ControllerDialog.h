#pragma once

#include "link/LinkState.h"
#include "link/LinkThread.h"
#include "link/SerialPort.h"
#include "settings/ControllerSettings.h"
#include "supply/ModelProfile.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AutoResetEvent;
class DiagnosticLog;
class HotValuesPanel;
class LogoPicture;
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
    const std::vector<std::int32_t>& hotVoltageRaw() const { return hotVoltageRaw_; }
    const std::vector<std::int32_t>& hotCurrentRaw() const { return hotCurrentRaw_; }
    const std::string& settingsPath() const { return settings_.file().path(); }

public slots:
    void accept() override;
    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    void arrangeTabOrder();
    void closeMainWindow();
    void startLink();

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

    std::string lastPort_;
    std::string usePort_;
    double setVoltage_ = 0.0;
    double setCurrent_ = 0.0;
    bool timerRunning_ = false;
    bool diagnosticsOn_ = false;
    bool closing_ = false;
    std::vector<std::int32_t> hotVoltageRaw_;
    std::vector<std::int32_t> hotCurrentRaw_;
    ModelProfile profile_;
};
