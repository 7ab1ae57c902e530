#include "remote/RemoteConfig.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

SettingsSection keys(const char* enabled, const char* listen)
{
    return SettingsSection({{"Enabled", enabled}, {"Listen", listen}});
}

} // namespace

TEST(RemoteConfig, TheOptionWinsOverTheSettings)
{
    const RemoteConfig off = RemoteConfig::resolve({});
    EXPECT_FALSE(off.enabled);
    EXPECT_TRUE(off.error.empty());
    EXPECT_FALSE(RemoteConfig::resolve({std::nullopt, keys("0", "garbage")}).enabled);

    const RemoteConfig defaults = RemoteConfig::resolve({std::nullopt, keys("1", "")});
    EXPECT_TRUE(defaults.enabled);
    EXPECT_EQ(defaults.address.toString(), "127.0.0.1:5025");
    EXPECT_TRUE(defaults.warning.empty());

    const RemoteConfig option = RemoteConfig::resolve({"6000", keys("0", "")});
    EXPECT_TRUE(option.enabled);
    EXPECT_EQ(option.address.toString(), "127.0.0.1:6000");

    const RemoteConfig everyone = RemoteConfig::resolve({std::nullopt, keys("1", "0.0.0.0:5025")});
    EXPECT_TRUE(everyone.enabled);
    EXPECT_EQ(everyone.warning,
        "remote control listens on 0.0.0.0:5025: anyone who can reach this address can switch the supply's output");
}

TEST(RemoteConfig, BadValuesLeaveTheServerOffWithAMessage)
{
    const RemoteConfig badOption = RemoteConfig::resolve({"nowhere", keys("1", "5025")});
    EXPECT_FALSE(badOption.enabled);
    EXPECT_EQ(badOption.error.rfind("--scpi: \"nowhere\" has no port", 0), 0U);

    const RemoteConfig badListen = RemoteConfig::resolve({std::nullopt, keys("1", "host:5025")});
    EXPECT_FALSE(badListen.enabled);
    EXPECT_EQ(badListen.error.rfind("[Remote] Listen: \"host:5025\"", 0), 0U);

    const RemoteConfig badEnabled = RemoteConfig::resolve({std::nullopt, keys("yes", "5025")});
    EXPECT_FALSE(badEnabled.enabled);
    EXPECT_EQ(badEnabled.error, "[Remote] Enabled must be 0 or 1");
}

TEST(RemoteConfig, LimitsComeFromTheirKeysAndABadOneKeepsTheServerOff)
{
    const struct {
        const char* maxClients;
        const char* idle;
        bool enabled;
        int clients;
        int seconds;
    } cases[] = {
        {"", "", true, 4, 0},
        {"1", "600", true, 1, 600},
        {"32", "0", true, 32, 0},
        {"0", "", false, 4, 0},
        {"33", "", false, 4, 0},
        {"4x", "", false, 4, 0},
        {"", "-1", false, 4, 0},
        {"", "86401", false, 4, 0},
    };
    for (const auto& c : cases) {
        const RemoteConfig config = RemoteConfig::resolve(
            {std::nullopt, SettingsSection({{"Enabled", "1"}, {"MaxClients", c.maxClients}, {"IdleTimeout", c.idle}})});
        EXPECT_EQ(config.enabled, c.enabled) << c.maxClients << "/" << c.idle;
        EXPECT_EQ(config.error.empty(), c.enabled) << c.maxClients << "/" << c.idle;
        EXPECT_EQ(config.maxClients, c.clients) << c.maxClients;
        EXPECT_EQ(config.idleTimeout.count(), c.seconds) << c.idle;
    }
}
