#pragma once

#include "app/ControllerDialog.h"
#include "hotvalues/HotValuesMenu.h"
#include "panels/SetpointPanel.h"
#include "panels/WindowExchange.h"
#include "station/SupplyStation.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Answers every message box the program raises with OK, or the button asked
// for where it has one, noting its text.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    QStringList texts() const { return *texts_; }
    void answerWith(QMessageBox::StandardButton button) { *answer_ = button; }

private:
    std::shared_ptr<QStringList> texts_;
    std::shared_ptr<QMessageBox::StandardButton> answer_;
    std::unique_ptr<QTimer> timer_;
};

// The real window on the given ports, initialised as at start-up, with a
// configuration directory and a working directory of its own.
class DialogHarness {
public:
    struct Options {
        SerialPortFactory portFactory;
        LinkTiming timing;
        std::optional<std::string> settingsBytes; // the settings file before start, if any
    };

    explicit DialogHarness(const std::vector<std::string>& ports);
    DialogHarness(const std::vector<std::string>& ports, Options options);
    // beforeStart gets the settings file's path, once the file is written.
    DialogHarness(const std::vector<std::string>& ports, Options options,
        const std::function<void(const std::string& settingsPath)>& beforeStart);
    // prepare runs between the window's construction and its initialisation.
    DialogHarness(
        const std::vector<std::string>& ports, Options options, const std::function<void(ControllerDialog&)>& prepare);
    ~DialogHarness();

    ControllerDialog& dialog() { return *dialog_; }
    SupplyStation& station() { return *station_; }
    SupplyLink& link() { return station_->link(); }
    SupplyController& controller() { return dialog_->controller(); }
    // The window's areas, found as a user's tools would find them.
    WindowExchange& exchange() { return *dialog_->findChild<WindowExchange*>(); }
    SetpointPanel& setpoints() { return *dialog_->findChild<SetpointPanel*>(); }
    HotValuesMenu& hotMenu() { return *dialog_->findChild<HotValuesMenu*>(); }
    bool initialised() const { return initialised_; }

    template <typename Control> Control* control(int id) { return dialog_->findChild<Control*>(QString::number(id)); }
    QWidget* widget(int id) { return control<QWidget>(id); }
    bool shown(int id) { return !widget(id)->isHidden(); }
    bool enabled(int id) { return widget(id)->isEnabled(); }
    QString text(int id);

    // Hands the window one reply, as the link would.
    void reply(const Reply& reply) { controller().onReply(reply); }
    // The same answer twice, as one alone is not trusted to name a model,
    // and again until the supply has answered for the frames that were queued.
    void identify(const Reply& answer)
    {
        link().takeQueued();
        for (int i = 0; i < 4 && (i < 2 || !controller().identified()); ++i) {
            reply(answer);
        }
    }

    static bool waitUntil(
        const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));

    std::string settingsBytes() const;
    std::string fileBytes(const std::string& name) const;
    QString directory() const { return directory_.path(); }

    MessageBoxWatcher messages;

private:
    struct Steps {
        std::function<void(const std::string& settingsPath)> beforeStart;
        std::function<void(ControllerDialog&)> prepare;
    };
    DialogHarness(const std::vector<std::string>& ports, Options options, const Steps& steps);

    QTemporaryDir directory_;
    QString previousDirectory_;
    std::unique_ptr<SupplyStation> station_;
    std::unique_ptr<ControllerDialog> dialog_;
    bool initialised_ = false;
};

// Ports that no test machine has.
std::vector<std::string> missingPorts();
