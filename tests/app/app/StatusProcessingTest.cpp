#include "DialogHarness.h"

#include "panels/SupplyFrame.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/UpDownControl.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QString kNoLink = QString::fromUtf8(SupplyFrame::kNoLinkCaption);
const QString kConnected = QString::fromUtf8(SupplyFrame::kConnectedCaption);

class StatusProcessing : public ::testing::Test {
protected:
    DialogHarness window{missingPorts()};

    bool setpointControlsShown()
    {
        for (const int id : {1016, 1017, 1022, 1023, 1020, 1021, 1024, 1025, 1027, 1029, 1035, 1059, 1060}) {
            if (!window.shown(id)) {
                return false;
            }
        }
        return true;
    }

    bool setpointControlsHidden()
    {
        for (const int id :
            {1016, 1017, 1022, 1023, 1020, 1021, 1024, 1025, 1027, 1028, 1029, 1030, 1035, 1059, 1060}) {
            if (window.shown(id)) {
                return false;
            }
        }
        return true;
    }
};

} // namespace

// The controller's rules on misses are tested in tests/control/controller.
TEST_F(StatusProcessing, AMissResetsTheWindow)
{
    window.identify({1, 500, 200});
    ASSERT_TRUE(setpointControlsShown());

    window.reply({0});
    EXPECT_EQ(window.text(1000), kNoLink);
    EXPECT_EQ(window.text(1031), QString::fromUtf8(SupplyFrame::kNoConnectionText));
    EXPECT_TRUE(window.shown(1031));
    EXPECT_TRUE(setpointControlsHidden());
    EXPECT_EQ(window.text(1020), QString());
    for (const int id : {1004, 1005, 1006, 1007}) {
        EXPECT_FALSE(window.shown(id)) << id;
    }
    for (const int id : {1048, 1040, 1041, 1042, 1044}) {
        EXPECT_FALSE(window.enabled(id)) << id;
    }
}

TEST_F(StatusProcessing, AStatusAloneShowsTheSupplyWithoutControls)
{
    window.reply({5});
    window.reply({5});
    EXPECT_EQ(window.text(1000), kConnected);
    EXPECT_EQ(window.text(1004), QString::fromUtf8("Лабораторный"));
    EXPECT_EQ(window.text(1007), QStringLiteral("Dunvael"));
    for (const int id : {1004, 1005, 1006, 1007, 1031}) {
        EXPECT_TRUE(window.shown(id)) << id;
    }
    EXPECT_EQ(window.text(1031), QString::fromUtf8(SupplyFrame::kPanelSwitchText));
    EXPECT_TRUE(setpointControlsHidden());
}

// Switched to its own control while live, the supply stops its readings: the
// window says why instead of showing the last ones, until they come back.
TEST_F(StatusProcessing, AStatusAloneWhileLiveShowsThePanelSwitchUntilTheReadingsReturn)
{
    window.identify({1, 500, 200});
    window.reply({1});
    EXPECT_TRUE(window.shown(1031));
    EXPECT_EQ(window.text(1031), QString::fromUtf8(SupplyFrame::kPanelSwitchText));
    EXPECT_FALSE(window.shown(1020));
    EXPECT_TRUE(setpointControlsHidden());
    window.reply({1, 500, 200});
    EXPECT_FALSE(window.shown(1031));
    EXPECT_TRUE(window.shown(1020));
    EXPECT_FALSE(setpointControlsHidden());
    EXPECT_EQ(window.text(1020), QString::fromUtf8("7.9 В"));
}

TEST_F(StatusProcessing, AStatusAloneWithTheOutputBitShowsNoSupply)
{
    window.reply({133});
    window.reply({133});
    EXPECT_EQ(window.text(1000), kNoLink);
    EXPECT_EQ(window.text(1031), QString::fromUtf8(SupplyFrame::kNoFreePortText));
}

TEST_F(StatusProcessing, AFullStatusShowsOutputRegulationAndReadings)
{
    window.reply({1});
    window.reply({129, 1524, 200});
    EXPECT_TRUE(setpointControlsShown());
    EXPECT_FALSE(window.shown(1031));
    EXPECT_FALSE(window.enabled(1024));
    EXPECT_TRUE(window.enabled(1025));
    EXPECT_TRUE(window.shown(1028));
    EXPECT_FALSE(window.shown(1030));
    EXPECT_EQ(window.text(1020), QString::fromUtf8("7.9 В"));
    EXPECT_EQ(window.text(1021), QStringLiteral("12.6 A"));
    // The first readings become the setpoints the edits show.
    EXPECT_EQ(window.text(1016), QStringLiteral("7.9"));
    EXPECT_EQ(window.text(1022), QStringLiteral("12.6"));

    // Current regulation, then the output off.
    window.reply({129, 400, 200});
    EXPECT_FALSE(window.shown(1028));
    EXPECT_TRUE(window.shown(1030));
    EXPECT_EQ(window.text(1020), QString::fromUtf8("6.3 В"));
    EXPECT_EQ(window.text(1016), QStringLiteral("7.9"));
    window.reply({1, 400, 200});
    EXPECT_TRUE(window.enabled(1024));
    EXPECT_FALSE(window.enabled(1025));
    EXPECT_FALSE(window.shown(1028));
    EXPECT_FALSE(window.shown(1030));
}

TEST_F(StatusProcessing, AnUnchangedReadingWritesNothing)
{
    window.identify({2, 100, 100});
    EXPECT_EQ(window.text(1020), QString::fromUtf8("3.2 В"));
    window.control<QLineEdit>(1020)->setText(QStringLiteral("marker"));
    window.reply({2, 100, 100});
    EXPECT_EQ(window.text(1020), QStringLiteral("marker"));
}

TEST_F(StatusProcessing, ReadingsOfAnotherModelAreNotShown)
{
    window.identify({2, 100, 100});
    window.reply({1, 300, 400});
    EXPECT_EQ(window.text(1020), QString::fromUtf8("3.2 В"));
    EXPECT_EQ(window.text(1007), QStringLiteral("Brisna"));
}

TEST_F(StatusProcessing, ARejectedCodeGivesLiveControlsWithoutReadings)
{
    window.identify({20, 500, 200});
    EXPECT_TRUE(window.shown(1016));
    EXPECT_FALSE(window.shown(1004));
    EXPECT_EQ(window.text(1000), kNoLink);
    EXPECT_EQ(window.text(1020), QString());
    EXPECT_TRUE(window.messages.texts().isEmpty());
}

TEST_F(StatusProcessing, AnUnknownCodeIsAnnouncedAndGetsTheFallbackRow)
{
    window.identify({7});
    ASSERT_EQ(window.messages.texts().size(), 1);
    EXPECT_EQ(window.messages.texts().front(), QString::fromUtf8(ControllerDialog::kUnknownSupplyText));
    EXPECT_EQ(window.text(1004), QString::fromUtf8("Неизвестный"));
    EXPECT_EQ(window.text(1007), QStringLiteral("-"));
    window.reply({7, 1000, 500});
    EXPECT_EQ(window.text(1020), QString::fromUtf8("10.0 В"));
    EXPECT_EQ(window.text(1021), QStringLiteral("5.0 A"));
    EXPECT_EQ(window.messages.texts().size(), 1);
}

TEST(EditLimits, EachCodeSetsTheLimitsOfTheEdits)
{
    struct Limits {
        int code;
        int voltageLow, voltageHigh, currentLow, currentHigh, voltageLength, currentLength;
    };
    const std::vector<Limits> table{
        {1, 8, 157, 6, 630, 4, 4},
        {2, 7, 315, 4, 315, 4, 4},
        {3, 5, 630, 3, 157, 4, 4},
        {4, 6, 472, 4, 210, 4, 4},
        {5, 8, 157, 8, 1050, 4, 5},
        {6, 7, 315, 6, 525, 4, 4},
        {0, 10, 100, 10, 100, 4, 4},
        {10, 10, 100, 10, 100, 4, 4},
    };
    DialogHarness window(missingPorts());
    for (const Limits& row : table) {
        ASSERT_TRUE(window.dialog().controller().identifySupply(row.code));
        const auto* voltageSpin = window.control<UpDownControl>(1017);
        const auto* currentSpin = window.control<UpDownControl>(1023);
        EXPECT_EQ(voltageSpin->lower(), row.voltageLow) << row.code;
        EXPECT_EQ(voltageSpin->upper(), row.voltageHigh) << row.code;
        EXPECT_EQ(currentSpin->lower(), row.currentLow) << row.code;
        EXPECT_EQ(currentSpin->upper(), row.currentHigh) << row.code;
        EXPECT_EQ(window.control<ClassicEdit>(1016)->typingLimit(), row.voltageLength) << row.code;
        EXPECT_EQ(window.control<ClassicEdit>(1022)->typingLimit(), row.currentLength) << row.code;
    }
}
