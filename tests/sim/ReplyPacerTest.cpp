#include "ReplyPacer.h"

#include <gtest/gtest.h>

namespace {

using Clock = ReplyPacer::Clock;

TEST(ReplyPacer, StartsAfterTheTurnaroundAndSpacesTheBytes)
{
    ReplyPacer pacer;
    const Clock::time_point received = Clock::now();
    pacer.schedule({1, 2, 3}, received);
    EXPECT_EQ(pacer.nextDue(), received + ReplyPacer::kTurnaround);
    EXPECT_TRUE(pacer.takeDue(received + ReplyPacer::kTurnaround - std::chrono::microseconds(1)).empty());
    EXPECT_EQ(
        pacer.takeDue(received + ReplyPacer::kTurnaround + ReplyPacer::kByteTime), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(pacer.nextDue(), received + ReplyPacer::kTurnaround + 2 * ReplyPacer::kByteTime);
}

TEST(ReplyPacer, QueuesASecondAnswerBehindTheFirst)
{
    ReplyPacer pacer;
    const Clock::time_point received = Clock::now();
    pacer.schedule({1, 2}, received);
    pacer.schedule({3}, received);
    pacer.takeDue(received + ReplyPacer::kTurnaround + ReplyPacer::kByteTime);
    EXPECT_EQ(pacer.nextDue(), received + ReplyPacer::kTurnaround + 2 * ReplyPacer::kByteTime);
}

TEST(ReplyPacer, ClearDropsPendingBytesAndFreesTheLine)
{
    ReplyPacer pacer;
    const Clock::time_point received = Clock::now();
    pacer.schedule({1, 2, 3}, received);
    pacer.clear();
    EXPECT_FALSE(pacer.nextDue().has_value());
    pacer.schedule({4}, received);
    EXPECT_EQ(pacer.nextDue(), received + ReplyPacer::kTurnaround);
}

} // namespace
