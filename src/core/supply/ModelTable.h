#pragma once

#include "supply/ModelProfile.h"

#include <optional>

// The constant table of supported models, keyed by the code in the status byte.
class ModelTable {
public:
    static constexpr int kLowestCode = 0;
    static constexpr int kHighestCode = 10;

    // The row for a code from 0 to 10 (the fallback row for 0 and 7 to 10); none otherwise.
    static std::optional<ModelProfile> find(int code);

    // True for the codes that get the fallback row ("unknown supply").
    static bool isFallback(int code);
};
