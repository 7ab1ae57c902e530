#include "link/PortAccessAdvice.h"

#include <gtest/gtest.h>

#include <vector>

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
