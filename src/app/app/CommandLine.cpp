#include "app/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace {

const QCommandLineOption& helpOption()
{
    static const QCommandLineOption option(
        {"h", "help"}, QCoreApplication::translate("CommandLine", "show this text and exit"));
    return option;
}

const QCommandLineOption& versionOption()
{
    static const QCommandLineOption option(
        {"v", "version"}, QCoreApplication::translate("CommandLine", "show the version and exit"));
    return option;
}

const QCommandLineOption& portOption()
{
    static const QCommandLineOption option("port",
        QCoreApplication::translate(
            "CommandLine", "use the serial port DEVICE (ttyUSB0, a path or Auto) for this run; once for each supply"),
        "DEVICE");
    return option;
}

const QCommandLineOption& chartOption()
{
    static const QCommandLineOption option(
        "chart", QCoreApplication::translate("CommandLine", "open the readings window at start"));
    return option;
}

const QCommandLineOption& recordOption()
{
    static const QCommandLineOption option(
        "record", QCoreApplication::translate("CommandLine", "record every reading to the CSV file FILE"), "FILE");
    return option;
}

const QCommandLineOption& programOption()
{
    static const QCommandLineOption option("program",
        QCoreApplication::translate("CommandLine", "load the program FILE and run it once a supply answers"), "FILE");
    return option;
}

const QCommandLineOption& scpiOption()
{
    static const QCommandLineOption option("scpi",
        QCoreApplication::translate(
            "CommandLine", "accept remote control on [ADDRESS:]PORT (127.0.0.1 unless an address is given)"),
        "ADDRESS:PORT");
    return option;
}

const QCommandLineOption& metricsOption()
{
    static const QCommandLineOption option("metrics",
        QCoreApplication::translate("CommandLine",
            "serve Prometheus metrics at /metrics on [ADDRESS:]PORT (127.0.0.1 unless an address is given)"),
        "ADDRESS:PORT");
    return option;
}

const QCommandLineOption& mqttOption()
{
    static const QCommandLineOption option("mqtt",
        QCoreApplication::translate(
            "CommandLine", "publish each supply's state to the MQTT broker at HOST (port 1883)"),
        "[USER@]HOST[:PORT]");
    return option;
}

const QCommandLineOption& headlessOption()
{
    static const QCommandLineOption option("headless",
        QCoreApplication::translate(
            "CommandLine", "run without a window or display, for a service; events are told on standard error"));
    return option;
}

const QCommandLineOption& outputAtExitOption()
{
    static const QCommandLineOption option("output-at-exit",
        QCoreApplication::translate(
            "CommandLine", "with --headless: leave the output as it is at exit (leave, the default) or switch it off"),
        "off|leave");
    return option;
}

QList<QCommandLineOption> ownOptions()
{
    return {helpOption(), versionOption(), portOption(), chartOption(), recordOption(), programOption(), scpiOption(),
        metricsOption(), mqttOption(), headlessOption(), outputAtExitOption()};
}

// Those QApplication reads; they stay out of the help text.
QList<QCommandLineOption> qtOptions()
{
    QList<QCommandLineOption> options;
    for (const char* name :
        {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger", "qwindowgeometry", "qwindowicon",
            "qwindowtitle", "session", "display", "geometry", "style", "stylesheet"}) {
        options.append(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        options.append(QCommandLineOption(QString::fromLatin1(name)));
    }
    for (QCommandLineOption& option : options) {
        option.setFlags(QCommandLineOption::HiddenFromHelp);
    }
    return options;
}

QString namesOf(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names()) {
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    }
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) {
        text += QLatin1Char(' ') + option.valueName();
    }
    return text;
}

QString helpText(const QString& program)
{
    QString text = QCoreApplication::translate("CommandLine",
        "Usage: %1 [OPTION]...\n"
        "Controls a Tendrel Electronics laboratory power supply on a serial port.\n\n"
        "Options:\n")
                       .arg(program);
    for (const QCommandLineOption& option : ownOptions()) {
        text += QStringLiteral("  %1  %2\n").arg(namesOf(option), -24).arg(option.description());
    }
    return text
        + QCoreApplication::translate(
            "CommandLine", "\nThe options of Qt applications (-platform, -style, ...) are accepted too.\n");
}

CommandLine::Parsed answer(CommandLine::Action action, const QString& message)
{
    CommandLine::Parsed parsed;
    parsed.action = action;
    parsed.message = message.toStdString();
    return parsed;
}

CommandLine::Parsed refuse(const QString& program, const QString& reason)
{
    return answer(CommandLine::Action::Refuse,
        QCoreApplication::translate("CommandLine", "%1: %2\nTry '%1 --help'.\n").arg(program, reason));
}

// An option given without the value it needs.
std::optional<QString> missingValue(const QCommandLineParser& parser)
{
    const std::pair<const QCommandLineOption*, const char*> needs[]
        = {{&portOption(), QT_TRANSLATE_NOOP("CommandLine", "--port needs a device.")},
            {&recordOption(), QT_TRANSLATE_NOOP("CommandLine", "--record needs a file.")},
            {&programOption(), QT_TRANSLATE_NOOP("CommandLine", "--program needs a file.")}};
    for (const auto& [option, text] : needs) {
        if (parser.isSet(*option) && parser.values(*option).contains(QString())) {
            return QCoreApplication::translate("CommandLine", text);
        }
    }
    return std::nullopt;
}

// What the options ask for that the run cannot do.
std::optional<QString> conflict(const QCommandLineParser& parser)
{
    if (parser.isSet(outputAtExitOption())) {
        const QString value = parser.value(outputAtExitOption());
        if (value != QLatin1String("off") && value != QLatin1String("leave")) {
            return QCoreApplication::translate("CommandLine", "--output-at-exit is off or leave, not '%1'.").arg(value);
        }
    }
    if (parser.isSet(headlessOption()) && parser.isSet(chartOption())) {
        return QCoreApplication::translate("CommandLine", "--chart needs a window; it cannot go with --headless.");
    }
    const QStringList ports = parser.values(portOption());
    for (const QString& port : ports) {
        if (port.compare(QLatin1String("Auto"), Qt::CaseInsensitive) != 0 && ports.count(port) > 1) {
            return QCoreApplication::translate("CommandLine", "--port %1 is given twice.").arg(port);
        }
    }
    if (ports.size() > 1 && parser.isSet(programOption())) {
        return QCoreApplication::translate("CommandLine",
            "--program runs on one supply; with several, start programs over the remote server (INST:NSEL, PROG).");
    }
    return std::nullopt;
}

std::optional<std::string> valueIfSet(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    return parser.isSet(option) ? std::optional(parser.value(option).toStdString()) : std::nullopt;
}

// The run the options ask for, once they have been found sound.
CommandLine::Parsed runWith(const QCommandLineParser& parser)
{
    CommandLine::Parsed parsed;
    for (const QString& port : parser.values(portOption())) {
        parsed.ports.push_back(port.toStdString());
    }
    parsed.headless = parser.isSet(headlessOption());
    if (const auto atExit = valueIfSet(parser, outputAtExitOption())) {
        parsed.switchOffAtExit = *atExit == "off";
    }
    parsed.program = parser.value(programOption()).toStdString();
    parsed.chart = parser.isSet(chartOption());
    parsed.record = parser.value(recordOption()).toStdString();
    parsed.scpi = valueIfSet(parser, scpiOption());
    parsed.metrics = valueIfSet(parser, metricsOption());
    parsed.mqtt = valueIfSet(parser, mqttOption());
    return parsed;
}

} // namespace

QStringList CommandLine::arguments(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

CommandLine::Parsed CommandLine::parse(const QStringList& arguments)
{
    const QString program
        = arguments.isEmpty() ? QStringLiteral("tendrel-controller") : QFileInfo(arguments.front()).fileName();
    QCommandLineParser parser;
    // -platform is one option, as QApplication reads it, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(ownOptions());
    parser.addOptions(qtOptions());
    if (!parser.parse(arguments)) {
        return refuse(program, parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(program,
            QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                .arg(parser.positionalArguments().front()));
    }
    if (parser.isSet(helpOption())) {
        return answer(Action::Help, helpText(program));
    }
    if (parser.isSet(versionOption())) {
        return answer(Action::Version, QStringLiteral("%1 %2\n").arg(program, QStringLiteral(TENDREL_VERSION)));
    }
    if (const auto missing = missingValue(parser)) {
        return refuse(program, *missing);
    }
    if (const auto problem = conflict(parser)) {
        return refuse(program, *problem);
    }
    return runWith(parser);
}

int CommandLine::finish(const Parsed& parsed)
{
    const bool refused = parsed.action == Action::Refuse;
    (void)std::fputs(parsed.message.c_str(), refused ? stderr : stdout);
    return refused ? kUsageError : 0;
}
