#pragma once

#include "supply/ModelProfile.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The stored pairs of the hot-values list, in tenths of a volt and an ampere
// as their rows show them, whatever the model: what a row shows is what it
// sends, through the same rule as a value typed into an edit, and what the
// settings file keeps.
class HotValueTable {
public:
    void clear();
    void append(std::int32_t voltageTenths, std::int32_t currentTenths);

    // The pair of a row in volts and amperes.
    std::optional<std::pair<double, double>> valueAt(int row) const;
    // Applying the row would send the frames these values send.
    bool holdsAt(int row, double volts, double amperes, const ModelProfile& profile) const;
    // The last row that already shows the pair, else none after appending it.
    std::optional<int> addOrFind(double volts, double amperes);
    bool remove(int row);

    const std::vector<std::int32_t>& voltages() const { return voltages_; }
    const std::vector<std::int32_t>& currents() const { return currents_; }

    // A value as a row keeps it: to the nearest tenth.
    static std::int32_t tenthsOf(double value);
    static double valueOf(std::int32_t tenths) { return tenths / 10.0; }

private:
    bool contains(int row) const;

    std::vector<std::int32_t> voltages_;
    std::vector<std::int32_t> currents_;
};
