#include "link/PortList.h"

#include <QSerialPortInfo>

#include <cstdlib>

std::vector<std::string> PortList::build()
{
    if (const auto text = overrideText()) {
        return fromOverride(*text);
    }
    return fromSystem();
}

std::vector<std::string> PortList::fromOverride(const std::string& text)
{
    std::vector<std::string> names;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t end = std::min(text.find(':', begin), text.size());
        if (end > begin) {
            names.push_back(text.substr(begin, end - begin));
        }
        begin = end + 1;
    }
    return names;
}

std::optional<std::string> PortList::overrideText()
{
    // Read at start-up, before any thread could change the environment.
    const char* value = std::getenv(kOverrideVariable); // NOLINT(concurrency-mt-unsafe)
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::vector<std::string> PortList::fromSystem()
{
    std::vector<std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const std::string name = info.portName().toStdString();
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    return names;
}
