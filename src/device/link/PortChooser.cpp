#include "link/PortChooser.h"

#include <QCoreApplication>

#include <utility>

namespace {

// The last entry equal to wanted; an empty name matches nothing.
std::ptrdiff_t lastIndexOf(const std::vector<std::string>& names, const std::string& wanted)
{
    if (wanted.empty()) {
        return -1;
    }
    for (std::size_t i = names.size(); i > 0; --i) {
        if (names[i - 1] == wanted) {
            return static_cast<std::ptrdiff_t>(i - 1);
        }
    }
    return -1;
}

} // namespace

PortChooser::Choice PortChooser::choose(
    std::vector<std::string>& names, const std::string& usePort, const std::string& lastPort)
{
    Choice choice{usePort, lastPort, static_cast<int>(names.size())};
    const bool automatic = usePort == kAuto;
    const std::ptrdiff_t found = lastIndexOf(names, automatic ? lastPort : usePort);
    if (found < 0) {
        choice.usePort = kAuto;
        return choice;
    }
    std::swap(names.front(), names[static_cast<std::size_t>(found)]);
    if (!automatic) {
        names.resize(1);
    }
    return choice;
}

std::string PortChooser::summary(const Choice& choice)
{
    const QString used = choice.usePort == kAuto ? QCoreApplication::translate("PortChooser", "все")
                                                 : QString::fromStdString(choice.usePort);
    return QCoreApplication::translate("PortChooser", "Найдено %1 com-портов. Используем %2")
        .arg(choice.portsFound)
        .arg(used)
        .toStdString();
}
