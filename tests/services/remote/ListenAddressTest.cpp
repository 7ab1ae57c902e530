#include "remote/ListenAddress.h"
#include "remote/RemoteConfig.h"

#include <gtest/gtest.h>

namespace {

std::string readBack(std::string_view text)
{
    const auto parsed = ListenAddress::parse(text);
    const auto* address = std::get_if<ListenAddress>(&parsed);
    return address != nullptr ? address->toString() : "refused";
}

bool loopback(std::string_view text)
{
    return std::get<ListenAddress>(ListenAddress::parse(text)).isLoopback();
}

std::string messageOf(std::string_view text)
{
    const auto parsed = ListenAddress::parse(text);
    const auto* message = std::get_if<std::string>(&parsed);
    return message != nullptr ? *message : "";
}

} // namespace

TEST(ListenAddress, ReadsPortsAndNumericAddresses)
{
    EXPECT_EQ(readBack("5025"), "127.0.0.1:5025");
    EXPECT_EQ(readBack(" 127.0.0.1:5025 "), "127.0.0.1:5025");
    EXPECT_EQ(readBack("LocalHost:1"), "127.0.0.1:1");
    EXPECT_EQ(readBack("0.0.0.0:65535"), "0.0.0.0:65535");
    EXPECT_EQ(readBack("192.168.10.250:5025"), "192.168.10.250:5025");
    EXPECT_EQ(readBack("[::1]:5025"), "[::1]:5025");
    EXPECT_EQ(readBack("[::]:5025"), "[::]:5025");

    EXPECT_TRUE(loopback("5025"));
    EXPECT_TRUE(loopback("127.8.9.10:5025"));
    EXPECT_TRUE(loopback("[::1]:5025"));
    EXPECT_FALSE(loopback("0.0.0.0:5025"));
    EXPECT_FALSE(loopback("[::]:5025"));
    EXPECT_FALSE(loopback("10.0.0.1:5025"));
}

TEST(ListenAddress, RefusesAnythingElseSayingWhy)
{
    for (const char* text : {"", " ", "0", "65536", "99999999", "+5025", "5025:", "127.0.0.1:", "127.0.0.1",
             "127.0.0.1:50 25", "127.0.0.1:0x13"}) {
        EXPECT_NE(messageOf(text).find("no port from 1 to 65535"), std::string::npos) << text;
    }
    for (const char* text : {":5025", "example.org:5025", "1.2.3:5025", "1.2.3.4.5:5025", "256.1.1.1:5025",
             "01.2.3.4:5025", "1..2.3:5025", "[1.2.3.4]:5025", "[]:5025", "[::1:5025"}) {
        EXPECT_NE(messageOf(text).find("is not a numeric IP address or localhost"), std::string::npos) << text;
    }
    EXPECT_NE(messageOf("::1:5025").find("in brackets"), std::string::npos);
    EXPECT_NE(messageOf("::1]:5025").find("in brackets"), std::string::npos);
    EXPECT_EQ(messageOf("bad\nhost:1"),
        "\"bad?host:1\" is not a numeric IP address or localhost: "
        "expected [ADDRESS:]PORT, such as 5025, 127.0.0.1:5025 or [::1]:5025");
}

TEST(RemoteConfig, TheOptionWinsOverTheSettings)
{
    const RemoteConfig off = RemoteConfig::resolve(std::nullopt, "", "");
    EXPECT_FALSE(off.enabled);
    EXPECT_TRUE(off.error.empty());
    EXPECT_FALSE(RemoteConfig::resolve(std::nullopt, "0", "garbage").enabled);

    const RemoteConfig defaults = RemoteConfig::resolve(std::nullopt, "1", "");
    EXPECT_TRUE(defaults.enabled);
    EXPECT_EQ(defaults.address.toString(), "127.0.0.1:5025");
    EXPECT_TRUE(defaults.warning.empty());

    const RemoteConfig option = RemoteConfig::resolve("6000", "0", "");
    EXPECT_TRUE(option.enabled);
    EXPECT_EQ(option.address.toString(), "127.0.0.1:6000");

    const RemoteConfig everyone = RemoteConfig::resolve(std::nullopt, "1", "0.0.0.0:5025");
    EXPECT_TRUE(everyone.enabled);
    EXPECT_EQ(everyone.warning,
        "remote control listens on 0.0.0.0:5025: anyone who can reach this address can switch the supply's output");
}

TEST(RemoteConfig, BadValuesLeaveTheServerOffWithAMessage)
{
    const RemoteConfig badOption = RemoteConfig::resolve("nowhere", "1", "5025");
    EXPECT_FALSE(badOption.enabled);
    EXPECT_EQ(badOption.error.rfind("--scpi: \"nowhere\" has no port", 0), 0U);

    const RemoteConfig badListen = RemoteConfig::resolve(std::nullopt, "1", "host:5025");
    EXPECT_FALSE(badListen.enabled);
    EXPECT_EQ(badListen.error.rfind("[Remote] Listen: \"host:5025\"", 0), 0U);

    const RemoteConfig badEnabled = RemoteConfig::resolve(std::nullopt, "yes", "5025");
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
        RemoteConfig config = RemoteConfig::resolve(std::nullopt, "1", "");
        config.applyLimits(c.maxClients, c.idle);
        EXPECT_EQ(config.enabled, c.enabled) << c.maxClients << "/" << c.idle;
        EXPECT_EQ(config.error.empty(), c.enabled) << c.maxClients << "/" << c.idle;
        EXPECT_EQ(config.maxClients, c.clients) << c.maxClients;
        EXPECT_EQ(config.idleTimeout.count(), c.seconds) << c.idle;
    }
}
