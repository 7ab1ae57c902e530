#pragma once

#include <string>
#include <vector>

// Which checks a run enforces: "all", or a comma list of invariant numbers and
// tags ("1,2,5/scpi"); an item after '-' leaves that one out ("all,-5/truth").
class CheckSelection {
public:
    static CheckSelection parse(const std::string& text);

    // A check is named "3/current-after-on": its invariant, then what broke it.
    bool enabled(const std::string& check) const;
    const std::string& text() const { return text_; }

private:
    static bool covers(const std::string& item, const std::string& check);

    std::string text_;
    std::vector<std::string> wanted_;
    std::vector<std::string> left_;
};
