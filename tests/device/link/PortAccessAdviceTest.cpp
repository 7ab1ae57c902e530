#include "link/PortAccessAdvice.h"
#include "link/QtSerialPort.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

TEST(PortAccessAdvice, SaysOnceAPortWhyItWillNotOpen)
{
    using Refusal = PortAccessAdvice::Refusal;
    std::vector<std::string> lines;
    PortAccessAdvice advice(
        [](const std::string& path) {
            return path == "/dev/ttyS0" ? Refusal::Other : path == "/dev/ttyUSB9" ? Refusal::Missing : Refusal::Denied;
        },
        [&](const std::string& line) { lines.push_back(line); });
    const std::vector<std::string> ports{"/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyUSB9"};
    for (int retry = 0; retry < 3; ++retry) {
        for (const std::string& port : ports) {
            advice.portDidNotOpen(port);
        }
    }
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0], PortAccessAdvice::lineFor("/dev/ttyUSB0", Refusal::Denied));
    EXPECT_NE(lines[0].find("sudo usermod -aG dialout $USER"), std::string::npos);
    EXPECT_NE(lines[1].find("/dev/ttyUSB9 does not exist"), std::string::npos);
    EXPECT_FALSE(advice.refusedAll(ports));
    EXPECT_TRUE(advice.refusedAll({"/dev/ttyUSB0", "/dev/ttyUSB9"}));
    EXPECT_EQ(advice.missing(ports), std::vector<std::string>{"/dev/ttyUSB9"});
}

// The system lists pseudo-terminals as "pts/N": the advice must look at the
// device that name opens.
TEST(PortAccessAdvice, ARelativeNameIsCheckedAsTheDeviceItOpens)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    std::array<char, 64> path{};
    ASSERT_EQ(::ptsname_r(master, path.data(), path.size()), 0);
    const std::string device(path.data());
    const std::string name = device.substr(std::string("/dev/").size());

    EXPECT_EQ(QtSerialPort::devicePath(name), device);
    QtSerialPort port;
    EXPECT_TRUE(port.open(name));
    port.close();
    ::close(master);
    for (const char* asGiven : {"/tmp/tendrel-supply", "./supply", "../supply"}) {
        EXPECT_EQ(QtSerialPort::devicePath(asGiven), asGiven);
    }
}
