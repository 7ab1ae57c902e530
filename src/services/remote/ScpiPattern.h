#pragma once

#include <string>
#include <string_view>
#include <vector>

// A command header in the usual notation, such as
// "[SOURce:]VOLTage[:LEVel]?": the upper-case part of each mnemonic is its
// short form, bracketed nodes may be left out, and a final '?' makes it a query.
class ScpiPattern {
public:
    explicit ScpiPattern(std::string_view notation);

    // True when the upper-case `mnemonics` spell this header in short or long forms.
    bool matches(const std::vector<std::string>& mnemonics, bool query) const;

private:
    struct Node {
        std::string longForm;
        std::string shortForm;
        bool optional = false;
    };

    bool matchesFrom(const std::vector<std::string>& mnemonics, std::size_t node, std::size_t mnemonic) const;

    std::vector<Node> nodes_;
    bool query_ = false;
};
