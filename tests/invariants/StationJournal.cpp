#include "StationJournal.h"

#include "link/LinkReplyEvent.h"
#include "station/SupplyStation.h"

#include <algorithm>

namespace {

// Long enough for any check's look back.
constexpr auto kKept = std::chrono::seconds(60);

} // namespace

bool StationJournal::Slots::operator==(const Slots& other) const
{
    return voltageRaw == other.voltageRaw && currentRaw == other.currentRaw && voltageKnown == other.voltageKnown
        && currentKnown == other.currentKnown && identified == other.identified;
}

StationJournal::StationJournal(SupplyStation& station, EventLogTap& tap)
    : station_(station)
    , controller_(station.controller())
    , tap_(tap)
{
}

void StationJournal::follow(Hooks hooks)
{
    hooks_ = std::move(hooks);
    station_.link().installEventFilter(this);
    followCommands();
    followLink();
    followReadings();
    noteSlots();
}

void StationJournal::followCommands()
{
    connect(&controller_, &SupplyController::outputTogglePending, this, [this] {
        toggles_.queued(Clock::now(), controller_.outputHeading());
        toggleMark_ = tap_.written();
        seenVoltageTicket_ = controller_.lastTicket(Frame::Voltage);
        noteSlots();
    });
    connect(&controller_, &SupplyController::outputToggleWithdrawn, this, [this] {
        toggles_.withdrawn();
        justWithdrawn_ = true;
    });
    connect(&controller_, &SupplyController::commanded, this, &StationJournal::onCommanded);
    connect(&controller_, &SupplyController::commandsDropped, this, [this](Frame frame, quint64 first, quint64 last) {
        drops_.push_back({Clock::now(), frame, first, last});
        hooks_.dropped(drops_.back());
    });
    connect(&station_.timer(), &TimerRun::runEnded, this, [this] {
        if (controller_.outputHeading()) {
            hooks_.offRequested("the timer");
        }
    });
}

void StationJournal::followLink()
{
    connect(&controller_, &SupplyController::supplyIdentified, this, [this] {
        identified_.push_back({Clock::now(), std::nullopt, controller_.profile().code});
        noteSlots();
    });
    connect(&controller_, &SupplyController::controlsLive, this, &StationJournal::noteSlots);
    connect(&controller_, &SupplyController::linkLost, this, [this] {
        if (!identified_.empty() && !identified_.back().to) {
            identified_.back().to = Clock::now();
        }
        noteSlots();
    });
    connect(&station_.protection(), &ProtectionWatch::trippedOn, this, [this] {
        trips_.push_back({Clock::now(), std::nullopt});
    });
    connect(&station_.protection(), &ProtectionWatch::cleared, this, [this] {
        if (!trips_.empty() && !trips_.back().to) {
            trips_.back().to = Clock::now();
        }
    });
}

void StationJournal::followReadings()
{
    // Taken up or learned from the supply before the reading is taken: the reading carries them.
    const auto learned = [this] {
        readingSlots_.voltageRaw = station_.link().voltageRaw();
        readingSlots_.currentRaw = station_.link().currentRaw();
        noteSlots();
    };
    connect(&controller_, &SupplyController::setpointChanged, this,
        [learned](Quantity /*quantity*/, SupplyController::SetpointCause cause, double /*value*/) {
            if (cause != SupplyController::SetpointCause::Commanded) {
                learned();
            }
        });
    connect(&controller_, &SupplyController::measured, this, [this](const Measurement& measurement) {
        lastMeasured_ = Clock::now();
        measuredThisReply_ = true;
        hooks_.measured(measurement);
    });
    connect(&station_.link(), &SupplyLink::replied, this, &StationJournal::replyEnded);
}

// A toggle's command signal follows it at once, with no new ticket; a
// setpoint's comes with its ticket.
void StationJournal::onCommanded(const CommandOrigin& origin)
{
    const std::uint64_t voltage = controller_.lastTicket(Frame::Voltage);
    const std::uint64_t current = controller_.lastTicket(Frame::Current);
    const bool heading = controller_.outputHeading();
    const bool fresh = voltage == seenVoltageTicket_ && current == seenCurrentTicket_;
    const bool toggle = fresh && !justWithdrawn_ && toggles_.claim(origin, toggleMark_);
    if (toggle || justWithdrawn_) {
        hooks_.outputAsked({Clock::now(), heading, origin, station_.protection().tripped()});
        justWithdrawn_ = false;
    }
    if (voltage > seenVoltageTicket_) {
        seenVoltageTicket_ = voltage;
        recordSetpoint(Frame::Voltage, origin);
    }
    if (current > seenCurrentTicket_) {
        seenCurrentTicket_ = current;
        recordSetpoint(Frame::Current, origin);
    }
    noteSlots();
}

void StationJournal::recordSetpoint(Frame frame, const CommandOrigin& origin)
{
    const SupplyLink& link = station_.link();
    const std::int32_t raw = frame == Frame::Voltage ? link.voltageRaw() : link.currentRaw();
    commands_.push_back({Clock::now(), frame, raw, origin, controller_.lastTicket(frame)});
    hooks_.commanded(commands_.back());
}

bool StationJournal::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == LinkReplyEvent::kType) {
        replyStarted();
    }
    return QObject::eventFilter(watched, event);
}

void StationJournal::replyStarted()
{
    ++replies_;
    replyTimes_.push_back(Clock::now());
    measuredThisReply_ = false;
    noteSlots();
    readingSlots_ = slots_.back();
}

void StationJournal::replyEnded()
{
    noteSlots();
    toggles_.endOfTurn();
    justWithdrawn_ = false;
    hooks_.replyEnded();
    forgetOld();
}

void StationJournal::noteSlots()
{
    const auto voltage = controller_.heldVoltage();
    const auto current = controller_.heldCurrent();
    const Slots now{Clock::now(), station_.link().voltageRaw(), station_.link().currentRaw(), voltage.has_value(),
        current.has_value(), controller_.identified()};
    if (slots_.empty() || !(slots_.back() == now)) {
        slots_.push_back(now);
    }
}

void StationJournal::forgetOld()
{
    const Moment before = Clock::now() - kKept;
    const auto old = [before](const auto& each) { return each.at < before; };
    while (!commands_.empty() && old(commands_.front())) {
        commands_.pop_front();
    }
    while (!drops_.empty() && old(drops_.front())) {
        drops_.pop_front();
    }
    while (slots_.size() > 1 && slots_[1].at < before) {
        slots_.pop_front();
    }
    while (!replyTimes_.empty() && replyTimes_.front() < before) {
        replyTimes_.pop_front();
    }
    toggles_.forget(before);
}

std::optional<int> StationJournal::identifiedAt(Moment at) const
{
    for (auto it = identified_.rbegin(); it != identified_.rend(); ++it) {
        if (it->from <= at) {
            return !it->to || at < *it->to ? std::optional(it->code) : std::nullopt;
        }
    }
    return std::nullopt;
}

bool StationJournal::trippedAt(Moment at) const
{
    return std::any_of(trips_.begin(), trips_.end(),
        [at](const Span& span) { return span.from <= at && (!span.to || at < *span.to); });
}

bool StationJournal::trippedThroughout(Moment from, Moment to) const
{
    return std::any_of(trips_.begin(), trips_.end(),
        [from, to](const Span& span) { return span.from <= from && (!span.to || to < *span.to); });
}

bool StationJournal::lostBetween(Moment from, Moment to) const
{
    return std::any_of(identified_.begin(), identified_.end(),
        [from, to](const Span& span) { return span.to && from < *span.to && *span.to <= to; });
}

bool StationJournal::dropped(Frame frame, std::uint64_t ticket) const
{
    return std::any_of(drops_.begin(), drops_.end(), [frame, ticket](const Drop& drop) {
        return drop.frame == frame && drop.first <= ticket && ticket <= drop.last;
    });
}

std::optional<Moment> StationJournal::replyBefore(Moment at) const
{
    for (auto it = replyTimes_.rbegin(); it != replyTimes_.rend(); ++it) {
        if (*it <= at) {
            return *it;
        }
    }
    return std::nullopt;
}
