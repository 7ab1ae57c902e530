#pragma once

#include "supply/ModelProfile.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The stored pairs of the hot-values list. Read from the settings they hold
// thousandths of a volt and an ampere; once a supply is identified, thousandths
// of its full scales.
class HotValueTable {
public:
    void clear();
    void append(std::int32_t voltage, std::int32_t current);
    void rescaleTo(const ModelProfile& profile);

    // The pair of a row in volts and amperes, brought to one decimal.
    std::optional<std::pair<double, double>> valueAt(int row, const ModelProfile& profile) const;
    bool holdsAt(int row, double volts, double amperes, const ModelProfile& profile) const;
    // The last row that already holds the pair, else none after appending it.
    std::optional<int> addOrFind(double volts, double amperes, const ModelProfile& profile);
    bool remove(int row);

    const std::vector<std::int32_t>& voltages() const { return voltages_; }
    const std::vector<std::int32_t>& currents() const { return currents_; }

    static double storedToValue(std::int32_t raw, double fullScale);

private:
    bool contains(int row) const;

    std::vector<std::int32_t> voltages_;
    std::vector<std::int32_t> currents_;
};
