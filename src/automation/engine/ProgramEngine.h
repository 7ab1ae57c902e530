#pragma once

#include "controller/CommandOrigin.h"
#include "engine/ProgramProgress.h"
#include "engine/ProgramRun.h"
#include "engine/RunSummary.h"
#include "program/Program.h"
#include "program/ProgramRefusal.h"
#include "program/ProtectionLimits.h"
#include "text/Phrase.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

class ProgramClock;
class ProtectionWatch;
class SupplyController;
struct Measurement;
struct ProtectionTrip;

// Runs a program on the supply through the controller's one command path.
// Steps are scheduled on the monotonic clock from the program's start, so no
// error adds up; end conditions are evaluated on every reading. A lost link,
// a command that is not the program's, or a trip interrupts it.
class ProgramEngine final : public QObject {
    Q_OBJECT

public:
    enum class State { Idle, Running, Paused };
    Q_ENUM(State)

    ProgramEngine(SupplyController& controller, ProtectionWatch& protection, std::chrono::milliseconds pollCycle,
        const ProgramClock& clock, QObject* parent = nullptr);
    ~ProgramEngine() override;

    // Refused, with the step and the reason, while a program runs or when a
    // step could not end or is shorter than the poll cycle.
    std::optional<ProgramRefusal> load(Program program);
    const Program& program() const { return program_; }

    // Refused while no supply is live, a trip latches, or a step leaves the
    // model's range or the armed limits. Commands from the owner, a remote
    // client that started it, do not interrupt it.
    std::optional<ProgramRefusal> start(CommandOrigin owner = {CommandOrigin::Kind::User});
    // Why start() would refuse the loaded program now; none when it would not.
    std::optional<ProgramRefusal> startRefusal() const;
    void pause();
    // Sends the step's setpoints and output again and goes on with its time.
    bool resume();
    // Ends the run with the output off.
    void stop();
    // Ends the run leaving the output as it is, as when the program closes
    // without stopping it.
    void leave();
    // The moment a step is due; the engine's timer calls it, tests too.
    void tick();

    State state() const { return state_; }
    bool active() const { return state_ != State::Idle; }
    // Why it is paused, or how the last run ended, in the window's words.
    QString why() const { return why_.inWindow(); }
    // How the last run ended; none before the first has.
    const std::optional<RunEnd>& lastEnd() const { return lastEnd_; }
    ProgramProgress progress() const;
    const std::optional<RunSummary>& summary() const { return summary_; }

signals:
    void stateChanged(ProgramEngine::State state, const Phrase& why);
    void stepStarted(int number);
    // For the recording's event column: start, step, pause, resume, link_lost, end.
    void runEvent(const QString& event);
    void progressed();
    void finished(const RunSummary& summary);

private:
    ProgramRun::Commands commands();
    void onStepBegun(int number);
    void noteTickets();
    bool readingShowsStep() const;
    void onMeasured(const Measurement& measurement);
    void onLinkLost();
    void onLinkReturn();
    void onCommanded(const CommandOrigin& origin);
    void onTripped(const ProtectionTrip& trip);
    void interrupt(const Phrase& why, const QString& event);
    void cut(const Phrase& reason, bool switchOff, StepEnding::Interruption by);
    void finish(const Phrase& reason, bool switchOff, RunEnd end);
    static RunEnd endOf(StepEnding::Interruption by);
    void finishRun();
    void armProgramLimits();
    void disarmProgramLimits();
    void armTimer();
    void enterState(State state, const Phrase& why);

    SupplyController& controller_;
    ProtectionWatch& protection_;
    const ProgramClock& clock_;
    std::chrono::milliseconds pollCycle_;
    Program program_;
    bool loaded_ = false;
    std::unique_ptr<ProgramRun> run_;
    CommandOrigin owner_;
    State state_ = State::Idle;
    Phrase why_;
    std::optional<RunEnd> lastEnd_;
    std::optional<RunSummary> summary_;
    QTimer timer_;
    bool linkPaused_ = false;
    ProtectionLimits userLimits_;
    std::optional<ProtectionLimits> armedLimits_;
    std::uint64_t voltageTicket_ = 0;
    std::uint64_t currentTicket_ = 0;
};
