#include "station/ServiceNotifier.h"

#include "EventLoopWait.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A datagram socket where systemd's would be, as NOTIFY_SOCKET names it.
class NotifySocket {
public:
    NotifySocket()
        : path_(directory_.filePath(QStringLiteral("notify")).toStdString())
        , fd_(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path_.c_str(), sizeof(address.sun_path) - 1);
        bound_ = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~NotifySocket() { ::close(fd_); }
    NotifySocket(const NotifySocket&) = delete;
    NotifySocket& operator=(const NotifySocket&) = delete;

    bool bound() const { return bound_; }
    const std::string& path() const { return path_; }

    // Every datagram waiting now, without running the event loop.
    std::vector<std::string> take() const
    {
        std::vector<std::string> messages;
        char buffer[4096];
        ssize_t size = 0;
        while ((size = ::recv(fd_, buffer, sizeof(buffer), 0)) >= 0) {
            messages.emplace_back(buffer, static_cast<size_t>(size));
        }
        return messages;
    }
    // Runs the event loop until COUNT datagrams came, or the time is up.
    std::vector<std::string> receive(size_t count, std::chrono::milliseconds timeout) const
    {
        std::vector<std::string> messages;
        spinUntil(
            [&] {
                for (std::string& message : take()) {
                    messages.push_back(std::move(message));
                }
                return messages.size() >= count;
            },
            timeout);
        return messages;
    }

private:
    QTemporaryDir directory_;
    std::string path_;
    int fd_;
    bool bound_ = false;
};

// The tests run on one thread: nothing reads the environment meanwhile.
void setVariable(const char* name, const std::string& value)
{
    ::setenv(name, value.c_str(), 1); // NOLINT(concurrency-mt-unsafe)
}

class ServiceNotifierTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(socket.bound()) << socket.path(); }
    void TearDown() override
    {
        for (const char* name : {"NOTIFY_SOCKET", "WATCHDOG_USEC", "WATCHDOG_PID"}) {
            ::unsetenv(name); // NOLINT(concurrency-mt-unsafe)
        }
    }
    void startedBySystemd() const { setVariable("NOTIFY_SOCKET", socket.path()); }
    static void watchdogOf(std::chrono::microseconds interval)
    {
        setVariable("WATCHDOG_USEC", std::to_string(interval.count()));
        setVariable("WATCHDOG_PID", std::to_string(::getpid()));
    }

    NotifySocket socket;
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
    EXPECT_EQ(socket.receive(expected.size(), 5s), expected);
}

// Pinged from the event loop alone: a loop that does not turn sends nothing.
TEST_F(ServiceNotifierTest, PingsTheWatchdogWhileTheEventLoopRuns)
{
    startedBySystemd();
    watchdogOf(200ms);
    ServiceNotifier notifier;

    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(socket.take().empty());

    const std::vector<std::string> pings = socket.receive(3, 10s);
    EXPECT_EQ(pings, std::vector<std::string>(3, "WATCHDOG=1"));
}

TEST_F(ServiceNotifierTest, SendsNothingOutsideSystemd)
{
    watchdogOf(100ms);
    ServiceNotifier notifier;
    notifier.ready(QStringLiteral("ready"));
    notifier.stopping();

    EXPECT_TRUE(socket.receive(1, 500ms).empty());
}

} // namespace
