#include "DialogHarness.h"

#include "panels/SupplyFrame.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

using namespace std::chrono_literals;

TEST(Startup, WithoutSerialPortsTheProgramSaysSoAndEnds)
{
    DialogHarness window({});
    EXPECT_FALSE(window.initialised());
    ASSERT_EQ(window.messages.texts().size(), 1);
    EXPECT_EQ(window.messages.texts().front(), QString::fromUtf8(ControllerDialog::kNoPortsText));
    EXPECT_FALSE(window.dialog().controller().isLinkRunning());
}

TEST(Startup, TheWindowOpensInItsInitialState)
{
    DialogHarness window(missingPorts());
    ASSERT_TRUE(window.initialised());
    ControllerDialog& dialog = window.dialog();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(ControllerDialog::kTitle));
    EXPECT_EQ(dialog.size(), QSize(525, 324));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    for (const int id : {1000, 1065, 1031, 1040, 1041, 1042, 1046, 1044, 1045, 1048, 1047}) {
        EXPECT_TRUE(window.shown(id)) << id;
    }
    for (const int id : {1004, 1005, 1006, 1007, 1016, 1017, 1020, 1021, 1022, 1023, 1024, 1025, 1027, 1028, 1029, 1030,
             1035, 1059, 1060, 1064}) {
        EXPECT_FALSE(window.shown(id)) << id;
    }
    for (const int id : {1040, 1041, 1042, 1047, 1048, 1025}) {
        EXPECT_FALSE(window.enabled(id)) << id;
    }
    EXPECT_TRUE(window.enabled(1044));
    EXPECT_TRUE(window.enabled(1024));
    EXPECT_EQ(window.text(1000), QString::fromUtf8(SupplyFrame::kNoLinkCaption));
    EXPECT_EQ(window.text(1031), QString::fromUtf8(SupplyFrame::kNoFreePortText));
    EXPECT_EQ(window.text(1044), QString::fromUtf8("Вкл. секундомер"));
    EXPECT_EQ(window.text(1045), QStringLiteral("00:00:00"));
    EXPECT_FALSE(window.control<QLabel>(1065)->pixmap().isNull());
    EXPECT_EQ(window.control<QLabel>(1065)->size(), QSize(209, 75));
    // The edits end where their arrows begin, so no digit sits under them.
    for (const auto& [edit, arrows] : {std::pair{1016, 1017}, std::pair{1022, 1023}}) {
        EXPECT_EQ(window.widget(edit)->geometry().right() + 1, window.widget(arrows)->geometry().left()) << edit;
    }
    EXPECT_EQ(window.widget(1016)->geometry(), QRect(162, 216, 71, 21));
    EXPECT_TRUE(dialog.controller().isLinkRunning());
}

TEST(Startup, TheReadoutsAndEditsKeepTheirColours)
{
    DialogHarness window(missingPorts());
    const QPalette readout = window.widget(1020)->palette();
    EXPECT_EQ(readout.color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(readout.color(QPalette::Text), QColor(220, 250, 105));
    const QPalette preset = window.widget(1040)->palette();
    EXPECT_EQ(preset.color(QPalette::Disabled, QPalette::Base), QColor(105, 149, 220));
    EXPECT_EQ(preset.color(QPalette::Active, QPalette::Base), QColor(Qt::white));
}

TEST(Startup, EnterLeavesTheWindowOpenAndEscClosesItStoppingTheLink)
{
    DialogHarness window(missingPorts());
    ControllerDialog& dialog = window.dialog();
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.controller().isLinkRunning());

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.controller().isLinkRunning());
    EXPECT_TRUE(window.link().stopped());
}
