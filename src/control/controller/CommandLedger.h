#pragma once

#include <cstdint>
#include <optional>
#include <utility>

// Numbers the commands that ride on one kind of frame and tells which of them
// a lost link may have swallowed. A command counts as delivered only once the
// supply has answered a poll written after its frame: until then a supply
// that fell silent may never have seen it, and its readings may still be
// those from before it.
class CommandLedger {
public:
    using Range = std::pair<std::uint64_t, std::uint64_t>; // first and last, inclusive

    // A new command was queued; its number.
    std::uint64_t issue() { return ++issued_; }
    std::uint64_t lastIssued() const { return issued_; }

    // At each reply, before it is acted on: `pending` is the frame's pending
    // flag as the worker left it. An unanswered poll gives the commands that
    // were not delivered and not told before, if any.
    std::optional<Range> onReply(bool answered, bool pending);

    // The last command whose frame is on the line: the worker writes what it
    // takes at the end of its turn, before the poll of the reply that finds
    // the frame's flag cleared.
    std::uint64_t lastWritten() const { return taken_; }

    // The last command the supply's answers prove delivered.
    std::uint64_t lastDelivered() const { return delivered_; }

    // Every command is delivered: a reading now shows what the supply holds.
    bool settled() const { return delivered_ == issued_; }

private:
    std::uint64_t issued_ = 0;
    std::uint64_t taken_ = 0; // taken by the worker as of the previous reply
    std::uint64_t takenEarlier_ = 0; // as of the reply before that
    std::uint64_t delivered_ = 0;
    std::uint64_t told_ = 0; // the last command reported lost
};
