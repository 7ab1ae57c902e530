#include "app/SignalWatch.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Read end, write end; -1 while no watch lives.
std::array<int, 2> pipeEnds{-1, -1};

} // namespace

SignalWatch::SignalWatch(std::initializer_list<int> signalNumbers, QObject* parent)
    : QObject(parent)
    , signals_(signalNumbers)
{
    if (::pipe2(pipeEnds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SignalWatch::drain);
    struct sigaction action { };
    action.sa_handler = &SignalWatch::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : signals_) {
        ::sigaction(number, &action, nullptr);
    }
}

SignalWatch::~SignalWatch()
{
    for (const int number : signals_) {
        (void)::signal(number, SIG_DFL);
    }
    notifier_.reset();
    for (int& end : pipeEnds) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

void SignalWatch::handle(int signalNumber)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already has a byte waiting: nothing is lost.
    (void)!::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

void SignalWatch::drain()
{
    unsigned char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1) {
        emit received(byte);
    }
}
