#include "remote/RemoteChannels.h"

#include <utility>

RemoteChannels::RemoteChannels(std::vector<RemoteInstrument*> instruments)
    : instruments_(std::move(instruments))
{
}

RemoteChannels::RemoteChannels(RemoteInstrument& instrument)
    : instruments_{&instrument}
{
}
