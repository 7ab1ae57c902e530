#include "ToggleLedger.h"

void ToggleLedger::queued(Moment at, bool on)
{
    Entry entry;
    entry.at = at;
    entry.on = on;
    entry.askedAfter = entries_.empty() ? at : entries_.back().at;
    entries_.push_back(entry);
    unclaimed_ = entries_.size() - 1;
}

bool ToggleLedger::claim(const CommandOrigin& origin, std::size_t toldFrom)
{
    if (!unclaimed_ || *unclaimed_ >= entries_.size()) {
        unclaimed_.reset();
        return false;
    }
    Entry& entry = entries_[*unclaimed_];
    entry.origin = origin;
    entry.toldFrom = toldFrom;
    entry.askedAfter = entry.at;
    unclaimed_.reset();
    return true;
}

void ToggleLedger::withdrawn()
{
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (!it->sent && !it->withdrawn) {
            it->withdrawn = true;
            return;
        }
    }
}

ToggleLedger::Match ToggleLedger::frameSent(Moment at)
{
    Match match;
    for (Entry& entry : entries_) {
        if (entry.sent || entry.withdrawn) {
            continue;
        }
        if (entry.at < at - kBlur) {
            entry.sent = true;
            match.covered.push_back(entry);
        } else if (entry.at <= at + kBlur) {
            match.blurred.push_back(entry);
        }
    }
    return match;
}

void ToggleLedger::forget(Moment before)
{
    while (!entries_.empty() && entries_.front().at < before) {
        entries_.pop_front();
        if (unclaimed_) {
            unclaimed_ = *unclaimed_ == 0 ? std::optional<std::size_t>{} : std::optional(*unclaimed_ - 1);
        }
    }
}
