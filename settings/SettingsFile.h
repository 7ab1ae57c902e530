#pragma once

#include "settings/IniDocument.h"

#include <string>

// The program's settings file: named after the executable with the extension
// ".ini", in the XDG configuration directory, text in cp1251.
class SettingsFile {
public:
    explicit SettingsFile(std::string path);

    // $XDG_CONFIG_HOME, else ~/.config, and the executable's name.
    static std::string defaultPath();

    const std::string& path() const { return path_; }
    // A missing or unreadable file reads as empty.
    IniDocument load() const;
    // Creates the directory when it is missing. False when nothing was written.
    bool save(const IniDocument& document) const;

private:
    static std::string configDirectory();
    static std::string executableName();

    std::string path_;
};
