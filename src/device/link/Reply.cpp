#include "link/Reply.h"

ReplyKind Reply::kind() const
{
    if (!whole()) {
        return ReplyKind::Incomplete;
    }
    if (voltageWord) {
        return ReplyKind::FullStatus;
    }
    return status == 0 ? ReplyKind::NoAnswer : ReplyKind::StatusOnly;
}

std::vector<std::int32_t> Reply::values() const
{
    std::vector<std::int32_t> values{status};
    for (const auto& word : {voltageWord, currentWord}) {
        if (word) {
            values.push_back(*word);
        }
    }
    return values;
}
