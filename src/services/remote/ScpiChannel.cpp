#include "remote/ScpiChannel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
        [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return result;
}

std::string withoutBlanks(std::string_view text)
{
    std::string result;
    std::copy_if(text.begin(), text.end(), std::back_inserter(result), [](char c) { return c != ' ' && c != '\t'; });
    return result;
}

} // namespace

ScpiChannel::ScpiChannel(std::size_t channels)
    : channels_(channels)
{
}

std::optional<ScpiError> ScpiChannel::takeHeader(std::vector<std::string>& mnemonics)
{
    for (std::string& mnemonic : mnemonics) {
        const auto digits = std::find_if(mnemonic.rbegin(), mnemonic.rend(), [](char c) { return !isDigit(c); });
        const std::size_t stem = static_cast<std::size_t>(mnemonic.rend() - digits);
        if (stem == mnemonic.size()) {
            continue;
        }
        if (!name(ofNumber(std::string_view(mnemonic).substr(stem), channels_))) {
            return ScpiError::headerSuffixOutOfRange();
        }
        mnemonic.resize(stem);
    }
    if (mnemonics.size() > 1 && mnemonics.front() == "CH") {
        mnemonics.erase(mnemonics.begin());
    }
    return std::nullopt;
}

std::optional<ScpiError> ScpiChannel::takeParameters(ScpiCommand& command)
{
    auto& parameters = command.parameters;
    if (!parameters.empty() && parameters.back().starts_with('(')) {
        // One channel only: a setting on several could not be checked on
        // every supply before the first is sent.
        const std::string list = withoutBlanks(parameters.back());
        const bool one = list.starts_with("(@") && list.ends_with(')');
        if (!one || !name(ofNumber(std::string_view(list).substr(2, list.size() - 3), channels_))) {
            return ScpiError::illegalParameterValue();
        }
        parameters.pop_back();
    }
    const bool named = (parameters.size() == 2 && !command.query) || (parameters.size() == 1 && command.query);
    if (named && looksLikeAChannel(parameters.front())) {
        if (!name(ofName(parameters.front(), channels_))) {
            return ScpiError::illegalParameterValue();
        }
        parameters.erase(parameters.begin());
    }
    return std::nullopt;
}

bool ScpiChannel::name(std::optional<std::size_t> channel)
{
    if (!channel || (channel_ && *channel_ != *channel)) {
        return false;
    }
    channel_ = channel;
    return true;
}

bool ScpiChannel::looksLikeAChannel(std::string_view name)
{
    const std::string word = upper(name);
    return !word.empty() && isDigit(word.back()) && (word.starts_with("CH") || word.starts_with("OUT"));
}

std::optional<std::size_t> ScpiChannel::ofName(std::string_view name, std::size_t channels)
{
    // Longest first, so that OUTP2 is not read as OUT with "P2".
    static constexpr std::array<std::string_view, 4> kStems{"OUTPUT", "OUTP", "OUT", "CH"};
    const std::string word = upper(name);
    for (const std::string_view stem : kStems) {
        if (word.starts_with(stem)) {
            if (auto channel = ofNumber(std::string_view(word).substr(stem.size()), channels)) {
                return channel;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ScpiChannel::ofNumber(std::string_view digits, std::size_t channels)
{
    if (digits.empty() || digits.front() == '0' || !std::all_of(digits.begin(), digits.end(), isDigit)) {
        return std::nullopt;
    }
    std::size_t channel = 0;
    const auto [end, problem] = std::from_chars(digits.data(), digits.data() + digits.size(), channel);
    if (problem != std::errc() || end != digits.data() + digits.size() || channel > channels) {
        return std::nullopt;
    }
    return channel;
}
