#include "app/ControllerApp.h"

#include "app/CommandLine.h"
#include "app/ControllerDialog.h"
#include "app/DisplayCheck.h"
#include "app/HeadlessRun.h"
#include "app/NoticeStreams.h"
#include "app/PortPlan.h"
#include "app/QtTranslation.h"
#include "app/ServiceStart.h"
#include "chart/ReadingsWindow.h"
#include "panels/NoticeWindow.h"
#include "readings/ReadingsModel.h"
#include "settings/ControllerSettings.h"
#include "station/Bench.h"

#include <QApplication>
#include <QPointer>
#include <QStyleFactory>

#include <iostream>
#include <memory>
#include <vector>

namespace {

// One window is modal, as it always was; several live side by side until the last closes.
int runWindows(const std::vector<std::unique_ptr<ControllerDialog>>& dialogs)
{
    if (dialogs.size() == 1) {
        dialogs.front()->exec();
        return 0;
    }
    for (const auto& dialog : dialogs) {
        dialog->show();
    }
    QApplication::exec();
    return 0;
}

QString heading(const char* text)
{
    return QCoreApplication::translate("ControllerApp", text);
}

std::unique_ptr<MqttBridge> startServices(Bench& bench, const CommandLine::Parsed& options,
    const ControllerSettings::Loaded& settings, NoticeStreams& notices)
{
    std::ostream& remote = notices.under(heading(QT_TRANSLATE_NOOP("ControllerApp", "Удалённое управление: ")));
    std::ostream& metrics = notices.under(heading(QT_TRANSLATE_NOOP("ControllerApp", "Метрики: ")));
    // Its lines name it already.
    std::ostream& mqtt = notices.under({});
    return ServiceStart::start(bench, options, settings, {remote, metrics, mqtt, {}, {}});
}

// A recording that cannot start, told in the window's words as well as on standard error.
void recordFromCommandLine(ReadingsModel& readings, const std::string& path, NoticeStreams& notices)
{
    const QString heading = QCoreApplication::translate("ControllerApp", "Запись: ");
    const QMetaObject::Connection told = QObject::connect(&readings, &ReadingsModel::recordingFailed, &readings,
        [&notices, heading](const QString& inWindow, const QString&) { notices.show(heading + inWindow); });
    readings.recordFromCommandLine(QString::fromStdString(path), std::cerr);
    QObject::disconnect(told);
}

void startWhatWasAsked(Bench& bench, const std::vector<std::unique_ptr<ControllerDialog>>& dialogs,
    const CommandLine::Parsed& options, NoticeStreams& notices)
{
    for (std::size_t i = 0; i < bench.size(); ++i) {
        dialogs[i]->showRemoteClients(bench.remote());
        if (options.chart) {
            dialogs[i]->readings().open();
        }
        if (!options.record.empty()) {
            recordFromCommandLine(bench.station(i).readings(),
                PortPlan::recordingPath(options.record, bench.station(i).settings().usePort(), i, bench.size()),
                notices);
        }
    }
    if (!options.program.empty()) {
        const QString heading = QCoreApplication::translate("ControllerApp", "Программа: ");
        bench.station(0).runProgramOnceLive(QString::fromStdString(options.program), std::cerr,
            [&notices, heading](const QString& inWindow) { notices.show(heading + inWindow); });
    }
}

} // namespace

int ControllerApp::run(int argc, char** argv)
{
    const CommandLine::Parsed options = CommandLine::parse(CommandLine::arguments(argc, argv));
    if (options.action != CommandLine::Action::Run) {
        return CommandLine::finish(options);
    }
    if (options.headless) {
        return HeadlessRun::run(options, argc, argv);
    }
    if (const auto problem = DisplayCheck::problem(argc, argv)) {
        std::cerr << "tendrel-controller: " << *problem;
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tendrel-controller"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QtTranslation qtTexts;
    const ControllerSettings::Loaded settings = ControllerSettings().load();
    // Before the bench, whose parts keep the streams: a line in its last moments reaches standard error alone.
    QPointer<ControllerDialog> window;
    NoticeStreams notices(std::cerr, [&window](const QString& line) {
        if (window != nullptr) {
            window->notices().add(line);
        }
    });
    Bench bench(PortPlan::resolve(options.ports, settings.supplyPorts));
    std::vector<std::unique_ptr<ControllerDialog>> dialogs;
    for (std::size_t i = 0; i < bench.size(); ++i) {
        auto dialog = std::make_unique<ControllerDialog>(bench.station(i));
        if (!dialog->initialise()) {
            return 0;
        }
        if (bench.size() > 1) {
            dialog->namePortInTitle();
        }
        dialogs.push_back(std::move(dialog));
    }
    window = dialogs.front().get();
    const std::unique_ptr<MqttBridge> mqtt = startServices(bench, options, settings, notices);
    startWhatWasAsked(bench, dialogs, options, notices);
    return runWindows(dialogs);
}
