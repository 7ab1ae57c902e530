#include "app/ControllerApp.h"

#include "app/CommandLine.h"
#include "app/ControllerDialog.h"
#include "app/QtTranslation.h"
#include "link/SupplyLink.h"
#include "readings/ReadingsWindow.h"

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
    SupplyLink link;
    ControllerDialog dialog(link);
    if (!options.port.empty()) {
        dialog.controller().usePortForThisRun(options.port);
    }
    dialog.setRemoteOption(options.scpi);
    if (dialog.initialise()) {
        dialog.readings().start(options.chart, QString::fromStdString(options.record), std::cerr);
        dialog.exec();
    }
    return 0;
}
