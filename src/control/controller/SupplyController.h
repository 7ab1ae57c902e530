#pragma once

#include "controller/CommandOrigin.h"
#include "controller/CommandRefusal.h"
#include "controller/FrameLedgers.h"
#include "controller/Measurement.h"
#include "controller/OutputSwitch.h"
#include "controller/ReadingWatch.h"
#include "controller/SetpointMemory.h"
#include "link/Reply.h"
#include "supply/Conversions.h"
#include "supply/ModelConfirmation.h"
#include "supply/ModelProfile.h"
#include "supply/Quantity.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class SupplyLink;

// Owns the supply on one link: the rules that act on each reply, the
// identified model, the setpoints and output. Every command reaches the
// supply through it; the window and any other observer follow its signals.
class SupplyController final : public QObject {
    Q_OBJECT

public:
    // Why a setpoint the controls show has changed.
    enum class SetpointCause {
        Commanded, // sent from an origin other than the window's edits, as the step it went out as
        Adopted, // the supply's reading taken as the setpoint, as when it is found
        Learned, // reported by the supply with its output off, and not known before
    };
    Q_ENUM(SetpointCause)

    // Commands given while one lives are told as this origin's; without one,
    // as the user's at the window.
    class Acting {
    public:
        Acting(SupplyController& controller, CommandOrigin origin)
            : controller_(controller)
            , saved_(std::exchange(controller.origin_, origin))
        {
        }
        ~Acting() { controller_.origin_ = saved_; }
        Acting(const Acting&) = delete;
        Acting& operator=(const Acting&) = delete;

    private:
        SupplyController& controller_;
        CommandOrigin saved_;
    };

    // About three polls: a reading older than this is not the supply's present state.
    static constexpr std::chrono::milliseconds kStaleAfter{1500};

    explicit SupplyController(SupplyLink& link, QObject* parent = nullptr);
    ~SupplyController() override;

    // Starts the link on the ports, in their order.
    void start(const std::vector<std::string>& ports);
    // Stops the link; no reply is acted on after it.
    void shutDown();
    // Every reply is told as a log line while diagnostics are on.
    void setDiagnostics(bool on) { diagnosticsOn_ = on; }
    // A line for the log, told only while diagnostics are on.
    void diagnose(const QString& line);

    void onReply(const Reply& reply);
    bool identifySupply(std::int32_t code);

    // The one path for every command, in volts and amperes. Each returns
    // false when it refused the command, which it then tells as `refused`:
    // nothing goes out while no supply is identified, and no output-on while
    // the output is latched off.
    bool setVoltage(double volts);
    bool setCurrent(double amperes);
    bool toggleOutput();
    bool requestOutput(bool on);
    // Setpoints asked for from outside the window, which its edits then show.
    // From every origin a value goes out as the same step: the one at or
    // below it, as the window's edits send it.
    bool commandVoltage(double volts);
    bool commandCurrent(double amperes);
    // The value of the step a setpoint would be sent as.
    double voltageStep(double volts) const { return setpoints_.voltageStep(volts); }
    double currentStep(double amperes) const { return setpoints_.currentStep(amperes); }
    // While latched, every output-on is refused and a switch-off on its way
    // cannot be taken back; the supply's own switch is for the latch's owner
    // to answer.
    void latchOutputOff(bool latched);
    bool outputLatched() const { return outputLatched_; }
    bool live() const { return identified() && controlsLive_; }
    // Why a command would be refused now, if it would.
    std::optional<CommandRefusal> refusalFor(bool switchesOn) const;

    // The last full status of the identified supply; none while the link is down.
    const std::optional<Measurement>& latest() const { return readings_.latest(); }
    // No full status of the identified supply for kStaleAfter, or none at all.
    bool measurementStale() const { return readings_.stale(); }
    // The setpoints as the supply holds them, at its own resolution. None while
    // not known: a supply found with its output on tells only the setpoint of
    // the quantity it regulates.
    std::optional<double> heldVoltage() const { return setpoints_.heldVoltage(); }
    std::optional<double> heldCurrent() const { return setpoints_.heldCurrent(); }
    // The number of the last command queued on that frame.
    std::uint64_t lastTicket(Quantity frame) const { return frames_.of(frame).lastIssued(); }
    // The number of the last command of the frame that is on the line.
    std::uint64_t lastWritten(Quantity frame) const { return frames_.of(frame).lastWritten(); }
    // The number of the last command of the frame the supply has answered for.
    std::uint64_t lastDelivered(Quantity frame) const { return frames_.of(frame).lastDelivered(); }
    // Replies handled since start, answered or not: the polls that went by.
    std::uint64_t repliesSeen() const { return replies_; }
    // Every command sent has reached the supply, as far as its answers show.
    bool commandsSettled() const { return frames_.settled(); }
    // The output's state, or the state a toggle on its way will bring.
    bool outputHeading() const { return output_.heading(); }

    const SupplyLink& link() const { return link_; }
    const ModelProfile& profile() const { return profile_; }
    bool identified() const { return identified_; }
    // The controls follow the supply: it answered with a full status since the link was last lost.
    bool controlsShown() const { return controlsLive_; }
    // The next full status becomes the setpoints, as when a supply is found.
    bool adoptingReadings() const { return adoptReadings_; }
    bool outputOn() const { return output_.reportedOn(); }
    // While the link is down: a run that holds the output takes it as off,
    // so that the supply's return switches it on anew.
    void recordOutputOff() { output_.report(false); }
    // Polls in a row without an answer; the port is left at the second.
    int missesInRow() const { return missCount_; }
    bool diagnosticsOn() const { return diagnosticsOn_; }
    bool isLinkRunning() const;

signals:
    // What the user must be told at once, before the controller goes on: a
    // window answers with a message box.
    // A supply of a model this program does not know has been found.
    void unknownSupplyFound();
    void logLine(const QString& line);
    // A setpoint or output command was taken, from whom.
    void commanded(const CommandOrigin& origin);
    // A command was not taken, and why. `deferred`: it had been taken to wait
    // for a toggle on its way, and its caller was answered already.
    void refused(const CommandOrigin& origin, CommandRefusal refusal, bool deferred);
    void outputLatchChanged(bool latched);
    void supplyIdentified(const QString& supplyName, const QString& modelName);
    // The supply answers with its status alone, at identification or later:
    // it takes no commands while its On/Off switch is on.
    void panelSwitchReported();
    void linkLost();
    // The supply answered a poll with its status, alone or full: the port
    // the link is on is its own.
    void statusAnswered();
    void controlsLive();
    // The supply answers again after a loss, and its output state is known.
    void supplyReturned();
    void outputChanged(bool on);
    void outputTogglePending();
    void outputToggleWithdrawn(bool on);
    void regulationChanged(bool voltageRegulated);
    // In volts or amperes.
    void setpointChanged(Quantity quantity, SupplyController::SetpointCause cause, double value);
    // The supply reads a value other than it read before, in volts or amperes.
    void readingChanged(Quantity quantity, double value);
    // Every full status of the identified supply, changed or not.
    void measured(const Measurement& measurement);
    // No full status has come for kStaleAfter while the link stands.
    void measurementsStale();
    // Commands first..last of the frame may never have reached the supply:
    // the link was lost (NoSupply), or the supply answered with its status
    // alone (PanelSwitch), before it answered a poll sent after them.
    void commandsDropped(Quantity frame, quint64 first, quint64 last, CommandRefusal why);
    // An output switch had to carry a voltage setpoint that was not known.
    void unknownVoltageSent(double volts);

private:
    void handleStatusOnly(std::int32_t status);
    void handleNoAnswer();
    // What was on its way will not reach the supply: the queue is dropped
    // and a switch waiting for its turn is refused to its origin.
    void dropCommandsOnTheWay(CommandRefusal why);
    void handleFullStatus(const Reply& reply);
    void followWords(std::int32_t voltageWord, std::int32_t currentRaw);
    void setControlsLive(bool live);
    void followOutputState(std::int32_t status);
    std::int32_t followRegulation(std::int32_t voltageWord);
    void takeReading(Quantity quantity, std::int32_t raw);
    void trackDelivery(const Reply& reply);
    void learnSetpoints(std::int32_t voltageRaw, std::int32_t currentRaw);
    void noteVoltageFrame();
    // The gate every command passes: false, told to its origin, when refused.
    bool admits(bool switchesOn);
    // `shown`: asked for from outside the window's edits, which then show the value sent.
    bool sendSetpoint(Quantity quantity, double value, bool shown);
    void refuseFollowUpWhileLatched();

    SupplyLink& link_;
    OutputSwitch output_;
    ModelProfile profile_;
    SetpointMemory setpoints_;
    ReadingWatch readings_;
    ModelConfirmation confirmation_;
    FrameLedgers frames_;
    bool identified_ = false;
    bool controlsLive_ = false;
    // The last reply was a status alone: the supply takes no commands.
    bool statusAlone_ = false;
    bool adoptReadings_ = true;
    int missCount_ = 0;
    std::uint64_t replies_ = 0;
    bool diagnosticsOn_ = false;
    bool stopped_ = false;
    bool outputLatched_ = false;
    CommandOrigin origin_;
    // Who asked for the switch waiting for a toggle on its way to be reported.
    CommandOrigin followUpOrigin_;
};
