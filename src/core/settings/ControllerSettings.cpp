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

// With a point, in volts or amperes, as a row of the list shows the value.
std::string stored(std::int32_t tenths)
{
    return Conversions::oneDecimal(tenths / 10.0);
}

} // namespace

ControllerSettings::ControllerSettings()
    : file_(SettingsFile::defaultPath())
{
}

ControllerSettings::ControllerSettings(SettingsFile file)
    : file_(std::move(file))
{
}

bool ControllerSettings::hasPortSetting() const
{
    const std::optional<IniDocument> document = unsaved_ ? unsaved_ : file_.load();
    return !document || !textOr(*document, kPortSection, "UsePort", "").empty();
}

// The default pair comes only with a missing count: a pair the user removed
// from a counted list stays removed.
bool ControllerSettings::fillDefaults(IniDocument& document)
{
    std::vector<IniDocument::Entry> port;
    if (textOr(document, kPortSection, "UsePort", "").empty()) {
        port.emplace_back("UsePort", "Auto");
    }
    if (!document.value(kPortSection, "LastPort")) {
        port.emplace_back("LastPort", "");
    }
    std::vector<IniDocument::Entry> hot;
    if (textOr(document, kHotSection, "TotalZ", "").empty()) {
        hot.emplace_back("TotalZ", "1");
        for (const auto& [key, value] : {IniDocument::Entry{"V1", "138"}, IniDocument::Entry{"A1", "100"}}) {
            if (textOr(document, kHotSection, key.c_str(), "").empty()) {
                hot.emplace_back(key, value);
            }
        }
    }
    if (!port.empty()) {
        document.setValues(kPortSection, port);
    }
    if (!hot.empty()) {
        document.setValues(kHotSection, hot);
    }
    return !port.empty() || !hot.empty();
}

ControllerSettings::Problem ControllerSettings::writeDefaults()
{
    std::optional<IniDocument> document = file_.load();
    if (!document) {
        return Problem::Unreadable;
    }
    if (!fillDefaults(*document)) {
        return Problem::None;
    }
    return store(std::move(*document), true);
}

ControllerSettings::Loaded ControllerSettings::load() const
{
    if (unsaved_) {
        return read(*unsaved_);
    }
    if (const std::optional<IniDocument> document = file_.load()) {
        return read(*document);
    }
    IniDocument defaults;
    fillDefaults(defaults);
    Loaded loaded = read(defaults);
    loaded.problem = Problem::Unreadable;
    return loaded;
}

ControllerSettings::Loaded ControllerSettings::read(const IniDocument& document)
{
    Loaded loaded;
    loaded.diagnosticsOn = intOr(document, kDebugSection, "Debug", 0) == 1;
    loaded.usePort = textOr(document, kPortSection, "UsePort", "Auto");
    loaded.lastPort = textOr(document, kPortSection, "LastPort", "");
    loaded.hotValues = hotValuesOf(document);
    loaded.remote = SettingsSection::of(document, "Remote");
    loaded.metrics = SettingsSection::of(document, "Metrics");
    loaded.mqtt = SettingsSection::of(document, "MQTT");
    loaded.supplyPorts = textOr(document, "Supplies", "Ports", "");
    loaded.outputAtExit = textOr(document, "Headless", "OutputAtExit", "");
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

void ControllerSettings::write(IniDocument& document, const Saved& saved)
{
    document.setValues(kPortSection, {{"UsePort", saved.usePort}, {"LastPort", saved.lastPort}});
    const std::size_t count = std::min(saved.hotVoltageTenths.size(), saved.hotCurrentTenths.size());
    std::vector<IniDocument::Entry> hot;
    hot.reserve(1 + 2 * count);
    hot.emplace_back("TotalZ", std::to_string(saved.hotVoltageTenths.size()));
    for (std::size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(i + 1);
        hot.emplace_back("V" + number, stored(saved.hotVoltageTenths[i]));
        hot.emplace_back("A" + number, stored(saved.hotCurrentTenths[i]));
    }
    document.setValues(kHotSection, hot);
}

// Into the file as it is now; when it cannot be read, into what a failed
// save kept, else the defaults, and only in memory.
ControllerSettings::Problem ControllerSettings::save(const Saved& saved)
{
    std::optional<IniDocument> document = file_.load();
    const bool fromFile = document.has_value();
    if (!fromFile) {
        document = unsaved_ ? *unsaved_ : IniDocument();
        fillDefaults(*document);
    }
    write(*document, saved);
    return store(std::move(*document), fromFile);
}

ControllerSettings::Problem ControllerSettings::store(IniDocument document, bool fromFile)
{
    const Problem problem = fromFile ? file_.save(document) : Problem::Unreadable;
    unsavedBecause_ = problem;
    if (problem == Problem::None) {
        unsaved_.reset();
    } else {
        unsaved_ = std::move(document);
    }
    return problem;
}

bool ControllerSettings::addPair(IniDocument& document, double volts, double amperes)
{
    const std::string voltage = Conversions::oneDecimal(volts);
    const std::string current = Conversions::oneDecimal(amperes);
    for (const HotPair& pair : hotValuesOf(document)) {
        if (Conversions::oneDecimal(pair.voltage.value) == voltage
            && Conversions::oneDecimal(pair.current.value) == current) {
            return false;
        }
    }
    const int count = std::max(intOr(document, kHotSection, "TotalZ", 0), 0);
    if (count == INT_MAX) {
        return false;
    }
    const std::string number = std::to_string(count + 1);
    document.setValues(kHotSection, {{"TotalZ", number}, {"V" + number, voltage}, {"A" + number, current}});
    return true;
}

// While a failed save is kept, the pair joins it and waits for the next save,
// which starts from the pairs that load() hands back.
ControllerSettings::Problem ControllerSettings::appendPair(double volts, double amperes)
{
    if (unsaved_) {
        addPair(*unsaved_, volts, amperes);
        return unsavedBecause_;
    }
    std::optional<IniDocument> document = file_.load();
    const bool fromFile = document.has_value();
    if (!fromFile) {
        document.emplace();
        fillDefaults(*document);
    }
    if (!addPair(*document, volts, amperes)) {
        return Problem::None;
    }
    return store(std::move(*document), fromFile);
}
