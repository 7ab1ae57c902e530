#include "app/PortPlan.h"

#include "link/PortChooser.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace {

std::string normalised(const QString& port)
{
    return port.compare(QLatin1String(PortChooser::kAuto), Qt::CaseInsensitive) == 0 ? PortChooser::kAuto
                                                                                     : port.toStdString();
}

} // namespace

std::vector<std::string> PortPlan::resolve(const std::vector<std::string>& commandLine, const std::string& settingsList)
{
    std::vector<std::string> ports;
    if (!commandLine.empty()) {
        for (const std::string& port : commandLine) {
            ports.push_back(normalised(QString::fromStdString(port)));
        }
        return ports;
    }
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    for (const QString& port : QString::fromStdString(settingsList).split(separators, Qt::SkipEmptyParts)) {
        ports.push_back(normalised(port));
    }
    if (ports.empty()) {
        ports.emplace_back();
    }
    return ports;
}

std::string PortPlan::recordingPath(
    const std::string& path, const std::string& port, std::size_t index, std::size_t count)
{
    if (count <= 1) {
        return path;
    }
    const bool hunting = port.empty() || port == PortChooser::kAuto;
    const QString name
        = hunting ? QStringLiteral("supply%1").arg(index + 1) : QFileInfo(QString::fromStdString(port)).fileName();
    const QFileInfo file(QString::fromStdString(path));
    const QString suffix = file.suffix();
    const QString stem = suffix.isEmpty() ? file.filePath() : file.filePath().chopped(suffix.size() + 1);
    return (stem + QLatin1Char('-') + name + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix)).toStdString();
}
