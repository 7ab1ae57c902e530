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

std::optional<ScpiError> ScpiChannel::takeChannelList(ScpiCommand& command)
{
    if (command.parameters.empty() || !command.parameters.back().starts_with('(')) {
        return std::nullopt;
    }
    if (withoutBlanks(command.parameters.back()) != "(@1)") {
        return ScpiError::illegalParameterValue();
    }
    command.parameters.pop_back();
    return std::nullopt;
}

bool ScpiChannel::namesTheChannel(std::string_view name)
{
    static constexpr std::array<std::string_view, 4> kNames{"OUT1", "CH1", "OUTP1", "OUTPUT1"};
    const std::string word = upper(name);
    return std::find(kNames.begin(), kNames.end(), word) != kNames.end();
}
