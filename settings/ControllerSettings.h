#pragma once

#include "settings/HotValue.h"
#include "settings/SettingsFile.h"

#include <cstdint>
#include <string>
#include <vector>

// What the program keeps in its settings file, and how it reads and writes it.
class ControllerSettings {
public:
    struct HotPair {
        HotValue voltage;
        HotValue current;
    };

    struct Loaded {
        bool diagnosticsOn = false;
        std::string usePort;
        std::string lastPort;
        std::vector<HotPair> hotValues;
    };

    struct Saved {
        std::string usePort;
        std::string lastPort;
        std::vector<std::int32_t> hotVoltageRaw; // thousandths of full scale
        std::vector<std::int32_t> hotCurrentRaw;
        double voltageMax = 0.0;
        double currentMax = 0.0;
    };

    explicit ControllerSettings(SettingsFile file);

    // An empty or missing "UsePort" stands for a file never written.
    bool hasPortSetting() const;
    void writeDefaults() const;
    Loaded load() const;
    // What a settings text holds, read as load() reads the file.
    static Loaded read(const IniDocument& document);
    void save(const Saved& saved) const;
    // Adds one pair, in volts and amperes, after the pairs in the file,
    // unless the file already holds it.
    void appendPair(double volts, double amperes) const;

    const SettingsFile& file() const { return file_; }

private:
    static std::vector<HotPair> hotValuesOf(const IniDocument& document);

    SettingsFile file_;
};
