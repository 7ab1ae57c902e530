#include "link/AutoResetEvent.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

TEST(AutoResetEvent, OneSignalReleasesOneWait)
{
    AutoResetEvent event(true);
    EXPECT_TRUE(event.waitFor(0ms));
    EXPECT_FALSE(event.waitFor(0ms));
    event.set();
    event.set();
    EXPECT_TRUE(event.waitFor(0ms));
    EXPECT_FALSE(event.waitFor(0ms));

    std::thread signaller([&] {
        std::this_thread::sleep_for(10ms);
        event.set();
    });
    event.wait();
    signaller.join();
}
