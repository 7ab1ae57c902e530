#include "program/ChemistryPractice.h"

#include <QtGlobal>

#include <algorithm>

namespace {

using Family = ChemistryPractice::Family;

// Per cell. Lithium: CC then CV to 4.20 V (LiFePO4 3.60 V), ended at C/10,
// pre-charge at C/10 below 3.0 V (2.5 V). Lead: absorption at 2.45/2.40/2.35 V
// (flooded/AGM/gel), float at 2.25 V, soft start at C/20 below 1.75 V. Nickel:
// CC until -dV of 5 mV (NiCd 10 mV), trickle at C/10 below 0.9 V.
const std::array<ChemistryPractice, 7> kPractice{{
    {Chemistry::LiIon, "li-ion", QT_TRANSLATE_NOOP("ChemistryPractice", "Li-ion / LiPo"), Family::Lithium, 4.20, 4.10,
        4.35, 0.0, 3.0, 2.0, 0.1, 0.1, 1.2, 0.0},
    {Chemistry::LiFePO4, "lifepo4", QT_TRANSLATE_NOOP("ChemistryPractice", "LiFePO4"), Family::Lithium, 3.60, 3.45,
        3.65, 0.0, 2.5, 2.0, 0.1, 0.1, 1.2, 0.0},
    {Chemistry::LeadFlooded, "lead-acid", QT_TRANSLATE_NOOP("ChemistryPractice", "Свинцовый, жидкий электролит"),
        Family::Lead, 2.45, 2.30, 2.50, 2.25, 1.75, 1.5, 0.05, 0.02, 1.5, 0.0},
    {Chemistry::LeadAgm, "agm", QT_TRANSLATE_NOOP("ChemistryPractice", "Свинцовый AGM"), Family::Lead, 2.40, 2.30, 2.45,
        2.25, 1.75, 1.5, 0.05, 0.02, 1.5, 0.0},
    {Chemistry::LeadGel, "gel", QT_TRANSLATE_NOOP("ChemistryPractice", "Свинцовый гелевый"), Family::Lead, 2.35, 2.30,
        2.40, 2.25, 1.75, 1.5, 0.05, 0.02, 1.5, 0.0},
    {Chemistry::NiMH, "nimh", QT_TRANSLATE_NOOP("ChemistryPractice", "NiMH"), Family::Nickel, 1.60, 1.50, 1.70, 0.0,
        0.9, 0.3, 0.1, 0.0, 1.5, 0.005},
    {Chemistry::NiCd, "nicd", QT_TRANSLATE_NOOP("ChemistryPractice", "NiCd"), Family::Nickel, 1.60, 1.50, 1.70, 0.0,
        0.9, 0.3, 0.1, 0.0, 1.5, 0.010},
}};

} // namespace

const ChemistryPractice& ChemistryPractice::of(Chemistry chemistry)
{
    return kPractice.at(static_cast<std::size_t>(chemistry));
}

std::optional<Chemistry> ChemistryPractice::byKey(std::string_view key)
{
    const auto found = std::find_if(
        kPractice.begin(), kPractice.end(), [key](const ChemistryPractice& practice) { return practice.key == key; });
    return found == kPractice.end() ? std::nullopt : std::optional(found->chemistry);
}

const std::array<ChemistryPractice, 7>& ChemistryPractice::all()
{
    return kPractice;
}
