#include "supply/SupplyStatus.h"

#include "supply/WireProtocol.h"

int statusModelCode(std::int32_t status)
{
    return statusOutputOn(status) ? status - WireProtocol::kOutputOnBit : status;
}

bool statusOutputOn(std::int32_t status)
{
    return status >= WireProtocol::kOutputOnBit;
}
