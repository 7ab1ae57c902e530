#include "controller/CommandLedger.h"

// The worker writes the frames it has taken after its poll, so the answer to
// the poll after that, which comes with the next reply but one, is the first
// to prove them delivered.
std::optional<CommandLedger::Range> CommandLedger::onReply(bool answered, bool pending)
{
    if (!answered) {
        const std::optional<Range> lost
            = delivered_ < issued_ ? std::optional<Range>({delivered_ + 1, issued_}) : std::nullopt;
        delivered_ = taken_ = issued_;
        return lost;
    }
    delivered_ = taken_;
    if (!pending) {
        taken_ = issued_;
    }
    return std::nullopt;
}
