#include "supply/ReplyKind.h"

#include "link/WireProtocol.h"

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
    return statusOutputOn(status) ? status - WireProtocol::kOutputOnBit : status;
}

bool statusOutputOn(std::int32_t status)
{
    return status >= WireProtocol::kOutputOnBit;
}
