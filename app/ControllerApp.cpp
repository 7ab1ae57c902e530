#include "app/ControllerApp.h"

#include "app/CommandLine.h"
#include "app/ControllerDialog.h"
#include "app/QtTranslation.h"
#include "chart/ReadingsWindow.h"
#include "station/SupplyStation.h"

#include <QApplication>
#include <QStyleFactory>

#include <iostream>

int ControllerApp::run(int argc, char** argv)
{
    const CommandLine::Parsed options = CommandLine::parse(CommandLine::arguments(argc, argv));
    if (options.action != CommandLine::Action::Run) {
        return CommandLine::finish(options);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tendrel-controller"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QtTranslation qtTexts;
    SupplyStation station;
    if (!options.port.empty()) {
        station.controller().usePortForThisRun(options.port);
    }
    ControllerDialog dialog(station);
    dialog.setRemoteOption(options.scpi);
    if (!dialog.initialise()) {
        return 0;
    }
    if (options.chart) {
        dialog.readings().open();
    }
    if (!options.record.empty()) {
        station.readings().recordFromCommandLine(QString::fromStdString(options.record), std::cerr);
    }
    if (!options.program.empty()) {
        station.runProgramOnceLive(QString::fromStdString(options.program), std::cerr);
    }
    dialog.exec();
    return 0;
}
