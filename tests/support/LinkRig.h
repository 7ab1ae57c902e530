#pragma once

#include "EventLoopWait.h"
#include "MemorySerialPort.h"
#include "link/SupplyLink.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Short pauses, so that a test runs many polls in little time.
inline constexpr LinkTiming kFastLink{std::chrono::milliseconds(1), std::chrono::milliseconds(5),
    std::chrono::milliseconds(5), std::chrono::milliseconds(1), std::chrono::milliseconds(20)};

// Records each reply of a link on an in-memory line. A reaction runs on the
// worker's thread right after it writes a poll, before its pause, so what it
// queues goes out after that very poll, as when the controller answers a
// reply at once.
class LinkRig {
public:
    using Bytes = MemorySerialPort::Bytes;
    using Reaction = std::function<void(SupplyLink&, std::size_t replyNumber)>;

    explicit LinkRig(std::vector<std::string> ports, LinkTiming timing = kFastLink)
        : line(std::make_shared<MemorySerialPort::Line>())
        , link(MemorySerialPort::factory(line), timing)
        , ports_(std::move(ports))
    {
        QObject::connect(
            &link, &SupplyLink::replied, [this](const Reply& reply) { replies_.push_back(reply.values()); });
    }

    // A line given no answers has a supply that answers every poll with its
    // status: the worker sends nothing after a poll left unanswered.
    void run()
    {
        if (line->answers.empty() && !line->answerer) {
            line->answerer = [] { return Bytes{1}; };
        }
        // The line runs a copy of the hook for each write, so the count lives here.
        line->afterWrite = [this](const Bytes& write) {
            // The byte written on opening a port answers no reply.
            const std::size_t opens = line->opensCopy().size();
            const bool opening = write.size() == 1 && opens != opensSeen_.exchange(opens);
            if (write.size() == 1 && !opening && reaction) {
                reaction(link, ++polls_);
            }
            if (write.size() == 3 && afterCommand) {
                afterCommand(link);
            }
        };
        link.start(ports_);
    }

    bool waitForReplies(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(3))
    {
        return spinUntil([&] { return replies_.size() >= count; }, timeout);
    }

    const std::vector<std::vector<std::int32_t>>& replies() const { return replies_; }

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

    std::shared_ptr<MemorySerialPort::Line> line;
    SupplyLink link;
    Reaction reaction;
    std::function<void(SupplyLink&)> afterCommand;

private:
    std::vector<std::string> ports_;
    std::vector<std::vector<std::int32_t>> replies_;
    std::atomic<std::size_t> opensSeen_{0};
    std::size_t polls_ = 0; // the worker's thread alone
};
