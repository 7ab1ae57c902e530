#include "SimCommandLine.h"
#include "SimConsole.h"
#include "SimulatedSupply.h"
#include "WakePipe.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Lock-free, so the signal handler may read it.
std::atomic<const WakePipe*> g_stopPipe{nullptr};

void requestStop(int)
{
    if (const WakePipe* pipe = g_stopPipe.load()) {
        pipe->notify();
    }
}

void installSignalHandlers(const WakePipe& stopPipe)
{
    static_assert(std::atomic<const WakePipe*>::is_always_lock_free);
    g_stopPipe = &stopPipe;
    struct sigaction action { };
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    (void)std::signal(SIGPIPE, SIG_IGN);
}

// Runs one console line; false once the user asked to quit.
bool executeLine(SimConsole& console, const std::string& line)
{
    const SimConsole::Result result = console.execute(line);
    if (result.status == SimConsole::Status::Failed) {
        std::cerr << result.message << std::endl;
    } else if (!result.message.empty()) {
        std::cout << result.message << std::endl;
    }
    return result.status != SimConsole::Status::Quit;
}

// Reads what stdin has and runs the complete lines; false once stdin is exhausted.
bool readStdin(std::string& pending, bool& quit, SimConsole& console)
{
    char buffer[512];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
        return true;
    }
    if (count <= 0) {
        quit = !pending.empty() && !executeLine(console, pending);
        pending.clear();
        return false;
    }
    pending.append(buffer, static_cast<std::size_t>(count));
    for (std::size_t end = pending.find('\n'); end != std::string::npos && !quit; end = pending.find('\n')) {
        quit = !executeLine(console, pending.substr(0, end));
        pending.erase(0, end + 1);
    }
    return true;
}

// Without stdin the simulator keeps running until a signal, so it can live in the background.
void runConsole(SimConsole& console, const WakePipe& stopPipe)
{
    std::string pending;
    bool stdinOpen = true;
    bool quit = false;
    while (!quit) {
        pollfd fds[2] = {{stopPipe.readFd(), POLLIN, 0}, {stdinOpen ? STDIN_FILENO : -1, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            continue;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if (fds[1].revents != 0) {
            stdinOpen = readStdin(pending, quit, console);
        }
    }
}

std::function<void(const std::string&)> logSink(std::ofstream& file)
{
    std::ostream& stream = file.is_open() ? static_cast<std::ostream&>(file) : std::cerr;
    return [&stream](const std::string& line) { stream << line << std::endl; };
}

} // namespace

int main(int argc, char** argv)
{
    const std::string program = argc > 0 ? argv[0] : "tendrel-supply-sim";
    const SimCommandLine::Parsed parsed = SimCommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::cout << SimCommandLine::usage(program);
        return 0;
    }
    if (parsed.version) {
        std::cout << SimCommandLine::version();
        return 0;
    }
    if (!parsed.error.empty()) {
        std::cerr << program << ": " << parsed.error << " (--help lists the options)\n";
        return 2;
    }
    std::ofstream logFile;
    if (!parsed.logFile.empty()) {
        logFile.open(parsed.logFile, std::ios::app);
        if (!logFile) {
            std::cerr << program << ": cannot open " << parsed.logFile << '\n';
            return 1;
        }
    }
    const WakePipe stopPipe;
    installSignalHandlers(stopPipe);
    SimulatedSupply supply(parsed.options);
    supply.setLogSink(logSink(logFile));
    if (!stopPipe.isValid() || !supply.start()) {
        std::cerr << program << ": cannot open the pseudo-terminal\n";
        return 1;
    }
    std::cout << supply.devicePath() << std::endl;
    SimConsole console(supply);
    runConsole(console, stopPipe);
    return 0;
}
