#pragma once

#include "EventLogTap.h"
#include "Moment.h"
#include "ToggleLedger.h"
#include "controller/Measurement.h"
#include "controller/SupplyController.h"

#include <QObject>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

class SupplyStation;

// What the station did, from its own signals, each with its moment: the
// commands and who gave them, the toggles, the setpoint states, the
// identifications, the trips, the readings and the commands it dropped. It
// follows the station after every other observer, so that a reply's end is
// seen once all of them have acted on it.
class StationJournal final : public QObject {
    Q_OBJECT

public:
    using Frame = Quantity;

    struct Slots {
        Moment at;
        std::int32_t voltageRaw = 0;
        std::int32_t currentRaw = 0;
        bool voltageKnown = false;
        bool currentKnown = false;
        bool identified = false;
        bool operator==(const Slots& other) const;
    };
    struct Command {
        Moment at;
        Frame frame;
        std::int32_t raw;
        CommandOrigin origin;
        std::uint64_t ticket;
    };
    // A command that moved where the output is heading.
    struct OutputAsk {
        Moment at;
        bool on;
        CommandOrigin origin;
        bool tripped;
    };
    struct Drop {
        Moment at;
        Frame frame;
        std::uint64_t first;
        std::uint64_t last;
    };
    struct Span {
        Moment from;
        std::optional<Moment> to;
        int code = 0;
    };

    struct Hooks {
        std::function<void()> replyEnded;
        std::function<void(const Measurement&)> measured;
        std::function<void(const Command&)> commanded;
        std::function<void(const OutputAsk&)> outputAsked;
        std::function<void(const Drop&)> dropped;
        // The controller's own requests to switch off: the timer's.
        std::function<void(const char* by)> offRequested;
    };

    StationJournal(SupplyStation& station, EventLogTap& tap);
    void follow(Hooks hooks);

    std::optional<int> identifiedAt(Moment at) const;
    bool trippedAt(Moment at) const;
    bool trippedThroughout(Moment from, Moment to) const;
    bool lostBetween(Moment from, Moment to) const;
    const std::deque<Command>& commands() const { return commands_; }
    const std::deque<Drop>& drops() const { return drops_; }
    bool dropped(Frame frame, std::uint64_t ticket) const;
    // The states as each change left them, and as the present reply's reading was taken.
    const std::deque<Slots>& states() const { return slots_; }
    const Slots& readingSlots() const { return readingSlots_; }
    std::optional<Moment> replyBefore(Moment at) const;
    std::optional<Moment> lastMeasured() const { return lastMeasured_; }
    bool measuredThisReply() const { return measuredThisReply_; }
    std::uint64_t replies() const { return replies_; }
    ToggleLedger& toggles() { return toggles_; }
    SupplyStation& station() { return station_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followCommands();
    void followLink();
    void followReadings();
    void onCommanded(const CommandOrigin& origin);
    void recordSetpoint(Frame frame, const CommandOrigin& origin);
    void replyStarted();
    void replyEnded();
    void noteSlots();
    void forgetOld();

    SupplyStation& station_;
    SupplyController& controller_;
    EventLogTap& tap_;
    Hooks hooks_;
    ToggleLedger toggles_;
    std::deque<Command> commands_;
    std::deque<Drop> drops_;
    std::deque<Slots> slots_;
    std::deque<Moment> replyTimes_;
    std::deque<Span> identified_;
    std::deque<Span> trips_;
    Slots readingSlots_;
    std::optional<Moment> lastMeasured_;
    std::uint64_t seenVoltageTicket_ = 0;
    std::uint64_t seenCurrentTicket_ = 0;
    std::uint64_t replies_ = 0;
    std::size_t toggleMark_ = 0;
    bool measuredThisReply_ = false;
    bool justWithdrawn_ = false;
};
