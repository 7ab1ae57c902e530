#pragma once

#include "settings/IniDocument.h"

#include <string>
#include <string_view>
#include <vector>

// One section of the settings file as read at start-up: its keys and values
// in file order, handed to the part that owns the section instead of the file.
class SettingsSection {
public:
    SettingsSection() = default;
    explicit SettingsSection(std::vector<IniDocument::Entry> entries);

    static SettingsSection of(const IniDocument& document, const std::string& name);

    // The first key of the name, matched as the file matches it: without
    // regard to case. Empty when missing.
    std::string value(std::string_view key) const;
    const std::vector<IniDocument::Entry>& entries() const { return entries_; }

private:
    std::vector<IniDocument::Entry> entries_;
};
