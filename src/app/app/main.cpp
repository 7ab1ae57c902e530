#include "app/ControllerApp.h"

int main(int argc, char** argv)
{
    return ControllerApp::run(argc, argv);
}
