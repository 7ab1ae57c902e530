#include "link/PortAccessAdvice.h"
#include "link/QtSerialPort.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

TEST(PortAccessAdvice, SaysOnceAPortWhatToDoAboutAPortThatIsNotAllowed)
{
    std::vector<std::string> lines;
    PortAccessAdvice advice([](const std::string& path) { return path != "/dev/ttyS0"; },
        [&](const std::string& line) { lines.push_back(line); });
    for (int retry = 0; retry < 3; ++retry) {
        advice.portDidNotOpen("/dev/ttyUSB0");
        advice.portDidNotOpen("/dev/ttyS0");
        advice.portDidNotOpen("/dev/ttyACM0");
    }
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0], PortAccessAdvice::lineFor("/dev/ttyUSB0"));
    EXPECT_NE(lines[0].find("sudo usermod -aG dialout $USER"), std::string::npos);
    EXPECT_NE(lines[1].find("/dev/ttyACM0"), std::string::npos);
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
