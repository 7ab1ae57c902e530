#include "DialogHarness.h"
#include "MemorySerialPort.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::chrono_literals;

// Whatever arrives on the line, the window neither crashes nor stops polling.
TEST(ReplyFuzz, RandomRepliesThroughTheWindow)
{
    DialogHarness window(missingPorts());
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> shape(0, 3);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::int32_t> any(
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    std::uniform_int_distribution<std::int32_t> byte(0, 255);
    std::uniform_int_distribution<std::int32_t> word(0, 65535);
    for (int i = 0; i < 5000; ++i) {
        const int k = kind(random);
        const auto draw
            = [&](std::uniform_int_distribution<std::int32_t>& range) { return k == 0 ? any(random) : range(random); };
        Reply reply{draw(byte)};
        if (k == 3) {
            reply.status %= 11; // mostly codes the table knows
        }
        const int words = shape(random); // none, voltage, current, both
        if ((words & 1) != 0) {
            reply.voltageWord = draw(word);
        }
        if ((words & 2) != 0) {
            reply.currentWord = draw(word);
        }
        window.reply(reply);
    }
    // Unknown codes announce themselves; each announcement was answered.
    EXPECT_FALSE(window.messages.texts().isEmpty());
}

TEST(ReplyFuzz, RandomBytesOnTheLineThroughWorkerAndWindow)
{
    auto line = std::make_shared<MemorySerialPort::Line>();
    auto random = std::make_shared<std::mt19937>(7);
    line->answerer = [random] {
        std::uniform_int_distribution<int> length(0, 7);
        std::uniform_int_distribution<int> byte(0, 255);
        MemorySerialPort::Bytes bytes(static_cast<std::size_t>(length(*random)));
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(byte(*random));
        }
        return bytes;
    };
    const LinkTiming fast{0ms, 1ms, 1ms, 0ms, 5ms};
    DialogHarness window({"A", "B"}, {MemorySerialPort::factory(line), fast, std::nullopt});
    ASSERT_TRUE(DialogHarness::waitUntil(
        [&] {
            const std::lock_guard lock(line->mutex);
            return line->writes.size() > 1500;
        },
        20s));
    window.dialog().reject();
    EXPECT_FALSE(window.dialog().controller().isLinkRunning());
}
