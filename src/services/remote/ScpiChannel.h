#pragma once

#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The channel one command names, as drivers written for supplies with several
// address them: a numeric suffix on a header (SOUR2, OUTP2), a leading CH node
// (CH2:VOLT 5), a channel list as the last parameter ((@2)), a name (OUT2,
// CH2, OUTPut2) before an output state or as a query's parameter. Channels
// are numbered from 1 to the server's count.
class ScpiChannel {
public:
    explicit ScpiChannel(std::size_t channels);

    // Strips the suffixes and a leading CH node off a header's mnemonics; a
    // suffix naming no channel, or another than one before, is -114.
    std::optional<ScpiError> takeHeader(std::vector<std::string>& mnemonics);
    // Removes a trailing channel list and a channel name before an output
    // state (OUTP CH2,ON) or as a query's one parameter (MEAS:POW? CH2); one
    // naming no channel, or another than the header, is -224.
    std::optional<ScpiError> takeParameters(ScpiCommand& command);
    // The channel the command named; none when it named none.
    std::optional<std::size_t> named() const { return channel_; }

    // OUTn, CHn, OUTPn or OUTPUTn in either case, n one of the channels.
    static std::optional<std::size_t> ofName(std::string_view name, std::size_t channels);
    // Digits without a sign or a leading zero, 1 to channels.
    static std::optional<std::size_t> ofNumber(std::string_view digits, std::size_t channels);

private:
    // False when the command has named another channel before.
    bool name(std::optional<std::size_t> channel);
    // CHn or OUTn, OUTPn, OUTPUTn: a channel's name, whether that channel is or not.
    static bool looksLikeAChannel(std::string_view name);

    std::size_t channels_;
    std::optional<std::size_t> channel_;
};
