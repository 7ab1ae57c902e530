#pragma once

#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"

#include <optional>
#include <string_view>

// The one output channel, as drivers written for supplies with several
// address it: a numeric suffix on a header (SOUR1, OUTP1), a channel list as
// the last parameter ((@1)), or a name (OUT1, CH1, OUTPut1).
class ScpiChannel {
public:
    // Strips suffix 1 from the header's mnemonics; another suffix is -114.
    static std::optional<ScpiError> takeHeaderSuffixes(ScpiCommand& command);
    // Removes a trailing channel list naming channel 1; any other list is -224.
    static std::optional<ScpiError> takeChannelList(ScpiCommand& command);
    // OUT1, CH1 or OUTPut1 in either case.
    static bool namesTheChannel(std::string_view name);
};
