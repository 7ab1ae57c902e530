#include "controller/CommandLedger.h"

#include <algorithm>

// The worker writes the frames it has taken after its poll, so the answer to
// the poll after that, which comes with the next reply but one, is the first
// to prove them delivered. An answer that came too late for its own turn is
// read at the next one, so the proof is taken a reply later still.
std::optional<CommandLedger::Range> CommandLedger::onReply(bool answered, bool pending)
{
    std::optional<Range> lost;
    if (answered) {
        delivered_ = std::max(delivered_, takenEarlier_);
    } else if (const std::uint64_t first = std::max(delivered_, told_) + 1; first <= issued_) {
        lost = Range{first, issued_};
        told_ = issued_;
    }
    takenEarlier_ = taken_;
    if (!pending) {
        taken_ = issued_;
    }
    return lost;
}
