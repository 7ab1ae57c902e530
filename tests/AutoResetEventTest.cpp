#include "link/EventRegistry.h"

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

TEST(EventRegistry, NamedEventsAreSharedWhileHeldAndStartAfreshAfterwards)
{
    auto first = EventRegistry::obtain("test-event", true);
    auto second = EventRegistry::obtain("test-event", false); // opens, does not reset
    EXPECT_EQ(first, second);
    EXPECT_TRUE(second->waitFor(0ms));
    EXPECT_NE(EventRegistry::obtain("other-event", false), first);

    first.reset();
    second.reset();
    auto renewed = EventRegistry::obtain("test-event", true);
    EXPECT_TRUE(renewed->waitFor(0ms));
}
