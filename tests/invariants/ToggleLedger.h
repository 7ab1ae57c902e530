#pragma once

#include "Moment.h"
#include "controller/CommandOrigin.h"

#include <deque>
#include <optional>
#include <vector>

// Every output toggle the controller queued, with the origin that asked for
// it (none for one it queued itself when a status came in) and whether the
// event log told it, matched to the toggle frames the supply received. The
// wire has one toggle flag: the worker takes at its turn every toggle queued
// since its last one, so a frame covers all the toggles queued before it.
class ToggleLedger {
public:
    // How far apart a frame and the toggle it carries may be logged either way
    // and still be told apart by their moments.
    static constexpr std::chrono::milliseconds kBlur{30};

    struct Entry {
        Moment at;
        bool on = false; // where the output was heading once queued
        std::optional<CommandOrigin> origin;
        // The event log's lines before it was asked for: what it told of it comes after.
        std::size_t toldFrom = 0;
        // The earliest the request behind it can have come: for a toggle queued
        // after a status, the toggle before it.
        Moment askedAfter;
        bool withdrawn = false;
        bool sent = false;
    };

    struct Match {
        std::vector<Entry> covered; // queued clearly before the frame
        std::vector<Entry> blurred; // too close to the frame to tell
    };

    void queued(Moment at, bool on);
    // The command signal that follows a toggle the same instant; false when
    // no toggle waits for its origin.
    bool claim(const CommandOrigin& origin, std::size_t toldFrom);
    // The toggle still queued was taken back.
    void withdrawn();
    // The end of a reply's handling: a toggle queued then without a command is the controller's own.
    void endOfTurn() { unclaimed_.reset(); }
    Match frameSent(Moment at);
    void forget(Moment before);

private:
    std::deque<Entry> entries_;
    std::optional<std::size_t> unclaimed_;
};
