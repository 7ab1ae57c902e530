#include "BatteryPack.h"

#include "ArgumentValue.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace {

using Chemistry = BatteryPack::Chemistry;

constexpr std::array<std::pair<std::string_view, Chemistry>, 8> kChemistries{{
    {"li-ion", Chemistry::LiIon},
    {"lipo", Chemistry::LiPo},
    {"lifepo4", Chemistry::LiFePO4},
    {"lead-acid", Chemistry::LeadAcid},
    {"agm", Chemistry::Agm},
    {"gel", Chemistry::Gel},
    {"nimh", Chemistry::NiMH},
    {"nicd", Chemistry::NiCd},
}};

constexpr std::string_view kAmpereHours = "ah";
constexpr double kPercent = 100.0;

} // namespace

std::optional<BatteryPack> BatteryPack::parse(const std::string& text)
{
    std::string lower = text;
    std::transform(
        lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::string_view whole = lower;
    const std::size_t first = whole.find(':');
    const std::size_t second = first == std::string_view::npos ? first : whole.find(':', first + 1);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    BatteryPack pack;
    const std::optional<Chemistry> chemistry = chemistryNamed(whole.substr(0, first));
    if (!chemistry || !readCells(whole.substr(first + 1, second - first - 1), pack)) {
        return std::nullopt;
    }
    pack.chemistry = *chemistry;
    if (second != std::string_view::npos) {
        const std::optional<double> stateOfCharge = stateOfChargeFrom(whole.substr(second + 1));
        if (!stateOfCharge) {
            return std::nullopt;
        }
        pack.stateOfCharge = *stateOfCharge;
    }
    return pack;
}

std::optional<BatteryPack::Chemistry> BatteryPack::chemistryNamed(std::string_view name)
{
    const auto* found = std::find_if(
        kChemistries.begin(), kChemistries.end(), [name](const auto& entry) { return entry.first == name; });
    if (found == kChemistries.end()) {
        return std::nullopt;
    }
    return found->second;
}

// CELLSsCAPACITYAh, such as 4s2.5ah once lowered.
bool BatteryPack::readCells(std::string_view text, BatteryPack& pack)
{
    const std::size_t split = text.find('s');
    if (split == std::string_view::npos || !text.ends_with(kAmpereHours)) {
        return false;
    }
    const std::optional<int> cells = ArgumentValue::integer(text.substr(0, split), 1, kMaxCells);
    const std::size_t capacityEnd = text.size() - kAmpereHours.size();
    const std::optional<double> capacity
        = split < capacityEnd ? ArgumentValue::finite(text.substr(split + 1, capacityEnd - split - 1)) : std::nullopt;
    if (!cells || !capacity || *capacity < kMinCapacityAh || *capacity > kMaxCapacityAh) {
        return false;
    }
    pack.cells = *cells;
    pack.capacityAh = *capacity;
    return true;
}

std::optional<double> BatteryPack::stateOfChargeFrom(std::string_view percent)
{
    if (percent.ends_with('%')) {
        percent.remove_suffix(1);
    }
    const std::optional<double> value = ArgumentValue::finite(percent);
    if (!value || *value < 0.0 || *value > kPercent) {
        return std::nullopt;
    }
    return *value / kPercent;
}
