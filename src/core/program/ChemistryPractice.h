#pragma once

#include "program/Chemistry.h"

#include <array>
#include <optional>
#include <string_view>

// The usual charging practice of one chemistry, per cell, that a profile
// starts from and keeps its adjustable values within.
struct ChemistryPractice {
    enum class Family { Lithium, Lead, Nickel };

    Chemistry chemistry;
    std::string_view key; // in program files and the simulator: "li-ion", "agm", ...
    const char* name; // as the window shows it
    Family family;
    // Constant-voltage (lithium), absorption (lead) or compliance (nickel) voltage.
    double chargeVolts;
    double minChargeVolts;
    double maxChargeVolts;
    double floatVolts; // lead only
    // Below this a cell is pre-charged at prechargeRate × C; below refuseVolts it is refused.
    double prechargeVolts;
    double refuseVolts;
    double prechargeRate;
    // The end of constant voltage or absorption, as a fraction of C.
    double taperRate;
    // The charge backstop, times the capacity.
    double maxChargeFactor;
    // Nickel: -dV per cell.
    double deltaVolts;

    static const ChemistryPractice& of(Chemistry chemistry);
    static std::optional<Chemistry> byKey(std::string_view key);
    static const std::array<ChemistryPractice, 7>& all();
};
