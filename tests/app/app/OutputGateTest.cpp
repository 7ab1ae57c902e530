#include "DialogHarness.h"

#include "engine/ProtectionWatch.h"
#include "panels/TripBanner.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void press(DialogHarness& window, int id)
{
    QTest::mouseClick(window.control<QPushButton>(id), Qt::LeftButton);
}

} // namespace

TEST(OutputGate, NothingSwitchesBeforeASupplyIsFoundAndTheButtonsFollowItOnceItIs)
{
    DialogHarness window(missingPorts());
    press(window, 1044);
    EXPECT_FALSE(window.station().timer().running());
    EXPECT_EQ(window.link().queued(), SupplyLink::Queued{});

    window.identify({1, 500, 200});
    EXPECT_TRUE(window.enabled(1044));
    EXPECT_TRUE(window.enabled(1024));
    EXPECT_FALSE(window.enabled(1025));
}

TEST(OutputGate, ALatchedTripKeepsOutputOnAndTheTimerDisabledAndSaysWhy)
{
    DialogHarness window(missingPorts());
    window.identify({1, 500, 200});
    ProtectionLimits limits;
    limits.amperes = 2.0;
    window.station().protection().setLimits(limits);
    press(window, 1024);
    window.link().takeQueued();
    window.reply({129, 1524, 80});
    ASSERT_TRUE(window.station().protection().tripped());
    window.link().takeQueued();
    window.reply({1, 500, 200});

    TripBanner* banner = window.dialog().findChild<TripBanner*>();
    ASSERT_NE(banner, nullptr);
    EXPECT_FALSE(banner->control()->isHidden());
    EXPECT_TRUE(banner->text()->text().contains(QString::fromUtf8("выход выключен")));
    EXPECT_FALSE(window.enabled(1024));
    EXPECT_FALSE(window.enabled(1044));

    QTest::mouseClick(banner->clearButton(), Qt::LeftButton);
    EXPECT_TRUE(banner->control()->isHidden());
    EXPECT_TRUE(window.enabled(1024));
    EXPECT_TRUE(window.enabled(1044));
}
