#include "controller/FrameLedgers.h"

std::vector<FrameLedgers::Lost> FrameLedgers::onReply(bool answered, bool voltagePending, bool currentPending)
{
    std::vector<Lost> lost;
    for (const auto& [frame, pending] :
        {std::pair{Quantity::Voltage, voltagePending}, {Quantity::Current, currentPending}}) {
        if (const auto range = of(frame).onReply(answered, pending)) {
            lost.push_back({frame, *range});
        }
    }
    return lost;
}
