#include "CheckSelection.h"

#include <algorithm>
#include <sstream>

CheckSelection CheckSelection::parse(const std::string& text)
{
    CheckSelection selection;
    selection.text_ = text.empty() ? "all" : text;
    std::istringstream items(selection.text_);
    for (std::string item; std::getline(items, item, ',');) {
        item.erase(std::remove(item.begin(), item.end(), ' '), item.end());
        if (item.empty()) {
            continue;
        }
        if (item.front() == '-') {
            selection.left_.push_back(item.substr(1));
        } else {
            selection.wanted_.push_back(item);
        }
    }
    return selection;
}

bool CheckSelection::covers(const std::string& item, const std::string& check)
{
    if (item == "all" || item == check) {
        return true;
    }
    // "5" covers "5/csv"; "5/scpi" covers "5/scpi" only.
    return check.size() > item.size() && check.compare(0, item.size(), item) == 0 && check[item.size()] == '/';
}

bool CheckSelection::enabled(const std::string& check) const
{
    const auto covering = [&check](const std::string& item) { return covers(item, check); };
    return std::any_of(wanted_.begin(), wanted_.end(), covering) && std::none_of(left_.begin(), left_.end(), covering);
}
