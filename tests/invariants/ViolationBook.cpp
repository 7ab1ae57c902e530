#include "ViolationBook.h"

#include "RunTrace.h"

#include <algorithm>

void ViolationBook::report(const std::string& check, const std::string& text)
{
    RunTrace::instance().write(Clock::now(), "VIOLATED", check + ": " + text);
    if (counts_[check]++ == 0) {
        first_.push_back({check, text, Clock::now(), actions_});
    }
}

bool ViolationBook::any() const
{
    return std::any_of(first_.begin(), first_.end(), [this](const Violation& v) { return enabled(v.check); });
}

bool ViolationBook::seen(const std::string& check) const
{
    return std::any_of(first_.begin(), first_.end(), [&check](const Violation& v) { return v.check == check; });
}
