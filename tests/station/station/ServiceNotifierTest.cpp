#include "station/ServiceNotifier.h"

#include "EventLoopWait.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A datagram socket where systemd's would be. The tests run on one thread:
// nothing reads the environment while they change it.
class ServiceNotifierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof(address.sun_path) - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    }
    void TearDown() override
    {
        ::close(fd);
        for (const char* name : {"NOTIFY_SOCKET", "WATCHDOG_USEC", "WATCHDOG_PID"}) {
            ::unsetenv(name); // NOLINT(concurrency-mt-unsafe)
        }
    }
    // NOLINTBEGIN(concurrency-mt-unsafe)
    void startedBySystemd() const { ::setenv("NOTIFY_SOCKET", path.c_str(), 1); }
    static void watchdogEvery(std::chrono::microseconds interval)
    {
        ::setenv("WATCHDOG_USEC", std::to_string(interval.count()).c_str(), 1);
        ::setenv("WATCHDOG_PID", std::to_string(::getpid()).c_str(), 1);
    }
    // NOLINTEND(concurrency-mt-unsafe)

    // What came until there were COUNT datagrams, the event loop running
    // meanwhile; within 0 ms, those waiting, without running it.
    std::vector<std::string> receive(size_t count, std::chrono::milliseconds timeout) const
    {
        std::vector<std::string> messages;
        std::array<char, 4096> buffer{};
        const auto arrived = [&] {
            for (ssize_t size = 0; (size = ::recv(fd, buffer.data(), buffer.size(), 0)) >= 0;) {
                messages.emplace_back(buffer.data(), static_cast<size_t>(size));
            }
            return messages.size() >= count;
        };
        spinUntil(arrived, timeout);
        return messages;
    }

    QTemporaryDir directory;
    std::string path = directory.filePath(QStringLiteral("notify")).toStdString();
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
};

TEST_F(ServiceNotifierTest, TellsReadinessStatusAndStopping)
{
    startedBySystemd();
    ServiceNotifier notifier;
    notifier.ready(QStringLiteral("Поиск блока\nна /dev/ttyUSB0"));
    notifier.status(QStringLiteral("Соединен: 100%"));
    notifier.stopping();
    const std::vector<std::string> expected{
        "READY=1\nSTATUS=Поиск блока на /dev/ttyUSB0", "STATUS=Соединен: 100%", "STOPPING=1"};
    EXPECT_EQ(receive(expected.size(), 5s), expected);
}

// A loop that does not turn sends nothing, so that systemd sees it hang.
TEST_F(ServiceNotifierTest, PingsTheWatchdogOnlyWhileTheEventLoopRuns)
{
    startedBySystemd();
    watchdogEvery(200ms);
    ServiceNotifier notifier;
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(receive(1, 0ms).empty());
    EXPECT_EQ(receive(3, 10s), std::vector<std::string>(3, "WATCHDOG=1"));
}

TEST_F(ServiceNotifierTest, SendsNothingOutsideSystemd)
{
    watchdogEvery(100ms);
    ServiceNotifier notifier;
    notifier.ready(QStringLiteral("ready"));
    EXPECT_TRUE(receive(1, 500ms).empty());
}

} // namespace
