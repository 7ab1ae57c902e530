#include "settings/SettingsSection.h"

#include <algorithm>
#include <cctype>
#include <utility>

SettingsSection::SettingsSection(std::vector<IniDocument::Entry> entries)
    : entries_(std::move(entries))
{
}

SettingsSection SettingsSection::of(const IniDocument& document, const std::string& name)
{
    return SettingsSection(document.entries(name));
}

std::string SettingsSection::value(std::string_view key) const
{
    const auto sameKey = [key](const IniDocument::Entry& entry) {
        return std::equal(entry.first.begin(), entry.first.end(), key.begin(), key.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
        });
    };
    const auto found = std::find_if(entries_.begin(), entries_.end(), sameKey);
    return found != entries_.end() ? found->second : std::string();
}
