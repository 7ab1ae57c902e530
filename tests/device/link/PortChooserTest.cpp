#include "link/PortChooser.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

struct Outcome {
    Names names;
    std::string usePort;
    std::string summary;
};

Outcome choose(Names names, const std::string& usePort, const std::string& lastPort)
{
    const PortChooser::Choice choice = PortChooser::choose(names, usePort, lastPort);
    return {names, choice.usePort, PortChooser::summary(choice)};
}

} // namespace

TEST(PortChooser, OrdersOrFixesTheList)
{
    const Names system{"COM1", "COM3", "COM4"};

    Outcome last = choose(system, "Auto", "COM4");
    EXPECT_EQ(last.names, (Names{"COM4", "COM3", "COM1"}));
    EXPECT_EQ(last.summary, "Найдено 3 com-портов. Используем все");

    Outcome fixed = choose(system, "COM3", "COM4");
    EXPECT_EQ(fixed.names, Names{"COM3"});
    EXPECT_EQ(fixed.usePort, "COM3");
    EXPECT_EQ(fixed.summary, "Найдено 3 com-портов. Используем COM3");

    Outcome missing = choose(system, "COM9", "COM4");
    EXPECT_EQ(missing.names, system);
    EXPECT_EQ(missing.usePort, "Auto");
    EXPECT_EQ(missing.summary, "Найдено 3 com-портов. Используем все");

    EXPECT_EQ(choose(system, "auto", "COM4").names, system); // case matters
    EXPECT_EQ(choose(system, "auto", "COM4").usePort, "Auto");
    EXPECT_EQ(choose(system, "Auto", "COM1").names, system);
    EXPECT_EQ(choose(system, "Auto", "").names, system);
    EXPECT_EQ(choose(system, "Auto", "com4").names, system);
}

TEST(PortChooser, TheLastOfEqualEntriesMovesToTheFront)
{
    Names names{"COM1", "COM2", "COM1", "COM3"};
    PortChooser::choose(names, "Auto", "COM1");
    EXPECT_EQ(names, (Names{"COM1", "COM2", "COM1", "COM3"}));
    Names other{"COM2", "COM1", "COM3", "COM1"};
    PortChooser::choose(other, "COM1", "");
    EXPECT_EQ(other, Names{"COM1"});
}
