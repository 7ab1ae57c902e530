#include "LinkRig.h"

#include <gtest/gtest.h>

// A command queued after a poll the supply left unanswered stays queued: the
// line of a supply that may be gone gets no frame before it answers again.
TEST(LinkWorker, NothingGoesOutAfterAPollWithoutAnAnswer)
{
    LinkRig rig({"A"});
    rig.line->answers = {{1}}; // the opening byte's; then silence
    rig.link.setModelCode(1);
    rig.reaction = [](SupplyLink& link, std::size_t number) {
        if (number == 1) {
            link.sendVoltage(100);
        } else if (number == 2) {
            link.sendCurrent(50);
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(4));
    rig.link.stop();
    const std::vector<LinkRig::Bytes> expected{{65, 100, 0}};
    EXPECT_EQ(rig.commandWrites(), expected);
    EXPECT_TRUE(rig.link.queued().current);
}
