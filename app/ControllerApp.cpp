#include "app/ControllerApp.h"

#include "app/ControllerDialog.h"
#include "link/LinkState.h"

#include <QApplication>
#include <QStyleFactory>

int ControllerApp::run(int argc, char** argv)
{
    static LinkState linkState;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tendrel-controller"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    ControllerDialog dialog(linkState);
    if (dialog.initialise()) {
        dialog.exec();
    }
    return 0;
}
