#include "EventLoopWait.h"
#include "LinkRig.h"
#include "MemorySerialPort.h"

#include "link/PortClaims.h"
#include "link/SupplyLink.h"

#include "SimulatedSupply.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

using namespace std::chrono_literals;
using Bytes = MemorySerialPort::Bytes;

TEST(SupplyLink, ReadsWhatTheStatusAllows)
{
    struct Case {
        Bytes answer;
        bool controlsLive;
        std::vector<std::int32_t> expected;
    };
    const std::vector<Case> cases{
        {{}, false, {0}}, // silence
        {{0, 7, 7, 7, 7}, false, {0}}, // a zero status is no answer either
        {{1, 0xF4, 0x01, 200, 0}, false, {1, 500, 200}}, // full status
        {{129}, false, {129}}, // output on, status alone: no words are waited for
        {{129, 0xF4, 0x05, 200, 0}, false, {129, 1524, 200}}, // output on when found: its words came with it
        {{129, 0xF4, 0x05, 200, 0}, true, {129, 1524, 200}},
        {{1, 0, 0, 200, 0}, false, {1, 0, 200}}, // a zero word is a reading like any other
        {{129, 0xF4, 0x05, 0, 0}, true, {129, 1524, 0}}, // output on, nothing connected
        {{129, 0, 0, 200, 0}, true, {129, 0, 200}}, // output on into a short
        {{1, 0, 0, 0, 0}, false, {1, 0, 0}},
        {{1, 0x2C}, false, {1, 0x2C}}, // a word cut short keeps its one byte and ends the answer
        {{1, 0xF4, 0x01, 200}, false, {1, 500}},
    };
    for (const Case& c : cases) {
        LinkRig rig({"A"});
        rig.line->answers = {c.answer};
        rig.link.setControlsLive(c.controlsLive);
        rig.run();
        ASSERT_TRUE(rig.waitForReplies(1));
        rig.link.stop();
        EXPECT_EQ(rig.replies().front(), c.expected) << "answer of " << c.answer.size() << " bytes";
    }
}

// The answer to poll k reads voltage word k, so a reply that lags behind or
// is out of step shows at once.
Bytes numberedAnswer(int k)
{
    return {1, static_cast<std::uint8_t>(k), 0, 200, 0};
}

std::vector<std::int32_t> numberedReply(int k)
{
    return {1, k, 200};
}

TEST(SupplyLink, AnUpsetCostsAtMostTheAnswerItHits)
{
    struct Case {
        const char* what;
        std::function<Bytes(int k)> answer;
    };
    const auto upset = [](Bytes extra, bool before) {
        return [extra, before](int k) {
            Bytes answer = numberedAnswer(k);
            if (k == 3) {
                answer.insert(before ? answer.begin() : answer.end(), extra.begin(), extra.end());
            }
            return answer;
        };
    };
    const std::vector<Case> cases{
        {"every poll answered twice",
            [](int k) {
                Bytes twice = numberedAnswer(k);
                const Bytes again = numberedAnswer(k);
                twice.insert(twice.end(), again.begin(), again.end());
                return twice;
            }},
        {"a stray byte before an answer", upset({7}, true)},
        {"a stray byte after an answer", upset({7}, false)},
        {"a zero status followed by words",
            [](int k) {
                return k == 3 ? Bytes{0, 5, 0, 9, 0} : numberedAnswer(k);
            }},
        {"a status of 128 with words while not live", upset({128, 1, 0, 1, 0}, true)},
    };
    for (const Case& c : cases) {
        LinkRig rig({"A"});
        auto polls = std::make_shared<int>(0);
        rig.line->answerer = [polls, answer = c.answer] { return answer(++*polls); };
        rig.run();
        ASSERT_TRUE(rig.waitForReplies(10));
        rig.link.stop();
        const auto replies = rig.replies();
        for (int n = 1; n <= 10; ++n) {
            if (n != 3) {
                EXPECT_EQ(replies[static_cast<std::size_t>(n - 1)], numberedReply(n)) << c.what << ", reply " << n;
            }
        }
    }
}

TEST(SupplyLink, AnswersThatArriveWholeButLateAreStillRead)
{
    LinkRig rig({"A"});
    auto polls = std::make_shared<int>(0);
    rig.line->answerer = [polls] { return numberedAnswer(++*polls); };
    rig.line->answerDelay = 25ms; // about two cycles of the shortened timing
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(30));
    rig.link.stop();
    std::vector<int> numbers;
    for (const auto& reply : rig.replies()) {
        if (reply.size() == 3) {
            ASSERT_EQ(reply[0], 1);
            ASSERT_EQ(reply[2], 200);
            numbers.push_back(reply[1]);
        }
    }
    ASSERT_GE(numbers.size(), 5U);
    for (std::size_t i = 1; i < numbers.size(); ++i) {
        EXPECT_GT(numbers[i], numbers[i - 1]);
    }
}

TEST(SupplyLink, EveryPortOfALongListIsTried)
{
    std::vector<std::string> ports;
    for (int i = 0; i < 300; ++i) {
        ports.push_back("P" + std::to_string(i));
    }
    LinkRig rig(ports);
    rig.line->openable = {"P299"};
    rig.reaction = [](SupplyLink& link, std::size_t) { link.dropPort(); };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(2));
    rig.link.stop();
    EXPECT_EQ(rig.line->opensCopy().front(), "P299");
    const std::lock_guard lock(rig.line->mutex);
    ASSERT_GE(rig.line->failedOpens.size(), 299U);
    EXPECT_EQ(rig.line->failedOpens[256], "P256");
}

TEST(SupplyLink, SendsQueuedCommandsAfterThePollVoltageFirst)
{
    LinkRig rig({"A"});
    rig.link.setModelCode(2);
    rig.reaction = [](SupplyLink& link, std::size_t number) {
        if (number == 1) {
            link.sendCurrent(300);
            link.sendVoltage(700);
            link.sendVoltage(0x12345); // the later value wins, never beyond full scale
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(3));
    rig.link.stop();
    const std::vector<Bytes> expected{{66, 0xE8, 0x03}, {2, 0x2C, 0x01}};
    EXPECT_EQ(rig.commandWrites(), expected);
}

TEST(SupplyLink, ToggleRidesOnAVoltageFrameWithTheHeldSetpoint)
{
    LinkRig rig({"A"});
    rig.link.setModelCode(0);
    rig.reaction = [](SupplyLink& link, std::size_t number) {
        if (number == 1) {
            link.holdVoltage(764);
            link.toggleOutput();
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(5));
    rig.link.stop();
    const std::vector<Bytes> expected{{192, 0xFC, 0x02}};
    EXPECT_EQ(rig.commandWrites(), expected);
    EXPECT_EQ(rig.link.queued(), SupplyLink::Queued{});
}

// Frames go out in the order their commands were given wherever it matters:
// a limit given before the output is switched on is in force before it is.
TEST(SupplyLink, FramesFollowTheOrderOfTheirCommandsAroundAToggle)
{
    using Step = std::function<void(SupplyLink&)>;
    const Step volts500 = [](SupplyLink& link) { link.sendVoltage(500); };
    const Step volts900 = [](SupplyLink& link) { link.sendVoltage(900); };
    const Step amps150 = [](SupplyLink& link) { link.sendCurrent(150); };
    const Step toggle = [](SupplyLink& link) { link.toggleOutput(); };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::vector<Bytes> expected;
    };
    const std::vector<Case> cases{
        {"limit, then on", {amps150, toggle}, {{1, 150, 0}, {193, 100, 0}}},
        {"voltage and limit, then on", {volts500, amps150, toggle}, {{1, 150, 0}, {193, 0xF4, 0x01}}},
        {"on, then limit", {toggle, amps150}, {{193, 100, 0}, {1, 150, 0}}},
        {"limit, on, a new limit: the first still goes before the on",
            {amps150, toggle, [](SupplyLink& link) { link.sendCurrent(90); }},
            {{1, 150, 0}, {193, 100, 0}, {1, 90, 0}}},
        {"limit, off deferred, a new limit: the first goes, the new one waits",
            {amps150, [](SupplyLink& link) { link.deferToggle(); }, [](SupplyLink& link) { link.sendCurrent(90); },
                [](SupplyLink& link) { link.releaseDeferredToggle(); }},
            {{1, 150, 0}, {193, 100, 0}, {1, 90, 0}}},
        {"on, then a new voltage", {volts500, toggle, volts900}, {{193, 0xF4, 0x01}, {65, 0x84, 0x03}}},
        {"setpoints alone: voltage first", {amps150, volts500}, {{65, 0xF4, 0x01}, {1, 150, 0}}},
        {"off deferred, then a new voltage: it waits for the off",
            {[](SupplyLink& link) { link.deferToggle(); }, volts900, amps150,
                [](SupplyLink& link) { link.releaseDeferredToggle(); }},
            {{193, 100, 0}, {65, 0x84, 0x03}, {1, 150, 0}}},
        {"a deferred toggle not needed lets them go",
            {[](SupplyLink& link) { link.deferToggle(); }, volts900,
                [](SupplyLink& link) { link.cancelDeferredToggle(); }},
            {{65, 0x84, 0x03}}},
    };
    for (const Case& c : cases) {
        LinkRig rig({"A"});
        rig.link.setModelCode(1);
        rig.reaction = [&c](SupplyLink& link, std::size_t number) {
            if (number == 1) {
                link.holdVoltage(100);
                for (const Step& step : c.steps) {
                    step(link);
                }
            }
        };
        rig.run();
        ASSERT_TRUE(rig.waitForReplies(4));
        rig.link.stop();
        EXPECT_EQ(rig.commandWrites(), c.expected) << c.what;
    }
}

TEST(SupplyLink, NothingGoesOutForASupplyNotIdentifiedOrForgotten)
{
    LinkRig rig({"A"});
    rig.reaction = [](SupplyLink& link, std::size_t number) {
        if (number == 1) {
            EXPECT_FALSE(link.toggleOutput());
            EXPECT_FALSE(link.sendVoltage(300));
        } else if (number == 2) {
            link.setModelCode(3);
            EXPECT_TRUE(link.sendCurrent(40));
            EXPECT_TRUE(link.toggleOutput());
            EXPECT_EQ(link.forgetModel(), (SupplyLink::Queued{true, true, true}));
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(4));
    rig.link.stop();
    EXPECT_TRUE(rig.commandWrites().empty());
}

TEST(SupplyLink, CommandQueuedWhileTheLastOneIsSentIsNotLost)
{
    LinkRig rig({"A"});
    rig.link.setModelCode(1);
    rig.reaction = [](SupplyLink& link, std::size_t number) {
        if (number == 1) {
            link.sendVoltage(100);
        }
    };
    // The controller changes the setpoint while the worker is writing the frame.
    rig.afterCommand = [queued = false](SupplyLink& link) mutable {
        if (!std::exchange(queued, true)) {
            link.sendVoltage(200);
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(4));
    rig.link.stop();
    const std::vector<Bytes> expected{{65, 100, 0}, {65, 200, 0}};
    EXPECT_EQ(rig.commandWrites(), expected);
}

TEST(SupplyLink, LeavesThePortWhenToldAndTriesTheNext)
{
    LinkRig rig({"A", "B"});
    rig.line->openable = {"B"};
    rig.reaction = [](SupplyLink& link, std::size_t) { link.dropPort(); };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(3));
    rig.link.stop();
    const std::vector<std::string> opens = rig.line->opensCopy();
    ASSERT_GE(opens.size(), 3U);
    EXPECT_EQ(opens[0], "B");
    EXPECT_EQ(opens[1], "B");
    // Every open starts with the poll byte, before the first cycle's poll.
    const std::vector<Bytes> writes = rig.line->writesCopy();
    ASSERT_GE(writes.size(), 2U);
    EXPECT_EQ(writes[0], Bytes{100});
    EXPECT_EQ(writes[1], Bytes{100});
}

TEST(SupplyLink, RestsAfterEachRoundOfPortsThatWillNotOpen)
{
    LinkTiming timing = kFastLink;
    timing.afterFailedRound = 100ms;
    LinkRig rig({"A", "B", "C"}, timing);
    rig.line->openable = {"none of them"};
    rig.run();
    std::this_thread::sleep_for(350ms);
    rig.link.stop();
    const std::lock_guard lock(rig.line->mutex);
    // Three rounds and a bit in 350 ms, not thousands of attempts.
    EXPECT_GE(rig.line->failedOpens.size(), 6U);
    EXPECT_LE(rig.line->failedOpens.size(), 15U);
    EXPECT_EQ(rig.line->failedOpens[0], "A");
    EXPECT_EQ(rig.line->failedOpens[1], "B");
    EXPECT_EQ(rig.line->failedOpens[2], "C");
}

TEST(SupplyLink, StopsPromptlyFromEveryWait)
{
    // A worker waiting for its turn, one in its pauses, one between ports.
    for (const bool answerTurns : {false, true}) {
        auto line = std::make_shared<MemorySerialPort::Line>();
        line->answerer = [] { return Bytes{1, 1, 0, 1, 0}; };
        {
            SupplyLink link(MemorySerialPort::factory(line));
            link.start({"A"});
            while (line->writesCopy().size() < 2) {
                std::this_thread::sleep_for(1ms);
            }
            if (answerTurns) {
                QCoreApplication::processEvents();
            }
            const auto began = std::chrono::steady_clock::now();
            link.stop();
            EXPECT_LT(std::chrono::steady_clock::now() - began, SupplyLink::kStopTimeout);
            EXPECT_FALSE(link.isRunning());
        }
        const std::lock_guard lock(line->mutex);
        EXPECT_EQ(line->closes, 1);
    }
}

// Two supplies on two lines in one process: each link hears only its own
// supply, and a command sent on one reaches only that one.
TEST(SupplyLink, TwoLinksInOneProcessNeverMeet)
{
    SimulatedSupply::Options options;
    options.modelCode = 2;
    SimulatedSupply first(options);
    options.modelCode = 5;
    SimulatedSupply second(options);
    ASSERT_TRUE(first.start() && second.start());
    SupplyLink one;
    SupplyLink two;
    std::vector<std::int32_t> oneHeard;
    std::vector<std::int32_t> twoHeard;
    QObject::connect(&one, &SupplyLink::replied, [&](const Reply& reply) { oneHeard.push_back(reply.status); });
    QObject::connect(&two, &SupplyLink::replied, [&](const Reply& reply) { twoHeard.push_back(reply.status); });
    one.setModelCode(2);
    two.setModelCode(5);
    one.start({first.devicePath()});
    two.start({second.devicePath()});
    const auto heard = [](const std::vector<std::int32_t>& statuses, std::int32_t status) {
        return std::count(statuses.begin(), statuses.end(), status) >= 3;
    };
    ASSERT_TRUE(spinUntil([&] { return heard(oneHeard, 2) && heard(twoHeard, 5); }, 5s));

    one.sendVoltage(300);
    ASSERT_TRUE(spinUntil([&] { return first.commandCount() == 1; }, 5s));
    const std::size_t polls = second.pollCount();
    ASSERT_TRUE(spinUntil([&] { return second.pollCount() >= polls + 3; }, 5s));
    EXPECT_EQ(first.voltageRaw(), 300);
    EXPECT_EQ(second.commandCount(), 0U);
    EXPECT_EQ(second.voltageRaw(), 764);
    for (const auto& [statuses, own] : {std::pair{oneHeard, 2}, std::pair{twoHeard, 5}}) {
        EXPECT_TRUE(
            std::all_of(statuses.begin(), statuses.end(), [own = own](std::int32_t s) { return s == 0 || s == own; }));
    }
}

// Links hunting on the same ports, on lines that would let both open one:
// the claims they share send each to a port the other does not hold.
TEST(SupplyLink, LinksSharingClaimsNeverOpenTheSamePort)
{
    const auto claims = std::make_shared<PortClaims>();
    LinkRig one({"A", "B"});
    LinkRig two({"A", "B"});
    one.link.shareClaims(claims);
    two.link.shareClaims(claims);
    one.run();
    two.run();
    ASSERT_TRUE(one.waitForReplies(2) && two.waitForReplies(2));
    const std::string first = one.line->opensCopy().front();
    const std::string second = two.line->opensCopy().front();
    one.link.stop();
    two.link.stop();
    EXPECT_NE(first, second);
    EXPECT_FALSE(claims->held("A") || claims->held("B")) << "a stopped link holds nothing";
}
