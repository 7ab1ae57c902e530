#pragma once

#include <QStringList>

#include <optional>
#include <string>
#include <vector>

// The program's options. They are read before the application object exists,
// so that --help and --version need no display; Qt's own options (-platform,
// -style, ...) are let through for the application object.
class CommandLine {
public:
    enum class Action { Run, Help, Version, Refuse };

    struct Parsed {
        Action action = Action::Run;
        std::vector<std::string> ports; // --port, each a supply: this run's serial ports; none: the settings choose
        std::string message; // what Help, Version and Refuse print
        bool chart = false; // --chart: open the readings window at start
        std::string record; // --record: record the readings to this CSV file
        std::string program; // --program: run this program file once a supply answers
        std::optional<std::string> scpi; // --scpi: remote control on [ADDRESS:]PORT
        std::optional<std::string> metrics; // --metrics: Prometheus metrics on [ADDRESS:]PORT
        std::optional<std::string> mqtt; // --mqtt: publish to the broker at [USER@]HOST[:PORT]
        bool headless = false; // --headless: the supply side alone, no display
        std::optional<bool> switchOffAtExit; // --output-at-exit off|leave; none: the settings say
    };

    static constexpr int kUsageError = 2;

    static QStringList arguments(int argc, const char* const* argv);
    // arguments[0] is the program.
    static Parsed parse(const QStringList& arguments);
    // Prints the message of a parse that does not run the window; returns the exit code.
    static int finish(const Parsed& parsed);
};
