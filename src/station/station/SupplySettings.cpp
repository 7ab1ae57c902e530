#include "station/SupplySettings.h"

#include "settings/SettingsAdvice.h"
#include "settings/StaleTemporaries.h"

SupplySettings::Problem SupplySettings::prepare()
{
    return settings_.hasPortSetting() ? Problem::None : settings_.writeDefaults();
}

ControllerSettings::Loaded SupplySettings::load(bool startup)
{
    ControllerSettings::Loaded loaded = settings_.load();
    if (startup) {
        StaleTemporaries::remove(path());
    }
    return loaded;
}

std::optional<Phrase> SupplySettings::adviceOnce(Problem problem)
{
    if (problem == Problem::None || !told_.insert(problem).second) {
        return std::nullopt;
    }
    return SettingsAdvice::about(problem, path());
}
