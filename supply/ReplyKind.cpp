#include "supply/ReplyKind.h"

ReplyKind classifyReply(const std::vector<std::int32_t>& values)
{
    if (values.size() == 1) {
        return values.front() == 0 ? ReplyKind::NoAnswer : ReplyKind::StatusOnly;
    }
    if (values.size() == 3) {
        return ReplyKind::FullStatus;
    }
    return ReplyKind::Incomplete;
}

int statusModelCode(std::int32_t status)
{
    return status >= 128 ? status - 128 : status;
}

bool statusOutputOn(std::int32_t status)
{
    return status >= 128;
}
