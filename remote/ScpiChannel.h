#pragma once

#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"

#include <optional>
#include <string_view>

// The one output channel, as drivers written for supplies with several
// address it: a numeric suffix on a header (SOUR1, OUTP1), a leading CH1
// node (CH1:VOLT 5), a channel list as the last parameter ((@1)), a name
// (OUT1, CH1, OUTPut1) before an output state or as a query's parameter.
class ScpiChannel {
public:
    // Strips suffix 1 from the header's mnemonics; another suffix is -114.
    static std::optional<ScpiError> takeHeaderSuffixes(ScpiCommand& command);
    // Removes a leading CH node; after takeHeaderSuffixes, so only CH1 gets here.
    static void takeChannelNode(ScpiCommand& command);
    // Removes a trailing channel list naming channel 1, and a channel name
    // before an output state (OUTP CH1,ON) or as a query's one parameter
    // (MEAS:POW? CH1); another channel is -224.
    static std::optional<ScpiError> takeChannelList(ScpiCommand& command);
    // OUT1, CH1 or OUTPut1 in either case.
    static bool namesTheChannel(std::string_view name);

private:
    // CHn or OUTn, OUTPn, OUTPUTn: a channel's name, this one's or another's.
    static bool looksLikeAChannel(std::string_view name);
};
