#pragma once

#include "settings/IniDocument.h"

#include <optional>
#include <string>

// The program's settings file: named after the executable with the extension
// ".ini", in the XDG configuration directory, text in cp1251.
class SettingsFile {
public:
    // Why the file was not read or not written.
    enum class Problem { None, Unreadable, ReadOnly, OtherOwner, NotWritten };

    explicit SettingsFile(std::string path);

    // $XDG_CONFIG_HOME, else ~/.config, and the executable's name.
    static std::string defaultPath();

    const std::string& path() const { return path_; }
    // A missing file reads as empty; one that is there but cannot be read
    // gives nothing, and must not be replaced.
    std::optional<IniDocument> load() const;
    // Creates the directory when it is missing and writes through links. A
    // file made read-only or owned by another user is left as it is.
    Problem save(const IniDocument& document) const;

private:
    static std::string configDirectory();
    static std::string executableName();
    Problem protection() const;

    std::string path_;
};
