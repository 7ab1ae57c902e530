#pragma once

#include "settings/HotValue.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the program keeps in its settings file, and how it reads and writes it.
// A save that fails keeps what it was to write: load() gives it back and the
// next save tries again, so nothing is lost while the file cannot be written.
class ControllerSettings {
public:
    using Problem = SettingsFile::Problem;

    struct HotPair {
        HotValue voltage;
        HotValue current;
    };

    struct Loaded {
        bool diagnosticsOn = false;
        std::string usePort;
        std::string lastPort;
        std::vector<HotPair> hotValues;
        // The services' sections, for the services to read.
        SettingsSection remote;
        SettingsSection metrics;
        SettingsSection mqtt;
        // The supplies of a run given no --port, as written: their ports,
        // separated by commas or blanks, each a device or Auto.
        std::string supplyPorts;
        // Without a window, what becomes of the output at exit: leave or off.
        std::string outputAtExit;
        Problem problem = Problem::None; // Unreadable: the above are the defaults
    };

    struct Saved {
        std::string usePort;
        std::string lastPort;
        std::vector<std::int32_t> hotVoltageTenths; // tenths of a volt
        std::vector<std::int32_t> hotCurrentTenths; // tenths of an ampere
    };

    // The program's own file, where SettingsFile::defaultPath() says.
    ControllerSettings();
    explicit ControllerSettings(SettingsFile file);

    // An empty or missing "UsePort" stands for a file never written.
    bool hasPortSetting() const;
    // Fills in what the file lacks; a value that is there stays.
    Problem writeDefaults();
    // The file, or what a failed save kept; the defaults when neither is there.
    Loaded load() const;
    // What a settings text holds, read as load() reads the file.
    static Loaded read(const IniDocument& document);
    Problem save(const Saved& saved);
    // Adds one pair, in volts and amperes, after the pairs in the file,
    // unless the file already holds it.
    Problem appendPair(double volts, double amperes);

    const SettingsFile& file() const { return file_; }

private:
    static std::vector<HotPair> hotValuesOf(const IniDocument& document);
    static bool fillDefaults(IniDocument& document);
    static void write(IniDocument& document, const Saved& saved);
    static bool addPair(IniDocument& document, double volts, double amperes);
    Problem store(IniDocument document, bool fromFile);

    SettingsFile file_;
    std::optional<IniDocument> unsaved_;
    Problem unsavedBecause_ = Problem::None;
};
