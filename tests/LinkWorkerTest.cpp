#include "MemorySerialPort.h"

#include "link/EventRegistry.h"
#include "link/LinkState.h"
#include "link/LinkThread.h"
#include "link/LinkWorker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <thread>

using namespace std::chrono_literals;
using Bytes = MemorySerialPort::Bytes;

namespace {

constexpr LinkTiming kFast{1ms, 5ms, 5ms, 1ms, 20ms};

// Plays the window's side of the handshake: records each reply, lets the test
// react to it, empties the list and hands the turn back.
class WorkerRig {
public:
    using Reaction = std::function<void(LinkState&, std::size_t replyNumber)>;

    explicit WorkerRig(std::vector<std::string> ports, LinkTiming timing = kFast)
        : line(std::make_shared<MemorySerialPort::Line>())
        , start_(EventRegistry::obtain(LinkEvents::kStart, true))
    {
        state.portNames = std::move(ports);
        worker_ = std::make_unique<LinkWorker>(
            state, MemorySerialPort::factory(line), [this] { onReply(); }, timing);
    }

    ~WorkerRig() { stop(); }

    void run()
    {
        thread_ = std::thread([this] { worker_->run(); });
    }

    void stop()
    {
        if (!thread_.joinable()) {
            return;
        }
        state.dropPort.store(1);
        state.stopLink.store(1);
        start_->set();
        EventRegistry::obtain(LinkEvents::kTransmit, false)->set();
        thread_.join();
    }

    bool waitForReplies(std::size_t count, std::chrono::milliseconds timeout = 3s)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return replies_.size() >= count; });
    }

    std::vector<std::vector<std::int32_t>> replies()
    {
        const std::lock_guard lock(mutex_);
        return replies_;
    }

    std::vector<Bytes> commandWrites()
    {
        std::vector<Bytes> commands;
        for (const Bytes& write : line->writesCopy()) {
            if (write.size() == 3) {
                commands.push_back(write);
            }
        }
        return commands;
    }

    LinkState state;
    std::shared_ptr<MemorySerialPort::Line> line;
    Reaction reaction;

private:
    void onReply()
    {
        std::size_t number = 0;
        {
            const std::lock_guard lock(mutex_);
            replies_.push_back(state.replyValues);
            number = replies_.size();
        }
        if (reaction) {
            reaction(state, number);
        }
        state.replyValues.clear();
        changed_.notify_all();
        start_->set();
    }

    std::shared_ptr<AutoResetEvent> start_;
    std::unique_ptr<LinkWorker> worker_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::vector<std::int32_t>> replies_;
};

void queueVoltage(LinkState& state, std::int32_t raw)
{
    state.setVoltageRaw.store(raw);
    state.voltagePending.store(1);
}

void queueCurrent(LinkState& state, std::int32_t raw)
{
    state.setCurrentRaw.store(raw);
    state.currentPending.store(1);
}

} // namespace

TEST(LinkWorker, ReadsWhatTheStatusAllows)
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
        WorkerRig rig({"A"});
        rig.line->answers = {c.answer};
        rig.state.controlsLive.store(c.controlsLive ? 1 : 0);
        rig.run();
        ASSERT_TRUE(rig.waitForReplies(1));
        rig.stop();
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

TEST(LinkWorker, AnUpsetCostsAtMostTheAnswerItHits)
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
        WorkerRig rig({"A"});
        auto polls = std::make_shared<int>(0);
        rig.line->answerer = [polls, answer = c.answer] { return answer(++*polls); };
        rig.run();
        ASSERT_TRUE(rig.waitForReplies(10));
        rig.stop();
        const auto replies = rig.replies();
        for (int n = 1; n <= 10; ++n) {
            if (n != 3) {
                EXPECT_EQ(replies[static_cast<std::size_t>(n - 1)], numberedReply(n)) << c.what << ", reply " << n;
            }
        }
    }
}

TEST(LinkWorker, AnswersThatArriveWholeButLateAreStillRead)
{
    WorkerRig rig({"A"});
    auto polls = std::make_shared<int>(0);
    rig.line->answerer = [polls] { return numberedAnswer(++*polls); };
    rig.line->answerDelay = 25ms; // about two cycles of the shortened timing
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(30));
    rig.stop();
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

TEST(LinkWorker, EveryPortOfALongListIsTried)
{
    std::vector<std::string> ports;
    for (int i = 0; i < 300; ++i) {
        ports.push_back("P" + std::to_string(i));
    }
    WorkerRig rig(ports);
    rig.line->openable = {"P299"};
    rig.reaction = [](LinkState& state, std::size_t) { state.dropPort.store(1); };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(2));
    rig.stop();
    EXPECT_EQ(rig.line->opensCopy().front(), "P299");
    const std::lock_guard lock(rig.line->mutex);
    ASSERT_GE(rig.line->failedOpens.size(), 299U);
    EXPECT_EQ(rig.line->failedOpens[256], "P256");
}

TEST(LinkWorker, SendsQueuedCommandsAfterThePollVoltageFirst)
{
    WorkerRig rig({"A"});
    rig.state.modelCode.store(2);
    rig.reaction = [](LinkState& state, std::size_t number) {
        if (number == 1) {
            queueCurrent(state, 300);
            queueVoltage(state, 700);
            queueVoltage(state, 0x12345); // the later value wins, never beyond full scale
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(3));
    rig.stop();
    const std::vector<Bytes> expected{{66, 0xE8, 0x03}, {2, 0x2C, 0x01}};
    EXPECT_EQ(rig.commandWrites(), expected);
}

TEST(LinkWorker, ToggleRidesOnTheNextVoltageFrame)
{
    WorkerRig rig({"A"});
    rig.state.modelCode.store(0);
    rig.state.setVoltageRaw.store(764);
    rig.reaction = [](LinkState& state, std::size_t number) {
        if (number == 1) {
            state.toggleOutput.store(1);
        }
        if (number == 3) {
            state.voltagePending.store(1);
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(5));
    rig.stop();
    const std::vector<Bytes> expected{{192, 0xFC, 0x02}};
    EXPECT_EQ(rig.commandWrites(), expected);
    EXPECT_EQ(rig.state.toggleOutput.load(), 0);
}

TEST(LinkWorker, CommandQueuedWhileTheLastOneIsSentIsNotLost)
{
    WorkerRig rig({"A"});
    rig.state.modelCode.store(1);
    rig.reaction = [](LinkState& state, std::size_t number) {
        if (number == 1) {
            queueVoltage(state, 100);
        }
    };
    // The window changes the setpoint while the worker is writing the frame.
    LinkState* state = &rig.state;
    auto queued = std::make_shared<std::atomic<bool>>(false);
    rig.line->afterWrite = [state, queued](const Bytes& write) {
        if (write.size() == 3 && !queued->exchange(true)) {
            queueVoltage(*state, 200);
        }
    };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(4));
    rig.stop();
    const std::vector<Bytes> expected{{65, 100, 0}, {65, 200, 0}};
    EXPECT_EQ(rig.commandWrites(), expected);
}

TEST(LinkWorker, LeavesThePortWhenToldAndTriesTheNext)
{
    WorkerRig rig({"A", "B"});
    rig.line->openable = {"B"};
    rig.reaction = [](LinkState& state, std::size_t) { state.dropPort.store(1); };
    rig.run();
    ASSERT_TRUE(rig.waitForReplies(3));
    rig.stop();
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

TEST(LinkWorker, RestsAfterEachRoundOfPortsThatWillNotOpen)
{
    LinkTiming timing = kFast;
    timing.afterFailedRound = 100ms;
    WorkerRig rig({"A", "B", "C"}, timing);
    rig.line->openable = {"none of them"};
    rig.run();
    std::this_thread::sleep_for(350ms);
    rig.stop();
    const std::lock_guard lock(rig.line->mutex);
    // Three rounds and a bit in 350 ms, not thousands of attempts.
    EXPECT_GE(rig.line->failedOpens.size(), 6U);
    EXPECT_LE(rig.line->failedOpens.size(), 15U);
    EXPECT_EQ(rig.line->failedOpens[0], "A");
    EXPECT_EQ(rig.line->failedOpens[1], "B");
    EXPECT_EQ(rig.line->failedOpens[2], "C");
}

TEST(LinkThread, FinishesPromptlyFromEveryWait)
{
    // A worker waiting for its turn, one in its pauses, one between ports.
    for (const bool answerTurns : {false, true}) {
        LinkState state;
        state.portNames = {"A"};
        auto line = std::make_shared<MemorySerialPort::Line>();
        line->answerer = [] { return Bytes{1, 1, 0, 1, 0}; };
        std::atomic<int> replies{0};
        auto start = EventRegistry::obtain(LinkEvents::kStart, true);
        {
            LinkThread link(state, MemorySerialPort::factory(line), [&] {
                state.replyValues.clear();
                ++replies;
                if (answerTurns) {
                    start->set();
                }
            });
            link.start();
            while (replies.load() == 0) {
                std::this_thread::sleep_for(1ms);
            }
            state.dropPort.store(1);
            state.stopLink.store(1);
            EventRegistry::obtain(LinkEvents::kTransmit, false)->set();
            const auto began = std::chrono::steady_clock::now();
            EXPECT_TRUE(link.finish(LinkThread::kFinishTimeout));
            EXPECT_LT(std::chrono::steady_clock::now() - began, LinkThread::kFinishTimeout);
            EXPECT_FALSE(link.isRunning());
        }
        const std::lock_guard lock(line->mutex);
        EXPECT_EQ(line->closes, 1);
    }
}
