#include "remote/ScpiChannel.h"

#include <algorithm>
#include <array>

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

std::optional<ScpiError> ScpiChannel::takeHeaderSuffixes(ScpiCommand& command)
{
    if (command.common) {
        return std::nullopt;
    }
    for (std::string& mnemonic : command.mnemonics) {
        const auto digits = std::find_if(mnemonic.rbegin(), mnemonic.rend(), [](char c) { return !isDigit(c); });
        const std::size_t stem = static_cast<std::size_t>(mnemonic.rend() - digits);
        if (stem == mnemonic.size()) {
            continue;
        }
        if (std::string_view(mnemonic).substr(stem) != "1") {
            return ScpiError::headerSuffixOutOfRange();
        }
        mnemonic.resize(stem);
    }
    return std::nullopt;
}

void ScpiChannel::takeChannelNode(ScpiCommand& command)
{
    if (command.mnemonics.size() > 1 && command.mnemonics.front() == "CH") {
        command.mnemonics.erase(command.mnemonics.begin());
    }
}

std::optional<ScpiError> ScpiChannel::takeChannelList(ScpiCommand& command)
{
    auto& parameters = command.parameters;
    if (!parameters.empty() && parameters.back().starts_with('(')) {
        if (withoutBlanks(parameters.back()) != "(@1)") {
            return ScpiError::illegalParameterValue();
        }
        parameters.pop_back();
    }
    const bool named = (parameters.size() == 2 && !command.query) || (parameters.size() == 1 && command.query);
    if (named && looksLikeAChannel(parameters.front())) {
        if (!namesTheChannel(parameters.front())) {
            return ScpiError::illegalParameterValue();
        }
        parameters.erase(parameters.begin());
    }
    return std::nullopt;
}

bool ScpiChannel::looksLikeAChannel(std::string_view name)
{
    const std::string word = upper(name);
    return !word.empty() && isDigit(word.back()) && (word.starts_with("CH") || word.starts_with("OUT"));
}

bool ScpiChannel::namesTheChannel(std::string_view name)
{
    static constexpr std::array<std::string_view, 4> kNames{"OUT1", "CH1", "OUTP1", "OUTPUT1"};
    const std::string word = upper(name);
    return std::find(kNames.begin(), kNames.end(), word) != kNames.end();
}
