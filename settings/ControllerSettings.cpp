#include "settings/ControllerSettings.h"

#include "supply/CNumber.h"
#include "supply/Conversions.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <optional>

namespace {

constexpr const char* kPortSection = "COM-Port";
constexpr const char* kHotSection = "HotValues";
constexpr const char* kDebugSection = "Debug";
constexpr const char* kMissing = "no";

std::string textOr(const IniDocument& document, const char* section, const char* key, const std::string& fallback)
{
    return document.value(section, key).value_or(fallback);
}

int intOr(const IniDocument& document, const char* section, const char* key, int fallback)
{
    const auto text = document.value(section, key);
    return text ? CNumber::toInt(*text) : fallback;
}

// The index of a key written as prefix and a number the way "%i" writes it.
std::optional<int> numberedKey(const std::string& key, char prefix)
{
    if (key.size() < 2 || (key[0] != prefix && key[0] != prefix + ('a' - 'A')) || key[1] == '0') {
        return std::nullopt;
    }
    const std::string digits = key.substr(1);
    if (digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const long long index = std::stoll(digits);
    if (index > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(index);
}

std::string stored(std::int32_t raw, double fullScale)
{
    return Conversions::oneDecimal(raw * fullScale * 0.001);
}

} // namespace

ControllerSettings::ControllerSettings(SettingsFile file)
    : file_(std::move(file))
{
}

bool ControllerSettings::hasPortSetting() const
{
    return !textOr(file_.load(), kPortSection, "UsePort", "").empty();
}

void ControllerSettings::writeDefaults() const
{
    IniDocument document = file_.load();
    document.setValue(kPortSection, "UsePort", "Auto");
    document.setValue(kPortSection, "LastPort", "");
    document.setValue(kHotSection, "TotalZ", "1");
    document.setValue(kHotSection, "V1", "138");
    document.setValue(kHotSection, "A1", "100");
    file_.save(document);
}

ControllerSettings::Loaded ControllerSettings::load() const
{
    return read(file_.load());
}

ControllerSettings::Loaded ControllerSettings::read(const IniDocument& document)
{
    Loaded loaded;
    loaded.diagnosticsOn = intOr(document, kDebugSection, "Debug", 0) == 1;
    loaded.usePort = textOr(document, kPortSection, "UsePort", "Auto");
    loaded.lastPort = textOr(document, kPortSection, "LastPort", "");
    loaded.hotValues = hotValuesOf(document);
    return loaded;
}

// Pairs 1 to "TotalZ" whose two keys are both there, in the order of their
// numbers; only the keys in the file are visited, however large the count.
std::vector<ControllerSettings::HotPair> ControllerSettings::hotValuesOf(const IniDocument& document)
{
    const int count = intOr(document, kHotSection, "TotalZ", 0);
    std::map<int, std::string> voltages;
    std::map<int, std::string> currents;
    for (const IniDocument::Entry& entry : document.entries(kHotSection)) {
        for (const auto& [prefix, values] : {std::pair{'V', &voltages}, std::pair{'A', &currents}}) {
            const auto index = numberedKey(entry.first, prefix);
            if (index && *index <= count) {
                values->emplace(*index, entry.second); // the first of equal keys counts
            }
        }
    }
    std::vector<HotPair> pairs;
    for (const auto& [index, voltage] : voltages) {
        const auto current = currents.find(index);
        if (current == currents.end() || voltage == kMissing || current->second == kMissing) {
            continue;
        }
        pairs.push_back({HotValue::fromText(voltage), HotValue::fromText(current->second)});
    }
    return pairs;
}

void ControllerSettings::save(const Saved& saved) const
{
    IniDocument document = file_.load();
    document.setValue(kPortSection, "UsePort", saved.usePort);
    document.setValue(kPortSection, "LastPort", saved.lastPort);
    document.setValue(kHotSection, "TotalZ", std::to_string(saved.hotVoltageRaw.size()));
    for (std::size_t i = 0; i < saved.hotVoltageRaw.size() && i < saved.hotCurrentRaw.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        document.setValue(kHotSection, "V" + number, stored(saved.hotVoltageRaw[i], saved.voltageMax));
        document.setValue(kHotSection, "A" + number, stored(saved.hotCurrentRaw[i], saved.currentMax));
    }
    file_.save(document);
}

void ControllerSettings::appendPair(double volts, double amperes) const
{
    IniDocument document = file_.load();
    const std::string voltage = Conversions::oneDecimal(volts);
    const std::string current = Conversions::oneDecimal(amperes);
    for (const HotPair& pair : hotValuesOf(document)) {
        if (Conversions::oneDecimal(pair.voltage.value) == voltage
            && Conversions::oneDecimal(pair.current.value) == current) {
            return;
        }
    }
    const int count = std::max(intOr(document, kHotSection, "TotalZ", 0), 0);
    if (count == INT_MAX) {
        return;
    }
    const std::string number = std::to_string(count + 1);
    document.setValue(kHotSection, "TotalZ", number);
    document.setValue(kHotSection, "V" + number, voltage);
    document.setValue(kHotSection, "A" + number, current);
    file_.save(document);
}
