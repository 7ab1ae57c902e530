#pragma once

#include <optional>

// Before a supply is identified, one status is not trusted to name it: a
// stray byte on a port that has just opened reads as a status. A code counts
// once two answers in a row have named it.
class ModelConfirmation {
public:
    // True when the previous answer named the same code.
    bool confirms(int code);
    // After an unanswered poll nothing heard before counts.
    void reset() { heard_.reset(); }

private:
    std::optional<int> heard_;
};
