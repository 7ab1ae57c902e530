#include "DialogHarness.h"

#include "SimulatedSupply.h"
#include "supply/SupplyFrame.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

std::unique_ptr<SimulatedSupply> startSupply(SimulatedSupply::Options options = {})
{
    auto supply = std::make_unique<SimulatedSupply>(options);
    if (!supply->start()) {
        ADD_FAILURE() << "the simulated supply did not start";
    }
    return supply;
}

bool controlled(DialogHarness& window)
{
    return window.state().identified.load() != 0 && window.state().controlsLive.load() != 0;
}

} // namespace

TEST(EndToEnd, TheSupplyIsFoundIdentifiedAndShownLive)
{
    auto supply = startSupply();
    QElapsedTimer clock;
    clock.start();
    DialogHarness window({supply->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return !window.text(1021).isEmpty(); }));
    EXPECT_EQ(window.text(1000), QString::fromUtf8(SupplyFrame::kConnectedCaption));
    EXPECT_EQ(window.text(1007), QStringLiteral("Quarel"));
    EXPECT_EQ(window.text(1020), QString::fromUtf8("12.0 В"));
    EXPECT_EQ(window.text(1021), QStringLiteral("12.6 A"));
    EXPECT_EQ(window.dialog().controller().lastPort(), supply->devicePath());

    // Output on into 2 ohms: 6 A is below the limit, so the supply holds the voltage.
    supply->setOutput(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.shown(1028); }));
    EXPECT_FALSE(window.shown(1030));
    EXPECT_TRUE(window.enabled(1025));
    EXPECT_FALSE(window.enabled(1024));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.text(1021) == QStringLiteral("6.0 A"); }));

    supply->setLoad(0.5); // 24 A wanted, 12.6 A allowed: the current limit takes over
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.shown(1030); }));
    EXPECT_FALSE(window.shown(1028));
    EXPECT_TRUE(supply->commandFrames().empty());
}

TEST(EndToEnd, ASilentSupplyIsLeftForTheNextPortAndFoundAgain)
{
    auto first = startSupply();
    SimulatedSupply::Options tolvik;
    tolvik.modelCode = 3;
    auto second = startSupply(tolvik);
    DialogHarness window({first->devicePath(), second->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    EXPECT_EQ(window.text(1007), QStringLiteral("Quarel"));

    first->setSilent(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.state().identified.load() == 0; }));
    EXPECT_EQ(window.text(1000), QString::fromUtf8(SupplyFrame::kNoLinkCaption));
    EXPECT_EQ(window.text(1031), QString::fromUtf8(SupplyFrame::kNoConnectionText));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s));
    EXPECT_EQ(window.text(1007), QStringLiteral("Tolvik"));
    EXPECT_EQ(window.dialog().controller().lastPort(), second->devicePath());
}

TEST(EndToEnd, ASupplyThatFallsSilentComesBackOnItsOnlyPort)
{
    auto supply = startSupply();
    DialogHarness window({supply->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    supply->setSilent(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.state().identified.load() == 0; }));
    EXPECT_TRUE(window.text(1020).isEmpty());
    supply->setSilent(false);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 3s));
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.text(1020) == QString::fromUtf8("12.0 В"); }));
}

TEST(EndToEnd, APortThatVanishesIsLeftAndTheOtherOneServes)
{
    auto first = startSupply();
    SimulatedSupply::Options brisna;
    brisna.modelCode = 2;
    auto second = startSupply(brisna);
    DialogHarness window({first->devicePath(), second->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    first->vanish();
    ASSERT_TRUE(DialogHarness::waitUntil(
        [&] { return controlled(window) && window.text(1007) == QStringLiteral("Brisna"); }, 4s));
    // Going round the ports again must still find the one that answers.
    second->setSilent(true);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.state().identified.load() == 0; }));
    second->setSilent(false);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 4s));
}

TEST(EndToEnd, AFrontPanelSwitchAllowsNoControl)
{
    auto supply = startSupply();
    supply->setPanelSwitch(true);
    supply->setModelCode(4);
    DialogHarness window({supply->devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return supply->pollCount() >= 3; }));
    QApplication::processEvents();
    // 128 + 4 alone names no row: the window keeps waiting.
    EXPECT_EQ(window.state().identified.load(), 0);
    EXPECT_EQ(window.state().controlsLive.load(), 0);
    EXPECT_EQ(window.state().missCount.load(), 0);
    supply->setPanelSwitch(false);
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return controlled(window); }, 2s));
    EXPECT_EQ(window.text(1007), QStringLiteral("Mespor"));
}
