#pragma once

#include "CheckSelection.h"
#include "Moment.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// A broken invariant as one check saw it.
struct Violation {
    std::string check; // "3/current-after-on": the invariant, then what broke it
    std::string text;
    Moment at;
    std::size_t actions = 0; // actions issued by then
};

// The findings of one run: every check reports here, the first finding of
// each check is kept with its moment, and the others are counted.
class ViolationBook {
public:
    explicit ViolationBook(CheckSelection selection)
        : selection_(std::move(selection))
    {
    }

    void report(const std::string& check, const std::string& text);
    void setActionsIssued(std::size_t count) { actions_ = count; }
    const std::vector<Violation>& first() const { return first_; }
    const std::map<std::string, std::size_t>& counts() const { return counts_; }
    // Of the enabled checks only.
    bool any() const;
    bool seen(const std::string& check) const;
    bool enabled(const std::string& check) const { return selection_.enabled(check); }

private:
    CheckSelection selection_;
    std::vector<Violation> first_;
    std::map<std::string, std::size_t> counts_;
    std::size_t actions_ = 0;
};
