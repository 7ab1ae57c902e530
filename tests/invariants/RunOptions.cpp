#include "RunOptions.h"

#include <cctype>
#include <cstdlib>
#include <random>
#include <sstream>

// The flag "--seconds=600" stands for TENDREL_INVARIANT_SECONDS=600.
std::optional<std::string> RunOptions::value(int argc, char** argv, const char* name)
{
    std::string flag = "--";
    for (const char* c = name + std::char_traits<char>::length("TENDREL_INVARIANT_"); *c != '\0'; ++c) {
        flag.push_back(*c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
    }
    flag += "=";
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind(flag, 0) == 0) {
            return std::string(argv[i]).substr(flag.size());
        }
    }
    const char* set = std::getenv(name); // NOLINT(concurrency-mt-unsafe)
    return set != nullptr ? std::optional<std::string>(set) : std::nullopt;
}

std::vector<std::uint64_t> RunOptions::seedsFrom(const std::optional<std::string>& list, int count)
{
    std::vector<std::uint64_t> seeds;
    if (list && !list->empty()) {
        std::istringstream items(*list);
        for (std::string item; std::getline(items, item, ',');) {
            seeds.push_back(std::stoull(item));
        }
        return seeds;
    }
    std::random_device device;
    for (int i = 0; i < count; ++i) {
        seeds.push_back((static_cast<std::uint64_t>(device()) << 20U) ^ device());
    }
    return seeds;
}

RunOptions RunOptions::read(int argc, char** argv)
{
    RunOptions options;
    const auto number = [&](const char* name, int fallback) {
        const auto text = value(argc, argv, name);
        return text && !text->empty() ? std::stoi(*text) : fallback;
    };
    options.seeds = seedsFrom(value(argc, argv, "TENDREL_INVARIANT_SEEDS"), number("TENDREL_INVARIANT_SEED_COUNT", 3));
    options.seconds = std::chrono::seconds(number("TENDREL_INVARIANT_SECONDS", 40));
    options.checks = CheckSelection::parse(value(argc, argv, "TENDREL_INVARIANT_CHECKS").value_or("all"));
    options.actionsFile = value(argc, argv, "TENDREL_INVARIANT_ACTIONS");
    if (options.actionsFile && options.actionsFile->empty()) {
        options.actionsFile.reset();
    }
    options.shrinkSeconds = std::chrono::seconds(number("TENDREL_INVARIANT_SHRINK_SECONDS", 120));
    options.shrinkAll = value(argc, argv, "TENDREL_INVARIANT_SHRINK").value_or("enabled") == "all";
    options.pace = std::chrono::milliseconds(number("TENDREL_INVARIANT_PACE", 100));
    options.mqtt = number("TENDREL_INVARIANT_MQTT", 1) != 0;
    options.outDirectory = value(argc, argv, "TENDREL_INVARIANT_OUT").value_or("");
    options.trace = number("TENDREL_INVARIANT_TRACE", 0) != 0;
    return options;
}

std::string RunOptions::describe() const
{
    std::ostringstream text;
    text << "checks " << checks.text() << ", " << seconds.count() << " s a seed, pace " << pace.count()
         << " ms, shrink " << shrinkSeconds.count() << " s" << (shrinkAll ? " (every check seen)" : "")
         << (mqtt ? "" : ", no MQTT");
    return text.str();
}
