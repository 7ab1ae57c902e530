#include "link/PortList.h"

#include <gtest/gtest.h>

#include <cstdlib>

using Names = std::vector<std::string>;

TEST(PortList, OverrideEntriesAreSplitOnColonsSkippingEmptyOnes)
{
    EXPECT_EQ(PortList::fromOverride("/dev/pts/3:ttyUSB0"), (Names{"/dev/pts/3", "ttyUSB0"}));
    EXPECT_EQ(PortList::fromOverride("::a::b:"), (Names{"a", "b"}));
    EXPECT_EQ(PortList::fromOverride(""), Names{});
}

TEST(PortList, TheVariableReplacesTheSystemListEvenWhenEmpty)
{
    ::setenv(PortList::kOverrideVariable, "", 1);
    EXPECT_EQ(PortList::build(), Names{});
    ::setenv(PortList::kOverrideVariable, "/tmp/a:/tmp/b", 1);
    EXPECT_EQ(PortList::build(), (Names{"/tmp/a", "/tmp/b"}));
    ::unsetenv(PortList::kOverrideVariable);
}
