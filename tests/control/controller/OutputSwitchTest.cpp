#include "controller/OutputSwitch.h"
#include "LinkRig.h"

#include <gtest/gtest.h>

// A switch-on that waited for an off is dropped with the queue when the
// supply's own switch or a lost link cuts in: a setpoint given after it
// still goes out, as do the protection's switch-offs.
TEST(OutputSwitch, AFollowUpDroppedWithTheQueueHoldsNothingBack)
{
    LinkRig rig({"A"});
    rig.link.setModelCode(1);
    OutputSwitch output(rig.link);
    rig.reaction = [&output](SupplyLink& link, std::size_t number) {
        if (number == 1) {
            link.holdVoltage(100);
            output.report(true);
            output.request(false);
        } else if (number == 2) {
            EXPECT_EQ(output.request(true), OutputSwitch::Outcome::Deferred);
        } else if (number == 3) {
            link.takeQueued();
            output.linkLost();
            link.sendVoltage(900);
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(5));
    rig.link.stop();
    const std::vector<LinkRig::Bytes> expected{{193, 100, 0}, {65, 0x84, 0x03}};
    EXPECT_EQ(rig.commandWrites(), expected);
}
