#pragma once

#include <optional>
#include <string>
#include <string_view>

// A battery as given on the command line: CHEMISTRY:CELLSsCAPACITYAh[:SOC%],
// for example li-ion:1s2.0Ah:20.
struct BatteryPack {
    enum class Chemistry { LiIon, LiPo, LiFePO4, LeadAcid, Agm, Gel, NiMH, NiCd };

    static constexpr int kMaxCells = 64;
    // Below a milliampere-hour the cell's resistance would grow without bound.
    static constexpr double kMinCapacityAh = 0.001;
    static constexpr double kMaxCapacityAh = 1000.0;
    static constexpr double kDefaultStateOfCharge = 0.5;
    static constexpr std::string_view kForm = "CHEMISTRY:CELLSsCAPACITYAh[:SOC%], such as li-ion:1s2.0Ah:20";

    Chemistry chemistry = Chemistry::LiIon;
    int cells = 1;
    double capacityAh = 1.0;
    double stateOfCharge = kDefaultStateOfCharge; // a fraction, 0..1

    // Letters in any case; none for anything malformed or out of range.
    static std::optional<BatteryPack> parse(const std::string& text);

    bool operator==(const BatteryPack&) const = default;

private:
    static std::optional<Chemistry> chemistryNamed(std::string_view name);
    static bool readCells(std::string_view text, BatteryPack& pack);
    static std::optional<double> stateOfChargeFrom(std::string_view percent);
};
