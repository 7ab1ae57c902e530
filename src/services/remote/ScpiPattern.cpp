#include "remote/ScpiPattern.h"

#include <algorithm>

namespace {

bool isLower(char c)
{
    return c >= 'a' && c <= 'z';
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
        [](char c) { return isLower(c) ? static_cast<char>(c - 'a' + 'A') : c; });
    return result;
}

} // namespace

ScpiPattern::ScpiPattern(std::string_view notation)
{
    if (!notation.empty() && notation.back() == '?') {
        query_ = true;
        notation.remove_suffix(1);
    }
    bool optional = false;
    std::string word;
    const auto finishWord = [&] {
        if (!word.empty()) {
            const auto lower = std::find_if(word.begin(), word.end(), isLower);
            nodes_.push_back({upper(word), std::string(word.begin(), lower), optional});
            word.clear();
        }
    };
    for (const char c : notation) {
        if (c == '[' || c == ']' || c == ':') {
            finishWord();
            optional = c == '[' || (optional && c != ']');
        } else {
            word.push_back(c);
        }
    }
    finishWord();
}

bool ScpiPattern::matches(const std::vector<std::string>& mnemonics, bool query) const
{
    return query == query_ && matchesFrom(mnemonics, 0, 0);
}

bool ScpiPattern::matchesFrom(const std::vector<std::string>& mnemonics, std::size_t node, std::size_t mnemonic) const
{
    if (node == nodes_.size()) {
        return mnemonic == mnemonics.size();
    }
    const Node& wanted = nodes_[node];
    if (wanted.optional && matchesFrom(mnemonics, node + 1, mnemonic)) {
        return true;
    }
    if (mnemonic == mnemonics.size()) {
        return false;
    }
    const std::string& given = mnemonics[mnemonic];
    return (given == wanted.shortForm || given == wanted.longForm) && matchesFrom(mnemonics, node + 1, mnemonic + 1);
}
