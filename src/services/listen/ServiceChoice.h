#pragma once

#include "settings/SettingsSection.h"

#include <optional>
#include <string>

// What a run asks of one service: its command-line option's value, if given,
// and its section of the settings as read at start-up.
struct ServiceChoice {
    std::optional<std::string> option;
    SettingsSection section;
};
