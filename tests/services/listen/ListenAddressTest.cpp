#include "listen/ListenAddress.h"

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
