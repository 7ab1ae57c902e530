#include "metrics/MetricsConfig.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
    std::optional<std::string> option;
    const char* enabledKey;
    const char* listenKey;
    const char* address; // as listened on, when enabled
    bool enabled;
    bool warns;
    bool refused;
};

TEST(MetricsConfig, OffUnlessAskedLocalUnlessWrittenOut)
{
    const Case cases[] = {
        {std::nullopt, "", "", "", false, false, false},
        {std::nullopt, "0", "0.0.0.0:9000", "", false, false, false},
        {std::nullopt, "1", "", "127.0.0.1:9478", true, false, false},
        {std::nullopt, "1", "[::1]:9100", "[::1]:9100", true, false, false},
        {std::nullopt, "yes", "", "", false, false, true},
        {std::nullopt, "1", "nine", "", false, false, true},
        {"9100", "0", "", "127.0.0.1:9100", true, false, false},
        {"0.0.0.0:9100", "", "", "0.0.0.0:9100", true, true, false},
        {"localhost:0", "1", "9200", "", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option.value_or("(no option)") + " / " + c.enabledKey + " / " + c.listenKey);
        const MetricsConfig config
            = MetricsConfig::resolve({c.option, SettingsSection({{"Enabled", c.enabledKey}, {"Listen", c.listenKey}})});
        EXPECT_EQ(config.enabled, c.enabled);
        if (c.enabled) {
            EXPECT_EQ(config.address.toString(), c.address);
        }
        EXPECT_EQ(!config.warning.empty(), c.warns) << config.warning;
        EXPECT_EQ(!config.error.empty(), c.refused) << config.error;
    }
}

} // namespace
